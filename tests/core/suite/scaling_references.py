#!/usr/bin/env python3
"""Reference values of SuiteScalingTest.cpp, computed here straight from the definitions in
plain Python (not from the program): least-squares factors in logarithms, the weighted
error, the common factor of the 90 % rules, the EN 1998-1 PGA need and the log-log
interpolation."""
import math
import random

periods = [0.0, 0.1, 0.2, 0.5, 1.0, 2.0]
target = [0.4, 0.8, 1.0, 1.0, 0.6, 0.3]
records = [
    [0.30, 0.55, 0.80, 0.70, 0.35, 0.12],
    [0.20, 0.60, 0.50, 0.45, 0.30, 0.20],
    [0.50, 1.20, 1.50, 1.10, 0.50, 0.20],
]
inside = [k for k, t in enumerate(periods) if 0.1 <= t <= 2.0]
T = [periods[k] for k in inside]
St = [target[k] for k in inside]


def log_weights(t):
    ln = [math.log(x) for x in t]
    w = [0.0] * len(t)
    for i in range(len(t) - 1):
        half = 0.5 * (ln[i + 1] - ln[i])
        w[i] += half
        w[i + 1] += half
    return w


def fit(r, w, lo=None, hi=None):
    S = [r[k] for k in inside]
    f = math.exp(sum(wi * math.log(a / b) for wi, a, b in zip(w, St, S)) / sum(w))
    if lo is not None:
        f = max(f, lo)
    if hi is not None:
        f = min(f, hi)
    mse = sum(wi * (math.log(a) - math.log(f * b)) ** 2 for wi, a, b in zip(w, St, S)) / sum(w)
    return f, mse


def show(name, values):
    print(name, ", ".join("%.15g" % v for v in values))


for label, w in (("uniform", [1.0] * len(T)), ("log", log_weights(T))):
    fits = [fit(r, w) for r in records]
    show(label + " factors", [f for f, _ in fits])
    show(label + " mse", [m for _, m in fits])
    mean = [sum(f * r[k] for (f, _), r in zip(fits, records)) / 3 for k in inside]
    c_spectral = max(0.9 * a / m for a, m in zip(St, mean))
    c_pga = target[0] / (sum(f * r[0] for (f, _), r in zip(fits, records)) / 3)
    show(label + " spectral and pga needs", [c_spectral, c_pga])
show("log weights", log_weights(T))

fits = [fit(r, [1.0] * len(T), 0.9, 1.5) for r in records]
show("limits 0.9,1.5 factors", [f for f, _ in fits])
show("limits 0.9,1.5 mse", [m for _, m in fits])

# The same limits under the 90 % rule: the common factor pushes the first two past fmax, so
# they stay at 1.5 and the suite falls short where their share is needed.
mean = [sum(f * r[k] for (f, _), r in zip(fits, records)) / 3 for k in inside]
c = max(0.9 * a / m for a, m in zip(St, mean))
totals = [min(max(f * c, 0.9), 1.5) for f, _ in fits]
scaled_mean = [sum(t * r[k] for t, r in zip(totals, records)) / 3 for k in inside]
show("limits asce7 c and totals", [c] + totals)
show("limits asce7 mean/target", [m / a for m, a in zip(scaled_mean, St)])
print("failing periods", [t for t, m, a in zip(T, scaled_mean, St) if m < 0.9 * a])

# Low peak ground accelerations: the PGA need of EN 1998-1 decides the common factor.
fits = [fit(r, [1.0] * len(T)) for r in records]
low_pga = [0.10, 0.10, 0.15]
mean = [sum(f * r[k] for (f, _), r in zip(fits, records)) / 3 for k in inside]
show("low pga spectral and pga needs", [max(0.9 * a / m for a, m in zip(St, mean)),
                                        target[0] / (sum(f * p for (f, _), p in zip(fits, low_pga)) / 3)])

# Log-log interpolation of record 1 at 0.3 s (between 0.2 and 0.5 s), and its factor to the
# target there (a target file is interpolated linearly).
w = math.log(0.3 / 0.2) / math.log(0.5 / 0.2)
s03 = math.exp(math.log(0.80) + w * math.log(0.70 / 0.80))
t03 = 1.0
show("record 1 at 0.3 s, factor", [s03, t03 / s03])
f = t03 / s03
show("record 1 mse at that factor",
     [sum((math.log(a) - math.log(f * records[0][k])) ** 2 for a, k in zip(St, inside)) / 5])

# Eight records for the selection: each the target times a random shape of its own spread.
rnd = random.Random(22)
spreads = [0.05, 0.3, 0.1, 0.4, 0.02, 0.25, 0.15, 0.5]
print("eight records:")
eight = []
for s in spreads:
    r = [round(0.7 * a * math.exp(rnd.gauss(0.0, s)), 4) for a in target]
    eight.append(r)
    print("    {" + ", ".join("%.4f" % v for v in r) + "},")
mses = [fit(r, [1.0] * len(T))[1] for r in eight]
show("eight mse", mses)
print("three smallest", sorted(sorted(range(8), key=lambda i: mses[i])[:3]))
