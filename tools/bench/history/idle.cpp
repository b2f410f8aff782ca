// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Shows a 640x480 window and quits once it has been painted. Built three
// times: as it is, with the history's entry linked in as the game links it
// (WITH_ENTRY), and with the window itself linked in (WITH_WINDOW), so that
// timing them from exec to exit shows what each adds to start-up.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#ifdef WITH_ENTRY
#include "score_history_entry.h"
#endif
#ifdef WITH_WINDOW
#include "score_history_window.h"
#endif

namespace {

class Window : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!painted_) {
            painted_ = true;
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
    }

private:
    bool painted_ = false;
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Window window;
    window.setFixedSize(640, 480);
    window.show();
    // Never taken; keeps the history in the program, as the game's menu
    // will.
#ifdef WITH_ENTRY
    if (argc > 99)
        pokopin::history::ScoreHistory(QStringLiteral("Score.txt"), &window).showForMode(0);
#endif
#ifdef WITH_WINDOW
    if (argc > 99)
        pokopin::history::ScoreHistoryWindow(QStringLiteral("Score.txt"), &window).showForMode(0);
#endif
    return app.exec();
}
