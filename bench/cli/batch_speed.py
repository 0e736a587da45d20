#!/usr/bin/env python3
"""`travik-cli spectra` over many records: throughput of --jobs 2 against --jobs 1, and
peak memory, which must not grow with the number of records.

  bench/cli/batch_speed.py [BUILD_DIR] [RUNS]      (default build/release, 3 runs)

200 synthetic records of 16,000 samples at 0.01 s (the generator of cli_speed.py, one
seed per record) are written to a temporary folder and analysed with damping 5, 10, 15,
20 and 30 % and the default periods. Each --jobs count is timed RUNS times; the median
and the best wall time are printed, with the peak resident memory of the runs. The same
is measured for the first 20 records alone: with records held only while they are being
analysed, the peak is about the same for 20 and for 200. The reports and stdout of the
two counts are compared byte for byte.

Wall times on a shared machine are noisy: the load average is printed before and after;
the target (a ratio of at least 1.7) holds for a quiet machine with two free cores.
"""
import hashlib
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cli_speed import record  # noqa: E402  (the same synthetic motion)

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build/release"
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 3
CLI = os.path.join(BUILD, "src/cli/travik-cli")
DAMPINGS = "5,10,15,20,30"
RECORDS = 200
SAMPLES = 16000


def run(jobs, files, out):
    """Wall time (s), peak resident memory (KiB), processor time (user + system, s) and
    stdout of one run. The peak comes from /usr/bin/time: a child of this script would
    report at least the script's own size."""
    shutil.rmtree(out, ignore_errors=True)
    os.mkdir(out)
    command = ["/usr/bin/time", "-f", "%M %U %S", CLI, "spectra", "--dt", "0.01", "--damping",
               DAMPINGS, "--jobs", str(jobs), "--quiet", "--out", out] + files
    start = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        raise RuntimeError("travik-cli spectra --jobs %d failed: %s" % (jobs, result.stderr))
    peak, user, system = result.stderr.decode().strip().splitlines()[-1].split()
    return elapsed, int(peak), float(user) + float(system), result.stdout.replace(
        out.encode(), b"<out>")


def digest(folder):
    sums = hashlib.sha256()
    for name in sorted(os.listdir(folder)):
        sums.update(name.encode())
        with open(os.path.join(folder, name), "rb") as report:
            sums.update(report.read())
    return sums.hexdigest()


def load():
    return "load average %.2f %.2f %.2f" % os.getloadavg()


def main():
    folder = tempfile.mkdtemp(prefix="travik-batch-speed-")
    try:
        files = []
        for k in range(RECORDS):
            files.append(os.path.join(folder, "record%03d.txt" % k))
            record(files[-1], SAMPLES, seed=k + 1)
        print("%d records of %d samples at 0.01 s, damping %s, default periods; %s"
              % (RECORDS, SAMPLES, DAMPINGS, load()))

        medians, bests, outputs = {}, {}, {}
        for jobs in (1, 2):
            out = os.path.join(folder, "out%d" % jobs)
            times, peaks, processor = [], [], []
            for _ in range(RUNS):
                elapsed, peak, used, stdout = run(jobs, files, out)
                times.append(elapsed)
                peaks.append(peak)
                processor.append(used)
            medians[jobs], bests[jobs] = statistics.median(times), min(times)
            outputs[jobs] = (stdout, digest(out))
            print("--jobs %d: %.2f s median, %.2f s best (%.1f records/s median); processor "
                  "%.2f s median; peak memory %.1f MiB"
                  % (jobs, medians[jobs], bests[jobs], RECORDS / medians[jobs],
                     statistics.median(processor), max(peaks) / 1024))
        few_peak = max(run(2, files[:20], os.path.join(folder, "few"))[1] for _ in range(RUNS))
        print("--jobs 2 over the first 20 records only: peak memory %.1f MiB" % (few_peak / 1024))
        print("--jobs 2 throughput / --jobs 1: %.2f (medians), %.2f (bests)"
              % (medians[1] / medians[2], bests[1] / bests[2]))
        print("stdout and reports of --jobs 1 and --jobs 2: %s"
              % ("identical" if outputs[1] == outputs[2] else "DIFFERENT"))
        print("after: %s" % load())
        return 0 if outputs[1] == outputs[2] else 1
    finally:
        shutil.rmtree(folder)


if __name__ == "__main__":
    sys.exit(main())
