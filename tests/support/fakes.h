// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One fake for each outside-world seam of the game logic. All of them write
// into one shared journal, so a test can check the order of calls across
// services ("stop mogu20" before "effect hei.wav" before "append ...").

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "game.h"

namespace pokopin::testing {

using Journal = std::vector<std::string>;

class FakeSound : public game::Sound {
public:
    explicit FakeSound(Journal& j) : j_(j) {}
    void playEffect(game::Effect e) override
    {
        j_.push_back("effect " + std::string(game::effectFile(e)));
    }
    void startTitleTune() override
    {
        j_.push_back("open moguana");
        j_.push_back("play moguana");
    }
    void stopTitleTune() override
    {
        j_.push_back("stop moguana");
        j_.push_back("close moguana");
    }
    void startGameTune() override
    {
        j_.push_back("open mogu20");
        j_.push_back("play mogu20");
    }
    void stopGameTune() override
    {
        j_.push_back("stop mogu20");
        j_.push_back("close mogu20");
    }

private:
    Journal& j_;
};

// Answers `time`, or the queued readings first when `script` holds any, so a
// test can let the clock move between two reads of one handler.
class FakeClock : public game::Clock {
public:
    game::DateTime now() override
    {
        ++reads;
        if (script.empty())
            return time;
        game::DateTime t = script.front();
        script.pop_front();
        return t;
    }
    game::DateTime time{2000, 5, 3, 4, 14, 5, 9};  // Wednesday 3 May 2000, 14:05:09
    std::deque<game::DateTime> script;
    int reads = 0;
};

// Plays back scripted draws; once the script runs out it repeats `fallback`.
class ScriptedRandom : public game::Random {
public:
    void reseed(std::uint32_t v) override { reseeds.push_back(v); }
    double draw() override
    {
        ++draws;
        if (script.empty())
            return fallback;
        double r = script.front();
        script.pop_front();
        return r;
    }
    // The draw that picks hole k (r * 9 rounded down == k).
    static double forHole(int k) { return (k + 0.5) / 9.0; }
    void queueHoles(std::initializer_list<int> holes)
    {
        for (int k : holes)
            script.push_back(forHole(k));
    }
    std::deque<double> script;
    double fallback = 0.0;
    std::vector<std::uint32_t> reseeds;
    int draws = 0;
};

class FakePause : public game::Pause {
public:
    explicit FakePause(Journal& j) : j_(j) {}
    void pause(int ms) override
    {
        j_.push_back("pause " + std::to_string(ms));
        if (during)
            during();
    }
    std::function<void()> during;  // runs inside the pause, e.g. to inspect the window

private:
    Journal& j_;
};

class FakeFileSystem : public game::FileSystem {
public:
    bool fileExists(const std::string& p) override { return files.count(p) != 0; }
    std::set<std::string> files;
};

class FakeScoreLog : public game::ScoreLog {
public:
    explicit FakeScoreLog(Journal& j) : j_(j) {}
    game::AppendResult append(const std::string& path, const game::ScoreRecord& r) override
    {
        j_.push_back("append " + path);
        records.push_back(r);
        if (during)
            during();
        return result;
    }
    std::vector<game::ScoreRecord> records;
    game::AppendResult result;     // what the next append reports
    std::function<void()> during;  // runs inside the append, e.g. to inspect the window

private:
    Journal& j_;
};

class FakeShell : public game::Shell {
public:
    explicit FakeShell(Journal& j) : j_(j) {}
    void openDocument(const std::string& p) override { j_.push_back("open document " + p); }

private:
    Journal& j_;
};

class FakeDialogs : public game::Dialogs {
public:
    explicit FakeDialogs(Journal& j) : j_(j) {}
    void greet() override
    {
        j_.push_back("greet");
        if (whileOpen)
            whileOpen();
    }
    bool confirmExit() override
    {
        j_.push_back("confirm exit");
        if (whileOpen)
            whileOpen();
        return exitAnswer;
    }
    void warnNotRecorded(const std::string& path, const std::string& reason, int error) override
    {
        j_.push_back("warn " + path + ": " + reason + " (" + std::to_string(error) + ")");
    }
    bool exitAnswer = false;
    // Runs while a box is open: timer ticks go on behind a modal box.
    std::function<void()> whileOpen;

private:
    Journal& j_;
};

class FakeHost : public game::Host {
public:
    explicit FakeHost(Journal& j) : j_(j) {}
    void repaint() override { j_.push_back("repaint"); }
    void endProgram() override { j_.push_back("end program"); }

private:
    Journal& j_;
};

// The score log and the help page of a portable folder.
inline game::GameFiles filesIn(const std::filesystem::path& folder)
{
    return {folder / "Score.txt", folder / "Help.html"};
}

// A complete set of fakes wired to one journal, ready to build a Game; the
// host stands in for the window, which a window test brings itself.
struct FakeWorld {
    Journal journal;
    FakeSound sound{journal};
    FakeClock clock;
    ScriptedRandom random;
    FakePause pause{journal};
    FakeFileSystem files;
    FakeScoreLog scoreLog{journal};
    FakeShell shell{journal};
    FakeDialogs dialogs{journal};
    FakeHost host{journal};

    game::Services services()
    {
        return {sound, clock, random, pause, files, scoreLog, shell, dialogs};
    }
    // Journal entries that start with `prefix`, in order.
    std::vector<std::string> entries(std::string_view prefix) const
    {
        std::vector<std::string> out;
        for (const auto& e : journal)
            if (e.rfind(prefix, 0) == 0)
                out.push_back(e);
        return out;
    }
};

}  // namespace pokopin::testing
