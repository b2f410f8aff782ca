// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "keys.h"
#include "modes.h"

namespace pokopin::game {

namespace {

constexpr int kIdleClock = 25;
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

std::uint32_t secondsSinceMidnight(const DateTime& t)
{
    return static_cast<std::uint32_t>(t.hour * 3600 + t.minute * 60 + t.second);
}

}  // namespace

Game::Game(Services services, Host& host, GameFiles files)
    : sv_(services), host_(host), files_(std::move(files))
{}

bool Game::fileExists(const std::filesystem::path& path)
{
    return sv_.files.fileExists(path.string());
}

// ---------------------------------------------------------------------------
// Start-up and closing

void Game::load()
{
    m_.scoreLogExists = fileExists(files_.scoreLog);
    if (!m_.scoreLogExists)
        sv_.dialogs.greet();

    host_.repaint();
    sv_.sound.startTitleTune();

    m_.phase = Phase::Idle;
    m_.spawnEnabled = true;
    m_.board.fill(Hole::Empty);
    m_.counters.elapsedSeconds = 1;
    m_.scoreboard.clock = kIdleClock;
    // The first mode, painted and checked without a sound.
    m_.mode = 0;
}

void Game::unload()
{
    sv_.sound.stopTitleTune();
    sv_.sound.stopGameTune();
}

// ---------------------------------------------------------------------------
// Game start, clock and end

void Game::startItemChosen()
{
    if (!viewOf(m_).startItem.reachable())
        return;
    startGame();
}

void Game::stopItemChosen()
{
    if (!viewOf(m_).stopItem.reachable())
        return;
    stopGame();
}

void Game::startGame()
{
    Counters& c = m_.counters;
    c.lastAward = 0;
    m_.spawnEnabled = true;
    m_.gameTunePending = true;
    c.secondsLeft = kGameSeconds;

    // The figures are zero already: every end of game resets them.
    m_.scoreboard = {c.moleCount, c.hitCount, c.missCount, c.score, c.secondsLeft};

    m_.phase = Phase::Running;
    sv_.sound.playEffect(Effect::GameStart);
}

void Game::clockTick()
{
    if (m_.phase != Phase::Running)
        return;
    Counters& c = m_.counters;
    --c.secondsLeft;
    ++c.elapsedSeconds;
    m_.scoreboard.clock = c.secondsLeft;
    if (c.secondsLeft == 0)
        stopGame();
}

void Game::stopGame()
{
    sv_.sound.stopGameTune();
    // A game can end before the music tick that switches to its tune (a stop
    // key in the same moment as the start); the idle board keeps the title tune.
    m_.gameTunePending = false;

    m_.phase = Phase::Ending;
    Counters& c = m_.counters;
    m_.scoreboard.score = c.score;
    m_.scoreboard.moleCount = c.moleCount;
    m_.board.fill(Hole::Empty);

    sv_.sound.playEffect(Effect::GameEnd);

    const DateTime endTime = sv_.clock.now();

    AppendResult appended;
    if (m_.recording) {
        ScoreRecord record;
        record.when = sv_.clock.now();  // the date as the entry is written
        record.when.hour = endTime.hour;
        record.when.minute = endTime.minute;
        record.when.second = endTime.second;
        record.modeName = std::string(modeName(m_));
        record.elapsedSeconds = c.elapsedSeconds;
        record.moleCount = c.moleCount;
        record.hitCount = c.hitCount;
        record.missCount = c.missCount;
        record.score = c.score;
        appended = sv_.scoreLog.append(files_.scoreLog.string(), record);
        if (appended.ok)
            ++m_.entriesRecorded;
    }

    c.score = 0;
    c.moleCount = 0;
    c.hitCount = 0;
    c.missCount = 0;
    c.comboLevel = 0;
    c.elapsedSeconds = 1;
    m_.upTicks.fill(0);
    m_.moleUp.fill(false);
    m_.spawnPressure.fill(0);
    m_.scoreboard.clock = kIdleClock;

    // The pause blocks all event handling: the emptied board is painted
    // first, so the player sees it during the wait.
    host_.repaint();
    sv_.pause.pause(kEndPauseMs);
    m_.phase = Phase::Idle;
    m_.scoreLogExists = true;
    sv_.sound.startTitleTune();

    // Told last, so that a failed append leaves the window exactly as idle as
    // a successful one while the player reads the message.
    if (!appended.ok)
        sv_.dialogs.warnNotRecorded(files_.scoreLog.string(), appended.reason, appended.error);
}

// ---------------------------------------------------------------------------
// Spawner and retreat

void Game::spawnerTick()
{
    if (m_.phase != Phase::Running)
        return;
    if (!m_.spawnEnabled)
        return;

    sv_.random.reseed(secondsSinceMidnight(sv_.clock.now()));
    const float r = static_cast<float>(sv_.random.draw());
    // A draw just below 1 can round up to 1.0f; the clamp keeps it on the board.
    const int picked = std::clamp(static_cast<int>(std::floor(r * 9.0f)), 0, kHoles - 1);
    ++m_.spawnPressure[at(picked)];

    if (!validMode(m_.mode))
        return;
    const Mode& mode = kModes[at(m_.mode)];
    m_.stayTicks = mode.stayTicks;
    for (int hole = 0; hole < kHoles; ++hole) {
        if (!m_.moleUp[at(hole)] && m_.spawnPressure[at(hole)] >= mode.threshold)
            raiseMole(hole);
    }
}

void Game::raiseMole(int hole)
{
    if (!validHole(hole))
        return;
    const auto i = at(hole);
    m_.board[i] = Hole::Mole;
    m_.upTicks[i] = 0;
    m_.spawnPressure[i] = 0;
    ++m_.counters.moleCount;
    m_.scoreboard.moleCount = m_.counters.moleCount;
    if (m_.counters.moleCount >= moleQuota(m_))
        m_.spawnEnabled = false;
    m_.moleUp[i] = true;
}

void Game::retreatTick()
{
    if (m_.phase != Phase::Running)
        return;
    for (int hole = 0; hole < kHoles; ++hole) {
        if (m_.moleUp[at(hole)])
            ageMole(hole);
        if (m_.missShown[at(hole)])
            ageMissMark(hole);
    }
}

void Game::ageMole(int hole)
{
    if (!validHole(hole))
        return;
    const auto i = at(hole);
    m_.upTicks[i] += 1;
    if (m_.upTicks[i] == m_.stayTicks) {
        m_.board[i] = Hole::Empty;
        m_.moleUp[i] = false;
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
    if (m_.phase != Phase::Running)
        return;
    if (!validHole(hole))
        return;
    if (m_.board[at(hole)] == Hole::Mole) {
        hit(hole);
    } else if (m_.board[at(hole)] == Hole::Empty) {
        miss(hole);
    }
    // A whacked mole or a miss mark takes no further whack.
}

void Game::hit(int hole)
{
    Counters& c = m_.counters;
    sv_.sound.playEffect(Effect::Hit);
    m_.board[at(hole)] = Hole::Whacked;
    ++c.hitCount;
    ++c.comboLevel;
    c.lastAward = std::int64_t{c.comboLevel} * c.comboLevel;
    c.score += c.lastAward;
    m_.scoreboard.score = c.score;
    m_.scoreboard.hitCount = c.hitCount;
}

void Game::miss(int hole)
{
    Counters& c = m_.counters;
    const auto i = at(hole);
    m_.missTicks[i] = 0;
    m_.missShown[i] = true;
    m_.board[i] = Hole::Miss;
    ++c.missCount;
    c.comboLevel = std::max(c.comboLevel - 1, 0);
    m_.scoreboard.missCount = c.missCount;
    if (c.score > 0) {
        c.lastAward = static_cast<std::int64_t>(std::floor(static_cast<double>(c.score) * 0.05));
    } else {
        c.score -= 2 * std::int64_t{c.missCount};
    }
    if (c.lastAward >= 35 || c.score <= 0) {
        c.score -= c.lastAward;
    } else {
        c.score -= 30;
    }
    m_.scoreboard.score = c.score;
}

void Game::ageMissMark(int hole)
{
    if (!validHole(hole))
        return;
    const auto i = at(hole);
    m_.missTicks[i] += 1;
    if (m_.missTicks[i] == 1 && m_.board[i] == Hole::Miss) {
        m_.board[i] = Hole::Empty;
        m_.missShown[i] = false;
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
    if (m_.phase == Phase::Running) {
        if (keyCode == vk::Down || keyCode == vk::Space)
            stopGame();
        return;
    }

    if (keyCode == vk::Down || keyCode == vk::Space) {
        startGame();
    } else if (keyCode == vk::Right || keyCode == vk::Left) {
        if (!validMode(m_.mode))
            return;
        applyMode((m_.mode + (keyCode == vk::Right ? 1 : kModeCount - 1)) % kModeCount);
    } else if (keyCode == vk::Up) {
        setRecording(!m_.recording);
    }
}

// ---------------------------------------------------------------------------
// Difficulty modes

void Game::modeItemChosen(int mode)
{
    if (!validMode(mode))
        return;
    const MenuItemView item = viewOf(m_).modeItems[at(mode)];
    if (!item.reachable())
        return;
    if (!item.checked)
        applyMode(mode);
}

void Game::applyMode(int mode)
{
    if (!validMode(mode))
        return;
    m_.mode = mode;
    sv_.sound.playEffect(Effect::ModeChange);
}

// ---------------------------------------------------------------------------
// Score menu

void Game::scoreMenuOpening()
{
    m_.scoreLogExists = fileExists(files_.scoreLog);
}

void Game::recordItemChosen(int recordItem)
{
    if (recordItem != 0 && recordItem != 1)
        return;
    const MenuItemView item = viewOf(m_).recordItems[at(recordItem)];
    if (!item.reachable())
        return;
    if (!item.checked)
        setRecording(recordItem == 0);
}

void Game::setRecording(bool record)
{
    m_.recording = record;
    sv_.sound.playEffect(record ? Effect::RecordingOn : Effect::RecordingOff);
}

void Game::openScoreLog()
{
    if (!viewOf(m_).scoreLogItem.reachable())
        return;
    sv_.shell.openDocument(files_.scoreLog.string());
}

// ---------------------------------------------------------------------------
// Help menu and exit

void Game::helpMenuOpening()
{
    m_.helpPageExists = fileExists(files_.helpPage);
}

void Game::openHelp()
{
    if (!viewOf(m_).helpItem.reachable())
        return;
    // F1 needs no open menu, so the item's state may be older than the page.
    if (!fileExists(files_.helpPage))
        return;
    sv_.shell.openDocument(files_.helpPage.string());
}

void Game::askToExit()
{
    if (!sv_.dialogs.confirmExit())
        return;
    sv_.sound.stopTitleTune();
    sv_.sound.stopGameTune();
    host_.endProgram();
}

// ---------------------------------------------------------------------------
// Music timers

void Game::musicTick()
{
    if (!m_.gameTunePending)
        return;
    sv_.sound.stopTitleTune();
    sv_.sound.startGameTune();
    m_.gameTunePending = false;
}

void Game::titleRestartTick()
{
    // A tick already on its way when the game started is ignored.
    if (m_.phase == Phase::Running)
        return;
    sv_.sound.stopTitleTune();
    sv_.sound.startTitleTune();
}

}  // namespace pokopin::game
