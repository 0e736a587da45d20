#!/usr/bin/env python3
"""The CPU time of a short `travik-cli spectra` run against a bare process, side by side.

  bench/cli/startup_cpu.py [BUILD_DIR] [RUNS]      (default build/release, 400 runs)

Scripts start the command line once per record, so what a run costs before it computes
anything matters. Each round runs, one after the other, a bare process (/bin/true), a
statically linked C++ program that only writes a line, and `travik-cli spectra` on a
10-sample record (the report written to a scratch folder); the rounds interleave so that a
busy machine weighs on all three alike. The user + system CPU per run comes from the
kernel's accounting of the children (getrusage), summed over the runs and divided.
"""
import os
import resource
import shutil
import subprocess
import sys
import tempfile

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build/release"
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 400
CLI = os.path.join(BUILD, "src/cli/travik-cli")


def children_cpu():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime


def main():
    work = tempfile.mkdtemp(prefix="travik-startup-")
    try:
        record = os.path.join(work, "ten.txt")
        with open(record, "w") as f:
            f.write("".join("%g\n" % (0.01 * i) for i in range(10)))
        hello = os.path.join(work, "hello")
        source = os.path.join(work, "hello.cpp")
        with open(source, "w") as f:
            f.write('#include <cstdio>\nint main() { std::puts("hello"); }\n')
        subprocess.run(["c++", "-O2", "-static", source, "-o", hello], check=True)
        out = os.path.join(work, "out")
        os.mkdir(out)
        commands = {
            "bare process (/bin/true)": ["/bin/true"],
            "static C++ hello": [hello],
            "travik-cli spectra, 10 samples": [CLI, "spectra", "--dt", "0.01", "--out", out,
                                                record],
        }
        totals = dict.fromkeys(commands, 0.0)
        for _ in range(RUNS):
            for name, command in commands.items():
                before = children_cpu()
                subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               check=True)
                totals[name] += children_cpu() - before
        per_run = {name: 1000 * total / RUNS for name, total in totals.items()}
        for name, ms in per_run.items():
            print("%-34s %6.2f ms CPU" % (name, ms))
        bare = per_run["bare process (/bin/true)"]
        cli = per_run["travik-cli spectra, 10 samples"]
        print("travik-cli above the bare process: %.2f ms" % (cli - bare))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
