#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The game's benchmarks, each beside a minimal Qt + SDL2_mixer program
# measured in the same run under a private Xvfb. They print figures; they
# never fail on one.
#
#   bash tools/bench.sh [start] [--game DIR/pokopin] [--runs N] [--idle SECONDS]
#                       [--settle SECONDS] [--baseline OLD_PROGRAM_FOLDER/pokopin]
#                       [--audio none dummy] [--soundfont PATH|system]
#                       [--bus private|autolaunch]
#       start-up to the main window's first pixels (X DAMAGE), the title
#       card's, peak memory and idle CPU (tools/bench/measure.py)
#   bash tools/bench.sh effects [--game DIR/pokopin] [--baseline OLD/pokopin] [--keys N]
#                               [--frames own 1024 256]
#                               [--idle SECONDS] [--no-hits] [--soundfont PATH|system]
#       from a key reaching the X server to its effect in the audio stream
#       (tools/bench/effect_latency.py)
#
# Builds what it needs first:
#   - unless --game names a built program: the game, Release, in
#     $POKOPIN_BUILD_DIR (default: build-bench/game); an existing build
#     folder given there is only brought up to date;
#   - the minimal program and the helpers, in build-bench/helpers.
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

which=start
case "${1:-}" in
    start | effects) which=$1; shift ;;
esac
game=""
args=()
while [ $# -gt 0 ]; do
    case "$1" in
        --game) game=$(realpath "$2"); shift 2 ;;
        *) args+=("$1"); shift ;;
    esac
done

if [ -z "$game" ]; then
    if [ ! -f "$game_build/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$game_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    fi
    cmake --build "$game_build" -j 2 >/dev/null
    game="$game_build/pokopin/pokopin"
    echo "game build: $game_build ($(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$game_build/CMakeCache.txt"))"
fi
[ -x "$game" ] || { echo "bench: no game program at $game" >&2; exit 1; }
cmake -S "$root/tools/bench" -B "$helpers" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$helpers" -j 2 >/dev/null

case "$which" in
    start)
        exec python3 "$root/tools/bench/measure.py" --game "$game" \
            --minimal "$helpers/minimal" --waitmap "$helpers/waitmap" ${args[@]+"${args[@]}"}
        ;;
    effects)
        exec /usr/bin/python3 "$root/tools/bench/effect_latency.py" --game "$game" \
            --helpers "$helpers" ${args[@]+"${args[@]}"}
        ;;
esac
