#!/usr/bin/env python3
"""CPU time of `travik-cli spectra` on a 4,000,000-sample record at one damping value, for
two builds side by side, and whether their reports are byte for byte the same.

  bench/cli/long_record_cpu.py CLI [OTHER_CLI] [RUNS]      (default 3 runs each)

A record beyond what the first pass keeps in memory was parsed in both passes; parsing its
text is a large share of a one-damping run. Give the travik-cli of the build to measure and
that of an earlier build (OTHER_CLI) to compare it with: the runs alternate so that a busy
machine weighs on both alike, and the user + system CPU of each run comes from the
kernel's accounting (wait4). The record is written once in a scratch folder (about 64 MB)
and analysed with --jobs 1 --quiet, damping 5 %, the default periods; a second check runs
three such files (one filtered acausally after a linear baseline) with --jobs 2 and compares
every report.
"""
import filecmp
import math
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

SAMPLES = 4_000_000


def write_record(path, count, seed=7):
    """A record-like synthetic acceleration in g at 0.01 s, one value per line."""
    state, smooth = seed, 0.0
    with open(path, "w") as out:
        chunk = []
        for i in range(count):
            state = (state * 6364136223846793005 + 1442695040888963407) % (1 << 64)
            smooth = 0.7 * smooth + 0.3 * ((state >> 11) * 2.0**-53 - 0.5)
            chunk.append("%.9e\n" % (0.5 * smooth * math.sin(i * 1e-5)))
            if len(chunk) == 100_000:
                out.write("".join(chunk))
                chunk = []
        out.write("".join(chunk))


def cpu_of(command):
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        raise RuntimeError("%s failed" % " ".join(command))
    return usage.ru_utime + usage.ru_stime


def spectra(cli, out, files, extra=()):
    os.makedirs(out, exist_ok=True)
    return [cli, "spectra", "--quiet", "--damping", "5", "--out", out, *extra, *files]


def main():
    cli = os.path.abspath(sys.argv[1])
    other = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else None
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    work = tempfile.mkdtemp(prefix="travik-long-")
    try:
        record = os.path.join(work, "long.txt")
        write_record(record, SAMPLES)
        builds = [("this build", cli)] + ([("other build", other)] if other else [])
        times = {name: [] for name, _ in builds}
        for _ in range(runs):
            for name, binary in builds:
                out = os.path.join(work, name.replace(" ", "-"))
                times[name].append(cpu_of(spectra(binary, out, [record], ["--jobs", "1"])))
        for name, _ in builds:
            print("%s: %d samples, one damping, --jobs 1: %.2f s CPU median, %.2f s best"
                  % (name, SAMPLES, statistics.median(times[name]), min(times[name])))
        if other:
            print("this / other: %.3f (medians), %.3f (bests)"
                  % (statistics.median(times["this build"]) / statistics.median(times["other build"]),
                     min(times["this build"]) / min(times["other build"])))
            files = []
            for name in ("a", "b", "c"):
                path = os.path.join(work, name + ".txt")
                write_record(path, 600_000, seed=len(files) + 11)
                files.append(path)
            same = True
            for extra in ([], ["--baseline", "linear", "--filter", "bandpass", "--corners",
                               "0.1,20", "--order", "2", "--acausal"]):
                outs = []
                for name, binary in builds:
                    out = os.path.join(work, "cmp-" + name.replace(" ", "-"))
                    shutil.rmtree(out, ignore_errors=True)
                    cpu_of(spectra(binary, out, files, ["--jobs", "2", *extra]))
                    outs.append(out)
                for name in ("a", "b", "c"):
                    same = same and filecmp.cmp(os.path.join(outs[0], name + "_RS.csv"),
                                                os.path.join(outs[1], name + "_RS.csv"),
                                                shallow=False)
            print("reports of three 600,000-sample records, plain and filtered, --jobs 2: %s"
                  % ("byte for byte the same" if same else "DIFFERENT"))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
