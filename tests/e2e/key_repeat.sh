#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A key held down for 1.5 s must reach the game as repeated presses and one
# release, so that a held Space starts or stops a game once, however busy
# the machine is.
set -euo pipefail
probe=${1:?usage: key_repeat.sh PROBE}
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "no $tool: skipped"; exit 77; }
done
work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work"
chmod 700 "$work"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
probe_pid=
trap 'kill $probe_pid $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

"$probe" 5000 >"$work/out" &
probe_pid=$!
for _ in $(seq 50); do
    ids=$(xdotool search --onlyvisible --name "key repeat probe" 2>/dev/null || true)
    [ -n "$ids" ] && break
    sleep 0.1
done
for id in $ids; do xdotool windowfocus --sync "$id" 2>/dev/null || true; done
xdotool keydown q
sleep 1.5
xdotool keyup q
wait "$probe_pid"
probe_pid=
read -r _ presses _ releases <"$work/out"
echo "presses $presses releases $releases"
[ "$presses" -ge 5 ] || { echo "FAIL: the held key did not repeat"; exit 1; }
[ "$releases" -eq 1 ] || { echo "FAIL: $releases releases for one held key"; exit 1; }
