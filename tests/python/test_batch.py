import csv
import shutil
import subprocess
import sys

import numpy as np
import pytest

import travik
from travik import batch

FILES = {"elcentro-1940-chopra-ns.txt": 0.02, "boore-whittier-cat-090.txt": 0.02}


@pytest.fixture(scope="module")
def source(data, tmp_path_factory):
    folder = tmp_path_factory.mktemp("records")
    (folder / "deeper").mkdir()
    shutil.copy(data / "elcentro-1940-chopra-ns.txt", folder)
    shutil.copy(data / "boore-whittier-cat-090.txt", folder / "deeper")
    (folder / "broken.txt").write_text("0.1\n0.2\nnot a number\n")
    return folder


def run_batch(source, out, *options):
    return subprocess.run([sys.executable, "-m", "travik.batch", str(source), str(out),
                           "--workers", "2", "--dt", "0.02", *options],
                          capture_output=True, text=True, timeout=300)


def test_batch_on_a_local_cluster_equals_the_command_line(cli, source, tmp_path):
    out = tmp_path / "spectra.csv"
    done = run_batch(source, out, "--damping", "5,10", "--measures")
    assert done.returncode == 1, done.stderr  # one file fails
    with open(out) as table:
        rows = list(csv.DictReader(table))
    assert list(rows[0].keys()) == ["record", "channel", "damping_percent", "period_s", "Sd_cm",
                                    "Sv_cm_s", "Sa_g", "PSv_cm_s", "PSa_g"]
    names = sorted({row["record"] for row in rows})
    assert names == ["deeper/boore-whittier-cat-090.txt", "elcentro-1940-chopra-ns.txt"]
    for name in names:
        file = source / name
        subprocess.run([cli, "spectra", "--dt", "0.02", "--damping", "5,10", "--quiet",
                        "--out", str(tmp_path), str(file)], check=True, capture_output=True)
        lines = (tmp_path / (file.stem + "_RS.csv")).read_text().splitlines()
        start = next(i for i, line in enumerate(lines) if line.startswith("Period[sec]")) + 2
        report = np.array([[float(v) for v in line.rstrip(",").split(",")]
                           for line in lines[start:]])
        mine = [row for row in rows if row["record"] == name]
        assert len(mine) == 2 * len(report)
        for row in mine:
            d = 0 if row["damping_percent"] == "5" else 1
            k = int(round(float(row["period_s"]) / 0.02)) - 1
            shown = report[k]
            assert abs(shown[0] - float(row["period_s"])) < 5e-7
            for kind, column in enumerate(["Sd_cm", "Sv_cm_s", "Sa_g", "PSv_cm_s", "PSa_g"]):
                assert abs(shown[1 + 2 * kind + d] - float(row[column])) <= 5e-7 + 1e-12
    with open(tmp_path / "spectra_failed.csv") as failed:
        listed = list(csv.reader(failed))
    assert listed[0] == ["file", "message"]
    assert listed[1][0] == "broken.txt" and "not a number" in listed[1][1]
    with open(tmp_path / "spectra_measures.csv") as measures:
        table = list(csv.DictReader(measures))
    assert "PGA (g)" in table[0] and len(table) == 2
    elcentro = next(row for row in table if row["record"] == "elcentro-1940-chopra-ns.txt")
    assert float(elcentro["PGA (g)"]) == pytest.approx(0.31882, abs=1e-12)


def test_a_bad_option_exits_with_2_and_writes_nothing(source, tmp_path):
    out = tmp_path / "x.csv"
    done = run_batch(source, out, "--damping", "100")
    assert done.returncode == 2
    assert "Damping Ratio must be less than 1!" in done.stderr
    assert not out.exists()


def test_every_file_read_exits_with_0(data, tmp_path):
    folder = tmp_path / "good"
    folder.mkdir()
    shutil.copy(data / "elcentro-1940-chopra-ns.txt", folder)
    out = tmp_path / "ok.csv"
    done = run_batch(folder, out)
    assert done.returncode == 0, done.stderr
    assert (tmp_path / "ok_failed.csv").read_text() == "file,message\n"


def test_a_record_analysed_in_a_task_equals_the_module_to_the_last_digit(data):
    analysis = batch._analysis(batch._parser().parse_args(["x", "y", "--dt", "0.02"]))
    rows, _, message = batch.analyse_file(str(data / "elcentro-1940-chopra-ns.txt"), "e", analysis)
    assert message is None
    record = travik.read(str(data / "elcentro-1940-chopra-ns.txt"), dt=0.02)[0]
    s = travik.spectra(record.acceleration, 0.02, travik.period_list())
    first = rows.splitlines()[0].split(",")
    assert float(first[4]) == s.sd[0, 0] and float(first[8]) == s.psa[0, 0]


def test_a_file_of_three_channels_gives_one_measures_line_each(data):
    analysis = batch._analysis(batch._parser().parse_args(["x", "y", "--measures"]))
    rows, measure_rows, message = batch.analyse_file(
        str(data / "formats" / "csmip" / "CE36456.V2"), "c", analysis)
    assert message is None
    lines = measure_rows.splitlines()
    assert [line.split(",")[1] for line in lines] == ["1 (90 DEG)", "2 (UP)", "3 (0 DEG)"]
    assert len(lines[0].split(",")) == len(travik._travik._measures_table_heading().split(","))
