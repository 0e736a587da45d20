#!/usr/bin/python3
"""Reference ground-motion measures of the CGS La Habra WLT 090 record, made with NumPy/SciPy.

An independent route to the measures of travik_core, written from the published
definitions (trapezoidal rule over the samples, times t_i = i * dt):
  Arias intensity  pi / (2 g) * integral a^2 dt, in m/s (a and g in m/s^2)
  D5-75, D5-95     Husid crossings by numpy.interp
  CAV              integral |a| dt (g s); CAV5 with |a| < 5 cm/s^2 set to zero
  standardised CAV sum over 1 s windows with peak |a| > 0.025 g of their integral of |a|
  bracketed        first to last sample with |a| >= 0.05 g
  Fourier          dt * |numpy.fft.rfft| of the record zero-padded to 16384 samples (cm/s)
  Konno-Ohmachi    the direct sum over every frequency (b = 40) at chosen frequencies
  Tm               sum C^2 / f over sum C^2, 0.25-20 Hz
  spectra (5 %)    the oscillator's state advanced by the exact discrete-time solution for
                   acceleration varying linearly between samples (matrix exponential of
                   the augmented system, as scipy.signal.lsim does), one step per sample;
                   Housner SI = integral PSv dT 0.1-2.5 s, ASI = integral Sa dT 0.1-0.5 s,
                   VSI = integral Sv dT 0.1-2.5 s, periods 0.02-4 s every 0.01 s.
g = 980.665 cm/s^2 (the value the CGS files use). Run from this folder with Debian's
Python (python3-numpy, python3-scipy): /usr/bin/python3 make_measures_reference.py
Writes lahabra_measures.csv (name,value), lahabra_fourier.csv (frequency_hz,amplitude)
and lahabra_konno_ohmachi.csv (frequency_hz,smoothed).
"""
import math
import os

import numpy as np
from scipy.linalg import expm

G = 980.665
DT = 0.02
HERE = os.path.dirname(os.path.abspath(__file__))
RECORD = os.path.join(HERE, "..", "..", "..", "..", "data", "cgs-lahabra-wlt-090.txt")


def trapz(y, dt):
    return dt * (np.sum(y) - 0.5 * (y[0] + y[-1]))


def spectrum(a_cm, dt, periods, zeta=0.05):
    """Peak relative displacement, relative velocity and total acceleration per period."""
    sd, sv, sa = [], [], []
    for T in periods:
        w = 2 * math.pi / T
        A = np.array([[0.0, 1.0], [-w * w, -2 * zeta * w]])
        # Augmented system for input u(t) = u0 + (u1 - u0) t / dt, forcing -u.
        M = np.zeros((4, 4))
        M[:2, :2] = A * dt
        M[:2, 2] = np.array([0.0, -1.0]) * dt
        M[2, 3] = 1.0
        E = expm(M)
        Ad, B0, B1 = E[:2, :2], E[:2, 2] - E[:2, 3], E[:2, 3]
        x = np.zeros(2)
        peak_d = peak_v = peak_a = 0.0
        for i in range(1, len(a_cm)):
            x = Ad @ x + B0 * a_cm[i - 1] + B1 * a_cm[i]
            peak_d = max(peak_d, abs(x[0]))
            peak_v = max(peak_v, abs(x[1]))
            peak_a = max(peak_a, abs(-w * w * x[0] - 2 * zeta * w * x[1]))
        sd.append(peak_d)
        sv.append(peak_v)
        sa.append(peak_a / G)
    return np.array(sd), np.array(sv), np.array(sa)


def main():
    a = np.loadtxt(RECORD)
    n = len(a)
    t = np.arange(n) * DT
    g_m = G / 100
    values = {}
    values["PGA"] = np.max(np.abs(a))
    values["Time of PGA"] = t[np.argmax(np.abs(a))]
    cum = np.concatenate([[0.0], np.cumsum(0.5 * DT * (a[1:] ** 2 + a[:-1] ** 2))])
    values["Arias intensity"] = math.pi / (2 * g_m) * cum[-1] * g_m ** 2
    husid = cum / cum[-1]
    t5, t75, t95 = np.interp([0.05, 0.75, 0.95], husid, t)
    values["D5-75"], values["D5-95"] = t75 - t5, t95 - t5
    values["D5-75 start"], values["D5-95 end"] = t5, t95
    above = np.nonzero(np.abs(a) >= 0.05)[0]
    values["Bracketed duration"] = (above[-1] - above[0]) * DT
    values["CAV"] = trapz(np.abs(a), DT)
    values["CAV5"] = trapz(np.where(np.abs(a) * G >= 5.0, np.abs(a), 0.0), DT)
    per_second = int(round(1 / DT))
    standardised = 0.0
    for start in range(0, n - 1, per_second):
        stop = min(start + per_second, n - 1)
        if np.max(np.abs(a[start:min(start + per_second, n)])) > 0.025:
            standardised += trapz(np.abs(a[start:stop + 1]), DT)
    values["Standardised CAV"] = standardised

    periods = np.arange(2, 401) / 100.0
    sd, sv, sa = spectrum(a * G, DT, periods)
    psv = 2 * math.pi / periods * sd
    psa = (2 * math.pi / periods) ** 2 * sd / G

    def integral(y, lo, hi):
        keep = (periods >= lo - 1e-9) & (periods <= hi + 1e-9)
        return np.trapz(y[keep], periods[keep])

    values["Housner SI"] = integral(psv, 0.1, 2.5)
    values["ASI"] = integral(sa, 0.1, 0.5)
    values["VSI"] = integral(sv, 0.1, 2.5)
    values["Tp"] = periods[np.argmax(psa)]

    length = 16384
    amplitude = DT * np.abs(np.fft.rfft(a * G, length))[1:]
    freqs = np.arange(1, length // 2 + 1) / (length * DT)
    band = (freqs >= 0.25) & (freqs <= 20.0)
    values["Tm"] = np.sum(amplitude[band] ** 2 / freqs[band]) / np.sum(amplitude[band] ** 2)

    with open(os.path.join(HERE, "lahabra_measures.csv"), "w", newline="") as f:
        f.write("name,value\n")
        for name, value in values.items():
            f.write(f"{name},{float(value)!r}\n")
    with open(os.path.join(HERE, "lahabra_fourier.csv"), "w", newline="") as f:
        f.write("frequency_hz,amplitude\n")
        for k in range(0, len(freqs), 41):
            f.write(f"{freqs[k]!r},{amplitude[k]!r}\n")
    with open(os.path.join(HERE, "lahabra_konno_ohmachi.csv"), "w", newline="") as f:
        f.write("frequency_hz,smoothed\n")
        b = 40.0
        for k in list(range(0, 40)) + list(range(40, len(freqs), 53)):
            x = b * np.log10(freqs / freqs[k])
            with np.errstate(divide="ignore", invalid="ignore"):
                w = (np.sin(x) / x) ** 4
            w[k] = 1.0
            f.write(f"{freqs[k]!r},{float(np.sum(w * amplitude) / np.sum(w))!r}\n")


if __name__ == "__main__":
    main()
