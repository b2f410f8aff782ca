// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "program.h"
#include "qt_services.h"

int main(int argc, char* argv[])
{
    // Without a display the toolkit would abort with advice to reinstall.
    const std::string missing = pokopin::app::missingDisplay(argc, argv, std::getenv);
    if (!missing.empty()) {
        std::fprintf(stderr, "pokopin: %s\n", missing.c_str());
        return 1;
    }
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pokopin"));
    pokopin::app::installQtJapanese(app);
    // Names the desktop entry, so that a Wayland shell shows its icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral(POKOPIN_APP_ID));
    // The program ends when the main window closes or the player exits; a
    // message box closing before the main window is up must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    pokopin::app::Program program(pokopin::app::dataFoldersOfThisProgram());
    return program.run();
}
