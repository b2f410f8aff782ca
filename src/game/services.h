// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The outside world as the game logic sees it. Each seam is small so that a
// test can replace it with a fake that records or scripts what happens; the
// Qt/SDL implementations live in src/app, src/audio and src/records.
//
// All strings are UTF-8.

#include <cstdint>
#include <string>

#include "effects.h"

namespace pokopin::game {

// The five sound operations. None of them reports failure: a missing file,
// SoundFont or audio device simply means silence.
class Sound {
public:
    virtual ~Sound() = default;
    // Asynchronous; a new effect cuts off the one still sounding.
    virtual void playEffect(Effect effect) = 0;
    virtual void startTitleTune() = 0;  // "open moguana", "play moguana"
    virtual void stopTitleTune() = 0;   // "stop moguana", "close moguana"
    virtual void startGameTune() = 0;   // "open mogu20", "play mogu20"
    virtual void stopGameTune() = 0;    // "stop mogu20", "close mogu20"
};

struct DateTime {
    int year = 2000;
    int month = 1;    // 1..12
    int day = 1;      // 1..31
    int weekday = 1;  // 1 = Sunday .. 7 = Saturday
    int hour = 0;     // 0..23
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() = 0;
};

// Uniform draws in [0, 1). reseed() mixes a value into the generator's state;
// it must not restart the sequence, because the spawner reseeds with the same
// time-of-day value several times a second.
class Random {
public:
    virtual ~Random() = default;
    virtual void reseed(std::uint32_t value) = 0;
    virtual double draw() = 0;
};

// Blocks the UI thread without handling any events.
class Pause {
public:
    virtual ~Pause() = default;
    virtual void pause(int milliseconds) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool fileExists(const std::string& path) = 0;
};

// One finished game as it goes into the score log.
struct ScoreRecord {
    DateTime when;  // date read at append time, time of day read at the end of the game
    std::string modeName;
    int elapsedSeconds = 1;
    int moleCount = 0;
    int hitCount = 0;
    int missCount = 0;
    std::int64_t score = 0;
};

struct AppendResult {
    bool ok = true;
    std::string reason;  // the system's reason when !ok
    int error = 0;       // its errno value; 0 when the system gave none
};

// Appends one whole entry or nothing: on failure the file is left as it was.
class ScoreLog {
public:
    virtual ~ScoreLog() = default;
    virtual AppendResult append(const std::string& path, const ScoreRecord& record) = 0;
};

// Hands a document to the desktop's default viewer; failures are ignored.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void openDocument(const std::string& path) = 0;
};

// Modal message boxes. While one is open, timer ticks go on being delivered.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void greet() = 0;        // "はじめまして！", title "Welcome!"
    virtual bool confirmExit() = 0;  // "終了しますか？"; true for OK
    // `reason` is the system's text, `error` its errno value (0 if none).
    virtual void warnNotRecorded(const std::string& path, const std::string& reason, int error) = 0;
};

// The window that shows the game, as far as the rules order it about.
// Keyboard focus, the title card and the version dialog are the window's own
// business and stay out of the rules.
class Host {
public:
    virtual ~Host() = default;
    // Brings the window up to date with the rules and paints it at once,
    // without waiting for the event loop.
    virtual void repaint() = 0;
    virtual void endProgram() = 0;  // ends at once; no further handler runs
};

}  // namespace pokopin::game
