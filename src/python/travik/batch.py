"""Response spectra (and ground-motion measures) of every record file under a folder, on
a Dask distributed cluster.

    python3 -m travik.batch SOURCE_DIR OUT.csv [--scheduler ADDRESS] [--workers N] ...

Without --scheduler a LocalCluster of --workers single-threaded processes starts on this
machine; with an address the cluster there does the work. Each task reads one file,
analyses its records one by one and returns only their table rows, so a worker holds one
file's samples at a time. Rows are written in the order of the files. Files that fail are
listed in <OUT stem>_failed.csv (file,message) and never stop the batch.

Exit status: 0 when every file was read, 1 when some failed, 2 for a bad option.
"""

from __future__ import annotations

import argparse
import csv
import os
import sys
import threading
from dataclasses import dataclass, field

import travik

EXIT_OK, EXIT_SOME_FAILED, EXIT_BAD_OPTION = 0, 1, 2
# Files handed to the cluster at once; the rows of one file are about 0.2 MB per damping
# value over the default periods, and are taken as soon as the files before are written.
_CHUNK_FILES = 1000


@dataclass
class Analysis:
    """The reading and analysis options of one batch, checked."""

    read: dict = field(default_factory=dict)
    baseline: str = "none"
    filter: str | None = None
    corners: list[float] | None = None
    order: int = 4
    acausal: bool = False
    spectra: dict = field(default_factory=dict)
    measures: bool = False


class BadOption(Exception):
    pass


def _numbers(text: str, option: str) -> list[float]:
    try:
        return [float(part) for part in text.split(",")]
    except ValueError:
        raise BadOption(f"{option}: {text!r} is not a list of numbers separated by commas")


def _parser() -> argparse.ArgumentParser:
    p = argparse.ArgumentParser(
        prog="python3 -m travik.batch",
        description="Response spectra of every record file under SOURCE_DIR on Dask.",
    )
    p.add_argument("source", metavar="SOURCE_DIR")
    p.add_argument("out", metavar="OUT.csv")
    p.add_argument("--scheduler", help="address of a running Dask scheduler")
    p.add_argument("--workers", type=int, default=os.cpu_count() or 1,
                   help="worker processes of the local cluster (default: one per core)")
    p.add_argument("--format", default="auto",
                   help="auto, free, peer, csmip, smc, knet or cosmos (default: auto)")
    p.add_argument("--dt", type=float, help="time step in s of free-format files")
    p.add_argument("--scale", type=float, default=1.0, help="scaling factor (free format)")
    p.add_argument("--skip", type=int, default=0, help="header lines to skip (free format)")
    p.add_argument("--delimiter", default="comma", choices=["comma", "space"])
    p.add_argument("--column", type=int, default=1, help="acceleration column (free format)")
    p.add_argument("--baseline", default="none", choices=["none", "linear", "parabolic"])
    p.add_argument("--filter", default="none",
                   choices=["none", "lowpass", "highpass", "bandpass"])
    p.add_argument("--corners", help="filter corners in Hz: F or F1,F2")
    p.add_argument("--order", type=int, default=4, help="filter order per corner, 1 to 8")
    p.add_argument("--acausal", action="store_true", help="zero-phase (two-pass) filter")
    p.add_argument("--g", type=float, default=980.0, help="g in cm/sec^2")
    p.add_argument("--damping", default=f"{travik.DEFAULT_DAMPING_PERCENT:g}",
                   help="one to nine damping values in percent, separated by commas")
    p.add_argument("--periods", help="periods in s, ascending, separated by commas; "
                   "replaces the range and step")
    p.add_argument("--min-period", type=float, default=0.02)
    p.add_argument("--max-period", type=float, default=6.0)
    p.add_argument("--period-step", type=float, default=0.02)
    p.add_argument("--method", default="exact", choices=["exact", "newmark"])
    p.add_argument("--max-dt-ratio", type=float, default=0.02)
    p.add_argument("--beta", type=float, default=0.25)
    p.add_argument("--gamma", type=float, default=0.5)
    p.add_argument("--measures", action="store_true",
                   help="also write <OUT stem>_measures.csv, every ground-motion measure")
    return p


def _analysis(args: argparse.Namespace) -> Analysis:
    """The options checked as the command line checks them (raises BadOption)."""
    damping = sorted(set(d / 100.0 for d in _numbers(args.damping, "--damping")))
    if not 1 <= len(damping) <= travik.MAX_DAMPING_VALUES:
        raise BadOption("--damping takes one to nine percentages separated by commas")
    try:
        if args.periods:
            periods = _numbers(args.periods, "--periods")
        else:
            periods = travik.period_list(args.min_period, args.max_period, args.period_step)
        spectra = dict(periods=periods, damping=damping, method=args.method,
                       max_dt_ratio=args.max_dt_ratio, g=args.g, beta=args.beta,
                       gamma=args.gamma, threads=1)
        # One tiny analysis checks every setting with the core's own messages.
        travik.spectra([0.0, 0.0], 0.01, **spectra)
    except ValueError as error:
        raise BadOption(str(error))
    corners = _numbers(args.corners, "--corners") if args.corners else None
    if args.filter != "none" and corners is None:
        raise BadOption("--filter needs --corners")
    if args.workers < 1:
        raise BadOption("--workers must be 1 or more")
    read = dict(format=args.format, dt=args.dt, scale=args.scale, skip=args.skip,
                delimiter=args.delimiter, column=args.column, g=args.g,
                # --dt reads free-format files; named formats keep their headers' step
                # unless one of them is chosen by name.
                replace_header_dt=args.format not in ("auto", "free"))
    return Analysis(read=read, baseline=args.baseline,
                    filter=None if args.filter == "none" else args.filter,
                    corners=corners, order=args.order, acausal=args.acausal,
                    spectra=spectra, measures=args.measures)


