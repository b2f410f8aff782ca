// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "keys.h"
#include "modes.h"

namespace pokopin::game {

namespace {

constexpr const char* kScoreFileName = "Score.txt";
constexpr const char* kHelpFileName = "Help.html";
constexpr const char* kIdleClockText = "25";
constexpr int kEndPauseMs = 500;
constexpr int kGameSeconds = 24;
constexpr int kModeCount = static_cast<int>(kModes.size());

bool validHole(int hole)
{
    return hole >= 0 && hole < kHoles;
}
bool validMode(int mode)
{
    return mode >= 0 && mode < kModeCount;
}
std::size_t at(int index)
{
    return static_cast<std::size_t>(index);
}

// The mode in force is the first checked item; -1 when none is checked.
int checkedMode(const Controls& ctl)
{
    for (int mode = 0; mode < kModeCount; ++mode)
        if (ctl.modeItems[at(mode)].checked)
            return mode;
    return -1;
}

// An item chosen in a menu whose title is disabled, or that is itself
// disabled or hidden, can only arrive through a stray shortcut: it is ignored.
bool reachable(const MenuItem& title, const MenuItem& item)
{
    return title.enabled && item.enabled && item.visible;
}

std::uint32_t secondsSinceMidnight(const DateTime& t)
{
    return static_cast<std::uint32_t>(t.hour * 3600 + t.minute * 60 + t.second);
}

}  // namespace

std::string numberText(std::int64_t value)
{
    return std::to_string(value);
}

Game::Game(Services services, Folders folders) : sv_(services), folders_(std::move(folders)) {}

// ---------------------------------------------------------------------------
// Start-up and closing

void Game::load()
{
    st_.scoreFilePath = joinPath(folders_.log, kScoreFileName);
    // Prepared now so that F1 opens the page even before the Help menu was
    // ever opened; opening the menu recomputes it.
    st_.helpFilePath = joinPath(folders_.data, kHelpFileName);

    if (!sv_.files.fileExists(st_.scoreFilePath)) {
        ctl_.scoreLogItem.enabled = false;
        sv_.dialogs.greet();
    } else {
        ctl_.scoreLogItem.enabled = true;
    }

    sv_.host.repaintMain();
    sv_.sound.startTitleTune();
    sv_.host.showMain();
    sv_.host.closeTitle();

    ctl_.stopItem.visible = false;
    st_.spawnEnabled = true;
    ctl_.holes.fill(HolePicture::Empty);
    st_.elapsedSeconds = 1;
    ctl_.clockText = kIdleClockText;

    st_.moleQuota = kModes[0].moleQuota;
    showMode(0);
    st_.modeName = std::string(kModes[0].name);

    sv_.host.focusBoard();
}

void Game::unload()
{
    sv_.sound.stopTitleTune();
    sv_.sound.stopGameTune();
    sv_.host.closeAbout();
}

// ---------------------------------------------------------------------------
// Game start, clock and end

void Game::startItemChosen()
{
    if (!ctl_.startItem.visible || !ctl_.startItem.enabled)
        return;
    startGame();
}

void Game::stopItemChosen()
{
    if (!ctl_.stopItem.visible || !ctl_.stopItem.enabled)
        return;
    stopGame();
}

void Game::startGame()
{
    st_.lastAward = 0;
    st_.spawnEnabled = true;
    ctl_.titleRestartTimer = false;
    ctl_.musicTimer = true;
    st_.gameMusicPending = true;
    st_.secondsLeft = kGameSeconds;
    ctl_.clockText = numberText(st_.secondsLeft);

    // Zero already: every end of game resets them.
    ctl_.scoreText = numberText(st_.score);
    ctl_.moleCountText = numberText(st_.moleCount);
    ctl_.hitCountText = numberText(st_.hitCount);
    ctl_.missCountText = numberText(st_.missCount);

    ctl_.startItem.visible = false;
    ctl_.stopItem.visible = true;
    ctl_.modeMenu.enabled = false;
    ctl_.scoreMenu.enabled = false;
    ctl_.helpMenu.enabled = false;

    sv_.sound.playEffect("hue.wav");

    ctl_.spawnerTimer = true;
    ctl_.clockTimer = true;
    ctl_.retreatTimer = true;
}

void Game::clockTick()
{
    if (!ctl_.clockTimer)
        return;
    --st_.secondsLeft;
    ++st_.elapsedSeconds;
    ctl_.clockText = numberText(st_.secondsLeft);
    if (st_.secondsLeft == 0)
        stopGame();
}

void Game::stopGame()
{
    sv_.sound.stopGameTune();
    // A game can end before the music tick that switches to its tune (a stop
    // key in the same moment as the start); the idle board keeps the title tune.
    st_.gameMusicPending = false;

    ctl_.clockTimer = false;
    ctl_.spawnerTimer = false;
    ctl_.retreatTimer = false;

    ctl_.scoreText = numberText(st_.score);
    ctl_.scoreVisible = true;
    ctl_.stopItem.visible = false;
    ctl_.modeMenu.enabled = true;
    ctl_.scoreMenu.enabled = true;
    ctl_.helpMenu.enabled = true;
    ctl_.moleCountText = numberText(st_.moleCount);

    ctl_.holes.fill(HolePicture::Empty);

    sv_.sound.playEffect("hei.wav");

    const DateTime endTime = sv_.clock.now();

    AppendResult appended;
    if (ctl_.recordItems[0].checked) {
        ScoreRecord record;
        record.when = sv_.clock.now();  // the date as the entry is written
        record.when.hour = endTime.hour;
        record.when.minute = endTime.minute;
        record.when.second = endTime.second;
        record.modeName = st_.modeName;
        record.elapsedSeconds = st_.elapsedSeconds;
        record.moleCount = st_.moleCount;
        record.hitCount = st_.hitCount;
        record.missCount = st_.missCount;
        record.score = st_.score;
        appended = sv_.scoreLog.append(st_.scoreFilePath, record);
    }

    st_.score = 0;
    st_.pickedHole = 0;
    st_.moleCount = 0;
    st_.hitCount = 0;
    st_.missCount = 0;
    st_.comboLevel = 0;
    st_.elapsedSeconds = 1;
    st_.upTicks.fill(0);
    st_.moleUp.fill(false);
    st_.spawnPressure.fill(0);

    ctl_.clockText = kIdleClockText;
    ctl_.titleRestartTimer = true;
    sv_.host.focusBoard();
    sv_.pause.pause(kEndPauseMs);
    ctl_.startItem.visible = true;
    ctl_.scoreLogItem.enabled = true;
    sv_.sound.startTitleTune();

    // Told last, so that a failed append leaves the window exactly as idle as
    // a successful one while the player reads the message.
    if (!appended.ok)
        sv_.dialogs.warnNotRecorded(st_.scoreFilePath, appended.reason, appended.error);
}

// ---------------------------------------------------------------------------
// Spawner and retreat

void Game::spawnerTick()
{
    if (!ctl_.spawnerTimer)
        return;
    if (!st_.spawnEnabled)
        return;

    sv_.random.reseed(secondsSinceMidnight(sv_.clock.now()));
    const float r = static_cast<float>(sv_.random.draw());
    // A draw just below 1 can round up to 1.0f; the clamp keeps it on the board.
    const int picked = static_cast<int>(std::floor(r * 9.0f));
    st_.pickedHole = std::clamp(picked, 0, kHoles - 1);
    ++st_.spawnPressure[at(st_.pickedHole)];

    const int mode = checkedMode(ctl_);
    if (mode < 0)
        return;
    const Mode& m = kModes[at(mode)];
    st_.stayTicks = m.stayTicks;
    for (int hole = 0; hole < kHoles; ++hole) {
        if (!st_.moleUp[at(hole)] && st_.spawnPressure[at(hole)] >= m.threshold)
            raiseMole(hole);
    }
}

void Game::raiseMole(int hole)
{
    if (!validHole(hole))
        return;
    const auto i = at(hole);
    ctl_.holes[i] = HolePicture::Mole;
    st_.upTicks[i] = 0;
    st_.spawnPressure[i] = 0;
    ++st_.moleCount;
    ctl_.moleCountText = numberText(st_.moleCount);
    if (st_.moleCount >= st_.moleQuota)
        st_.spawnEnabled = false;
    st_.moleUp[i] = true;
}

void Game::retreatTick()
{
    if (!ctl_.retreatTimer)
        return;
    for (int hole = 0; hole < kHoles; ++hole) {
        if (st_.moleUp[at(hole)])
            ageMole(hole);
        if (st_.missShown[at(hole)])
            ageMissMark(hole);
    }
}

void Game::ageMole(int hole)
{
    if (!validHole(hole))
        return;
    const auto i = at(hole);
    st_.upTicks[i] += 1;
    if (st_.upTicks[i] == st_.stayTicks) {
        ctl_.holes[i] = HolePicture::Empty;
        st_.moleUp[i] = false;
    }
}

// ---------------------------------------------------------------------------
// Whacks

void Game::holeClicked(int hole)
{
    whack(hole);
}

void Game::whack(int hole)
{
    if (!ctl_.spawnerTimer)
        return;
    if (!validHole(hole))
        return;
    if (ctl_.holes[at(hole)] == HolePicture::Mole) {
        hit(hole);
    } else if (ctl_.holes[at(hole)] == HolePicture::Empty) {
        miss(hole);
    }
    // A whacked mole or a miss mark takes no further whack.
}

void Game::hit(int hole)
{
    sv_.sound.playEffect("bisi.wav");
    ctl_.holes[at(hole)] = HolePicture::Whacked;
    ++st_.hitCount;
    ++st_.comboLevel;
    st_.lastAward = std::int64_t{st_.comboLevel} * st_.comboLevel;
    st_.score += st_.lastAward;
    ctl_.scoreText = numberText(st_.score);
    ctl_.hitCountText = numberText(st_.hitCount);
}

void Game::miss(int hole)
{
    const auto i = at(hole);
    st_.missTicks[i] = 0;
    st_.missShown[i] = true;
    ctl_.holes[i] = HolePicture::Miss;
    ++st_.missCount;
    st_.comboLevel = std::max(st_.comboLevel - 1, 0);
    ctl_.missCountText = numberText(st_.missCount);
    if (st_.score > 0) {
        st_.lastAward =
            static_cast<std::int64_t>(std::floor(static_cast<double>(st_.score) * 0.05));
    } else {
        st_.score -= 2 * std::int64_t{st_.missCount};
    }
    if (st_.lastAward >= 35 || st_.score <= 0) {
        st_.score -= st_.lastAward;
    } else {
        st_.score -= 30;
    }
    ctl_.scoreText = numberText(st_.score);
}

void Game::ageMissMark(int hole)
{
    if (!validHole(hole))
        return;
    const auto i = at(hole);
    st_.missTicks[i] += 1;
    if (st_.missTicks[i] == 1 && ctl_.holes[i] == HolePicture::Miss) {
        ctl_.holes[i] = HolePicture::Empty;
        st_.missShown[i] = false;
    }
}

// ---------------------------------------------------------------------------
// Keyboard

void Game::keyPressed(int keyCode)
{
    for (int hole = 0; hole < kHoles; ++hole) {
        const auto& keys = vk::kHoleKeys[at(hole)];
        if (keyCode == keys[0] || keyCode == keys[1]) {
            whack(hole);
            return;
        }
    }
}

void Game::keyReleased(int keyCode)
{
    if (ctl_.spawnerTimer) {
        if (keyCode == vk::Down || keyCode == vk::Space)
            stopGame();
        return;
    }

    if (keyCode == vk::Down || keyCode == vk::Space) {
        startGame();
    } else if (keyCode == vk::Right || keyCode == vk::Left) {
        const int mode = checkedMode(ctl_);
        if (mode < 0)
            return;
        applyMode((mode + (keyCode == vk::Right ? 1 : kModeCount - 1)) % kModeCount);
    } else if (keyCode == vk::Up) {
        // Flips whichever of the two items is checked; with neither checked
        // there is nothing to flip.
        if (ctl_.recordItems[0].checked) {
            setRecording(false);
        } else if (ctl_.recordItems[1].checked) {
            setRecording(true);
        }
    }
}

// ---------------------------------------------------------------------------
// Difficulty modes

void Game::modeItemChosen(int mode)
{
    if (!validMode(mode))
        return;
    const MenuItem& item = ctl_.modeItems[at(mode)];
    if (!reachable(ctl_.modeMenu, item))
        return;
    if (!item.checked)
        applyMode(mode);
}

void Game::applyMode(int mode)
{
    if (!validMode(mode))
        return;
    const Mode& m = kModes[at(mode)];
    showMode(mode);
    st_.modeName = std::string(m.name);
    sv_.sound.playEffect("pon.wav");
    st_.moleQuota = m.moleQuota;
}

void Game::showMode(int mode)
{
    if (!validMode(mode))
        return;
    ctl_.panelMode = mode;
    ++ctl_.panelPaints;
    for (int k = 0; k < kModeCount; ++k)
        ctl_.modeItems[at(k)].checked = k == mode;
}

// ---------------------------------------------------------------------------
// Score menu

void Game::scoreMenuOpening()
{
    ctl_.scoreLogItem.enabled = sv_.files.fileExists(st_.scoreFilePath);
}

void Game::recordItemChosen(int recordItem)
{
    if (recordItem != 0 && recordItem != 1)
        return;
    if (!reachable(ctl_.scoreMenu, ctl_.recordItems[at(recordItem)]))
        return;
    const bool record = recordItem == 0;
    if (!ctl_.recordItems[at(recordItem)].checked)
        setRecording(record);
}

void Game::setRecording(bool record)
{
    ctl_.recordItems[0].checked = record;
    ctl_.recordItems[1].checked = !record;
    ctl_.recordLabelVisible = record;
    sv_.sound.playEffect(record ? "pipo2.wav" : "pipo1.wav");
}

void Game::openScoreLog()
{
    if (!reachable(ctl_.scoreMenu, ctl_.scoreLogItem))
        return;
    sv_.shell.openDocument(st_.scoreFilePath);
}

// ---------------------------------------------------------------------------
// Help menu and exit

void Game::helpMenuOpening()
{
    st_.helpFilePath = joinPath(folders_.data, kHelpFileName);
    ctl_.helpItem.enabled = sv_.files.fileExists(st_.helpFilePath);
}

void Game::openHelp()
{
    if (!reachable(ctl_.helpMenu, ctl_.helpItem))
        return;
    // F1 needs no open menu, so the item's state may be older than the page.
    if (!sv_.files.fileExists(st_.helpFilePath))
        return;
    sv_.shell.openDocument(st_.helpFilePath);
}

void Game::askToExit()
{
    if (!sv_.dialogs.confirmExit())
        return;
    sv_.sound.stopTitleTune();
    sv_.sound.stopGameTune();
    sv_.host.endProgram();
}

// ---------------------------------------------------------------------------
// Music timers

void Game::musicTick()
{
    if (!ctl_.musicTimer)
        return;
    if (!st_.gameMusicPending)
        return;
    sv_.sound.stopTitleTune();
    sv_.sound.startGameTune();
    st_.gameMusicPending = false;
    ctl_.musicTimer = false;
}

void Game::titleRestartTick()
{
    if (!ctl_.titleRestartTimer)
        return;
    if (ctl_.spawnerTimer)
        return;
    sv_.sound.stopTitleTune();
    sv_.sound.startTitleTune();
}

}  // namespace pokopin::game
