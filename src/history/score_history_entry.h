// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLibrary>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace pokopin::history {

// The score history window as the game's main window uses it. The window
// lives in a module of its own, loaded the first time it is opened: until
// then neither the window nor its chart library costs the game anything,
// not even at start-up. Qt Widgets is all this side needs.
class ScoreHistory {
public:
    // `logPath` is the score log; the window becomes a window of its own
    // owned by `parent`. The module is looked for in `moduleFolders`, first
    // found first taken.
    ScoreHistory(QString logPath, QWidget* parent,
                 QStringList moduleFolders = defaultModuleFolders());
    // Closes the window; the module stays loaded.
    ~ScoreHistory();
    ScoreHistory(const ScoreHistory&) = delete;
    ScoreHistory& operator=(const ScoreHistory&) = delete;

    // Opens the window on `mode`'s tab (0..3, as in game::kModes), or raises
    // it and turns to that tab when it is open already. False when the
    // module cannot be loaded; error() says why.
    bool showForMode(int mode);

    // The game has appended an entry to the log: an open (or once opened)
    // window reads what was added. Nothing happens before the first opening.
    void logAppended();

    // The window, once opened; null before.
    QWidget* window() const { return window_; }
    QString error() const { return error_; }

    // Beside the program (the build tree), then ../lib/pokopin/modules from
    // it (an installed copy: bin/ or games/ next to lib/).
    static QStringList defaultModuleFolders();

private:
    bool load();

    QString logPath_;
    QPointer<QWidget> parent_;
    QStringList folders_;
    QLibrary module_;
    QPointer<QWidget> window_;
    QString error_;
};

}  // namespace pokopin::history
