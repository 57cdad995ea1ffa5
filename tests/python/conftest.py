"""What the tests of import veltrano share: the command-line tool they are
compared with, its rows, and the comparison to the bit."""

import csv
import io
import os
import signal
import subprocess
import threading
import time

import numpy as np
import pytest

CLI = os.environ.get("VELTRANO_CLI", "veltrano-cli")
BASE = ("10", "28", "2.6667")
FIELDS = ("t", "lambda1", "lambda2", "lambda3", "kaplan_yorke")
ERROR_FIELDS = ("lambda1_err", "lambda2_err", "lambda3_err")


def cli(*args, check=True):
    run = subprocess.run([CLI, *map(str, args)], capture_output=True, text=True)
    assert run.returncode == 0 or not check, run.stderr
    return run


def cli_file(path, *arguments):
    """The bytes of veltrano-cli sweep ARGUMENTS --output PATH."""
    cli("sweep", "--no-progress", *arguments, "--output", path)
    return path.read_bytes()


def rows_of(text):
    return list(csv.DictReader(io.StringIO(text)))


def axes_of(vary):
    """sweep()'s sigma, R and b for the tool's --vary texts and base point."""
    import veltrano

    values = dict(zip(("sigma", "R", "b"), map(float, BASE)))
    for name, axis in (v.split("=") for v in vary):
        start, stop, count = axis.split(":")
        values[name] = veltrano.spaced(float(start), float(stop), int(count))
    return values["sigma"], values["R"], values["b"]


def same(got, text):
    """A number of ours equal to the CSV's 17 digits to the bit; NaN for an empty field."""
    return np.isnan(got) if text == "" else float(got).hex() == float(text).hex()


def assert_same_arrays(a, b, names):
    """The arrays `names` of two results alike to the bit, shape and type; or both None."""
    for name in names:
        x, y = getattr(a, name), getattr(b, name)
        alike = x is None and y is None or x.shape == y.shape and x.dtype == y.dtype and x.tobytes() == y.tobytes()
        assert alike, name


def interrupted(call):
    """Ctrl-C 0.3 s into call(): it raises KeyboardInterrupt within a second of it."""
    timer = threading.Timer(0.3, lambda: os.kill(os.getpid(), signal.SIGINT))
    timer.start()
    started = time.monotonic()
    try:
        with pytest.raises(KeyboardInterrupt):
            call()
        assert time.monotonic() - started < 1.3
    finally:
        timer.join()


class Endless:
    """A sequence of a billion values that refuses to give any: a sweep must
    refuse it by its length, before converting (and so allocating) them."""

    def __len__(self):
        return 10**9

    def __getitem__(self, i):
        raise AssertionError("a sequence too long for any sweep was converted")
