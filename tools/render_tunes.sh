#!/bin/bash

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Renders the title and game tunes to WAV and prints each one's length and
# loudness, so that a change to a tune can be checked without a sound card.
#
# Usage: tools/render_tunes.sh [--sdl] [MIDI_DIR [OUT_DIR]]
#
#   MIDI_DIR  folder holding moguana.mid and mogu20.mid (the program folder of
#             a build). Without it the tunes are generated afresh from
#             assets/music/*.tune.
#   OUT_DIR   where the WAV renders are kept (default: a new temporary folder).
#   --sdl     render through SDL_mixer and SDL's disk audio driver, exactly the
#             way the game plays music, instead of the fluidsynth command.
#
# Columns: the MIDI file's own length; the render's length up to where its
# ring-out falls below -60 dBFS; peak and RMS level; and the seconds whose RMS
# is above -30 dBFS.
#
# The fluidsynth render uses the TimGM6mb SoundFont at gain 1.2, the level at
# which SDL_mixer drives FluidSynth at full music volume. The command fails
# when a tune renders silent, clips, or is missing.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"

engine=fluidsynth
if [[ "${1:-}" == "--sdl" ]]; then
    engine=sdl
    shift
fi
midi_dir="${1:-}"
out_dir="${2:-$(mktemp -d /tmp/pokopin-tunes.XXXXXX)}"
mkdir -p "$out_dir"

need() {  # need COMMAND PACKAGE...
    command -v "$1" >/dev/null 2>&1 && return 0
    if [[ $(id -u) -eq 0 ]]; then
        apt-get install -y --no-install-recommends "${@:2}" >/dev/null || { apt-get update >/dev/null && apt-get install -y --no-install-recommends "${@:2}" >/dev/null; }
    else
        echo "render_tunes: $1 is missing; install: apt-get install ${*:2}" >&2
        exit 1
    fi
}
need sox sox
need fluidsynth fluidsynth timgm6mb-soundfont

# The first python3 on PATH that has mido, as the build picks it.
python_with_mido() {
    local p
    for p in $(type -ap python3); do
        "$p" -c "import mido" 2>/dev/null && { echo "$p"; return 0; }
    done
    return 1
}
if ! python="$(python_with_mido)"; then
    if [[ $(id -u) -eq 0 ]]; then
        apt-get install -y --no-install-recommends python3-mido >/dev/null || { apt-get update >/dev/null && apt-get install -y --no-install-recommends python3-mido >/dev/null; }
    fi
    python="$(python_with_mido)" || { echo "render_tunes: no python3 with mido (apt-get install python3-mido)" >&2; exit 1; }
fi

soundfont=""
for sf in /usr/share/sounds/sf2/TimGM6mb.sf2 /usr/share/sounds/sf3/default-GM.sf3 /usr/share/sounds/sf2/default-GM.sf2; do
    if [[ -e "$sf" ]]; then soundfont="$sf"; break; fi
done
[[ -n "$soundfont" ]] || { echo "render_tunes: no General MIDI SoundFont found (apt-get install timgm6mb-soundfont)" >&2; exit 1; }

if [[ -z "$midi_dir" ]]; then
    midi_dir="$out_dir"
    for tune in moguana mogu20; do
        "$python" -B "$root/assets/music/midigen.py" "$root/assets/music/$tune.tune" "$midi_dir/$tune.mid" >/dev/null
    done
fi

# Length of a Standard MIDI File in seconds, from its tempo map and the last event.
smf_seconds() {
    "$python" -c 'import sys, mido; print("%.2f" % mido.MidiFile(sys.argv[1]).length)' "$1"
}

# Renders through SDL_mixer with the disk audio driver (no real-time wait).
render_sdl() {
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$2.raw" SDL_DISKAUDIODELAY=0 "$python" - "$1" <<'EOF'
import ctypes, sys, time
sdl = ctypes.CDLL("libSDL2-2.0.so.0")
mix = ctypes.CDLL("libSDL2_mixer-2.0.so.0")
mix.Mix_LoadMUS.restype = ctypes.c_void_p
if sdl.SDL_Init(0x10) != 0 or mix.Mix_OpenAudio(44100, 0x8010, 2, 1024) != 0:
    sys.exit("render_tunes: SDL audio could not be opened")
music = mix.Mix_LoadMUS(sys.argv[1].encode())
if not music or mix.Mix_PlayMusic(ctypes.c_void_p(music), 0) != 0:
    sys.exit("render_tunes: SDL_mixer could not play " + sys.argv[1])
while mix.Mix_PlayingMusic():
    time.sleep(0.005)
mix.Mix_CloseAudio()
EOF
    # The driver writes silence from the moment the device opens; drop it.
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$2.raw" "$2" silence 1 1s -90d
    rm -f "$2.raw"
}

failed=0
printf '%-12s %8s %10s %10s %10s %10s\n' tune "SMF s" "audible s" "peak dBFS" "RMS dBFS" "loud s"
for tune in moguana mogu20; do
    mid="$midi_dir/$tune.mid"
    wav="$out_dir/$tune.$engine.wav"
    if [[ ! -f "$mid" ]]; then
        echo "render_tunes: $mid is missing" >&2; failed=1; continue
    fi
    if [[ $engine == sdl ]]; then
        # SDL announces the disk driver on stderr; keep only real complaints.
        render_sdl "$mid" "$wav" 2> >(grep -v -e 'disk i/o audio driver' -e 'Writing to file' >&2)
    else
        fluidsynth -ni -g 1.2 -r 44100 -F "$wav" "$soundfont" "$mid" >/dev/null 2>&1
    fi
    # Audible length: up to where the ring-out falls below -60 dBFS.
    sox "$wav" "$out_dir/trim.wav" reverse silence 1 0.01 -60d reverse
    audible=$(soxi -D "$out_dir/trim.wav")
    rm -f "$out_dir/trim.wav"
    read -r peak rms < <(sox "$wav" -n stats 2>&1 | awk '/^Pk lev dB/{p=$4} /^RMS lev dB/{r=$4} END{print p, r}')
    # Seconds whose RMS is within 30 dB of full scale: the tune's sounding body.
    loud=$("$python" - "$wav" <<'EOF'
import math, struct, sys, wave
w = wave.open(sys.argv[1])
rate, ch = w.getframerate(), w.getnchannels()
count = 0
while True:
    block = w.readframes(rate)
    if not block: break
    vals = struct.unpack("<%dh" % (len(block) // 2), block)
    rms = math.sqrt(sum(v * v for v in vals) / len(vals)) / 32768
    count += rms > 10 ** (-30 / 20)
print(count)
EOF
)
    printf '%-12s %8s %10.2f %10s %10s %10s\n' "$tune.mid" "$(smf_seconds "$mid")" "$audible" "$peak" "$rms" "$loud"
    if awk -v r="$rms" -v p="$peak" 'BEGIN{exit !(r < -40 || p > -0.1)}'; then
        echo "render_tunes: $tune renders silent or clipped" >&2; failed=1
    fi
done
if [[ $engine == sdl ]]; then
    echo "renders (SDL_mixer with its own SoundFont, ${SDL_SOUNDFONTS:-/usr/share/sounds/sf3/default-GM.sf3}): $out_dir"
else
    echo "renders (fluidsynth, $soundfont): $out_dir"
fi
exit $failed
