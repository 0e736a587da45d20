#!/usr/bin/env python3
"""`travik-cli scale` selecting 11 of 50 records: the wall time of the whole run (reading,
50 response spectra at the default periods, fitting, selection, the rule, the report and
the 11 scaled .AT2 records).

  bench/cli/scale_speed.py [BUILD_DIR] [RUNS]      (default build/release, 3 runs)

The records are variations of the ten horizontal sample records in data/: each is written
five times as a PEER-format file, with its time step stretched by 0.8, 0.9, 1, 1.12 and
1.25 (which moves its spectrum along the period axis, so the fits differ) and its values
multiplied by 0.5 to 2. They are scaled to the ASCE/SEI 7-22 spectrum S_DS = 1 g,
S_D1 = 0.6 g, T_L = 8 s over 0.2 to 3 s. The median and best wall times are printed, with
the load average before and after (the machine may be shared).
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build/release"
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 3
CLI = os.path.join(BUILD, "src/cli/travik-cli")
DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data")
SAMPLES = {  # file: time step (s), as data/README.md gives it
    "boore-whittier-cat-090.txt": 0.02, "boore-whittier-cat-180.txt": 0.02,
    "cgs-lahabra-wlt-090.txt": 0.02, "cgs-lahabra-wlt-360.txt": 0.02,
    "elcentro-1940-chopra-ns.txt": 0.02, "elcentro-1940-rsn6-180.txt": 0.01,
    "elcentro-1940-rsn6-270.txt": 0.01, "eqsig-test-motion.txt": 0.01,
    "peer-chinohills-rsn8883-090.txt": 0.005, "peer-chinohills-rsn8883-360.txt": 0.005,
}
STRETCHES = [0.8, 0.9, 1.0, 1.12, 1.25]
AMPLITUDES = [0.5, 0.8, 1.0, 1.4, 2.0]


def write_at2(path, values, dt, title):
    with open(path, "w") as f:
        f.write("PEER NGA FORMAT, GENERATED VARIATION\n%s, H1\n" % title)
        f.write("ACCELERATION TIME SERIES IN UNITS OF G\n")
        f.write("NPTS=%7d, DT=%10.6f SEC\n" % (len(values), dt))
        for i in range(0, len(values), 5):
            f.write("".join("%15.7E" % v for v in values[i:i + 5]) + "\n")


def make_records(folder):
    files = []
    for name, dt in sorted(SAMPLES.items()):
        with open(os.path.join(DATA, name)) as f:
            values = [float(line) for line in f if line.strip()]
        for k, (stretch, amplitude) in enumerate(zip(STRETCHES, AMPLITUDES)):
            path = os.path.join(folder, "%s-v%d.AT2" % (name[:-4], k + 1))
            write_at2(path, [v * amplitude for v in values], dt * stretch, name)
            files.append(path)
    return files


def main():
    work = tempfile.mkdtemp(prefix="travik-scale-bench-")
    try:
        files = make_records(work)
        out = os.path.join(work, "out")
        os.mkdir(out)
        command = [CLI, "scale", "--format", "auto", "--asce", "1,0.6,8", "--range", "0.2,3",
                   "--select", "11", "--write-records", out, "--out", out] + files
        print("records: %d, load average before: %s" % (len(files), os.getloadavg()))
        times = []
        for _ in range(RUNS):
            start = time.perf_counter()
            done = subprocess.run(command, capture_output=True, text=True)
            times.append(time.perf_counter() - start)
            if done.returncode not in (0, 1):
                sys.exit("travik-cli failed: " + done.stderr)
        print(done.stdout, end="")
        print("select 11 of %d: median %.2f s, best %.2f s over %d runs" %
              (len(files), statistics.median(times), min(times), RUNS))
        print("load average after: %s" % (os.getloadavg(),))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
