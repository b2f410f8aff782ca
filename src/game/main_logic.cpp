#include "main_logic.h"

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
constexpr std::int16_t kGameSeconds = 24;
constexpr int kEndPauseMs = 500;

bool validHole(std::int16_t index) { return index >= 0 && index < kHoles; }
bool validMode(int k) { return k >= 0 && k < static_cast<int>(kModes.size()); }

// The counters keep their declared widths; the additions below cannot leave
// them in any game (a game raises fewer than 130 moles).
std::int16_t plus(std::int16_t value, int delta) { return static_cast<std::int16_t>(value + delta); }

// The mode in force is the first checked item; -1 when none is checked.
int checkedMode(const Controls& ctl) {
    for (int k = 0; k < static_cast<int>(ctl.mnuOptionMode.size()); ++k)
        if (ctl.mnuOptionMode[static_cast<std::size_t>(k)].checked) return k;
    return -1;
}

// An item chosen in a menu whose title is disabled, or that is itself
// disabled or hidden, can only arrive through a stray shortcut: it is ignored.
bool reachable(const MenuItem& title, const MenuItem& item) {
    return title.enabled && item.enabled && item.visible;
}

std::uint32_t secondsSinceMidnight(const DateTime& t) {
    return static_cast<std::uint32_t>(t.hour * 3600 + t.minute * 60 + t.second);
}

}  // namespace

std::string programFilePath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    if (last == '/' || last == '\\') return folder + name;
    // Keep to the folder's own style so that a Windows path stays uniform.
    const bool backslashStyle =
        folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos;
    return folder + (backslashStyle ? '\\' : '/') + name;
}

std::string numberText(std::int64_t value) { return std::to_string(value); }

MainLogic::MainLogic(Services services, std::string programFolder)
    : sv_(services), programFolder_(std::move(programFolder)) {}

// ---------------------------------------------------------------------------
// Start-up and closing

void MainLogic::Form_Load() {
    st_.scoreFilePath = programFilePath(programFolder_, kScoreFileName);
    // Prepared now so that F1 opens the page even before the Help menu was
    // ever opened; opening the menu recomputes it.
    st_.helpFilePath = programFilePath(programFolder_, kHelpFileName);

    if (!sv_.files.fileExists(st_.scoreFilePath)) {
        ctl_.mnuScoreText.enabled = false;
        sv_.dialogs.greet();
    } else {
        ctl_.mnuScoreText.enabled = true;
    }

    sv_.host.repaintMain();
    sv_.sound.startTitleTune();
    sv_.host.showMain();
    sv_.host.closeTitle();

    ctl_.mnuChuudan.visible = false;
    st_.spawnEnabled = true;
    for (st_.holeIndex = 0; st_.holeIndex < kHoles; st_.holeIndex = plus(st_.holeIndex, 1))
        ctl_.picMaru[static_cast<std::size_t>(st_.holeIndex)] = HolePicture::Empty;
    st_.elapsedSeconds = 1;
    ctl_.lblTime = kIdleClockText;

    const Mode& easy = kModes[0];
    st_.moleQuota = easy.moleQuota;
    subMnumode(easy.intMask, easy.intOri, easy.intA, easy.intB, easy.intC, easy.intD);
    st_.modeName = std::string(easy.name);

    sv_.host.focusBoard();
}

void MainLogic::Form_Unload() {
    sv_.sound.stopTitleTune();
    sv_.sound.stopGameTune();
    sv_.host.closeAbout();
}

// ---------------------------------------------------------------------------
// Game start, clock and end

void MainLogic::mnuKaisi_Click() {
    if (!ctl_.mnuKaisi.visible || !ctl_.mnuKaisi.enabled) return;
    subKaisi();
}

void MainLogic::mnuChuudan_Click() {
    if (!ctl_.mnuChuudan.visible || !ctl_.mnuChuudan.enabled) return;
    subStop();
}

