#!/usr/bin/env python3
"""End-to-end tests of `travik-cli rotd`: runs the program on record files and checks its
reports against values found without it (PEER's published RotD50 of RSN 8883, closed forms
of a pair of steps computed here with numpy) and its refusals.

Usage: check_rotd.py CLI SAMPLE_DATA TEST_DATA WORK CASE
"""
import csv
import math
import os
import shutil
import subprocess
import sys

import numpy as np

CLI, SAMPLES, TEST_DATA, WORK, CASE = sys.argv[1:6]
HERE = os.path.dirname(os.path.abspath(__file__))
PEER_H1 = os.path.join(SAMPLES, "formats/peer/RSN8883_14383980_13849360.AT2")
PEER_H2 = os.path.join(SAMPLES, "formats/peer/RSN8883_14383980_13849090.AT2")
KNET_EW = os.path.join(SAMPLES, "formats/knet/CHB0031412312349.EW")
KNET_NS = os.path.join(SAMPLES, "formats/knet/CHB0031412312349.NS")
ELC270 = os.path.join(SAMPLES, "formats/peer/RSN6_IMPVALL.I_I-ELC270-hor2.AT2")
CSMIP = os.path.join(SAMPLES, "formats/csmip/CIWLT.V2")
BBP = os.path.join(SAMPLES, "formats/bbp/synthetic-pulse.bbp")
STEP = os.path.join(HERE, "../spectra/input/step.txt")
HALF_STEP = os.path.join(HERE, "input/halfstep.txt")


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def run(*arguments, expected_exit=0):
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    done = subprocess.run([CLI, "rotd", *arguments, "--out", WORK], capture_output=True,
                          text=True)
    if done.returncode != expected_exit:
        fail(f"exit {done.returncode}, expected {expected_exit}\n{done.stdout}\n{done.stderr}")
    return done


def expect_in(text, expected):
    if expected not in text:
        fail(f"expected [{expected}] in [{text}]")


def report(name):
    """The report's lines before the table, and its table as a dict of columns."""
    path = os.path.join(WORK, name)
    if not os.path.exists(path):
        fail(f"no report {name}; found {os.listdir(WORK)}")
    with open(path, newline="") as f:
        lines = f.read().split("\r\n")
    if lines[-1] != "":
        fail("the last line does not end with CR LF")
    header, table = lines[:9], lines[9:-1]
    rows = list(csv.reader(table))
    columns = {title: [row[i] for row in rows[1:]] for i, title in enumerate(rows[0])}
    return header, rows[0], columns


def numbers(column):
    return np.array([float(v) for v in column])


def peer_reference():
    with open(os.path.join(TEST_DATA, "peer-chinohills-rsn8883-spectra.csv")) as f:
        rows = list(csv.DictReader(f))
    return {key: np.array([float(r[key]) for r in rows]) for key in rows[0]}


def case_peer():
    ref = peer_reference()
    periods = ",".join(f"{p:g}" for p in ref["period_s"])
    run("--format", "auto", "--max-dt-ratio", "0.1", "--damping", "2,5", "--periods", periods,
        PEER_H1, PEER_H2)
    header, titles, columns = report("RSN8883_14383980_13849360_RotD.csv")
    expect_in(header[7], "H1 = RSN8883_14383980_13849360.AT2 (azimuth 0 deg); "
                         "H2 = RSN8883_14383980_13849090.AT2 (azimuth 90 deg)")
    if "RotD100 azimuth [deg] (5%)" not in titles:
        fail(f"no azimuth column in {titles}")
    for damping, key in (("5", "rotd50_g_d05"), ("2", "rotd50_g_d02")):
        rotd50 = numbers(columns[f"RotD50 [g] ({damping}%)"])[1:]
        worst = np.max(np.abs(rotd50 / ref[key] - 1))
        print(f"RotD50 at {damping} %: largest relative difference from PEER {worst:.2e}")
        if worst > 3e-4:
            fail(f"RotD50 at {damping} % differs from PEER by {worst:.2e}")
    h1 = numbers(columns["H1 PSa [g] (5%)"])[1:]
    h2 = numbers(columns["H2 PSa [g] (5%)"])[1:]
    if np.max(np.abs(h1 / ref["psa_360_g_d05"] - 1)) > 1e-4 or \
            np.max(np.abs(h2 / ref["psa_090_g_d05"] - 1)) > 1e-4:
        fail("H1 or H2 PSa differ from PEER's")
    # The first row is the period 0 with the rotated peak ground accelerations.
    pga_h1 = float(columns["H1 PSa [g] (5%)"][0])
    if columns["Period [sec]"][0] != "0" or abs(pga_h1 - 0.15980313) > 5e-8:
        fail(f"the period-0 row does not hold H1's PGA: {pga_h1}")


