"""TRAVIK's core from Python: strong-motion records, response spectra, ground-motion
measures, Fourier spectra, filters and baseline corrections.

Units: time and periods in s, acceleration in g, velocity in cm/sec, displacement in cm,
g in cm/sec^2. Arrays in are float64 one-dimensional arrays (used in place when they
already are); arrays out are numpy arrays over the core's own buffers.
"""

from ._travik import (  # noqa: F401
    DEFAULT_DAMPING_PERCENT,
    MAX_DAMPING_VALUES,
    Record,
    RotD,
    Spectra,
    correct,
    filter,
    fourier,
    measures,
    pair_components,
    period_list,
    read,
    rotd,
    spectra,
)

__all__ = [
    "Record",
    "Spectra",
    "RotD",
    "read",
    "spectra",
    "rotd",
    "pair_components",
    "period_list",
    "measures",
    "fourier",
    "filter",
    "correct",
    "DEFAULT_DAMPING_PERCENT",
    "MAX_DAMPING_VALUES",
]
