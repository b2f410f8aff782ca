#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Synthesises the game's six sound effects as 16-bit mono WAV files.

Each effect is a small recipe of layers: tones with pitch and amplitude
envelopes, noise through resonant filters, and damped resonances that give a
little body. The mix is then normalised to a fixed peak and given short
raised-cosine fades, so that playback never starts or ends with a click.
Everything is seeded, so the same script always writes the same bytes.

Usage: synth.py OUTPUT_DIR [NAME ...]   (NAME like "hue"; default: all)
       synth.py --list                 the file names it writes, one a line
"""

import math
import os
import random
import struct
import sys
import wave

RATE = 44100
PEAK_DBFS = -3.0
TAU = 2.0 * math.pi


def samples(seconds):
    return int(round(seconds * RATE))


def times(n):
    return [i / RATE for i in range(n)]


def noise(n, rng):
    return [rng.uniform(-1.0, 1.0) for _ in range(n)]


def mix(*layers):
    """Sums (gain, signal) pairs; shorter signals are padded with silence."""
    n = max(len(sig) for _, sig in layers)
    out = [0.0] * n
    for gain, sig in layers:
        for i, v in enumerate(sig):
            out[i] += gain * v
    return out


def place(sig, start_s, total_n):
    """Puts a signal into a silent buffer of total_n samples at start_s."""
    out = [0.0] * total_n
    offset = samples(start_s)
    for i, v in enumerate(sig):
        if 0 <= offset + i < total_n:
            out[offset + i] = v
    return out


def mul(sig, env):
    return [a * b for a, b in zip(sig, env)]


# --- filters ---------------------------------------------------------------

def _biquad_coeffs(kind, freq, q, rate=RATE):
    """Audio-EQ-cookbook biquad, normalised so that a0 == 1."""
    freq = min(max(freq, 10.0), rate * 0.45)
    w0 = TAU * freq / rate
    cw, sw = math.cos(w0), math.sin(w0)
    alpha = sw / (2.0 * q)
    if kind == "lowpass":
        b = ((1 - cw) / 2, 1 - cw, (1 - cw) / 2)
    elif kind == "highpass":
        b = ((1 + cw) / 2, -(1 + cw), (1 + cw) / 2)
    elif kind == "bandpass":  # 0 dB at the centre frequency
        b = (alpha, 0.0, -alpha)
    else:
        raise ValueError(kind)
    a0 = 1 + alpha
    a = (-2 * cw / a0, (1 - alpha) / a0)
    return (b[0] / a0, b[1] / a0, b[2] / a0), a


def biquad(sig, kind, freq, q=0.707):
    """Filters sig; freq may be a number or a per-sample list (a sweep)."""
    sweep = isinstance(freq, list)
    out = []
    x1 = x2 = y1 = y2 = 0.0
    coeffs = None
    for i, x in enumerate(sig):
        # Recomputing every 16 samples is smooth enough for sweeps.
        if coeffs is None or (sweep and i % 16 == 0):
            coeffs = _biquad_coeffs(kind, freq[i] if sweep else freq, q)
        (b0, b1, b2), (a1, a2) = coeffs
        y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2
        x2, x1, y2, y1 = x1, x, y1, y
        out.append(y)
    return out


# --- sources and envelopes -------------------------------------------------

def tone(freqs, partials=((1, 1.0),), phase=0.0):
    """Additive tone following a per-sample frequency list.

    partials: (multiple, amplitude) pairs; all start at phase 0 so that the
    tone begins at a zero crossing.
    """
    out = []
    ph = phase
    for f in freqs:
        out.append(sum(a * math.sin(m * ph) for m, a in partials))
        ph += TAU * f / RATE
    return out


def damped(freq, tau, n, amp=1.0):
    """A single resonance that rings out: the body of a struck object."""
    return [amp * math.sin(TAU * freq * t) * math.exp(-t / tau) for t in times(n)]


def exp_decay(n, tau, delay=0.0):
    return [0.0 if t < delay else math.exp(-(t - delay) / tau) for t in times(n)]


def ramp_env(n, attack, release, release_at=None):
    """Smooth attack from 0, hold at 1, smooth release ending at release_at."""
    end = n / RATE if release_at is None else release_at
    out = []
    for t in times(n):
        g = 1.0
        if t < attack:
            g = 0.5 - 0.5 * math.cos(math.pi * t / attack)
        if t > end - release:
            r = min(1.0, (t - (end - release)) / release)
            g *= 0.5 + 0.5 * math.cos(math.pi * r)
        out.append(g)
    return out


def glide(n, f_start, f_end, seconds, shape=2.5):
    """Exponential-in-pitch glide that eases out, then holds f_end."""
    out = []
    for t in times(n):
        x = min(1.0, t / seconds)
        x = 1.0 - (1.0 - x) ** shape
        out.append(f_start * (f_end / f_start) ** x)
    return out


def soft_clip(sig, drive):
    k = math.tanh(drive)
    return [math.tanh(drive * v) / k for v in sig]


# --- finishing ---------------------------------------------------------------

def fades(sig, fade_in_s, fade_out_s):
    out = list(sig)
    n_in, n_out = samples(fade_in_s), samples(fade_out_s)
    for i in range(min(n_in, len(out))):
        out[i] *= 0.5 - 0.5 * math.cos(math.pi * i / n_in)
    for i in range(min(n_out, len(out))):
        out[-1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / n_out)
    return out


def dc_block(sig):
    return biquad(sig, "highpass", 25.0)


def normalise(sig, peak_dbfs=PEAK_DBFS):
    peak = max(abs(v) for v in sig)
    gain = 10 ** (peak_dbfs / 20.0) / peak
    return [v * gain for v in sig]


def finish(sig, fade_in_s, fade_out_s):
    return normalise(fades(dc_block(sig), fade_in_s, fade_out_s))


def write_wav(path, sig):
    frames = bytearray()
    for v in sig:
        frames += struct.pack("<h", max(-32767, min(32767, int(round(v * 32767)))))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


# --- the effects -------------------------------------------------------------

def make_hue():
    """Start whistle: a slide whistle swooping up an octave and a half."""
    rng = random.Random(1)
    dur = 0.68
    n = samples(dur)
    base = glide(n, 640.0, 1720.0, 0.46, shape=2.2)
    # Vibrato grows in once the slide has arrived, as a player's breath would.
    freqs = []
    for i, t in enumerate(times(n)):
        depth = 0.011 * min(1.0, max(0.0, (t - 0.36) / 0.15))
        freqs.append(base[i] * (1.0 + depth * math.sin(TAU * 6.3 * t)))
    body = tone(freqs, ((1, 1.0), (2, 0.16), (3, 0.05)))
    body = soft_clip(body, 1.3)
    breath = biquad(noise(n, rng), "bandpass", freqs, q=5.0)
    air = biquad(noise(n, rng), "highpass", 4500.0)
    chiff = mul(biquad(noise(n, rng), "bandpass", 2400.0, q=1.2), exp_decay(n, 0.012))
    env = ramp_env(n, 0.03, 0.08)
    # A small swell in the middle of the slide keeps it lively.
    swell = [0.8 + 0.2 * math.sin(math.pi * min(1.0, t / 0.5)) for t in times(n)]
    sig = mix((1.0, body), (0.9, breath), (0.03, air))
    sig = mul(mul(sig, env), swell)
    sig = mix((1.0, sig), (0.35, chiff))
    return finish(sig, 0.003, 0.02)


def make_bisi():
    """Whack: a bright crack on top of a dull thump, over within 0.2 s."""
    rng = random.Random(2)
    dur = 0.2
    n = samples(dur)
    click = mul(biquad(noise(n, rng), "highpass", 2500.0), exp_decay(n, 0.0025))
    smack = mul(biquad(noise(n, rng), "bandpass", 1150.0, q=0.9), exp_decay(n, 0.022))
    sting = mul(biquad(noise(n, rng), "bandpass", 2700.0, q=1.6), exp_decay(n, 0.011))
    thump_f = [78.0 + 170.0 * math.exp(-t / 0.016) for t in times(n)]
    thump = mul(tone(thump_f, ((1, 1.0), (2, 0.2))), exp_decay(n, 0.032))
    # Two wooden modes make it sound like a mallet meeting something solid.
    knock = mix((1.0, damped(520.0, 0.032, n)), (0.6, damped(1370.0, 0.018, n)))
    sig = mix((1.1, click), (2.4, smack), (1.5, sting), (0.9, thump), (0.45, knock))
    sig = soft_clip(sig, 1.8)
    return finish(sig, 0.0008, 0.03)


def _pea_whistle(n, f0, start, length, rng, fall=0.0):
    """One blast of a pea whistle; the pea rattles pitch and level ~38 times a second."""
    out_n = samples(length)
    freqs, gains = [], []
    for t in times(out_n):
        wobble = math.sin(TAU * 37.0 * t + 0.9 * math.sin(TAU * 6.0 * t))
        tail = max(0.0, (t - (length - 0.22)) / 0.22) if fall else 0.0
        freqs.append(f0 * (1.0 + 0.022 * wobble) * (1.0 - fall * tail * tail))
        gains.append(0.78 + 0.22 * wobble)
    body = soft_clip(tone(freqs, ((1, 1.0), (2, 0.2), (3, 0.06))), 1.1)
    breath = biquad(noise(out_n, rng), "bandpass", freqs, q=4.0)
    sig = mul(mix((1.0, body), (0.7, breath)), gains)
    sig = mul(sig, ramp_env(out_n, 0.018, 0.06 if not fall else 0.2))
    return place(sig, start, n)


def make_hei():
    """End of game: the referee's final whistle, a short blast then a long one."""
    rng = random.Random(3)
    dur = 0.9
    n = samples(dur)
    first = _pea_whistle(n, 1580.0, 0.0, 0.15, rng)
    second = _pea_whistle(n, 1580.0, 0.22, 0.66, rng, fall=0.1)
    sig = mix((0.9, first), (1.0, second))
    return finish(sig, 0.003, 0.03)


