#!/bin/sh

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Prints the audio back-end's costs: constructor with and without a device,
# tune loading, and an effect rendered through the disk driver.
#
#   tools/audio/bench_audio.sh BUILD_DIR [PROGRAM_FOLDER]
#
# Without PROGRAM_FOLDER it makes stand-in files: six short tones and two
# 20-second tunes (the tunes with mido; Debian: python3-mido).
set -eu
build=${1:?usage: bench_audio.sh BUILD_DIR [PROGRAM_FOLDER]}
tool="$build/tools/audio/pokopin_audio_tool"
# Debian's interpreter, which python3-mido is installed for.
python=$(command -v /usr/bin/python3 || command -v python3)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ $# -ge 2 ]; then
    folder=$2
else
    folder="$work/program"
    mkdir -p "$folder"
    "$python" - "$folder" <<'PY'
import math, struct, sys, wave
import mido
folder = sys.argv[1]
for name in ("hue", "bisi", "hei", "pon", "pipo1", "pipo2"):
    with wave.open(f"{folder}/{name}.wav", "wb") as w:
        w.setnchannels(1); w.setsampwidth(2); w.setframerate(44100)
        n = int(0.15 * 44100)
        w.writeframes(b"".join(struct.pack("<h", int(8000 * math.sin(2 * math.pi * 880 * i / 44100)))
                               for i in range(n)))
for name in ("moguana", "mogu20"):
    track = mido.MidiTrack([mido.Message("program_change", program=0, time=0)])
    for i in range(80):  # 80 quarter notes at 120 bpm: 20 s
        key = 60 + (i * 5) % 12
        track.append(mido.Message("note_on", note=key, velocity=100, time=0))
        track.append(mido.Message("note_off", note=key, velocity=0, time=480))
    track.append(mido.MetaMessage("end_of_track", time=0))
    mido.MidiFile(type=0, ticks_per_beat=480, tracks=[track]).save(f"{folder}/{name}.mid")
PY
fi
echo "program folder: $folder"

for driver in dummy disk unset pokopin-no-such-driver; do
    echo
    case $driver in
        unset) env -u SDL_AUDIODRIVER "$tool" bench "$folder" ;;
        disk) SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/bench.raw" "$tool" bench "$folder" 2>/dev/null ;;
        *) SDL_AUDIODRIVER=$driver "$tool" bench "$folder" ;;
    esac
done

echo
"$tool" render "$folder" "$work/bisi.wav" bisi.wav 0.5 2>/dev/null
if command -v sox >/dev/null; then
    # Where the effect starts in the output, relative to the play call above.
    sox "$work/bisi.wav" -n stat 2>&1 | grep -E "Length|Maximum amplitude|RMS +amplitude"
    sox "$work/bisi.wav" -n silence 1 1s 0.1% stat 2>&1 | grep Length | sed 's/^/after leading silence: /'
fi
"$tool" render "$folder" "$work/title.wav" title 2 2>/dev/null
if command -v sox >/dev/null; then
    sox "$work/title.wav" -n stat 2>&1 | grep -E "Length|RMS +amplitude"
fi
