// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "alsa_quiet.h"

#include <dlfcn.h>

namespace pokopin::audio {
namespace {

using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
using SetHandler = int (*)(Handler);

extern "C" void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

SetHandler setHandlerOf(void* lib)
{
    return reinterpret_cast<SetHandler>(::dlsym(lib, "snd_lib_error_set_handler"));
}

}  // namespace

AlsaQuiet::AlsaQuiet()
{
    lib_ = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (lib_ == nullptr)
        return;
    if (SetHandler set = setHandlerOf(lib_)) {
        set(&ignoreAlsaMessage);
        return;
    }
    ::dlclose(lib_);
    lib_ = nullptr;
}

AlsaQuiet::~AlsaQuiet()
{
    if (lib_ == nullptr)
        return;
    if (SetHandler set = setHandlerOf(lib_))
        set(nullptr);
    ::dlclose(lib_);
}

}  // namespace pokopin::audio