def make_pon():
    """Mode change: a soft, round pop like a cork leaving a bottle."""
    rng = random.Random(4)
    dur = 0.16
    n = samples(dur)
    f = [240.0 + 470.0 * (1.0 - math.exp(-t / 0.009)) for t in times(n)]
    pop = mul(tone(f, ((1, 1.0), (2, 0.12))), exp_decay(n, 0.03))
    puff = mul(biquad(noise(n, rng), "lowpass", 1600.0), exp_decay(n, 0.006))
    body = damped(180.0, 0.02, n)
    sig = mix((1.0, pop), (0.35, puff), (0.25, body))
    sig = biquad(sig, "lowpass", 3200.0)
    return finish(sig, 0.002, 0.04)


def _chime(freq, length, ring):
    """A clean two-operator bell note: bright at the strike, mellow as it rings."""
    n = samples(length)
    out = []
    ph_c = ph_m = 0.0
    for t in times(n):
        index = 1.4 * math.exp(-t / 0.025) + 0.25
        amp = math.exp(-t / ring) * min(1.0, t / 0.003)
        out.append(amp * (math.sin(ph_c + index * math.sin(ph_m))
                          + 0.12 * math.sin(2 * ph_c) * math.exp(-t / 0.05)))
        ph_c += TAU * freq / RATE
        ph_m += TAU * freq * 2.0 / RATE
    return out


