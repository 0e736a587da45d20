"""travik.rotd against an independent numpy computation: the exact response to a
piecewise-linear ground motion (the state's matrix exponential), rotated over 0..179 degrees,
with numpy's percentiles and GMRotI50 as Boore, Watson-Lamprey and Abrahamson (2006) define
it."""
import math
import warnings

import numpy as np
import pytest

import travik

TWO_PI = 6.2831852  # the circular frequency the program uses: 6.2831852 / T
DT = 0.02
PERIODS = [0.1, 0.3, 0.7, 1.5, 3.0]


def expm(a):
    """Matrix exponential by scaling and squaring of a Taylor series (float64 accuracy)."""
    norm = np.abs(a).sum(axis=1).max()
    squarings = max(0, int(math.ceil(math.log2(norm))) + 1) if norm > 0 else 0
    scaled = a / 2.0**squarings
    result = np.eye(a.shape[0])
    term = np.eye(a.shape[0])
    for k in range(1, 30):
        term = term @ scaled / k
        result = result + term
    for _ in range(squarings):
        result = result @ result
    return result


def displacements(acc, period, zeta):
    """Relative displacement of u'' + 2 zeta w u' + w^2 u = -a(t), a linear between samples,
    at every sample (one integration step per sample)."""
    w = TWO_PI / period
    m = np.array([[0, 1, 0, 0], [-w * w, -2 * zeta * w, -1, 0], [0, 0, 0, 1], [0, 0, 0, 0]],
                 dtype=float)
    phi = expm(m * DT)
    u = np.zeros(len(acc))
    state = np.zeros(2)
    for i in range(len(acc) - 1):
        z = np.array([state[0], state[1], acc[i], (acc[i + 1] - acc[i]) / DT])
        state = (phi @ z)[:2]
        u[i + 1] = state[0]
    return u


def rotated_psa(h1, h2, period, zeta):
    """PSa (g) of the 180 rotated components, h1 and h2 in g."""
    u1 = displacements(h1, period, zeta)
    u2 = displacements(h2, period, zeta)
    theta = np.radians(np.arange(180))
    c, s = np.cos(theta), np.sin(theta)
    c[90], s[0] = 0.0, 0.0
    peaks = np.abs(np.outer(c, u1) + np.outer(s, u2)).max(axis=1)
    return (TWO_PI / period) ** 2 * peaks


@pytest.fixture(scope="module")
def pair():
    t = np.arange(0, 6, DT)
    rng = np.random.default_rng(8883)
    envelope = np.exp(-((t - 2.0) / 1.2) ** 2)
    h1 = envelope * (0.3 * np.sin(2 * np.pi * 1.3 * t) + 0.1 * rng.standard_normal(t.size))
    h2 = envelope * (0.2 * np.cos(2 * np.pi * 0.7 * t) + 0.1 * rng.standard_normal(t.size))
    return h1, h2


def test_rotated_spectra_equal_an_independent_computation(pair):
    h1, h2 = pair
    # Ratios so large that every period is integrated in one step per sample.
    r = travik.rotd(h1, h2, DT, PERIODS, damping=[0.05, 0.02], percentiles=[0, 50, 90, 100],
                    max_dt_ratio=1.0)
    assert r.rotd50.shape == (2, len(PERIODS))
    penalties = np.zeros(90)
    gmrotd = []
    for d, zeta in enumerate([0.05, 0.02]):
        for k, period in enumerate(PERIODS):
            psa = rotated_psa(h1, h2, period, zeta)
            for p in [0, 50, 90, 100]:
                assert r.percentile(p)[d, k] == pytest.approx(np.percentile(psa, p), rel=1e-9)
            assert r.rotd100_angle[d, k] == int(np.argmax(psa))
            assert r.h1[d, k] == pytest.approx(psa[0], rel=1e-9)
            assert r.h2[d, k] == pytest.approx(psa[90], rel=1e-9)
            if d == 0:
                gm = np.sqrt(psa[:90] * psa[90:])
                gmrotd.append(gm)
                penalties += (gm / np.median(gm) - 1) ** 2
    angle = int(np.argmin(penalties))
    assert r.gmroti50_angle[0] == angle
    for k in range(len(PERIODS)):
        assert r.gmroti50[0, k] == pytest.approx(gmrotd[k][angle], rel=1e-9)


def test_the_components_alone_are_the_single_component_spectra(pair):
    h1, h2 = pair
    r = travik.rotd(h1, h2, DT, PERIODS)
    assert np.array_equal(r.h1, travik.spectra(h1, DT, PERIODS).psa)
    assert np.array_equal(r.h2, travik.spectra(h2, DT, PERIODS).psa)


def test_closed_forms_of_special_pairs(pair):
    h1, _ = pair
    alone = travik.rotd(h1, np.zeros_like(h1), DT, PERIODS)
    assert np.array_equal(alone.rotd100, alone.h1)
    assert np.all(alone.rotd100_angle == 0)
    assert np.all(alone.rotd00 == 0)
    same = travik.rotd(h1, h1, DT, PERIODS)
    assert np.allclose(same.rotd100, math.sqrt(2) * same.h1, rtol=1e-12)
    assert np.all(same.rotd100_angle == 45)


def test_ground_motion_peaks_are_rotated_too(pair):
    h1, h2 = pair
    r = travik.rotd(h1, h2, DT, PERIODS)
    theta = np.radians(np.arange(180))
    rotated = np.abs(np.outer(np.cos(theta), h1) + np.outer(np.sin(theta), h2)).max(axis=1)
    assert r.pga["rotd50"] == pytest.approx(np.percentile(rotated, 50), rel=1e-12)
    assert r.pga["rotd100"] == pytest.approx(rotated.max(), rel=1e-12)
    assert r.pga["h1"] == pytest.approx(np.abs(h1).max(), rel=1e-15)
    # Velocities (cm/sec) by the trapezoidal rule from rest, g = 980 cm/sec^2.
    v1 = np.concatenate(([0.0], np.cumsum((h1[1:] + h1[:-1]) / 2 * DT * 980.0)))
    v2 = np.concatenate(([0.0], np.cumsum((h2[1:] + h2[:-1]) / 2 * DT * 980.0)))
    rotated_v = np.abs(np.outer(np.cos(theta), v1) + np.outer(np.sin(theta), v2)).max(axis=1)
    assert r.pgv is not None
    assert r.pgv["rotd50"] == pytest.approx(np.percentile(rotated_v, 50), rel=1e-9)
    assert r.pgv["h2"] == pytest.approx(np.abs(v2).max(), rel=1e-9)


def test_refusals_and_warnings(pair):
    h1, h2 = pair
    with pytest.raises(ValueError, match="percentile 50 was not asked for"):
        _ = travik.rotd(h1, h2, DT, PERIODS, percentiles=[0, 100]).rotd50
    with pytest.raises(ValueError, match="ascending"):
        travik.rotd(h1, h2, DT, [1.0, 0.5])
    with pytest.raises(ValueError, match="at least one damping ratio"):
        travik.rotd(h1, h2, DT, PERIODS, damping=[])
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        r = travik.rotd(h1, h2[:-10], DT, PERIODS)
    assert any("both are cut to the shorter" in str(w.message) for w in caught)
    assert r.rotd50.shape == (1, len(PERIODS))
