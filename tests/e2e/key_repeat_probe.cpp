// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A window that counts the key events it receives after asking the X server
// for detectable key repeat, as the game does at start-up. It prints
// "presses N releases M" after the given number of milliseconds.
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

#include "key_repeat.h"

namespace {

class Counter : public QWidget {
public:
    int presses = 0;
    int releases = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++presses; }
    void keyReleaseEvent(QKeyEvent*) override { ++releases; }
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    pokopin::app::preferDetectableKeyRepeat();
    Counter window;
    window.setWindowTitle(QStringLiteral("key repeat probe"));
    window.resize(120, 120);
    window.show();
    const int ms = argc > 1 ? std::atoi(argv[1]) : 4000;
    QTimer::singleShot(ms, &app, [&] {
        std::printf("presses %d releases %d\n", window.presses, window.releases);
        app.quit();
    });
    return app.exec();
}
