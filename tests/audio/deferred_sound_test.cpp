// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The sound that waits for the first frame: what reaches the real sound, and
// when, for the operations given before and after it is opened.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "deferred_sound.h"
#include "effects.h"
#include "fakes.h"

namespace {

using pokopin::audio::DeferredSound;
using pokopin::testing::FakeSound;
using pokopin::testing::Journal;

struct Case {
    const char* name;
    std::vector<std::string> steps;  // title+ title- game+ game- hit open
    bool makerGivesSound;
    Journal expected;
};

class DeferredSoundCase : public ::testing::TestWithParam<Case> {};

TEST_P(DeferredSoundCase, HandsOnWhatTheRealSoundMustHear)
{
    const Case& c = GetParam();
    Journal journal;
    DeferredSound sound([&] {
        journal.push_back("made");
        return c.makerGivesSound ? std::make_unique<FakeSound>(journal) : nullptr;
    });
    for (const std::string& step : c.steps) {
        if (step == "title+")
            sound.startTitleTune();
        else if (step == "title-")
            sound.stopTitleTune();
        else if (step == "game+")
            sound.startGameTune();
        else if (step == "game-")
            sound.stopGameTune();
        else if (step == "hit")
            sound.playEffect(pokopin::game::Effect::Hit);
        else if (step == "open")
            sound.open();
        else
            FAIL() << "unknown step " << step;
    }
    EXPECT_EQ(journal, c.expected);
}

const Case cases[] = {
    {"NothingIsMadeBeforeOpen", {"title+", "hit", "game+"}, true, {}},
    {"TuneCommandsWaitAndKeepTheirOrder",
     {"title+", "title-", "game+", "open"},
     true,
     {"made", "open moguana", "play moguana", "stop moguana", "close moguana", "open mogu20",
      "play mogu20"}},
    {"EffectsBeforeOpenAreDropped",
     {"hit", "title+", "open"},
     true,
     {"made", "open moguana", "play moguana"}},
    {"AfterOpenEverythingGoesStraightThrough",
     {"open", "title+", "hit", "title-", "game+", "game-"},
     true,
     {"made", "open moguana", "play moguana", "effect bisi.wav", "stop moguana", "close moguana",
      "open mogu20", "play mogu20", "stop mogu20", "close mogu20"}},
    {"OpenedOnlyOnce", {"open", "open", "title+"}, true, {"made", "open moguana", "play moguana"}},
    {"NoRealSoundPlaysNothing", {"title+", "open", "hit", "game+", "open"}, false, {"made"}},
};

INSTANTIATE_TEST_SUITE_P(, DeferredSoundCase, ::testing::ValuesIn(cases),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
