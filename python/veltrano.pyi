"""The Lyapunov spectrum of the Lorenz system and of the flows of the catalogue: type stub for editors."""

import os
from typing import Callable, Dict, List, Optional, Sequence, Tuple, Union

import numpy as np
import numpy.typing as npt

__version__: str

Number = Union[int, float, np.integer, np.floating]
Truth = Union[bool, np.bool_]
Values = Union[Number, Sequence[Number], npt.NDArray[np.floating], npt.NDArray[np.integer]]

class Spectrum:
    t: float
    lambdas: Tuple[float, float, float]
    kaplan_yorke: float
    status: str
    ok: bool
    intervals: Optional[int]
    errors: Optional[Tuple[float, float, float]]

class History:
    interval: npt.NDArray[np.int64]
    t: npt.NDArray[np.float64]
    lambda1: npt.NDArray[np.float64]
    lambda2: npt.NDArray[np.float64]
    lambda3: npt.NDArray[np.float64]
    lambda1_err: Optional[npt.NDArray[np.float64]]
    lambda2_err: Optional[npt.NDArray[np.float64]]
    lambda3_err: Optional[npt.NDArray[np.float64]]
    ok: bool
    def __len__(self) -> int: ...

class Sweep:
    index: npt.NDArray[np.int64]
    sigma: npt.NDArray[np.float64]
    R: npt.NDArray[np.float64]
    b: npt.NDArray[np.float64]
    t: npt.NDArray[np.float64]
    lambda1: npt.NDArray[np.float64]
    lambda2: npt.NDArray[np.float64]
    lambda3: npt.NDArray[np.float64]
    kaplan_yorke: npt.NDArray[np.float64]
    status: npt.NDArray[np.str_]
    ok: npt.NDArray[np.bool_]
    intervals: Optional[npt.NDArray[np.int64]]
    lambda1_err: Optional[npt.NDArray[np.float64]]
    lambda2_err: Optional[npt.NDArray[np.float64]]
    lambda3_err: Optional[npt.NDArray[np.float64]]
    shape: Tuple[int, ...]

def spectrum(
    n: int,
    sigma: Number,
    R: Number,
    b: Number,
    *,
    transient: int = 0,
    initial: Sequence[Number] = (1, 1, 1),
    step: Number = 0.01,
    steps_per_interval: int = 20,
    errors: Truth = False,
    batch: int = 500,
    target_error: Optional[Number] = None,
) -> Spectrum: ...
def history(
    n: int,
    sigma: Number,
    R: Number,
    b: Number,
    every: int = 1,
    *,
    transient: int = 0,
    initial: Sequence[Number] = (1, 1, 1),
    step: Number = 0.01,
    steps_per_interval: int = 20,
    errors: Truth = False,
    batch: int = 500,
    target_error: Optional[Number] = None,
) -> History: ...
def sweep(
    n: int,
    sigma: Values,
    R: Values,
    b: Values,
    threads: Optional[int] = None,
    progress: Optional[Callable[[int, int], object]] = None,
    *,
    vary: Optional[Sequence[str]] = None,
    output: Optional[Union[str, bytes, os.PathLike]] = None,
    resume: Truth = False,
    shard: Optional[Tuple[int, int]] = None,
    transient: int = 0,
    initial: Sequence[Number] = (1, 1, 1),
    step: Number = 0.01,
    steps_per_interval: int = 20,
    errors: Truth = False,
    batch: int = 500,
    target_error: Optional[Number] = None,
) -> Sweep: ...
def spaced(start: Number, stop: Number, count: int) -> npt.NDArray[np.float64]: ...

class PublishedSpectrum:
    exponents: Tuple[float, ...]
    decimals: int
    parameters: Tuple[float, ...]
    start: Tuple[float, ...]
    source: str

class SystemSpectrum:
    t: float
    exponents: Tuple[float, ...]
    half_widths: Optional[Tuple[float, ...]]
    intervals: Optional[int]
    completed: bool
    mean_divergence: float

class SystemSweep:
    shape: Tuple[int, ...]
    t: npt.NDArray[np.float64]
    exponents: npt.NDArray[np.float64]
    half_widths: Optional[npt.NDArray[np.float64]]
    completed: npt.NDArray[np.bool_]
    mean_divergence: npt.NDArray[np.float64]
    index: npt.NDArray[np.int64]
    status: npt.NDArray[np.str_]

class SystemHistory:
    system: str
    interval: npt.NDArray[np.int64]
    t: npt.NDArray[np.float64]
    exponents: npt.NDArray[np.float64]
    half_widths: Optional[npt.NDArray[np.float64]]
    completed: bool
    def __len__(self) -> int: ...

class System:
    name: str
    title: str
    summary: str
    dimension: int
    source: str
    variables: Tuple[str, ...]
    parameters: Dict[str, float]
    start: Tuple[float, ...]
    equations: str
    spectra: List[PublishedSpectrum]
    digest: Optional[str]
    def spectrum(
        self,
        n: int,
        *,
        exponents: Optional[int] = None,
        initial: Optional[Sequence[Number]] = None,
        transient: int = 0,
        step: Number = 0.01,
        steps_per_interval: int = 20,
        errors: Truth = False,
        batch: int = 500,
        target_error: Optional[Number] = None,
        **parameters: Number,
    ) -> SystemSpectrum: ...
    def history(
        self,
        n: int,
        every: int = 1,
        *,
        exponents: Optional[int] = None,
        initial: Optional[Sequence[Number]] = None,
        transient: int = 0,
        step: Number = 0.01,
        steps_per_interval: int = 20,
        errors: Truth = False,
        batch: int = 500,
        target_error: Optional[Number] = None,
        **parameters: Number,
    ) -> SystemHistory: ...
    def sweep(
        self,
        n: int,
        threads: Optional[int] = None,
        progress: Optional[Callable[[int, int], object]] = None,
        *,
        vary: Optional[Sequence[str]] = None,
        output: Optional[Union[str, bytes, os.PathLike]] = None,
        resume: Truth = False,
        shard: Optional[Tuple[int, int]] = None,
        exponents: Optional[int] = None,
        initial: Optional[Sequence[Number]] = None,
        transient: int = 0,
        step: Number = 0.01,
        steps_per_interval: int = 20,
        errors: Truth = False,
        batch: int = 500,
        target_error: Optional[Number] = None,
        **parameters: Values,
    ) -> SystemSweep: ...

def systems() -> List[str]: ...
def system(name: str, dimension: Optional[int] = None) -> System: ...
def equations(text: str) -> System: ...
