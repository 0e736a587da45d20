from typing import Any, Optional, Sequence

import numpy as np
import numpy.typing as npt

FloatArray = npt.NDArray[np.float64]
ArrayLike = npt.ArrayLike

DEFAULT_DAMPING_PERCENT: float
MAX_DAMPING_VALUES: int

class Record:
    """One record (channel) of a file; arrays are read-only views of the core's samples."""

    @property
    def name(self) -> str: ...
    @property
    def channel(self) -> str: ...
    @property
    def units_from(self) -> str: ...
    @property
    def format(self) -> str: ...
    @property
    def g(self) -> float: ...
    @property
    def dt(self) -> float: ...
    @property
    def is_corrected(self) -> bool: ...
    @property
    def acceleration(self) -> FloatArray: ...
    @property
    def velocity(self) -> FloatArray: ...
    @property
    def displacement(self) -> FloatArray: ...
    def corrected(
        self,
        baseline: str = "linear",
        filter: str | None = None,
        corners: Sequence[float] | None = None,
        order: int = 4,
        acausal: bool = False,
    ) -> Record: ...

class Spectra:
    """Response spectra, arrays of shape (damping, period)."""

    @property
    def sd(self) -> FloatArray: ...
    @property
    def sv(self) -> FloatArray: ...
    @property
    def sa(self) -> FloatArray: ...
    @property
    def psv(self) -> FloatArray: ...
    @property
    def psa(self) -> FloatArray: ...
    @property
    def periods(self) -> list[float]: ...
    @property
    def damping(self) -> list[float]: ...
    @property
    def substeps(self) -> npt.NDArray[np.int32]: ...

def read(
    path: str,
    format: str = "auto",
    dt: float | None = None,
    scale: float = 1.0,
    skip: int = 0,
    delimiter: str = "comma",
    column: int = 1,
    g: float = 980.0,
    replace_header_dt: bool = True,
) -> list[Record]: ...
def spectra(
    acc: ArrayLike,
    dt: float,
    periods: Sequence[float],
    damping: Sequence[float] = [0.05],
    method: str = "exact",
    max_dt_ratio: float = 0.02,
    g: float = 980.0,
    beta: float = 0.25,
    gamma: float = 0.5,
    threads: int = 0,
) -> Spectra: ...
class RotD:
    """Orientation-independent spectra of two horizontal components: PSa in g as arrays of
    shape (damping, period), angles in degrees from H1 towards H2."""

    @property
    def periods(self) -> list[float]: ...
    @property
    def damping(self) -> list[float]: ...
    @property
    def percentiles(self) -> list[float]: ...
    def percentile(self, p: float) -> FloatArray: ...
    @property
    def rotd00(self) -> FloatArray: ...
    @property
    def rotd50(self) -> FloatArray: ...
    @property
    def rotd100(self) -> FloatArray: ...
    @property
    def rotd100_angle(self) -> FloatArray: ...
    @property
    def gmroti50(self) -> FloatArray: ...
    @property
    def gmroti50_angle(self) -> list[int]: ...
    @property
    def h1(self) -> FloatArray: ...
    @property
    def h2(self) -> FloatArray: ...
    @property
    def pga(self) -> dict[str, Any]: ...
    @property
    def pgv(self) -> Optional[dict[str, Any]]: ...

def rotd(
    h1: ArrayLike,
    h2: ArrayLike,
    dt: float,
    periods: Sequence[float],
    damping: Sequence[float] = [0.05],
    percentiles: Sequence[float] = [0.0, 50.0, 100.0],
    method: str = "exact",
    max_dt_ratio: float = 0.02,
    g: float = 980.0,
    beta: float = 0.25,
    gamma: float = 0.5,
    threads: int = 0,
) -> RotD: ...
def pair_components(
    files: Sequence[tuple[str, Sequence[Record]]],
) -> tuple[list[dict[str, Any]], Optional[str]]: ...
def period_list(
    min_period: float = 0.02, max_period: float = 6.0, step: float = 0.02
) -> list[float]: ...
def measures(
    acc: ArrayLike,
    dt: float,
    g: float = 980.0,
    bracket_threshold: float = 0.05,
    max_dt_ratio: float = 0.02,
) -> dict[str, tuple[float, str]]: ...
def fourier(
    acc: ArrayLike, dt: float, smoothing: float = 40.0, g: float = 980.0
) -> dict[str, FloatArray]: ...
def filter(
    acc: ArrayLike,
    dt: float,
    kind: str,
    corners: Sequence[float],
    order: int = 4,
    acausal: bool = False,
) -> FloatArray: ...
def correct(acc: ArrayLike, dt: float, kind: str, g: float = 980.0) -> FloatArray: ...