def step_ratios(a, b):
    """Peaks of |a cos(theta) + b sin(theta)| over the whole degrees, for two steps whose
    responses are the same history scaled by a and b."""
    theta = np.radians(np.arange(180))
    peaks = np.abs(a * np.cos(theta) + b * np.sin(theta))
    ordered = np.sort(peaks)
    return ordered[0], (ordered[89] + ordered[90]) / 2, ordered[-1], int(np.argmax(peaks))


def case_steps():
    # Two steps of 0.5 and 0.25 g: every rotated response is the unit step's scaled by
    # |0.5 cos + 0.25 sin|, so each RotDnn is H1 PSa times a ratio of that factor.
    run("--dt", "0.01", "--damping", "5,10", "--periods", "0.05,0.25,1,2.5",
        "--percentiles", "90", STEP, HALF_STEP)
    _, titles, columns = report("step_RotD.csv")
    if any("azimuth" in t for t in titles):
        fail("free-format components have no azimuth column")
    low, median, high, angle = step_ratios(0.5, 0.25)
    ninety = np.percentile(np.abs(0.5 * np.cos(np.radians(np.arange(180))) +
                                  0.25 * np.sin(np.radians(np.arange(180)))), 90)
    for damping in ("5", "10"):
        h1 = numbers(columns[f"H1 PSa [g] ({damping}%)"])
        h2 = numbers(columns[f"H2 PSa [g] ({damping}%)"])
        if np.max(np.abs(h2 / h1 - 0.5)) > 1e-6:
            fail("H2 of the half step is not half of H1")
        for title, ratio in ((f"RotD00 [g] ({damping}%)", low / 0.5),
                             (f"RotD50 [g] ({damping}%)", median / 0.5),
                             (f"RotD100 [g] ({damping}%)", high / 0.5),
                             (f"RotD90 [g] ({damping}%)", ninety / 0.5)):
            got = numbers(columns[title]) / h1
            if np.max(np.abs(got - ratio)) > 2e-6:
                fail(f"{title}: {got} instead of {ratio}")
        angles = [int(v) for v in columns[f"RotD100 angle [deg] ({damping}%)"]]
        if any(a != angle for a in angles):
            fail(f"RotD100 angles {angles}, expected {angle}")
    # The step response at 0.05 s from the spectra command, same digits.
    done = subprocess.run([CLI, "spectra", "--dt", "0.01", "--damping", "5", "--periods",
                           "0.05,0.25,1,2.5", STEP, "--out", WORK], capture_output=True, text=True)
    with open(os.path.join(WORK, "step_RS.csv")) as f:
        rows = [line.rstrip(",\n").split(",") for line in f.readlines()[8:]]
    psa = np.array([float(r[-1]) for r in rows])
    if np.max(np.abs(psa - numbers(columns["H1 PSa [g] (5%)"]))) > 5e-7:
        fail(f"H1 PSa {columns['H1 PSa [g] (5%)']} differs from the spectra report's {psa}")


