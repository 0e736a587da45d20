import math
import pathlib
import subprocess
import threading

import numpy as np
import pytest

import travik

RECORD = "elcentro-1940-chopra-ns.txt"
DT = 0.02


def report_rows(cli, tmp_path, record, dt, damping_percent):
    """The rows of `travik-cli spectra`'s report: period, then Sd.. PSa per damping."""
    subprocess.run([cli, "spectra", "--dt", str(dt), "--damping",
                    ",".join(str(d) for d in damping_percent), "--quiet", "--out",
                    str(tmp_path), str(record)], check=True, capture_output=True)
    lines = (tmp_path / (record.stem + "_RS.csv")).read_text().splitlines()
    start = next(i for i, line in enumerate(lines) if line.startswith("Period[sec]"))
    return [[float(v) for v in line.rstrip(",").split(",")] for line in lines[start + 2:]]


def test_spectra_equal_the_command_line_report_to_its_six_decimals(cli, data, tmp_path):
    damping = [5, 10]
    record = travik.read(str(data / RECORD), dt=DT)[0]
    s = travik.spectra(record.acceleration, record.dt, travik.period_list(),
                       [d / 100 for d in damping])
    rows = report_rows(cli, tmp_path, data / RECORD, DT, damping)
    assert len(rows) == len(s.periods) == 300
    for k, row in enumerate(rows):
        assert row[0] == pytest.approx(s.periods[k], abs=5e-7)
        for kind, block in enumerate([s.sd, s.sv, s.sa, s.psv, s.psa]):
            for d in range(len(damping)):
                shown = row[1 + kind * len(damping) + d]
                assert abs(shown - block[d, k]) <= 5e-7 + 1e-12, (k, kind, d)


def test_spectra_equal_the_core_doubles(digits_helper, data):
    out = subprocess.run([digits_helper, str(data / RECORD), str(DT), "5", "20"],
                         check=True, capture_output=True, text=True).stdout
    core = np.array([[float(v) for v in line.split(",")[2:]] for line in out.splitlines()])
    s = travik.spectra(travik.read(str(data / RECORD), dt=DT)[0].acceleration, DT,
                       travik.period_list(), [0.05, 0.20])
    n = len(s.periods)
    assert core.shape == (2 * n, 7)
    for d in range(2):
        part = core[d * n:(d + 1) * n]
        assert np.array_equal(part[:, 0], np.full(n, [5.0, 20.0][d]))
        assert np.array_equal(part[:, 1], np.array(s.periods))
        for kind, block in enumerate([s.sd, s.sv, s.sa, s.psv, s.psa]):
            assert np.allclose(block[d], part[:, 2 + kind], rtol=1e-12, atol=0)


def test_pseudo_spectra_follow_from_sd_by_the_oscillator_frequency():
    # A hand-made pulse; PSv = omega Sd and PSa = omega^2 Sd / g with omega = 6.2831852 / T.
    acc = np.zeros(400)
    acc[10:20] = 0.3
    periods = [0.1, 0.5, 1.0]
    s = travik.spectra(acc, 0.01, periods, [0.02], g=981.0)
    omega = 6.2831852 / np.array(periods)
    assert np.allclose(s.psv[0], omega * s.sd[0], rtol=1e-14)
    assert np.allclose(s.psa[0], omega**2 * s.sd[0] / 981.0, rtol=1e-14)
    # n = trunc(dt / (0.02 T) + 1): 0.01 / 0.002 = 5 -> 6, 1 -> 2, 0.5 -> 1.
    assert list(s.substeps) == [6, 2, 1]


def test_arrays_are_zero_copy_views_of_the_record():
    record = travik.read(str(pathlib.Path(__file__).parents[2] / "data" / RECORD), dt=DT)[0]
    a, b = record.acceleration, record.acceleration
    assert a.ctypes.data == b.ctypes.data and not a.flags.writeable
    assert a.shape == (1560,) and a[0] == 0.0 and a[1] == 0.0063
    # Trapezoidal velocity: v1 = (a0 + a1) / 2 dt g.
    assert record.velocity[1] == pytest.approx((a[0] + a[1]) / 2 * DT * 980.0, rel=1e-12)


