// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The outside world of the game logic, as the running program provides it.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>

#include "services.h"

class QCoreApplication;

namespace pokopin::app {

// Installs Qt's own Japanese texts (the buttons of its dialog boxes, "キャンセル"
// and the like) from Qt's translations folder. Returns false when they are
// not installed; Qt's English texts remain then.
bool installQtJapanese(QCoreApplication& app);

// Why the score file could not be written, in Japanese, for the system's
// error code `error` (errno); a general sentence for codes without one.
QString notRecordedReason(int error);

// Qt counts weekdays from Monday = 1; the game from Sunday = 1.
int weekdayFromSunday(int qtDayOfWeek);

class QtClock : public game::Clock {
public:
    game::DateTime now() override;
};

// A 64-bit generator. reseed() stirs the value into the current state, so
// reseeding with the same value twice still moves on to fresh draws.
class MixingRandom : public game::Random {
public:
    explicit MixingRandom(std::uint64_t seed = 0x9E3779B97F4A7C15ULL) : state_(seed) {}
    void reseed(std::uint32_t value) override;
    double draw() override;

private:
    std::uint64_t next();
    std::uint64_t state_;
};

// Blocks the thread; the game has had the window repainted first.
class SleepPause : public game::Pause {
public:
    void pause(int milliseconds) override;
};

class QtFileSystem : public game::FileSystem {
public:
    bool fileExists(const std::string& path) override;
};

class DesktopShell : public game::Shell {
public:
    void openDocument(const std::string& path) override;
};

class QtDialogs : public game::Dialogs {
public:
    // The window that owns the boxes that belong to a game; the greeting
    // comes before there is one.
    void setOwner(QWidget* owner) { owner_ = owner; }
    void greet() override;
    bool confirmExit() override;
    void warnNotRecorded(const std::string& path, const std::string& reason, int error) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace pokopin::app
