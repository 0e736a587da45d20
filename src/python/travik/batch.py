"""Response spectra (and ground-motion measures) of every record file under a folder, on
a Dask distributed cluster.

    python3 -m travik.batch SOURCE_DIR OUT.csv [--scheduler ADDRESS] [--workers N] ...

Without --scheduler a LocalCluster of --workers single-threaded processes starts on this
machine; with an address the cluster there does the work. Each task reads a few files one
after another and analyses their records one by one, so a worker holds one file's samples at
a time. The workers read the records by their paths, so they share the file system of
SOURCE_DIR: where they also see the folder of OUT.csv they write their rows into a scratch
folder beside it and answer with the file's name only (the rows of one file are about 0.2 MB
per damping value over the default periods, too much to pass through the scheduler cheaply);
a worker that does not see that folder sends its rows in its answer. Rows are written in the
order of the files. Files that fail are listed in <OUT stem>_failed.csv (file,message) and
never stop the batch.

With --pairs the files are read as two-component motions, as `travik-cli rotd` pairs them
(a file of several channels gives its two horizontals; files of one channel go two by two in
the sorted order), and the table holds RotD00/50/100, the RotD100 angle, GMRotI50 and the
PSa of H1 and H2 per motion, damping value and period.

Exit status: 0 when every file was read, 1 when some failed, 2 for a bad option.
"""

from __future__ import annotations

import argparse
import csv
import os
import secrets
import shutil
import sys
import tempfile
import threading
import warnings
from dataclasses import dataclass, field

import travik

EXIT_OK, EXIT_SOME_FAILED, EXIT_BAD_OPTION = 0, 1, 2
# Files handed to the cluster at once, each chunk with its own progress bar.
_CHUNK_FILES = 8192
# Most files one task analyses: a task costs the scheduler and the worker a few milliseconds
# whatever it does, about what a record of 16,000 samples costs at five damping values.
_MOST_FILES_PER_TASK = 16
# Tasks per worker at least, so that the workers finish together.
_TASKS_PER_WORKER = 4


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
    pairs: bool = False


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
    p.add_argument("--pairs", action="store_true",
                   help="two horizontal components as one motion: RotD50/RotD100 table")
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
    if args.pairs and args.measures:
        raise BadOption("--measures is for single components: leave it out with --pairs")
    read = dict(format=args.format, dt=args.dt, scale=args.scale, skip=args.skip,
                delimiter=args.delimiter, column=args.column, g=args.g,
                # --dt reads free-format files; named formats keep their headers' step
                # unless one of them is chosen by name.
                replace_header_dt=args.format not in ("auto", "free"))
    return Analysis(read=read, baseline=args.baseline,
                    filter=None if args.filter == "none" else args.filter,
                    corners=corners, order=args.order, acausal=args.acausal,
                    spectra=spectra, measures=args.measures, pairs=args.pairs)


def _prepared(path: str, analysis: Analysis) -> list:
    """The records of a file, corrected and filtered as the options say."""
    records = travik.read(path, **analysis.read)
    if analysis.baseline != "none" or analysis.filter:
        records = [record.corrected(analysis.baseline, analysis.filter, analysis.corners,
                                    analysis.order, analysis.acausal) for record in records]
    return records


def analyse_file(path: str, name: str, analysis: Analysis):
    """One file on a worker: (spectra rows, measures rows, None), or (None, None, message)."""
    try:
        rows, measure_rows = [], []
        for record in _prepared(path, analysis):
            spectra = travik.spectra(record.acceleration, record.dt, **analysis.spectra)
            rows.append(travik._travik._spectra_table_rows(name, record.channel, spectra))
            if analysis.measures:
                measure_rows.append(travik._travik._measures_table_row(
                    name, record.channel, record.acceleration, record.dt, analysis.read["g"]) + "\n")
            del record, spectra
        return "".join(rows), "".join(measure_rows), None
    except Exception as error:  # a fault of one file never stops the batch
        return None, None, str(error) or type(error).__name__


@dataclass(frozen=True)
class Spool:
    """A scratch folder beside the output, known to a worker by the secret written in it, so
    that a worker on another machine never takes a folder of the same name for it."""

    folder: str
    secret: str

    @staticmethod
    def beside(out: str) -> "Spool":
        folder = tempfile.mkdtemp(prefix=".travik-batch-",
                                  dir=os.path.dirname(os.path.abspath(out)))
        spool = Spool(folder, secrets.token_hex(16))
        with open(os.path.join(folder, "secret"), "w", encoding="ascii") as file:
            file.write(spool.secret)
        return spool

    def seen(self) -> bool:
        try:
            with open(os.path.join(self.folder, "secret"), encoding="ascii") as file:
                return file.read() == self.secret
        except OSError:
            return False

    def remove(self) -> None:
        shutil.rmtree(self.folder, ignore_errors=True)


