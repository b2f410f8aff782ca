// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Small sound files for the tests, and a reader for the raw output of SDL's
// disk audio driver.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "temp_dir.h"

namespace pokopin::testing {

namespace fs = std::filesystem;

inline constexpr int kRate = 44100;

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::string& value) : name_(std::move(name))
    {
        if (const char* old = std::getenv(name_.c_str()))
            old_ = old;
        ::setenv(name_.c_str(), value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (old_)
            ::setenv(name_.c_str(), old_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// Changes the working directory for the life of the object.
class InDirectory {
public:
    explicit InDirectory(const fs::path& dir) : old_(fs::current_path()) { fs::current_path(dir); }
    ~InDirectory()
    {
        std::error_code ec;
        fs::current_path(old_, ec);
    }
    InDirectory(const InDirectory&) = delete;
    InDirectory& operator=(const InDirectory&) = delete;

private:
    fs::path old_;
};

inline void putLE(std::string& out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xff);
}

// 16-bit mono PCM at 44.1 kHz.
inline void writeWav(const fs::path& path, const std::vector<std::int16_t>& samples)
{
    std::string d;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    d += "RIFF";
    putLE(d, 36 + dataBytes, 4);
    d += "WAVEfmt ";
    putLE(d, 16, 4);
    putLE(d, 1, 2);  // PCM
    putLE(d, 1, 2);  // mono
    putLE(d, kRate, 4);
    putLE(d, kRate * 2, 4);  // bytes per second
    putLE(d, 2, 2);          // block align
    putLE(d, 16, 2);
    d += "data";
    putLE(d, dataBytes, 4);
    for (std::int16_t s : samples)
        putLE(d, static_cast<std::uint16_t>(s), 2);
    std::ofstream(path, std::ios::binary) << d;
}

// A square wave: every sample is +level or -level, so the output shows at a
// glance whether two effects were ever mixed together.
inline std::vector<std::int16_t> squareWave(double seconds, std::int16_t level, int hz = 441)
{
    std::vector<std::int16_t> s(static_cast<std::size_t>(seconds * kRate));
    const int half = kRate / hz / 2;
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = (i / static_cast<std::size_t>(half)) % 2 == 0 ? level
                                                             : static_cast<std::int16_t>(-level);
    return s;
}

// The MIDI tunes the tests play, written with mido at build time by
// write_test_tunes.py: "long.mid", "rest.mid", "two_notes.mid" and
// "one_note.mid" (see there for their notes).
inline fs::path testTune(const char* name)
{
    return fs::path(POKOPIN_TEST_TUNES_DIR) / name;
}

// Puts a copy of a test tune at path, under the name the code looks for.
inline void copyTestTune(const char* name, const fs::path& path)
{
    fs::copy_file(testTune(name), path, fs::copy_options::overwrite_existing);
}

// Interleaved 16-bit stereo as the disk driver writes it.
inline std::vector<std::int16_t> readRaw(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> out(bytes.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[2 * i])
                                           | (static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8));
    return out;
}

// Interleaved stereo samples in the given seconds of 44.1 kHz audio.
constexpr std::size_t samplesIn(double seconds)
{
    return static_cast<std::size_t>(seconds * kRate) * 2;
}

// The General MIDI SoundFont installed, or "" when there is none.
inline std::string soundFontPath()
{
    for (const char* p :
         {"/usr/share/sounds/sf3/default-GM.sf3", "/usr/share/sounds/sf2/default-GM.sf2",
          "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"})
        if (::access(p, R_OK) == 0)
            return p;
    return {};
}

inline bool haveSoundFont()
{
    return !soundFontPath().empty();
}

}  // namespace pokopin::testing