void MainLogic::subKaisi() {
    st_.combo[0] = 0;
    st_.spawnEnabled = true;
    ctl_.timTitleMidi = false;
    ctl_.timMidi = true;
    st_.gameMusicPending = true;
    st_.secondsLeft = kGameSeconds;
    ctl_.lblTime = numberText(st_.secondsLeft);

    // Zero already: every end of game resets them.
    ctl_.lblMainScore = numberText(st_.score);
    ctl_.lblKosuu = numberText(st_.moleCount);
    ctl_.lblHit = numberText(st_.hitCount);
    ctl_.lblMiss = numberText(st_.missCount);

    ctl_.mnuKaisi.visible = false;
    ctl_.mnuChuudan.visible = true;
    ctl_.mnuOption.enabled = false;
    ctl_.mnuScore.enabled = false;
    ctl_.mnuHelp.enabled = false;

    sv_.sound.playEffect("hue.wav");

    ctl_.timStart = true;
    ctl_.timNokori = true;
    ctl_.timKesu = true;
}

void MainLogic::timNokori_Timer() {
    if (!ctl_.timNokori) return;
    st_.secondsLeft = plus(st_.secondsLeft, -1);
    st_.elapsedSeconds = plus(st_.elapsedSeconds, 1);
    ctl_.lblTime = numberText(st_.secondsLeft);
    if (st_.secondsLeft == 0) subStop();
}

