// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

/*
 * audio_shim: LD_PRELOAD shim for the effect benchmark. The file SDL's disk
 * audio driver writes to (SDL_DISKAUDIOFILE) is opened unbuffered.
 *
 * SDL opens it with fopen64 and writes each device buffer with one fwrite.
 * glibc gives a FIFO a 4 KiB stdio buffer: the first fwrite of a 4 KiB
 * buffer goes straight through, the next is only copied into the empty stdio
 * buffer and leaves with the fwrite after it. A reader of the FIFO would see
 * every other buffer one period late. Unbuffered, each fwrite is one write(2)
 * at the moment the driver hands the buffer over, as a sound card would get it.
 *
 * With BENCH_AUDIO_FRAMES=N set it also opens the program's SDL2_mixer device
 * with a buffer of N frames instead of the one the program asks for, so that
 * other buffer sizes can be measured on an unchanged build.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Set through a void* so that ISO C's rule on object-to-function pointer
   casts is kept; dlsym's result is a function's address all the same. */
typedef FILE* (*open_fn)(const char*, const char*);

static FILE* unbuffer_if_audio(FILE* f, const char* path)
{
    const char* audio = getenv("SDL_DISKAUDIOFILE");
    if (f && path && audio && strcmp(path, audio) == 0)
        setvbuf(f, NULL, _IONBF, 0);
    return f;
}

FILE* fopen(const char* path, const char* mode)
{
    static open_fn real;
    if (!real)
        *(void**)&real = dlsym(RTLD_NEXT, "fopen");
    return unbuffer_if_audio(real(path, mode), path);
}

FILE* fopen64(const char* path, const char* mode)
{
    static open_fn real;
    if (!real)
        *(void**)&real = dlsym(RTLD_NEXT, "fopen64");
    return unbuffer_if_audio(real(path, mode), path);
}

typedef int (*mix_open_fn)(int, uint16_t, int, int, const char*, int);

int Mix_OpenAudioDevice(int frequency, uint16_t format, int channels, int chunksize,
                        const char* device, int allowed_changes)
{
    static mix_open_fn real;
    if (!real)
        *(void**)&real = dlsym(RTLD_NEXT, "Mix_OpenAudioDevice");
    if (!real)
        return -1;
    const char* frames = getenv("BENCH_AUDIO_FRAMES");
    if (frames && atoi(frames) > 0)
        chunksize = atoi(frames);
    return real(frequency, format, channels, chunksize, device, allowed_changes);
}
