#!/usr/bin/env python3
"""Whole-process figures of `travik-cli spectra`, beside the in-process work they contain.

  bench/cli/cli_speed.py [BUILD_DIR]      (default build/release)

1. Start-up and exit: `travik-cli --help` against /bin/true.
2. The standard job (4,000 samples at 0.01 s, 300 default periods, damping 5, 10, 15, 20
   and 30 %): the command line's wall time, less speed_bench's BM_StandardJobReadComputeWrite
   (the same reading, computing and writing in one process, same record), is what the
   command line spends outside reading, computing and writing.
3. Peak memory (maximum resident set) of a 10^6-sample run with the default options.
4. Nine damping values on 10^6 samples at 0.005 s with every core.
5. `--jobs 2` against `--jobs 1` over 200 records of 16,000 samples.

Wall times on a shared machine are noisy: every figure is the median and the best of
several runs; the best is the one closest to a quiet machine.
"""
import json
import math
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build/release"
CLI = os.path.join(BUILD, "src/cli/travik-cli")
SPEED_BENCH = os.path.join(BUILD, "bench/core/speed_bench")
DAMPINGS = "5,10,15,20,30"


def record(path, count, seed=42):
    """A record-like synthetic acceleration in g, one value per line."""
    state, smooth, lines = seed, 0.0, []
    for i in range(count):
        state = (state * 6364136223846793005 + 1442695040888963407) % (1 << 64)
        smooth = 0.7 * smooth + 0.3 * ((state >> 11) * 2.0**-53 - 0.5)
        t = i / count
        lines.append("%.9e\n" % (0.8 * smooth * t * math.exp(-6 * t) * 6))
    with open(path, "w") as out:
        out.write("".join(lines))


def wall(command, runs):
    """Median and best wall time (s); the processor time of each run goes to CPU_TIMES."""
    times = []
    CPU_TIMES.clear()
    for _ in range(runs):
        start = time.perf_counter()
        child = subprocess.Popen(command, stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        times.append(time.perf_counter() - start)
        child.returncode = os.waitstatus_to_exitcode(status)
        if child.returncode != 0:
            raise RuntimeError("%s failed" % command)
        CPU_TIMES.append(usage.ru_utime + usage.ru_stime)
    return statistics.median(times), min(times)


CPU_TIMES = []


def cpu():
    """Median and best processor time (user + system, s) of the runs of the last wall()."""
    return statistics.median(CPU_TIMES), min(CPU_TIMES)


def peak_memory_kib(command):
    result = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, check=True,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    return int(result.stderr.strip().splitlines()[-1])


def in_process_ms(threads, repetitions=15):
    """Median and best wall time, and median and best processor time of the calling
    thread (ms), of reading, computing and writing the standard job in one process."""
    result = subprocess.run(
        [SPEED_BENCH, "--benchmark_filter=BM_StandardJobReadComputeWrite/%d/" % threads,
         "--benchmark_format=json", "--benchmark_repetitions=%d" % repetitions],
        check=True, stdout=subprocess.PIPE, text=True)
    runs = [b for b in json.loads(result.stdout)["benchmarks"]
            if b.get("run_type") == "iteration"]
    times = [b["real_time"] for b in runs]
    cpus = [b["cpu_time"] for b in runs]
    return statistics.median(times), min(times), statistics.median(cpus), min(cpus)


def main():
    folder = tempfile.mkdtemp(prefix="travik-cli-speed-")
    out = os.path.join(folder, "out")
    os.mkdir(out)
    try:
        true_median, true_best = wall(["/bin/true"], 41)
        help_median, help_best = wall([CLI, "--help"], 41)
        help_cpu = cpu()
        print("start and exit:  --help %.2f ms median, %.2f ms best (processor %.2f / %.2f ms);"
              " /bin/true %.2f / %.2f ms" % (help_median * 1e3, help_best * 1e3,
                                             help_cpu[0] * 1e3, help_cpu[1] * 1e3,
                                             true_median * 1e3, true_best * 1e3))

        standard = os.path.join(tempfile.gettempdir(), "travik-standard-job.txt")
        for jobs in (1, 2):
            work_median, work_best, work_cpu_median, work_cpu_best = in_process_ms(jobs)
            run_median, run_best = wall([CLI, "spectra", "--dt", "0.01", "--damping", DAMPINGS,
                                         "--jobs", str(jobs), "--out", out, standard], 31)
            run_cpu = cpu()
            print("standard job, --jobs %d: command line %.2f ms median, %.2f ms best; "
                  "read+compute+write in process %.2f / %.2f ms; outside them %.2f ms median, "
                  "%.2f ms best" % (jobs, run_median * 1e3, run_best * 1e3, work_median,
                                    work_best, run_median * 1e3 - work_median,
                                    run_best * 1e3 - work_best))
            if jobs == 1:
                # One thread: the processor times compare exactly, whatever the load.
                print("    processor time: command line %.2f ms median, %.2f ms best; in process"
                      " %.2f / %.2f ms; outside them %.2f ms median, %.2f ms best"
                      % (run_cpu[0] * 1e3, run_cpu[1] * 1e3, work_cpu_median, work_cpu_best,
                         run_cpu[0] * 1e3 - work_cpu_median, run_cpu[1] * 1e3 - work_cpu_best))

        million = os.path.join(folder, "million.txt")
        record(million, 1000000)
        print("peak memory, 10^6 samples, default options: %.1f MiB"
              % (peak_memory_kib([CLI, "spectra", "--dt", "0.005", "--out", out, million])
                 / 1024))
        nine = [CLI, "spectra", "--dt", "0.005", "--damping", "0,2,3,5,7,10,15,20,30",
                "--out", out, million]
        nine_median, nine_best = wall(nine, 5)
        nine_cpu = cpu()
        print("nine damping values, 10^6 samples at 0.005 s, every core: %.2f s median, "
              "%.2f s best (processor %.2f s median)" % (nine_median, nine_best, nine_cpu[0]))

        batch = os.path.join(folder, "batch")
        os.mkdir(batch)
        files = []
        for k in range(200):
            files.append(os.path.join(batch, "record%03d.txt" % k))
            record(files[-1], 16000, seed=k + 1)
        results = {}
        for jobs in (1, 2):
            results[jobs] = wall([CLI, "spectra", "--dt", "0.01", "--damping", DAMPINGS,
                                  "--jobs", str(jobs), "--out", out] + files, 3)
            print("200 records of 16,000 samples, --jobs %d: %.2f s median, %.2f s best "
                  "(processor %.2f s median)" % (jobs, results[jobs][0], results[jobs][1],
                                                 cpu()[0]))
        print("--jobs 2 throughput / --jobs 1: %.2f (medians), %.2f (bests)"
              % (results[1][0] / results[2][0], results[1][1] / results[2][1]))
    finally:
        shutil.rmtree(folder)


if __name__ == "__main__":
    main()
