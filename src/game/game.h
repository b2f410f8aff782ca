// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Every rule of the main window, with no widget in sight. The Qt window
// forwards clicks, keys, menu triggers, menu openings and timer ticks to the
// handlers below and then shows viewOf(model()). A test plays a whole game by
// calling the same handlers with fake services.
//
// Contract: handlers are called on one thread, one at a time, each running to
// completion (a modal dialog or the end-of-game pause may run nested timer
// handlers only where a real window would too). Hole and item indices are
// within their arrays (0 <= hole < 9, 0 <= mode < 4); out-of-range indices are
// ignored.

#include <filesystem>

#include "game_model.h"
#include "services.h"
#include "window_view.h"

namespace pokopin::game {

struct Services {
    Sound& sound;
    Clock& clock;
    Random& random;
    Pause& pause;
    FileSystem& files;
    ScoreLog& scoreLog;
    Shell& shell;
    Dialogs& dialogs;
};

// The two files the game opens by name, as ready paths.
struct GameFiles {
    std::filesystem::path scoreLog;  // where finished games are written down
    std::filesystem::path helpPage;
};

class Game {
public:
    Game(Services services, Host& host, GameFiles files);

    GameModel& model() { return m_; }
    const GameModel& model() const { return m_; }
    const GameFiles& files() const { return files_; }
    bool running() const { return m_.phase == Phase::Running; }

    // Start-up and closing of the window.
    void load();
    void unload();

    // Game start, clock and end. The menu items ignore a trigger that could
    // only come through a stray shortcut (hidden or disabled item).
    void startItemChosen();
    void stopItemChosen();
    void startGame();
    void stopGame();
    void clockTick();

    // Spawner and retreat.
    void spawnerTick();
    void raiseMole(int hole);
    void retreatTick();
    void ageMole(int hole);  // lowers the mole once it has stayed its time

    // Whacks: a click, or a hole key, judged by what the hole shows.
    void holeClicked(int hole);
    void whack(int hole);
    void ageMissMark(int hole);  // removes the mark one retreat tick after the miss

    // Keyboard, with virtual-key codes (keys.h). keyPressed is called for
    // every press including auto-repeats; keyReleased only for real releases.
    void keyPressed(int keyCode);
    void keyReleased(int keyCode);

    // Difficulty modes.
    void modeItemChosen(int mode);
    void applyMode(int mode);

    // Score menu. recordItem 0 is "記録する", 1 is "記録しない".
    void scoreMenuOpening();
    void recordItemChosen(int recordItem);
    void openScoreLog();

    // Help menu and exit.
    void helpMenuOpening();
    void openHelp();
    void askToExit();

    // Music: the deferred switch to the game tune, and the title tune's
    // restart while no game runs.
    void musicTick();
    void titleRestartTick();

private:
    void hit(int hole);
    void miss(int hole);
    void setRecording(bool record);
    bool fileExists(const std::filesystem::path& path);

    Services sv_;
    Host& host_;
    GameFiles files_;
    GameModel m_;
};

}  // namespace pokopin::game
