// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The game hears every key of its window, whichever control has the focus:
// a filter on the whole application picks out the key events meant for the
// window and routes them to the game's key handlers.

#include <QObject>

#include <functional>

#include "key_map.h"

class QWidget;

namespace pokopin::ui {

class KeyFilter : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const KeyRoute&)>;

    // Installs itself on the application. It belongs to `window` and goes
    // with it; `handler` hears every key event routed to a game handler.
    KeyFilter(QWidget* window, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    Handler handler_;
};

}  // namespace pokopin::ui
