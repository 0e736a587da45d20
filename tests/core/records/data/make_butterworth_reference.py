#!/usr/bin/python3
"""Reference responses and outputs of Butterworth filters, made with SciPy.

An independent route to the filter of travik_core: scipy.signal.butter designs the filter
(second-order sections), scipy.signal.sosfreqz gives its magnitude response and
scipy.signal.sosfilt runs it. The zero pads follow Boore's rule, total length
1.5 * order / fc (fc the high-pass corner, else the low-pass corner), half before the record
and half after; the acausal filter is sosfilt forward, then sosfilt over the reversed result.

Run from this folder with Debian's Python (python3-numpy, python3-scipy): /usr/bin/python3 make_butterworth_reference.py
Writes butterworth_gain.csv (config,frequency_hz,gain), butterworth_series.csv
(config,mode,index,value; every 20th sample of the filtered test signal) and
butterworth_ba.csv (config,kind,power,coefficient: the transfer function's numerator b and
denominator a in powers of z^-1, from scipy.signal.butter(..., output="ba"), for the
filters of up to eight poles, whose polynomial form is still well conditioned).
"""
import math

import numpy as np
from scipy import signal

# name, band, corners (Hz), order per corner, time step (s)
CONFIGS = [
    ("lp25o4", "lowpass", [25.0], 4, 0.01),
    ("hp0.1o2", "highpass", [0.1], 2, 0.02),
    ("bp0.1-25o4", "bandpass", [0.1, 25.0], 4, 0.01),
    ("bp0.5-2o8", "bandpass", [0.5, 2.0], 8, 0.005),
    ("lp5o3", "lowpass", [5.0], 3, 0.01),
    ("bp1-10o1", "bandpass", [1.0, 10.0], 1, 0.01),
    ("hp0.5o5", "highpass", [0.5], 5, 0.01),
]
SAMPLES = 8000
STRIDE = 20


def test_signal(n, dt):
    """The same formula as TestSignal() in ButterworthFilterTest.cpp."""
    t = np.arange(n) * dt
    return (0.1 * np.sin(2 * math.pi * 0.05 * t) + 0.2 * np.sin(2 * math.pi * 1.3 * t + 0.3)
            + 0.05 * np.sin(2 * math.pi * (0.4 / dt) * t) + 0.3 * np.exp(-((t - 10.0) / 0.5) ** 2)
            + 0.001 * t)


def pad_samples(band, corners, order, dt):
    fc = corners[0]
    total = 1.5 * order / fc
    return math.ceil(0.5 * total / dt - 1e-9)


def write_transfer_functions():
    with open("butterworth_ba.csv", "w", newline="") as f:
        f.write("config,kind,power,coefficient\n")
        for name, band, corners, order, dt in CONFIGS:
            poles = order * (2 if band == "bandpass" else 1)
            if poles > 8:
                continue
            wn = corners[0] if len(corners) == 1 else corners
            b, a = signal.butter(order, wn, btype=band, output="ba", fs=1.0 / dt)
            for kind, values in (("b", b), ("a", a)):
                for power, value in enumerate(values):
                    f.write(f"{name},{kind},{power},{float(value)!r}\n")


def main():
    write_transfer_functions()
    with open("butterworth_gain.csv", "w", newline="") as gain_file, \
            open("butterworth_series.csv", "w", newline="") as series_file:
        gain_file.write("config,frequency_hz,gain\n")
        series_file.write("config,mode,index,value\n")
        for name, band, corners, order, dt in CONFIGS:
            fs = 1.0 / dt
            wn = corners[0] if len(corners) == 1 else corners
            sos = signal.butter(order, wn, btype=band, output="sos", fs=fs)
            nyquist = 0.5 * fs
            freqs = [f for f in (0.01, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 20.0, 25.0,
                                 30.0, 40.0, 45.0, 49.0, 60.0, 90.0) if f < nyquist]
            freqs = sorted(set(freqs + corners))
            _, h = signal.sosfreqz(sos, worN=freqs, fs=fs)
            for f, value in zip(freqs, np.abs(h)):
                gain_file.write(f"{name},{f!r},{value!r}\n")

            x = test_signal(SAMPLES, dt)
            pad = pad_samples(band, corners, order, dt)
            padded = np.concatenate([np.zeros(pad), x, np.zeros(pad)])
            causal = signal.sosfilt(sos, padded)
            acausal = signal.sosfilt(sos, causal[::-1])[::-1]
            for mode, y in (("causal", causal), ("acausal", acausal)):
                y = y[pad:pad + SAMPLES]
                for i in range(0, SAMPLES, STRIDE):
                    series_file.write(f"{name},{mode},{i},{y[i]!r}\n")


if __name__ == "__main__":
    main()
