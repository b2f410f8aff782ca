// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The five sound operations as commands to the audio device: their order and
// the files they name.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio_backend.h"
#include "audio_files.h"
#include "sdl_sound.h"

namespace {

using pokopin::audio::AudioBackend;
using pokopin::audio::SdlSound;
using pokopin::audio::Tune;
using pokopin::audio::tuneAlias;
using Commands = std::vector<std::string>;

class RecordingBackend : public AudioBackend {
public:
    explicit RecordingBackend(Commands& log) : log_(log) {}
    void loadEffect(const std::string& p) override { log_.push_back("load " + p); }
    void playEffect(const std::string& p) override { log_.push_back("effect " + p); }
    void loadTune(Tune t, const std::string& p) override { add("load", t, " " + p); }
    void openTune(Tune t, const std::string& p) override { add("open", t, " " + p); }
    void playTune(Tune t) override { add("play", t); }
    void stopTune(Tune t) override { add("stop", t); }
    void closeTune(Tune t) override { add("close", t); }

private:
    void add(const char* verb, Tune t, const std::string& rest = {})
    {
        log_.push_back(std::string(verb) + " " + std::string(tuneAlias(t)) + rest);
    }
    Commands& log_;
};

struct Rig {
    explicit Rig(const std::string& folder) : sound(folder, std::make_unique<RecordingBackend>(log))
    {}
    Commands log;
    SdlSound sound;
};

TEST(SdlSound, LoadsTheSixEffectsAndBothTunesFromTheProgramFolderAtStart)
{
    Rig rig("/opt/pokopin");
    EXPECT_EQ(rig.log, (Commands{"load /opt/pokopin/hue.wav", "load /opt/pokopin/bisi.wav",
                                 "load /opt/pokopin/hei.wav", "load /opt/pokopin/pon.wav",
                                 "load /opt/pokopin/pipo1.wav", "load /opt/pokopin/pipo2.wav",
                                 "load moguana /opt/pokopin/moguana.mid",
                                 "load mogu20 /opt/pokopin/mogu20.mid"}));
}

struct OperationCase {
    const char* name;
    std::function<void(SdlSound&)> run;
    Commands expected;
};

class SdlSoundOperation : public ::testing::TestWithParam<OperationCase> {};

TEST_P(SdlSoundOperation, IssuesItsCommandsInOrder)
{
    Rig rig("/opt/pokopin");
    rig.log.clear();
    GetParam().run(rig.sound);
    EXPECT_EQ(rig.log, GetParam().expected);
}

const OperationCase operationCases[] = {
    {"StartTitleTune",
     [](SdlSound& s) { s.startTitleTune(); },
     {"open moguana /opt/pokopin/moguana.mid", "play moguana"}},
    {"StopTitleTune", [](SdlSound& s) { s.stopTitleTune(); }, {"stop moguana", "close moguana"}},
    {"StartGameTune",
     [](SdlSound& s) { s.startGameTune(); },
     {"open mogu20 /opt/pokopin/mogu20.mid", "play mogu20"}},
    {"StopGameTune", [](SdlSound& s) { s.stopGameTune(); }, {"stop mogu20", "close mogu20"}},
    {"PlayEffect",
     [](SdlSound& s) { s.playEffect(pokopin::game::Effect::Hit); },
     {"effect /opt/pokopin/bisi.wav"}},
    // The switch to the game tune at the start of a game, and the exit.
    {"TitleToGame",
     [](SdlSound& s) {
         s.stopTitleTune();
         s.startGameTune();
     },
     {"stop moguana", "close moguana", "open mogu20 /opt/pokopin/mogu20.mid", "play mogu20"}},
    {"Exit",
     [](SdlSound& s) {
         s.stopTitleTune();
         s.stopGameTune();
     },
     {"stop moguana", "close moguana", "stop mogu20", "close mogu20"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, SdlSoundOperation, ::testing::ValuesIn(operationCases),
                         [](const auto& tp) { return std::string(tp.param.name); });

class SdlSoundFolder : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(SdlSoundFolder, JoinsNamesWithOneSeparator)
{
    Rig rig(GetParam().first);
    rig.log.clear();
    rig.sound.startTitleTune();
    ASSERT_FALSE(rig.log.empty());
    EXPECT_EQ(rig.log.front(), std::string("open moguana ") + GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Folders, SdlSoundFolder,
                         ::testing::Values(std::pair{"/", "/moguana.mid"},
                                           std::pair{"/opt/pokopin/", "/opt/pokopin/moguana.mid"},
                                           std::pair{"/home/ユーザー/ゲーム",
                                                     "/home/ユーザー/ゲーム/moguana.mid"}),
                         [](const auto& tp) { return std::to_string(tp.index); });

}  // namespace