void MainLogic::subStop() {
    sv_.sound.stopGameTune();

    ctl_.timNokori = false;
    ctl_.timStart = false;
    ctl_.timKesu = false;

    ctl_.lblMainScore = numberText(st_.score);
    ctl_.lblMainScoreVisible = true;
    ctl_.mnuChuudan.visible = false;
    ctl_.mnuOption.enabled = true;
    ctl_.mnuScore.enabled = true;
    ctl_.mnuHelp.enabled = true;
    ctl_.lblKosuu = numberText(st_.moleCount);

    for (st_.holeIndex = 0; st_.holeIndex < kHoles; st_.holeIndex = plus(st_.holeIndex, 1))
        ctl_.picMaru[static_cast<std::size_t>(st_.holeIndex)] = HolePicture::Empty;

    sv_.sound.playEffect("hei.wav");

    const DateTime endTime = sv_.clock.now();

    AppendResult appended;
    if (ctl_.mnuScoreSave[0].checked) {
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
    st_.combo[1] = 0;
    st_.elapsedSeconds = 1;
    for (st_.holeIndex = 0; st_.holeIndex < kHoles; st_.holeIndex = plus(st_.holeIndex, 1)) {
        const auto k = static_cast<std::size_t>(st_.holeIndex);
        st_.upTicks[k] = 0;
        st_.moleUp[k] = false;
        st_.spawnPressure[k] = 0;
    }

    ctl_.lblTime = kIdleClockText;
    ctl_.timTitleMidi = true;
    sv_.host.focusBoard();
    sv_.pause.pause(kEndPauseMs);
    ctl_.mnuKaisi.visible = true;
    ctl_.mnuScoreText.enabled = true;
    sv_.sound.startTitleTune();

    // Told last, so that a failed append leaves the window exactly as idle as
    // a successful one while the player reads the message.
    if (!appended.ok) sv_.dialogs.warnNotRecorded(st_.scoreFilePath, appended.reason);
}

// ---------------------------------------------------------------------------
// Spawner and retreat

void MainLogic::timStart_Timer() {
    if (!ctl_.timStart) return;
    if (!st_.spawnEnabled) return;

    sv_.random.reseed(secondsSinceMidnight(sv_.clock.now()));
    const float r = static_cast<float>(sv_.random.draw());
    // A draw just below 1 can round up to 1.0f; the clamp keeps it on the board.
    const int picked = static_cast<int>(std::floor(r * 9.0f));
    st_.pickedHole = static_cast<std::int16_t>(std::clamp(picked, 0, kHoles - 1));
    auto& pressure = st_.spawnPressure[static_cast<std::size_t>(st_.pickedHole)];
    pressure = plus(pressure, 1);

    const int mode = checkedMode(ctl_);
    if (mode < 0) return;
    const Mode& m = kModes[static_cast<std::size_t>(mode)];
    st_.stayTicks = m.stayTicks;
    for (std::int16_t k = 0; k < kHoles; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (!st_.moleUp[i] && st_.spawnPressure[i] >= m.threshold) subMogura(k);
    }
}

void MainLogic::subMogura(std::int16_t Index) {
    if (!validHole(Index)) return;
    const auto i = static_cast<std::size_t>(Index);
    ctl_.picMaru[i] = HolePicture::Mole;
    st_.upTicks[i] = 0;
    st_.spawnPressure[i] = 0;
    st_.moleCount = plus(st_.moleCount, 1);
    ctl_.lblKosuu = numberText(st_.moleCount);
    if (st_.moleCount >= st_.moleQuota) st_.spawnEnabled = false;
    st_.moleUp[i] = true;
}

void MainLogic::timKesu_Timer() {
    if (!ctl_.timKesu) return;
    for (std::int16_t k = 0; k < kHoles; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (st_.moleUp[i]) subKesu(k);
        if (st_.missShown[i]) subMiss(k);
    }
}

void MainLogic::subKesu(std::int16_t Index) {
    if (!validHole(Index)) return;
    const auto i = static_cast<std::size_t>(Index);
    st_.upTicks[i] += 1;
    if (st_.upTicks[i] == st_.stayTicks) {
        ctl_.picMaru[i] = HolePicture::Empty;
        st_.moleUp[i] = false;
    }
}

// ---------------------------------------------------------------------------
// Whacks

void MainLogic::picMaru_Click(std::int16_t Index) { subHit(Index); }

void MainLogic::subHit(std::int16_t Index) {
    if (!ctl_.timStart) return;
    if (!validHole(Index)) return;
    const auto i = static_cast<std::size_t>(Index);

    if (ctl_.picMaru[i] == HolePicture::Mole) {
        sv_.sound.playEffect("bisi.wav");
        ctl_.picMaru[i] = HolePicture::Whacked;
        st_.hitCount = plus(st_.hitCount, 1);
        st_.combo[1] += 1;
        st_.combo[0] = st_.combo[1] * st_.combo[1];
        st_.score += st_.combo[0];
        ctl_.lblMainScore = numberText(st_.score);
        ctl_.lblHit = numberText(st_.hitCount);
    } else if (ctl_.picMaru[i] == HolePicture::Empty) {
        st_.missTicks[i] = 0;
        st_.missShown[i] = true;
        ctl_.picMaru[i] = HolePicture::Miss;
        st_.missCount += 1;
        st_.combo[1] -= 1;
        if (st_.combo[1] == -1) st_.combo[1] = 0;
        ctl_.lblMiss = numberText(st_.missCount);
        if (st_.score > 0) {
            st_.combo[0] = static_cast<std::int32_t>(std::floor(st_.score * 0.05));
        } else {
            st_.score -= 2 * st_.missCount;
        }
        if (st_.combo[0] >= 35 || st_.score <= 0) {
            st_.score -= st_.combo[0];
        } else {
            st_.score -= 30;
        }
        ctl_.lblMainScore = numberText(st_.score);
    }
    // A whacked mole or a miss mark takes no further whack.
}

void MainLogic::subMiss(std::int16_t Index) {
    if (!validHole(Index)) return;
    const auto i = static_cast<std::size_t>(Index);
    st_.missTicks[i] += 1;
    if (st_.missTicks[i] == 1 && ctl_.picMaru[i] == HolePicture::Miss) {
        ctl_.picMaru[i] = HolePicture::Empty;
        st_.missShown[i] = false;
    }
}

// ---------------------------------------------------------------------------
// Keyboard

void MainLogic::Form_KeyDown(std::int16_t KeyCode) {
    for (std::int16_t k = 0; k < kHoles; ++k) {
        const auto& keys = vk::kHoleKeys[static_cast<std::size_t>(k)];
        if (KeyCode == keys[0] || KeyCode == keys[1]) {
            subHit(k);
            return;
        }
    }
}

void MainLogic::Form_KeyUp(std::int16_t KeyCode) {
    if (ctl_.timStart) {
        if (KeyCode == vk::Down || KeyCode == vk::Space) subStop();
        return;
    }

    if (KeyCode == vk::Down || KeyCode == vk::Space) {
        subKaisi();
    } else if (KeyCode == vk::Right || KeyCode == vk::Left) {
        const int mode = checkedMode(ctl_);
        if (mode < 0) return;
        const int count = static_cast<int>(kModes.size());
        applyMode((mode + (KeyCode == vk::Right ? 1 : count - 1)) % count);
    } else if (KeyCode == vk::Up) {
        if (ctl_.mnuScoreSave[0].checked) {
            ctl_.mnuScoreSave[0].checked = false;
            ctl_.mnuScoreSave[1].checked = true;
            ctl_.lblRecVisible = false;
            sv_.sound.playEffect("pipo1.wav");
        } else if (ctl_.mnuScoreSave[1].checked) {
            ctl_.mnuScoreSave[1].checked = false;
            ctl_.mnuScoreSave[0].checked = true;
            ctl_.lblRecVisible = true;
            sv_.sound.playEffect("pipo2.wav");
        }
    }
}

// ---------------------------------------------------------------------------
// Difficulty modes

void MainLogic::mnuOptionMode_Click(std::int16_t Index) {
    if (!validMode(Index)) return;
    const MenuItem& item = ctl_.mnuOptionMode[static_cast<std::size_t>(Index)];
    if (!reachable(ctl_.mnuOption, item)) return;
    if (!item.checked) applyMode(Index);
}

void MainLogic::applyMode(int k) {
    if (!validMode(k)) return;
    const Mode& m = kModes[static_cast<std::size_t>(k)];
    subMnumode(m.intMask, m.intOri, m.intA, m.intB, m.intC, m.intD);
    st_.modeName = std::string(m.name);
    sv_.sound.playEffect("pon.wav");
    st_.moleQuota = m.moleQuota;
}

void MainLogic::subMnumode(std::int16_t intMask, std::int16_t intOri, std::int16_t intA,
                           std::int16_t intB, std::int16_t intC, std::int16_t intD) {
    ctl_.panelMask = intMask;
    ctl_.panelImage = intOri;
    ++ctl_.panelPaints;
    const auto setCheck = [this](std::int16_t k, bool on) {
        if (validMode(k)) ctl_.mnuOptionMode[static_cast<std::size_t>(k)].checked = on;
    };
    setCheck(intA, true);
    setCheck(intB, false);
    setCheck(intC, false);
    setCheck(intD, false);
}

// ---------------------------------------------------------------------------
// Score menu

void MainLogic::mnuScore_Click() {
    ctl_.mnuScoreText.enabled = sv_.files.fileExists(st_.scoreFilePath);
}

void MainLogic::mnuScoreSave_Click(std::int16_t Index) {
    if (Index != 0 && Index != 1) return;
    if (!reachable(ctl_.mnuScore, ctl_.mnuScoreSave[static_cast<std::size_t>(Index)])) return;
    auto& on = ctl_.mnuScoreSave[0];
    auto& off = ctl_.mnuScoreSave[1];
    if (Index == 0 && !on.checked) {
        off.checked = false;
        on.checked = true;
        ctl_.lblRecVisible = true;
        sv_.sound.playEffect("pipo2.wav");
    } else if (Index == 1 && !off.checked) {
        on.checked = false;
        off.checked = true;
        ctl_.lblRecVisible = false;
        sv_.sound.playEffect("pipo1.wav");
    }
}

void MainLogic::mnuScoreText_Click() {
    if (!reachable(ctl_.mnuScore, ctl_.mnuScoreText)) return;
    sv_.shell.openDocument(st_.scoreFilePath);
}

// ---------------------------------------------------------------------------
// Help menu and exit

void MainLogic::mnuHelp_Click() {
    st_.helpFilePath = programFilePath(programFolder_, kHelpFileName);
    ctl_.mnuHelptxt.enabled = sv_.files.fileExists(st_.helpFilePath);
}

void MainLogic::mnuHelptxt_Click() {
    if (!reachable(ctl_.mnuHelp, ctl_.mnuHelptxt)) return;
    // F1 needs no open menu, so the item's state may be older than the page.
    if (!sv_.files.fileExists(st_.helpFilePath)) return;
    sv_.shell.openDocument(st_.helpFilePath);
}

void MainLogic::mnuExit_Click() {
    if (!sv_.dialogs.confirmExit()) return;
    sv_.sound.stopTitleTune();
    sv_.sound.stopGameTune();
    sv_.host.endProgram();
}

// ---------------------------------------------------------------------------
// Music timers

void MainLogic::timMidi_Timer() {
    if (!ctl_.timMidi) return;
    if (!st_.gameMusicPending) return;
    sv_.sound.stopTitleTune();
    sv_.sound.startGameTune();
    st_.gameMusicPending = false;
    ctl_.timMidi = false;
}

void MainLogic::timTitleMidi_Timer() {
    if (!ctl_.timTitleMidi) return;
    if (ctl_.timStart) return;
    sv_.sound.stopTitleTune();
    sv_.sound.startTitleTune();
}

}  // namespace pokopin::game