def analyse_file(path: str, name: str, analysis: Analysis):
    """One file on a worker: (spectra rows, measures rows, None), or (None, None, message)."""
    try:
        rows, measure_rows = [], []
        for record in travik.read(path, **analysis.read):
            if analysis.baseline != "none" or analysis.filter:
                record = record.corrected(analysis.baseline, analysis.filter,
                                          analysis.corners, analysis.order, analysis.acausal)
            spectra = travik.spectra(record.acceleration, record.dt, **analysis.spectra)
            rows.append(travik._travik._spectra_table_rows(name, record.channel, spectra))
            if analysis.measures:
                measure_rows.append(travik._travik._measures_table_row(
                    name, record.channel, record.acceleration, record.dt, analysis.read["g"]) + "\n")
            del record, spectra
        return "".join(rows), "".join(measure_rows), None
    except Exception as error:  # a fault of one file never stops the batch
        return None, None, str(error) or type(error).__name__


def record_files(source: str) -> list[tuple[str, str]]:
    """Every regular file under the folder, sorted: (path, name relative to the folder)."""
    found = []
    for folder, folders, files in os.walk(source):
        folders.sort()
        for file in sorted(files):
            path = os.path.join(folder, file)
            if os.path.isfile(path):
                found.append((path, os.path.relpath(path, source)))
    return found


def _client(args):
    from distributed import Client, LocalCluster

    if args.scheduler:
        return Client(args.scheduler), None
    cluster = LocalCluster(n_workers=args.workers, threads_per_worker=1, processes=True,
                           host="127.0.0.1", dashboard_address=None)
    return Client(cluster), cluster


def _show_progress(futures) -> threading.Thread:
    from distributed import progress

    bar = threading.Thread(target=progress, args=(futures,), daemon=True)
    bar.start()
    return bar


def run(args, analysis: Analysis, out, measures_out, failed_writer) -> int:
    files = record_files(args.source)
    client, cluster = _client(args)
    failures = 0
    try:
        # The files go to the cluster a chunk at a time, each chunk with its own progress
        # bar; results are taken in the order of the files as they come and released at
        # once, so a worker holds one file's samples and a few tables at a time.
        for first in range(0, len(files), _CHUNK_FILES):
            chunk = files[first:first + _CHUNK_FILES]
            futures = client.map(analyse_file, [path for path, _ in chunk],
                                 [name for _, name in chunk], analysis=analysis, pure=False)
            bar = _show_progress(list(futures))
            for index, (_, name) in enumerate(chunk):
                rows, measure_rows, message = futures[index].result()
                futures[index] = None  # released on the worker
                if message is not None:
                    failures += 1
                    failed_writer.writerow([name, message])
                    continue
                out.write(rows)
                if measures_out is not None:
                    measures_out.write(measure_rows)
            bar.join(timeout=5.0)
        print(f"\n{len(files) - failures} of {len(files)} files analysed", file=sys.stderr)
        return EXIT_SOME_FAILED if failures else EXIT_OK
    finally:
        client.close()
        if cluster is not None:
            cluster.close()


def main(argv=None) -> int:
    args = _parser().parse_args(argv)
    try:
        analysis = _analysis(args)
        if not os.path.isdir(args.source):
            raise BadOption(f"SOURCE_DIR: \"{args.source}\" is not a folder")
    except BadOption as error:
        print(error, file=sys.stderr)
        return EXIT_BAD_OPTION
    stem = os.path.splitext(args.out)[0]
    measures_path = stem + "_measures.csv" if analysis.measures else None
    with open(args.out, "w", encoding="utf-8", newline="") as out, \
            open(stem + "_failed.csv", "w", encoding="utf-8", newline="") as failed:
        out.write(travik._travik._spectra_table_heading() + "\n")
        failed_writer = csv.writer(failed, lineterminator="\n")
        failed_writer.writerow(["file", "message"])
        measures_out = open(measures_path, "w", encoding="utf-8") if measures_path else None
        try:
            if measures_out is not None:
                measures_out.write(travik._travik._measures_table_heading() + "\n")
            return run(args, analysis, out, measures_out, failed_writer)
        finally:
            if measures_out is not None:
                measures_out.close()


if __name__ == "__main__":
    sys.exit(main())
