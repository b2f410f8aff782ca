#pragma once

// Every rule of the main window, with no widget in sight. The Qt window
// forwards clicks, keys, menu triggers, menu openings and timer ticks to the
// handlers below (named after the control and event that trigger them) and
// then mirrors controls() on screen. A test plays a whole game by calling the
// same handlers with fake services.
//
// Contract: handlers are called on one thread, one at a time, each running to
// completion (a modal dialog or the end-of-game pause may run nested timer
// handlers only where a real window would too). Hole and item indices are
// within their arrays (0 <= Index < 9 for holes); out-of-range indices are
// ignored.

#include <cstdint>
#include <string>

#include "controls.h"
#include "game_state.h"
#include "services.h"

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
    Host& host;
};

// folder + name with exactly one separator between them: a folder that already
// ends in a separator (a root such as "/" or "C:\") gets none added.
std::string programFilePath(const std::string& folder, const std::string& name);

// Plain decimal text: no padding, a minus sign when negative.
std::string numberText(std::int64_t value);

class Game {
public:
    // programFolder: the folder of the executable, no trailing separator except
    // at a root.
    Game(Services services, std::string programFolder);

    GameState& state() { return st_; }
    const GameState& state() const { return st_; }
    Controls& controls() { return ctl_; }
    const Controls& controls() const { return ctl_; }
    bool running() const { return ctl_.spawnerTimer; }

    // Start-up and closing of the window.
    void load();
    void unload();

    // Game start, clock and end.
    void startItemChosen();
    void stopItemChosen();
    void startGame();
    void stopGame();
    void clockTick();

    // Spawner and retreat.
    void spawnerTick();
    void raiseMole(std::int16_t Index);
    void retreatTick();
    void ageMole(std::int16_t Index);

    // Whacks.
    void holeClicked(std::int16_t Index);
    void whack(std::int16_t Index);
    void ageMissMark(std::int16_t Index);

    // Keyboard, with virtual-key codes (keys.h). keyPressed is called for
    // every press including auto-repeats; keyReleased only for real releases.
    void keyPressed(std::int16_t KeyCode);
    void keyReleased(std::int16_t KeyCode);

    // Difficulty modes.
    void modeItemChosen(std::int16_t Index);
    void applyMode(int k);
    void showMode(std::int16_t intMask, std::int16_t intOri, std::int16_t intA,
                    std::int16_t intB, std::int16_t intC, std::int16_t intD);

    // Score menu.
    void scoreMenuOpening();  // the menu opens
    void recordItemChosen(std::int16_t Index);
    void openScoreLog();

    // Help menu and exit.
    void helpMenuOpening();  // the menu opens
    void openHelp();
    void askToExit();

    // Music timers.
    void musicTick();
    void titleRestartTick();

private:
    Services sv_;
    std::string programFolder_;
    GameState st_;
    Controls ctl_;
};

}  // namespace pokopin::game
