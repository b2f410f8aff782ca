// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "display_check.h"
#include "program.h"
#include "qt_services.h"

int main(int argc, char* argv[])
{
    // Without a display it can reach the toolkit would abort with advice to
    // reinstall; say which display is missing instead.
    pokopin::app::DisplayProbes probes = pokopin::app::connectingProbes();
    pokopin::app::DisplayChoice display =
        pokopin::app::chooseDisplay(argc, argv, std::getenv, probes);
    if (!display.error.empty()) {
        std::fprintf(stderr, "pokopin: %s\n", display.error.c_str());
        return 1;
    }
    // When the toolkit's first choice cannot be reached, start it on the one
    // that can, without its warning about the first.
    std::string platformOption = "-platform";
    std::vector<char*> args(argv, argv + argc);
    if (!display.platform.empty()) {
        args.push_back(platformOption.data());
        args.push_back(display.platform.data());
    }
    args.push_back(nullptr);
    int argCount = static_cast<int>(args.size()) - 1;
    QApplication app(argCount, args.data());
    probes = {};  // the toolkit has its own connection now
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