@dataclass
class TaskTables:
    """What one task of several files answers: each file's fault (None when analysed), and
    the rows of the files analysed, in order, as text or as the spool file that holds it."""

    messages: list
    rows: str = ""
    measure_rows: str = ""
    rows_file: str | None = None
    measures_file: str | None = None


def _spooled(tables: TaskTables, spool: Spool | None, part: int) -> TaskTables:
    """The task's rows moved into the spool when this worker sees it; kept in the answer
    when it does not, or when the folder refuses them (a full disk, say)."""
    if spool is None or not spool.seen():
        return tables
    written = []
    try:
        for kind, text in (("rows", tables.rows), ("measures", tables.measure_rows)):
            path = os.path.join(spool.folder, f"{part:09d}-{kind}.csv")
            with open(path, "w", encoding="utf-8", newline="") as file:
                file.write(text)
            written.append(path)
    except OSError:
        for path in written:
            os.remove(path)
        return tables
    return TaskTables(tables.messages, rows_file=written[0], measures_file=written[1])


def analyse_files(paths: list[str], names: list[str], part: int, analysis: Analysis,
                  spool: Spool | None = None) -> TaskTables:
    """Several files on a worker, one after another, in order; `part` names the task's files
    in the spool (the index of its first file)."""
    tables = TaskTables(messages=[])
    rows, measure_rows = [], []
    for path, name in zip(paths, names):
        file_rows, file_measure_rows, message = analyse_file(path, name, analysis)
        tables.messages.append(message)
        if message is None:
            rows.append(file_rows)
            measure_rows.append(file_measure_rows)
    tables.rows, tables.measure_rows = "".join(rows), "".join(measure_rows)
    return _spooled(tables, spool, part)


