#!/usr/bin/python3
"""Velocity and displacement of an acausally filtered record with its zero pads kept, made
with SciPy.

An independent route to the filtered corrected set of travik_core: the 1940 El Centro 180
record (PEER NGA-West2 RSN 6, data/elcentro-1940-rsn6-180.txt, g, dt 0.01 s) is put between
zero pads of Boore's rule (1.5 * order / fc in all, fc the high-pass corner, half before and
half after), band-passed 0.1-20 Hz, order 2, by scipy.signal.butter + sosfilt forward, then
sosfilt over the reversed result; the whole padded, filtered record is integrated from rest
at the start of its leading pad (trapezoidal velocity, displacement exact for acceleration
linear over a step, g = 980 cm/sec^2) and the record's own part is kept (Boore, 2005, "On
pads and filters"). The record cut from its pads and integrated from rest is written too,
to show the drift the pads remove.

Run from this folder with Debian's Python (python3-numpy, python3-scipy):
/usr/bin/python3 make_padded_filter_reference.py
Writes padded_filter_elcentro180.csv (index,acceleration_g,velocity_cm_s,displacement_cm;
every 50th sample and the last) and prints the end displacement and mean velocity.
"""
import math
import os

import numpy as np
from scipy import signal

HERE = os.path.dirname(os.path.abspath(__file__))
RECORD = os.path.join(HERE, "..", "..", "..", "..", "data", "elcentro-1940-rsn6-180.txt")
DT = 0.01
G = 980.0
LOW, HIGH, ORDER = 0.1, 20.0, 2
STRIDE = 50


def integrate(a):
    v = np.zeros(len(a))
    d = np.zeros(len(a))
    for i in range(1, len(a)):
        v[i] = v[i - 1] + 0.5 * DT * G * (a[i - 1] + a[i])
        d[i] = d[i - 1] + DT * v[i - 1] + DT * DT * G * (2 * a[i - 1] + a[i]) / 6.0
    return v, d


def main():
    x = np.loadtxt(RECORD)
    n = len(x)
    sos = signal.butter(ORDER, [LOW, HIGH], btype="bandpass", output="sos", fs=1.0 / DT)
    pad = math.ceil(0.5 * 1.5 * ORDER / LOW / DT - 1e-9)
    padded = np.concatenate([np.zeros(pad), x, np.zeros(pad)])
    y = signal.sosfilt(sos, padded)
    y = signal.sosfilt(sos, y[::-1])[::-1]
    v, d = integrate(y)
    a, v, d = y[pad:pad + n], v[pad:pad + n], d[pad:pad + n]
    cut_v, cut_d = integrate(a)
    print(f"kept pads: end displacement {d[-1]:.6f} cm, mean velocity {v.mean():.6f} cm/sec")
    print(f"cut pads: end displacement {cut_d[-1]:.6f} cm, mean velocity {cut_v.mean():.6f} cm/sec")
    with open(os.path.join(HERE, "padded_filter_elcentro180.csv"), "w", newline="") as f:
        f.write("index,acceleration_g,velocity_cm_s,displacement_cm\n")
        for i in list(range(0, n, STRIDE)) + [n - 1]:
            f.write(f"{i},{a[i]!r},{v[i]!r},{d[i]!r}\n")


if __name__ == "__main__":
    main()