@pytest.mark.parametrize("call, message", [
    (lambda: travik.spectra([0.1, 0.2], 0.0, [1.0]), "Time Step must be greater than zero!"),
    (lambda: travik.spectra([0.1, 0.2], 0.01, [1.0], [1.0]), "Damping Ratio must be less than 1!"),
    (lambda: travik.spectra([0.1, 0.2], 0.01, [1.0], g=0.0),
     "Gravitational acceleration must be greater than zero! "),
    (lambda: travik.spectra([0.1, 0.2], 0.01, [1.0, 0.5]), "ascending"),
    (lambda: travik.spectra([0.1, 0.2], 0.01, [1.0], method="wilson"), "exact or newmark"),
    (lambda: travik.read("/nonexistent/x.txt", dt=0.01), "x.txt"),
    (lambda: travik.correct([1.0], 0.01, "linear"), "Base Line Correction Failed!"),
    (lambda: travik.filter(np.zeros(100), 0.01, "lowpass", [60.0]), "Nyquist"),
])
def test_errors_raise_value_error_with_the_core_message(call, message):
    with pytest.raises(ValueError) as error:
        call()
    assert message in str(error.value)


def test_reading_a_text_that_is_no_record_gives_the_reader_message(tmp_path):
    bad = tmp_path / "bad.txt"
    bad.write_text("0.1\nabc\n")
    with pytest.raises(ValueError, match="Line: 2"):
        travik.read(str(bad), dt=0.01)


def test_linear_correction_brings_the_record_to_rest_at_its_end():
    # The linear baseline's integral meets the end velocity, so the corrected record ends
    # at rest (trapezoidal rule), and the peak of the raw record is kept.
    t = np.arange(200) * 0.01
    raw = 0.01 + 0.002 * t + 0.05 * np.sin(7 * t)
    corrected = travik.correct(raw, 0.01, "linear")
    end_velocity = np.sum((corrected[1:] + corrected[:-1]) / 2) * 0.01
    assert abs(end_velocity) < 1e-15
    assert np.max(np.abs(corrected)) == pytest.approx(np.max(np.abs(raw)), rel=1e-12)


def test_filter_keeps_a_tone_in_the_band_and_removes_one_outside():
    t = np.arange(20000) * 0.005
    low, high = np.sin(2 * np.pi * 1.0 * t), np.sin(2 * np.pi * 40.0 * t)
    out = travik.filter(low + high, 0.005, "lowpass", [10.0], order=4, acausal=True)
    middle = slice(5000, 15000)
    assert np.max(np.abs(out[middle] - low[middle])) < 1e-3


def test_measures_carry_units_and_the_peak():
    acc = np.zeros(500)
    acc[100] = -0.25
    m = travik.measures(acc, 0.01)
    assert m["PGA"] == (0.25, "g")
    assert m["Time of PGA"] == (1.0, "s")
    assert m["Arias intensity"][1] == "m/sec"
    # Ia = pi / (2 g) * sum a^2 dt (trapezoid over one spike), a and g in m/s^2.
    expected = math.pi / (2 * 9.8) * (0.25 * 9.8) ** 2 * 0.01
    assert m["Arias intensity"][0] == pytest.approx(expected, rel=1e-12)


def test_fourier_of_a_unit_impulse_is_flat():
    acc = np.zeros(256)
    acc[0] = 1.0
    f = travik.fourier(acc, 0.01, smoothing=0)
    assert f["frequency"][0] == pytest.approx(1 / (256 * 0.01))
    assert np.allclose(f["amplitude"], 0.01 * 980.0, rtol=1e-12)
    assert f["smoothed"].size == 0


def test_python_threads_run_while_the_core_computes():
    acc = np.random.default_rng(1).normal(0, 0.1, 20000)
    results = [None] * 2

    def work(i):
        results[i] = travik.spectra(acc, 0.01, travik.period_list(), threads=1).psa

    threads = [threading.Thread(target=work, args=(i,)) for i in range(2)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert np.array_equal(results[0], results[1])
