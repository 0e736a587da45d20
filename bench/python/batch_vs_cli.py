#!/usr/bin/python3
"""The Dask batch against the command line on the same work, on this machine.

Generates RECORDS free-format records of SAMPLES samples (band-limited noise under a
Saragoni-Hart style envelope, dt 0.01 s), then times
  travik-cli spectra --jobs 2 --damping 5,10,15,20,30 (default periods) over all of them, and
  python3 -m travik.batch on a 2-worker LocalCluster with the same settings,
and prints both times and their ratio. Exits 1 when the batch takes more than LIMIT times
the command line's time.

    PYTHONPATH=build/release/python /usr/bin/python3 bench/python/batch_vs_cli.py \
        build/release/src/cli/travik-cli [RECORDS] [SAMPLES]
"""

import os
import subprocess
import sys
import tempfile
import time

import numpy as np

LIMIT = 1.3
DAMPING = "5,10,15,20,30"
DT = 0.01


def generate(folder, count, samples):
    rng = np.random.default_rng(2026)
    t = np.arange(samples) * DT
    envelope = (t / 10.0) ** 2 * np.exp(-t / 10.0 * 2.0)
    envelope /= envelope.max()
    paths = []
    for i in range(count):
        noise = np.convolve(rng.normal(size=samples), np.ones(5) / 5, mode="same")
        acc = 0.3 * envelope * noise / np.abs(noise).max()
        path = os.path.join(folder, f"rec{i:05d}.txt")
        np.savetxt(path, acc, fmt="%.7g")
        paths.append(path)
    return paths


def timed(command, **kwargs):
    start = time.perf_counter()
    subprocess.run(command, check=True, **kwargs)
    return time.perf_counter() - start


def main():
    cli = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
    samples = int(sys.argv[3]) if len(sys.argv) > 3 else 16000
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "records")
        reports = os.path.join(work, "reports")
        os.mkdir(source)
        os.mkdir(reports)
        paths = generate(source, count, samples)
        cli_time = timed([cli, "spectra", "--dt", str(DT), "--damping", DAMPING, "--jobs", "2",
                          "--quiet", "--out", reports, *paths], stdout=subprocess.DEVNULL)
        batch_time = timed([sys.executable, "-m", "travik.batch", source,
                            os.path.join(work, "spectra.csv"), "--dt", str(DT), "--damping",
                            DAMPING, "--workers", "2"], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
    ratio = batch_time / cli_time
    print(f"{count} records x {samples} samples, damping {DAMPING} %, default periods")
    print(f"travik-cli spectra --jobs 2: {cli_time:8.1f} s")
    print(f"travik.batch, 2 workers:     {batch_time:8.1f} s")
    print(f"ratio: {ratio:.2f} (limit {LIMIT})")
    return 0 if ratio <= LIMIT else 1


if __name__ == "__main__":
    sys.exit(main())
