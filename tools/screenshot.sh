#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Takes a picture of the game's main window as a player sees it.
#
#   tools/screenshot.sh OUT.png [KEY...]
#
# Starts the built game under its own virtual X server, in a fresh copy of
# the program folder (so no score log of an earlier run changes anything),
# answers the first-run greeting, presses the given keys (xdotool key names,
# e.g. Right Up; +N waits N seconds) and writes the window to OUT.png. The
# build folder is $POKOPIN_BUILD_DIR, else ./build of the repository.
# QT_SCALE_FACTOR passes through to the game, and the virtual screen grows
# with it so the whole window fits.
#
#   tools/screenshot.sh game.png space +3 q w e a s d   # a few seconds into a game
#   QT_SCALE_FACTOR=2 tools/screenshot.sh game@2x.png  # as on a screen of twice the density
set -euo pipefail

out=${1:?usage: tools/screenshot.sh OUT.png [KEY...]}
shift
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${POKOPIN_BUILD_DIR:-$root/build}
if [ ! -x "$build/pokopin/pokopin" ]; then
    echo "screenshot: no game at $build/pokopin/pokopin; build it first" >&2
    exit 1
fi
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac

work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

cp -r "$build/pokopin" "$work/pokopin"
# A runtime folder of its own: a game already running elsewhere must not
# make this one a second instance.
mkdir -m 700 "$work/run"

display=
for n in $(seq 90 160); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=":$n"
        break
    fi
done
[ -n "$display" ] || { echo "screenshot: no free X display" >&2; exit 1; }
scale=$(awk -v f="${QT_SCALE_FACTOR:-1}" 'BEGIN { s = int(f + 0.999); print (s < 1 ? 1 : s) }')
Xvfb "$display" -screen 0 $((1024 * scale))x$((768 * scale))x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || { echo "screenshot: Xvfb did not start" >&2; exit 1; }

(cd "$work/pokopin" && XDG_RUNTIME_DIR="$work/run" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" \
    exec ./pokopin) &
game_pid=$!

window=
for _ in $(seq 300); do
    if greeting=$(xdotool search --onlyvisible --name '^Welcome!$' 2>/dev/null | head -n 1) \
        && [ -n "$greeting" ]; then
        xdotool windowfocus --sync "$greeting" key Return || true
    fi
    window=$(xdotool search --onlyvisible --name '^Pokopin！$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$game_pid" 2>/dev/null || { echo "screenshot: the game ended" >&2; exit 1; }
    sleep 0.1
done
[ -n "$window" ] || { echo "screenshot: no main window" >&2; exit 1; }

xdotool windowfocus --sync "$window"
for key in "$@"; do
    case "$key" in
        +*) sleep "${key#+}" ;;
        *) xdotool key "$key"; sleep 0.1 ;;
    esac
done
sleep 0.5  # let the window finish painting
import -window "$window" "$out"
echo "$out"
