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
    done = run_batch(source, tmp_path / "missing" / "x.csv")
    assert done.returncode == 2
    assert f'the folder "{tmp_path / "missing"}" does not exist' in done.stderr
    assert "Traceback" not in done.stderr


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


@pytest.fixture(scope="module")
def pairs_source(data, tmp_path_factory):
    folder = tmp_path_factory.mktemp("pairs")
    formats = data / "formats"
    shutil.copy(formats / "csmip" / "CIWLT.V2", folder)  # three channels: one motion
    for name in ["RSN6_IMPVALL.I_I-ELC180-hor1.AT2", "RSN6_IMPVALL.I_I-ELC270-hor2.AT2"]:
        shutil.copy(formats / "peer" / name, folder)  # two single components: one motion
    shutil.copy(formats / "peer" / "RSN8883_14383980_13849090.AT2", folder / "zz-lonely.AT2")
    return folder


def test_pairs_batch_rotates_each_motion_as_the_module_does(pairs_source, tmp_path):
    out = tmp_path / "rotd.csv"
    done = subprocess.run([sys.executable, "-m", "travik.batch", str(pairs_source), str(out),
                           "--workers", "2", "--pairs", "--periods", "0.2,1.0",
                           "--damping", "5"], capture_output=True, text=True, timeout=300)
    assert done.returncode == 1, done.stderr  # the last single file has no partner
    with open(out) as table:
        rows = list(csv.DictReader(table))
    assert list(rows[0].keys()) == [
        "h1_record", "h1_channel", "h2_record", "h2_channel", "damping_percent", "period_s",
        "RotD00_g", "RotD50_g", "RotD100_g", "RotD100_angle_deg", "GMRotI50_g", "H1_PSa_g",
        "H2_PSa_g"]
    assert [(row["h1_record"], row["h2_record"]) for row in rows] == [
        ("CIWLT.V2", "CIWLT.V2")] * 2 + [
        ("RSN6_IMPVALL.I_I-ELC180-hor1.AT2", "RSN6_IMPVALL.I_I-ELC270-hor2.AT2")] * 2

    elc = [travik.read(str(pairs_source / name))[0] for name in
           ["RSN6_IMPVALL.I_I-ELC180-hor1.AT2", "RSN6_IMPVALL.I_I-ELC270-hor2.AT2"]]
    with pytest.warns(UserWarning, match="both are cut to the shorter"):
        expected = travik.rotd(elc[0].acceleration, elc[1].acceleration, elc[0].dt, [0.2, 1.0])
    for k, row in enumerate(rows[2:]):
        assert float(row["period_s"]) == [0.2, 1.0][k]
        assert float(row["RotD50_g"]) == expected.rotd50[0, k]
        assert float(row["RotD100_g"]) == expected.rotd100[0, k]
        assert int(row["RotD100_angle_deg"]) == expected.rotd100_angle[0, k]
        assert float(row["H2_PSa_g"]) == expected.h2[0, k]

    channels = travik.read(str(pairs_source / "CIWLT.V2"))
    motions, unpaired = travik.pair_components([("CIWLT.V2", channels)])
    assert unpaired is None and len(motions) == 1
    assert (rows[0]["h1_channel"], rows[0]["h2_channel"]) == (motions[0]["h1"].channel,
                                                              motions[0]["h2"].channel)
    with open(tmp_path / "rotd_failed.csv") as failed:
        listed = list(csv.reader(failed))
    assert listed[1][0] == "zz-lonely.AT2"
    assert "has no second horizontal component" in listed[1][1]


def test_tasks_of_several_files_keep_the_file_order_and_leave_no_scratch_folder(tmp_path):
    folder = tmp_path / "many"
    folder.mkdir()
    rng = np.random.default_rng(7)
    expected = {}
    for i in range(40):
        name = f"r{i:02d}.txt"
        if i == 17:
            (folder / name).write_text("0.01\nbroken\n")
            continue
        acc = 0.1 * rng.normal(size=300)
        np.savetxt(folder / name, acc, fmt="%.6f")
        expected[name] = travik.spectra(np.loadtxt(folder / name), 0.01, [0.1, 0.5]).sd[0]
    assert batch.files_per_task(40, 2) > 1  # so that tasks really hold several files
    out = tmp_path / "out" / "many.csv"
    out.parent.mkdir()
    done = run_batch(folder, out, "--dt", "0.01", "--periods", "0.1,0.5")
    assert done.returncode == 1, done.stderr
    with open(out) as table:
        rows = list(csv.DictReader(table))
    assert [row["record"] for row in rows[::2]] == sorted(expected)
    for row in rows:
        k = 0 if row["period_s"] == "0.1" else 1
        assert float(row["Sd_cm"]) == expected[row["record"]][k]
    failed = (out.parent / "many_failed.csv").read_text().splitlines()
    assert failed[1].startswith("r17.txt,")
    assert sorted(p.name for p in out.parent.iterdir()) == ["many.csv", "many_failed.csv"]


def test_a_worker_that_does_not_see_the_scratch_folder_sends_its_rows(data, tmp_path):
    analysis = batch._analysis(batch._parser().parse_args(["x", "y", "--dt", "0.02",
                                                           "--measures"]))
    paths = [str(data / "elcentro-1940-chopra-ns.txt"), str(tmp_path / "missing.txt"),
             str(data / "boore-whittier-cat-090.txt")]
    spool = batch.Spool.beside(str(tmp_path / "out.csv"))
    try:
        seen = batch.analyse_files(paths, ["e", "m", "b"], 3, analysis, spool)
        elsewhere = batch.analyse_files(paths, ["e", "m", "b"], 4, analysis,
                                        batch.Spool(spool.folder, "another secret"))
        with open(seen.rows_file) as rows, open(seen.measures_file) as measure_rows:
            spooled = rows.read(), measure_rows.read()
    finally:
        spool.remove()
    assert seen.messages[0] is None and seen.messages[2] is None and seen.messages[1]
    assert elsewhere.messages == seen.messages
    assert seen.rows == "" and elsewhere.rows_file is None
    alone = [batch.analyse_file(path, name, analysis) for path, name in
             [(paths[0], "e"), (paths[2], "b")]]
    assert spooled == (elsewhere.rows, elsewhere.measure_rows)
    assert elsewhere.rows == alone[0][0] + alone[1][0]
    assert elsewhere.measure_rows == alone[0][1] + alone[1][1]
    assert not (tmp_path / "out.csv").exists() and not list(tmp_path.glob(".travik-batch-*"))
