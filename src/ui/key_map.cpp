// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_map.h"

#include "keys.h"

namespace pokopin::ui {

namespace vk = game::vk;

namespace {

std::optional<int> arrow(int key)
{
    switch (key) {
        case Qt::Key_Left:
            return vk::Left;
        case Qt::Key_Up:
            return vk::Up;
        case Qt::Key_Right:
            return vk::Right;
        case Qt::Key_Down:
            return vk::Down;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<int> virtualKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return vk::Numpad0 + (key - Qt::Key_0);
        return arrow(key);
    }
    // Qt's codes for letters and digits are their upper-case ASCII values,
    // which is what the virtual-key codes use as well.
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    if (key == Qt::Key_Space)
        return vk::Space;
    return arrow(key);
}

KeyRoute routeKey(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, bool autoRepeat)
{
    const auto code = virtualKey(key, modifiers);
    if (!code)
        return {};
    if (type == QEvent::KeyPress) {
        if (modifiers & (Qt::ControlModifier | Qt::AltModifier))
            return {};
        return {KeyHandler::KeyDown, *code};
    }
    if (type == QEvent::KeyRelease && !autoRepeat)
        return {KeyHandler::KeyUp, *code};
    return {};
}

}  // namespace pokopin::ui
