// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_repeat.h"

#include <QGuiApplication>

#include "xkb_repeat.h"

namespace pokopin::app {

void preferDetectableKeyRepeat()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 != nullptr && x11->connection() != nullptr)
        pokopin_xkb_detectable_repeat(x11->connection());
}

}  // namespace pokopin::app