def _two_beeps(first_hz, second_hz):
    dur = 0.38
    n = samples(dur)
    # A short breath between the two keeps them apart at any volume.
    one = mul(_chime(first_hz, 0.13, 0.12), ramp_env(samples(0.13), 0.001, 0.03))
    two = _chime(second_hz, dur - 0.15, 0.1)
    sig = mix((1.0, place(one, 0.0, n)), (1.0, place(two, 0.15, n)))
    return finish(sig, 0.002, 0.04)


def make_pipo2():
    """Recording on: two beeps going up a fifth."""
    return _two_beeps(880.0, 1318.5)


def make_pipo1():
    """Recording off: the same two beeps going down."""
    return _two_beeps(1318.5, 880.0)


EFFECTS = {
    "hue": make_hue,
    "bisi": make_bisi,
    "hei": make_hei,
    "pon": make_pon,
    "pipo2": make_pipo2,
    "pipo1": make_pipo1,
}


def main(argv):
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    if argv[1] == "--list":
        # The build takes the effects from here, so they are named only once.
        print("\n".join(name + ".wav" for name in EFFECTS))
        return 0
    out_dir = argv[1]
    names = argv[2:] or list(EFFECTS)
    os.makedirs(out_dir, exist_ok=True)
    for name in names:
        if name not in EFFECTS:
            sys.stderr.write("unknown effect: %s\n" % name)
            return 2
        write_wav(os.path.join(out_dir, name + ".wav"), EFFECTS[name]())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
