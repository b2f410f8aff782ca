// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The running program: the single-instance lock, the title window, the main
// window and the real services behind the game logic.

#include <QIcon>
#include <QPointer>

#include <memory>
#include <string>

#include "data_folders.h"
#include "deferred_sound.h"
#include "folder_making_score_log.h"
#include "main_window.h"
#include "qt_services.h"
#include "score_log.h"
#include "single_instance.h"
#include "title_window.h"

namespace pokopin::app {

class Program {
public:
    explicit Program(DataFolders folders, QString lockPath = {});
    ~Program();

    // Runs the event loop and returns the exit status. Another instance
    // already running: returns 0 at once without showing or playing anything.
    // No lock can be made: says why on stderr and plays all the same.
    int run();

    ui::MainWindow* mainWindow() const { return main_.get(); }

private:
    // The title timer's request; a second request finds the window there.
    void loadMain();
    void closeTitle();
    // Once the main window's first frame is out: what it could do without.
    void afterFirstFrame();

    DataFolders folders_;
    SingleInstance instance_;
    // Audio is opened only once this process knows it is the one instance,
    // and only once the main window has been drawn.
    std::unique_ptr<audio::DeferredSound> sound_;
    QtClock clock_;
    MixingRandom random_;
    SleepPause pause_;
    QtFileSystem files_;
    records::ScoreLogFile scoreFile_;
    records::FolderMakingScoreLog scoreLog_{scoreFile_};
    DesktopShell shell_;
    QtDialogs dialogs_;
    // Destroyed from inside its own timer tick, so by deleteLater().
    QPointer<TitleWindow> title_;
    std::unique_ptr<ui::MainWindow> main_;
    QIcon windowIcon_;  // set once the window's first frame is out
};

}  // namespace pokopin::app
