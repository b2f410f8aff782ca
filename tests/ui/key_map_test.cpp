// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Key events to virtual-key codes and to the handler that hears them.

#include <QtTest>

#include "key_map.h"

using pokopin::ui::KeyHandler;
using pokopin::ui::KeyRoute;
using pokopin::ui::routeKey;
using pokopin::ui::virtualKey;

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

class KeyMapTest : public QObject {
    Q_OBJECT
private slots:
    void codes_data();
    void codes();
    void routes_data();
    void routes();
};

void KeyMapTest::codes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("code");  // -1: no code
    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers pad = Qt::KeypadModifier;

    // Letter keys of the board, with and without Shift.
    const struct {
        char letter;
        int code;
    } letters[] = {{'Q', 81}, {'W', 87}, {'E', 69}, {'A', 65}, {'S', 83},
                   {'D', 68}, {'Z', 90}, {'X', 88}, {'C', 67}};
    for (const auto& l : letters) {
        QTest::addRow("%c", l.letter) << int(l.letter) << none << l.code;
        QTest::addRow("shift %c", l.letter)
            << int(l.letter) << Qt::KeyboardModifiers(Qt::ShiftModifier) << l.code;
    }
    // Keypad digits as X11 sends them with Num Lock on.
    for (int d = 0; d <= 9; ++d)
        QTest::addRow("keypad %d", d) << int(Qt::Key_0 + d) << pad << 96 + d;
    // The digit row is not the keypad.
    QTest::newRow("digit row 7") << int(Qt::Key_7) << none << 55;
    QTest::newRow("space") << int(Qt::Key_Space) << none << 32;
    QTest::newRow("left") << int(Qt::Key_Left) << none << 37;
    QTest::newRow("up") << int(Qt::Key_Up) << none << 38;
    QTest::newRow("right") << int(Qt::Key_Right) << none << 39;
    QTest::newRow("down") << int(Qt::Key_Down) << none << 40;
    // Num Lock off: 8/2/4/6 are arrows, the rest of the keypad has no code.
    QTest::newRow("keypad 8 numlock off") << int(Qt::Key_Up) << pad << 38;
    QTest::newRow("keypad 2 numlock off") << int(Qt::Key_Down) << pad << 40;
    QTest::newRow("keypad 4 numlock off") << int(Qt::Key_Left) << pad << 37;
    QTest::newRow("keypad 6 numlock off") << int(Qt::Key_Right) << pad << 39;
    QTest::newRow("keypad 7 numlock off") << int(Qt::Key_Home) << pad << -1;
    QTest::newRow("keypad 9 numlock off") << int(Qt::Key_PageUp) << pad << -1;
    QTest::newRow("keypad 1 numlock off") << int(Qt::Key_End) << pad << -1;
    QTest::newRow("keypad 3 numlock off") << int(Qt::Key_PageDown) << pad << -1;
    QTest::newRow("keypad 5 numlock off") << int(Qt::Key_Clear) << pad << -1;
    QTest::newRow("f1") << int(Qt::Key_F1) << none << -1;
    QTest::newRow("control alone")
        << int(Qt::Key_Control) << Qt::KeyboardModifiers(Qt::ControlModifier) << -1;
}

void KeyMapTest::codes()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, code);
    const auto got = virtualKey(key, modifiers);
    QCOMPARE(got ? int(*got) : -1, code);
}

void KeyMapTest::routes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("autoRepeat");
    QTest::addColumn<int>("handler");
    QTest::addColumn<int>("code");
    const int press = QEvent::KeyPress;
    const int release = QEvent::KeyRelease;
    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const int down = int(KeyHandler::KeyDown);
    const int up = int(KeyHandler::KeyUp);
    const int nobody = int(KeyHandler::None);

    QTest::newRow("press goes down") << press << int(Qt::Key_S) << none << false << down << 83;
    QTest::newRow("repeated press goes down")
        << press << int(Qt::Key_S) << none << true << down << 83;
    QTest::newRow("release goes up") << release << int(Qt::Key_Space) << none << false << up << 32;
    QTest::newRow("repeated release is dropped")
        << release << int(Qt::Key_Space) << none << true << nobody << 0;
    QTest::newRow("ctrl+s press whacks nothing")
        << press << int(Qt::Key_S) << ctrl << false << nobody << 0;
    QTest::newRow("ctrl+q press whacks nothing")
        << press << int(Qt::Key_Q) << ctrl << false << nobody << 0;
    QTest::newRow("alt+g press whacks nothing")
        << press << int(Qt::Key_G) << Qt::KeyboardModifiers(Qt::AltModifier) << false << nobody
        << 0;
    QTest::newRow("shift+q press whacks")
        << press << int(Qt::Key_Q) << Qt::KeyboardModifiers(Qt::ShiftModifier) << false << down
        << 81;
    QTest::newRow("keypad 7 press")
        << press << int(Qt::Key_7) << Qt::KeyboardModifiers(Qt::KeypadModifier) << false << down
        << 103;
    QTest::newRow("key without code") << press << int(Qt::Key_F5) << none << false << nobody << 0;
    QTest::newRow("shortcut override is no key")
        << int(QEvent::ShortcutOverride) << int(Qt::Key_S) << none << false << nobody << 0;
}

void KeyMapTest::routes()
{
    QFETCH(int, type);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, autoRepeat);
    QFETCH(int, handler);
    QFETCH(int, code);
    const KeyRoute expected{static_cast<KeyHandler>(handler), code};
    QVERIFY(routeKey(static_cast<QEvent::Type>(type), key, modifiers, autoRepeat) == expected);
}

QTEST_APPLESS_MAIN(KeyMapTest)
#include "key_map_test.moc"
