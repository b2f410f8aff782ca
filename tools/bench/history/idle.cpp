// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Shows a 640x480 window and quits once it has been painted. Built twice:
// as it is, and with the score history linked in (WITH_HISTORY), so that
// timing both from exec to exit shows what the history adds to start-up.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#ifdef WITH_HISTORY
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
#ifdef WITH_HISTORY
    // Never taken; keeps the history and its libraries in the program, as
    // the game's menu will.
    if (argc > 99)
        pokopin::history::ScoreHistoryWindow(QStringLiteral("Score.txt"), &window).showForMode(0);
#endif
    return app.exec();
}
