#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Start-up time, peak memory and idle CPU of the game beside a minimal Qt +
# SDL2_mixer program, measured under a private Xvfb in one run.
#
#   bash tools/bench.sh [--runs N] [--idle SECONDS] [--settle SECONDS]
#                       [--baseline OLD_PROGRAM_FOLDER/pokopin] [--audio none dummy]
#
# Builds what it needs first:
#   - the game, Release, in $POKOPIN_BUILD_DIR (default: build-bench/game);
#     an existing build folder given there is only brought up to date;
#   - the minimal program and the window observer, in build-bench/helpers.
# Goals: start no worse a ratio to the minimal program than before (the
# baseline build's in the same run, when given), peak memory <= 80 MiB with
# both tunes held, idle CPU <= 0.3 % of one core while the title tune plays,
# over 20 s from 5 s after the window shows.
# What the player hears, old build against new, is compared by
# tools/bench/audio_compare.py (SDL's disk driver; see its header).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bench_dir="${POKOPIN_BENCH_DIR:-$root/build-bench}"
game_build="${POKOPIN_BUILD_DIR:-$bench_dir/game}"
helpers="$bench_dir/helpers"

if [ ! -f "$game_build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$game_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$game_build" -j 2 >/dev/null
cmake -S "$root/tools/bench" -B "$helpers" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$helpers" -j 2 >/dev/null

game="$game_build/pokopin/pokopin"
[ -x "$game" ] || { echo "bench: no game program at $game" >&2; exit 1; }
echo "game build: $game_build ($(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$game_build/CMakeCache.txt"))"

exec python3 "$root/tools/bench/measure.py" --game "$game" \
    --minimal "$helpers/minimal" --waitmap "$helpers/waitmap" "$@"
