#!/usr/bin/env python3
"""CPU time of a whole `travik-cli spectra --jobs 1` run against the plain port, one
oscillator at a time, of the same recurrence built at -O2 (bench/core/PlainSpectraProgram.cpp),
on 40,000 samples with nine damping values and the default periods.

  bench/cli/plain_port_ratio.py [BUILD_DIR] [RUNS] [OTHER_CLI ...]

BUILD_DIR (default build/release) gives travik-cli and plain-spectra; every OTHER_CLI (an
earlier build's travik-cli, say) is timed in the same rounds. The runs alternate, their order
turning each round, so that a busy machine weighs on all alike, and the user + system CPU of
each comes from the kernel's accounting (wait4): on one thread that is the work itself,
whatever the load. Reported per
time step of the record (0.01 s and 0.005 s: the coarser step sub-steps more periods): the
median and best CPU of each program and each travik-cli's ratio to the plain port.
"""
import math
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

from cli_speed import record as write_record  # the same synthetic record generator

SAMPLES = 40_000
DAMPINGS = "0,2,3,5,7,10,15,20,30"
TIME_STEPS = ("0.01", "0.005")


def cpu_of(command):
    with open(os.devnull, "w") as sink:
        child = subprocess.Popen(command, stdout=sink, stderr=subprocess.PIPE)
        _, status, usage = os.wait4(child.pid, 0)
        error = child.stderr.read().decode(errors="replace")
        child.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        raise RuntimeError("%s failed: %s" % (" ".join(command), error))
    return usage.ru_utime + usage.ru_stime


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build/release"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    clis = [("this build", os.path.join(build, "src/cli/travik-cli"))]
    clis += [("other %d" % k, path) for k, path in enumerate(sys.argv[3:], 1)]
    plain = os.path.join(build, "bench/core/plain-spectra")
    work = tempfile.mkdtemp(prefix="travik-plain-ratio-")
    try:
        record = os.path.join(work, "record.txt")
        write_record(record, SAMPLES, seed=3)
        for dt in TIME_STEPS:
            commands = [("plain port", [plain, record, dt, DAMPINGS])]
            for name, cli in clis:
                out = os.path.join(work, name.replace(" ", "-"))
                os.makedirs(out, exist_ok=True)
                commands.append((name, [cli, "spectra", "--quiet", "--jobs", "1", "--dt", dt,
                                        "--damping", DAMPINGS, "--out", out, record]))
            times = {name: [] for name, _ in commands}
            # The order turns each round: a run straight after the plain port's long one is
            # sometimes slower on a shared machine, and no program should always be that one.
            for round_ in range(runs):
                turn = round_ % len(commands)
                for name, command in commands[turn:] + commands[:turn]:
                    times[name].append(cpu_of(command))
            plain_median = statistics.median(times["plain port"])
            plain_best = min(times["plain port"])
            print("dt %s s, %d samples, damping %s %%, %d runs each:" % (dt, SAMPLES, DAMPINGS,
                                                                       runs))
            for name, _ in commands:
                median, best = statistics.median(times[name]), min(times[name])
                print("  %-11s %7.3f s CPU median, %7.3f s best; / plain port %.4f (medians),"
                      " %.4f (bests)" % (name, median, best, median / plain_median,
                                         best / plain_best))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