def case_odd():
    done = run("--dt", "0.01", STEP, HALF_STEP, STEP, expected_exit=2)
    expect_in(done.stderr, "ERROR: An odd number of single-component files: " + STEP +
              " has no second horizontal component; nothing is written")
    if os.listdir(WORK):
        fail(f"an odd count wrote {os.listdir(WORK)}")


def case_time_steps():
    done = run("--format", "auto", "--periods", "0.1,1", KNET_EW, PEER_H1, KNET_NS, KNET_EW,
               expected_exit=1)
    expect_in(done.stderr, "FILE: CHB0031412312349.EW, ERROR: Components have different time "
                           "steps: 0.01 s and 0.005 s\n")
    # The other motion goes on.
    if os.listdir(WORK) != ["CHB0031412312349_RotD.csv"]:
        fail(f"expected the second motion's report alone, found {os.listdir(WORK)}")
    expect_in(done.stdout, "CHB0031412312349_RotD.csv\n")


def case_right_angles():
    done = run("--format", "auto", "--periods", "0.1,1", KNET_EW, ELC270, expected_exit=1)
    expect_in(done.stderr, "ERROR: Components are not at right angles: azimuths 90 degrees and "
                           "270 degrees")
    if os.listdir(WORK):
        fail("a refused motion wrote a report")


def case_lengths():
    done = run("--format", "auto", "--dt", "0.005", "--periods", "0.1,1", PEER_H1, STEP)
    expect_in(done.stderr, "FILE: RSN8883_14383980_13849360.AT2, WARNING: Components have "
                           "different lengths: 16396 and 101 samples; both are cut to the "
                           "shorter, 101 samples\n")
    report("RSN8883_14383980_13849360_RotD.csv")


def case_channels():
    done = run("--format", "auto", "--periods", "0.1,0.5,1", CSMIP, BBP)
    header, titles, columns = report("CIWLT_ch1_090_RotD.csv")
    expect_in(header[7], "H1 = CIWLT_ch1_090 (azimuth 90 deg); H2 = CIWLT_ch2_360 "
                         "(azimuth 0 deg)")
    header, titles, columns = report("synthetic-pulse_ch1_N-S_RotD.csv")
    expect_in(header[7], "H1 = synthetic-pulse_ch1_N-S (azimuth 0 deg); "
                         "H2 = synthetic-pulse_ch2_E-W (azimuth 90 deg)")
    # H1 north, H2 east: the azimuth of the largest is its angle.
    angle = columns["RotD100 angle [deg] (5%)"]
    azimuth = columns["RotD100 azimuth [deg] (5%)"]
    if angle != azimuth:
        fail(f"azimuths {azimuth} differ from angles {angle}")
    expect_in(done.stdout, "CIWLT_ch1_090_RotD.csv\n")


def case_workspace():
    # The sample workspace pairs records of different time steps: both motions are refused,
    # each named, and nothing is written.
    done = run("--workspace", os.path.join(SAMPLES, "sample.travik"), expected_exit=1)
    expect_in(done.stderr, "FILE: elcentro-1940-chopra-ns.txt, ERROR: Components have "
                           "different time steps: 0.02 s and 0.01 s\n")
    expect_in(done.stderr, "FILE: elcentro-1940-rsn6-270.txt, ERROR: Components have "
                           "different time steps: 0.01 s and 0.02 s\n")
    if os.listdir(WORK):
        fail("refused motions wrote a report")


def case_bad_percentile():
    done = run("--dt", "0.01", "--percentiles", "50,150", STEP, HALF_STEP, expected_exit=2)
    expect_in(done.stderr, "--percentiles: \"150\" is not a percentile from 0 to 100")
    if os.listdir(WORK):
        fail("a refused option wrote a report")


CASES = {name[5:]: f for name, f in globals().items() if name.startswith("case_")}
if CASE not in CASES:
    fail(f"no case {CASE}")
CASES[CASE]()
print("ok")
