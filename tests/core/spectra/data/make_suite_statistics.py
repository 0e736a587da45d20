#!/usr/bin/python3
"""Reference suite statistics computed with numpy, independently of TRAVIK.

Writes suite-statistics.csv: one row per period with the five records' values and the
expected mean, median, sample standard deviation, geometric mean and sample standard
deviation of the natural logarithms. The records are fixed numbers chosen to have an odd
count (the median is a middle value), spread over two decades, and one period where a
record is zero (no log-normal statistics there).
"""
import numpy as np

periods = np.array([0.0, 0.1, 0.2, 0.5, 1.0, 2.0, 4.0])
records = np.array([
    [0.31, 0.52, 0.81, 0.66, 0.29, 0.11, 0.031],
    [0.28, 0.61, 0.72, 0.49, 0.35, 0.09, 0.027],
    [0.45, 0.70, 1.05, 0.93, 0.41, 0.16, 0.052],
    [0.19, 0.33, 0.47, 0.38, 0.22, 0.07, 0.0],
    [0.36, 0.58, 0.99, 0.71, 0.30, 0.12, 0.044],
])

with open("suite-statistics.csv", "w") as out:
    out.write("# period,r1,r2,r3,r4,r5,mean,median,sigma,logmean,sigmaln\n")
    for k, t in enumerate(periods):
        v = records[:, k]
        mean = v.mean()
        median = np.median(v)
        sigma = v.std(ddof=1)
        if np.all(v > 0):
            logmean = np.exp(np.log(v).mean())
            sigmaln = np.log(v).std(ddof=1)
        else:
            logmean = sigmaln = float("nan")
        fields = [t, *v, mean, median, sigma, logmean, sigmaln]
        out.write(",".join(repr(float(f)) for f in fields) + "\n")
