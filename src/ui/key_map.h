// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Translation of Qt key events into the virtual-key codes that the keyboard
// handlers compare. Kept free of widgets so the whole table can be tested.

#include <QEvent>
#include <Qt>

#include <cstdint>
#include <optional>

namespace pokopin::ui {

// The code of a key, or nothing for keys the game has no code for. The keypad
// digits (Num Lock on) get their own codes; with Num Lock off the keypad sends
// arrows, which count as arrows, and Home/PgUp/End/PgDn/Clear, which count as
// nothing.
std::optional<int> virtualKey(int key, Qt::KeyboardModifiers modifiers);

enum class KeyHandler { None, KeyDown, KeyUp };

struct KeyRoute {
    KeyHandler handler = KeyHandler::None;
    int code = 0;
    bool operator==(const KeyRoute&) const = default;
};

// Which handler hears a key event. Every press goes down, auto-repeats
// included, except chords with Ctrl or Alt: those are menu commands (Ctrl+Q,
// Ctrl+S) and must never whack the hole that shares their letter. X11 sends a
// held key as press/release pairs; only a real release goes up.
KeyRoute routeKey(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, bool autoRepeat);

}  // namespace pokopin::ui