def files_per_task(files: int, workers: int) -> int:
    """Files a task takes: enough that a task's own cost is small beside its work, few enough
    that every worker has several tasks and they finish together."""
    return max(1, min(_MOST_FILES_PER_TASK, files // (max(1, workers) * _TASKS_PER_WORKER)))


def _copy_into(path: str | None, text: str, out) -> None:
    if path is None:
        out.write(text)
        return
    with open(path, encoding="utf-8", newline="") as part:
        shutil.copyfileobj(part, out, 1 << 20)
    os.remove(path)


def count_records(path: str, analysis: Analysis):
    """How many records (channels) a file holds: (count, None), or (None, message)."""
    try:
        return len(travik.read(path, **analysis.read)), None
    except Exception as error:
        return None, str(error) or type(error).__name__


def analyse_motion(paths: list[str], names: list[str], analysis: Analysis):
    """One motion on a worker (a file of several channels, or two single-channel files):
    (rows, None), or (None, message)."""
    try:
        files = [(name, _prepared(path, analysis)) for path, name in zip(paths, names)]
        motions, unpaired = travik.pair_components(files)
        if unpaired is not None:
            return None, unpaired
        rows = []
        for motion in motions:
            if motion["refusal"] is not None:
                return None, motion["refusal"]
            h1, h2 = motion["h1"], motion["h2"]
            with warnings.catch_warnings():
                warnings.simplefilter("ignore")  # the pairing has said it in its warnings
                rotd = travik.rotd(h1.acceleration, h2.acceleration, h1.dt, **analysis.spectra)
            second = names[-1] if len(names) > 1 else names[0]
            rows.append(travik._travik._rotd_table_rows(names[0], h1.channel, second,
                                                        h2.channel, rotd))
        return "".join(rows), None
    except Exception as error:  # a fault of one motion never stops the batch
        return None, str(error) or type(error).__name__


def motion_groups(files, counts):
    """The files grouped into motions in order: [(indexes, None)] for a motion, or
    ([index], message) for a file that cannot join one."""
    groups, waiting = [], None
    for index, (count, message) in enumerate(counts):
        if message is not None:
            groups.append(([index], message))
        elif count > 1:
            groups.append(([index], None))
        elif waiting is None:
            waiting = index
        else:
            groups.append(([waiting, index], None))
            waiting = None
    if waiting is not None:
        groups.append(([waiting], "An odd number of single-component files: "
                       f"{files[waiting][1]} has no second horizontal component"))
    groups.sort(key=lambda group: group[0][0])
    return groups


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
    if sys.platform.startswith("linux"):
        # Workers forked from this process find travik, numpy and Dask already imported: the
        # cluster is up in about half a second instead of two, which on a short batch is a
        # good share of the whole. (Elsewhere forking a process with threads is unsafe.)
        import dask

        dask.config.set({"distributed.worker.multiprocessing-method": "fork"})
    cluster = LocalCluster(n_workers=args.workers, threads_per_worker=1, processes=True,
                           host="127.0.0.1", dashboard_address=None)
    return Client(cluster), cluster


def _show_progress(futures) -> threading.Thread:
    from distributed import progress

    bar = threading.Thread(target=progress, args=(futures,), daemon=True)
    bar.start()
    return bar


def run_pairs(client, files, analysis: Analysis, out, failed_writer) -> int:
    """The two-component batch: a first pass counts each file's channels (so that single
    files can be paired in order), the second computes every motion's rotated spectra."""
    futures = client.map(count_records, [path for path, _ in files], analysis=analysis,
                         pure=False)
    counts = client.gather(futures)
    del futures
    groups = motion_groups(files, counts)
    failures, motions = 0, 0
    for first in range(0, len(groups), _CHUNK_FILES):
        chunk = groups[first:first + _CHUNK_FILES]
        work = [(i, group) for i, group in enumerate(chunk) if group[1] is None]
        futures = client.map(analyse_motion,
                             [[files[f][0] for f in group[0]] for _, group in work],
                             [[files[f][1] for f in group[0]] for _, group in work],
                             analysis=analysis, pure=False)
        bar = _show_progress(list(futures)) if futures else None
        results = dict(zip((i for i, _ in work), futures))
        for i, (indexes, message) in enumerate(chunk):
            if message is None:
                rows, message = results.pop(i).result()
            if message is not None:
                failures += len(indexes)
                for index in indexes:
                    failed_writer.writerow([files[index][1], message])
                continue
            motions += 1
            out.write(rows)
        if bar is not None:
            bar.join(timeout=5.0)
    print(f"\n{motions} motions analysed; {failures} of {len(files)} files failed",
          file=sys.stderr)
    return EXIT_SOME_FAILED if failures else EXIT_OK


def _worker_count(client, args) -> int:
    if not args.scheduler:
        return args.workers
    return max(1, sum(client.nthreads().values()))


def run_files(client, files, analysis: Analysis, out, measures_out, failed_writer,
              workers: int) -> int:
    """The one-component batch: tasks of a few files each, answers taken in the order of the
    files as they come and released at once."""
    failures = 0
    spool = Spool.beside(out.name)
    try:
        for first in range(0, len(files), _CHUNK_FILES):
            chunk = files[first:first + _CHUNK_FILES]
            size = files_per_task(len(chunk), workers)
            groups = [chunk[i:i + size] for i in range(0, len(chunk), size)]
            futures = client.map(analyse_files, [[path for path, _ in g] for g in groups],
                                 [[name for _, name in g] for g in groups],
                                 range(first, first + len(chunk), size), analysis=analysis,
                                 spool=spool, pure=False)
            bar = _show_progress(list(futures))
            for index, group in enumerate(groups):
                tables = futures[index].result()
                futures[index] = None  # released on the cluster
                for (_, name), message in zip(group, tables.messages):
                    if message is not None:
                        failures += 1
                        failed_writer.writerow([name, message])
                _copy_into(tables.rows_file, tables.rows, out)
                if measures_out is not None:
                    _copy_into(tables.measures_file, tables.measure_rows, measures_out)
                elif tables.measures_file is not None:
                    os.remove(tables.measures_file)
            bar.join(timeout=5.0)
    finally:
        spool.remove()
    print(f"\n{len(files) - failures} of {len(files)} files analysed", file=sys.stderr)
    return EXIT_SOME_FAILED if failures else EXIT_OK


def run(args, analysis: Analysis, out, measures_out, failed_writer) -> int:
    files = record_files(args.source)
    client, cluster = _client(args)
    try:
        if analysis.pairs:
            return run_pairs(client, files, analysis, out, failed_writer)
        return run_files(client, files, analysis, out, measures_out, failed_writer,
                         _worker_count(client, args))
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
        folder = os.path.dirname(os.path.abspath(args.out))
        if not os.path.isdir(folder):
            raise BadOption(f"OUT.csv: the folder \"{folder}\" does not exist")
    except BadOption as error:
        print(error, file=sys.stderr)
        return EXIT_BAD_OPTION
    stem = os.path.splitext(args.out)[0]
    measures_path = stem + "_measures.csv" if analysis.measures else None
    with open(args.out, "w", encoding="utf-8", newline="") as out, \
            open(stem + "_failed.csv", "w", encoding="utf-8", newline="") as failed:
        heading = (travik._travik._rotd_table_heading() if analysis.pairs
                   else travik._travik._spectra_table_heading())
        out.write(heading + "\n")
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
