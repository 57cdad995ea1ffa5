"""import veltrano as researchers use it: the same bits as veltrano-cli, the
shapes of the sequences given, ValueError with the command line's messages,
the GIL released, Ctrl-C honoured."""

import array
import os
import re
import subprocess
import sys
import threading
import time

import numpy as np
import pytest

import veltrano
from conftest import ERROR_FIELDS, FIELDS, Endless, cli, rows_of, same

POINT = (5, 10, 28, 2.6667)
FUNCTIONS = (veltrano.spectrum, veltrano.history, veltrano.sweep)


def test_spectrum_and_history_are_the_one_run_and_the_history_of_the_command_line():
    lines = dict(line.split("\t") for line in cli("--precise", "100", "10", "28", "2.6667").stdout.splitlines())
    s = veltrano.spectrum(100, 10, 28, 2.6667)
    assert s.ok and same(s.t, lines["t"]) and s.intervals is None and s.errors is None and s.status == "ok"
    assert "status" not in repr(s)
    assert all(same(v, lines[f"lambda{k + 1}"]) for k, v in enumerate(s.lambdas))
    rows = rows_of(cli("history", "--errors", "--batch", "3", "--every", "7", "60", *POINT[1:]).stdout)
    h = veltrano.history(60, 10, 28, 2.6667, every=7, errors=True, batch=3)
    assert list(h.interval) == [int(r["interval"]) for r in rows] == [7, 14, 21, 28, 35, 42, 49, 56, 60]
    assert all(same(getattr(h, k)[i], r[k]) for i, r in enumerate(rows) for k in (*FIELDS[:4], *ERROR_FIELDS))


def test_a_fault_is_a_result_not_an_exception():
    s = veltrano.spectrum(100, 1e200, 28, 2.6667)
    assert not s.ok and s.status == "error" and s.t == 0 and all(np.isnan(s.lambdas)) and "status" not in repr(s)
    h = veltrano.history(9999, 280, 28, 2.6667)
    assert not h.ok and len(h) == 4  # the intervals completed before the fault
    assert repr(h) == "History(4 rows, ok=False)" and h.lambda1_err is None
    # A fault after 23 batches: the batches were enough for error bars, but a
    # point that did not finish has none, nor a dimension.
    late = veltrano.spectrum(100, 278.5, 28, 2.6667, errors=True, batch=1)
    assert not late.ok and late.intervals == 23
    assert all(np.isnan(late.errors)) and np.isnan(late.kaplan_yorke) and all(np.isnan(late.lambdas))


def test_three_sequences_vary_in_the_order_sigma_r_b_and_numbers_add_no_dimension():
    result = veltrano.sweep(10, [9, 10], np.array([20, 25, 30]), [2, 3, 4, 5], threads=1, errors=True, batch=1)
    assert result.shape == (2, 3, 4) == result.status.shape and repr(result) == "Sweep(shape=(2, 3, 4))"
    assert result.sigma[1, 0, 0] == 10 and result.R[0, 2, 0] == 30 and result.b[0, 0, 3] == 5
    # One point alone: the sweep's numbers, its count of intervals a Python int.
    alone = veltrano.spectrum(10, 10, 30, 4, errors=True, batch=1)
    widths = tuple(getattr(result, f"lambda{k}_err")[1, 2, 2] for k in (1, 2, 3))
    assert result.lambda1[1, 2, 2] == alone.lambdas[0] and alone.errors == widths and all(np.isfinite(widths))
    assert repr(alone.intervals) == "10" and repr(alone).endswith("intervals=10, errors=(%r, %r, %r))" % widths)
    assert result.index[1, 2, 3] == 23 and result.index.dtype == result.intervals.dtype == np.int64
    point = veltrano.sweep(3, 10, 28, 2.6667)
    assert point.lambda1.shape == point.status.shape == point.index.shape == () and point.status == "ok"
    # Unsigned arrays are axes; a 0-dimensional array is one number.
    unsigned = veltrano.sweep(10, np.array([9, 10], dtype=np.uint8), np.array(30.0), 4, threads=1)
    assert unsigned.shape == (2,) and unsigned.lambda1[1] == alone.lambdas[0]
    assert veltrano.sweep(3, np.array([], dtype=str), 28, 2.6667).status.shape == (0,)  # empty, of any kind
    assert veltrano.sweep(3, np.zeros(10**5), np.zeros(10**5), []).status.shape == (10**5, 10**5, 0)  # no point
    assert veltrano.sweep(3, [10], 28, np.array([2.6667])).lambda1.shape == (1, 1)
    assert veltrano.sweep(3, [10, 16], 28, [1, 2, 3], vary=("b", "sigma")).lambda1.shape == (3, 2)
    assert list(veltrano.sweep(3, 10, memoryview(array.array("d", [20.5, 28])), 2.6667).R) == [20.5, 28]


def test_numpy_scalars_and_zero_dimensional_arrays_are_numbers():
    plain = veltrano.spectrum(5, 10.5, 28, 2.5, initial=(1, 2, 3), step=0.005)
    for kind in (np.float32, np.float64, np.array):
        s = veltrano.spectrum(5, kind(10.5), np.int16(28), kind(2.5), initial=(kind(1), np.int64(2), 3),
                              step=np.float64(0.005), steps_per_interval=np.int32(20))
        assert s.lambdas == plain.lambdas


def test_a_point_whose_exponents_miss_the_trace_is_inconsistent_and_keeps_its_numbers():
    # The vectors never move: lambda = (0, 0, 0), whose sum is not -(sigma + 1 + b).
    s = veltrano.spectrum(1, 10, 28, 2.6667, step=1e-28)
    assert s.status == "inconsistent" and not s.ok and "ok=False, status='inconsistent'" in repr(s)
    assert all(np.isfinite(s.lambdas)) and np.isfinite(s.kaplan_yorke)


COUNT, PATH = "count must be a whole number from 1 to 100000000, not ", "output must be the path of a file, not "
# Calls refused with ValueError and its message, the message's start (ending
# in "..."), or veltrano-cli's message ("cli") for the same arguments: the
# form, the keywords as options, N SIGMA R B. A numpy bool is no number, as a
# Python bool is none; an array of one value is no single number.
REFUSED = (
    [(function, args, keywords, "cli") for function, args, keywords in [
        (veltrano.history, POINT, dict(every=0)), (veltrano.sweep, (10**9 + 1, 10, 28, 2.6667), {}),
        (veltrano.sweep, (10**30, 10, 28, 2.6667), {}), (veltrano.sweep, (-10**30, 10, 28, 2.6667), {}),
        (veltrano.spectrum, (5, "ten", 28, 2.6667), {}), (veltrano.spectrum, (5.5, 10, 28, 2.6667), {}),
        (veltrano.spectrum, (0, "ten", 28, 2.6667), {}), (veltrano.spectrum, (5, 10, float("nan"), 2.6667), {}),
        (veltrano.history, (5, 10, 28, None), {}), (veltrano.sweep, POINT, dict(threads=0))]]
    + [(veltrano.sweep, (5, 10, bad, 2.6667), {}, "...") for bad in [
        None, "28", b"28", [[20, 30]], np.zeros((2, 2)), [20, "30"], [20, float("inf")], {"R": 28}, object(), True,
        type("FloatRaises", (), {"__float__": lambda self: 1 / 0})(), float("inf"), -float("inf"),
        [np.True_, np.False_], memoryview(b"abc"), memoryview(b"abc").cast("b"), memoryview(b"abc").cast("c"),
        bytearray(b"\x1c")]]
    + [(veltrano.spectrum, args, {}, "...") for args in [(np.True_, 10, 28, 2.6667), (5, np.True_, 28, 2.6667),
                                                          (5, 10, np.array(True), 2.6667), (5, np.array([10.0]), 28, 2),
                                                          (5, np.array([[10.0]]), 28, 2)]]
    + [(veltrano.history, POINT, dict(every=np.True_), "..."), (veltrano.sweep, POINT, dict(threads=np.True_), "...")]
    + [(veltrano.spectrum, POINT, {name: value}, "...") for name, value in [("step", np.True_), ("batch", np.True_)]]
    + [(veltrano.spectrum, POINT, dict(initial=bad), "--initial ...") for bad in [
        (1, 2), (1, 2, 3, 4), "123", b"123", 5, (1, 2, "3"), (np.True_, 1, 1), memoryview(b"abc"), bytearray(b"abc")]]
    + [(f, POINT, dict(errors=bad), "errors must be True or False, not ...") for f in FUNCTIONS for bad in [
        1, 0, 0.0, 1.0, "yes", "", None, np.int64(1), np.array([True]), [True]]]
    + [(veltrano.spaced, args, {}, message) for args, message in [
        ((0, 1, 0), COUNT + "0"), ((0, 1, 10**8 + 1), COUNT + "100000001"), ((0, 1, 2.0), COUNT + "2.0"),
        ((0, 1, True), COUNT + "True"), ((float("nan"), 1, 3), "start must be a finite number, not nan"),
        ((0, "1", 3), "stop must be a finite number, not '1'")]]
    + [(veltrano.sweep, (5, np.zeros(10**4), np.zeros(10**4), np.zeros(2)), {},
        "the grid has 200000000 points; a sweep has at most 100000000"),
       (veltrano.sweep, (5, 10, Endless(), 2.6667), {}, "the grid has 1000000000 points; a sweep has at most 100000000"),
       (veltrano.sweep, (5, 10, [20, [28, 30]], 2.6667), {},
        "Valore Errato: il valore di R deve essere un numero reale (a number or a 1-D sequence of numbers)")]
    + [(veltrano.sweep, (5, 10, [20, 28], 2.6667), keywords, message) for keywords, message in [
        (dict(output=""), PATH + "''"), (dict(output=28), PATH + "28"), (dict(output=b""), PATH + "b''"),
        (dict(output="a\0b.csv"), PATH + "'a\\x00b.csv'"), (dict(resume=True), "resume=True needs output=PATH"),
        (dict(resume=1, output="x.csv"), "resume must be True or False, not 1"),
        (dict(resume=None, output="x.csv"), "resume must be True or False, not None"),
        (dict(progress=5), "progress must be a callable that takes (done, total), not 5")]]
    + [(veltrano.sweep, (5, 10, [20, 28], 2.6667), dict(shard=shard),
        f"shard {shard!r}: expected (K, M) with 1 <= K <= M <= 100000000")
       for shard in [(0, 3), (4, 3), (1, 10**8 + 1), (1, 2, 3), "1/2", (1.0, 2), (True, 2), b"\x01\x02"]]
    + [(veltrano.sweep, (1, [10, 11], 28, [2, 3]), dict(vary=vary),
        "vary must name the parameters given as sequences, each once, ...")
       for vary in [("sigma",), ("b", "b"), ("b", "sigma", "R"), ("b", "x"), "bs", ("b", 1), 5]]
)


@pytest.mark.parametrize("function, args, keywords, message", REFUSED)
def test_bad_input_is_refused_with_its_message_and_nothing_written(tmp_path, monkeypatch, function, args, keywords,
                                                                    message):
    monkeypatch.chdir(tmp_path)
    with pytest.raises(ValueError) as raised:
        function(*args, **keywords)
    text = str(raised.value)
    if message == "cli":
        options = [f"--{name.replace('_', '-')}={value}" for name, value in keywords.items()]
        run = cli("history" if function is veltrano.history else "sweep", *options, "--", *args, check=False)
        assert run.returncode == 2 and text in run.stderr
    else:
        assert text.startswith(message[:-3]) if message.endswith("...") else text == message
    assert os.listdir(tmp_path) == []


def test_other_python_threads_run_while_a_sweep_computes():
    # With the GIL held the counter would not tick at all while the sweep
    # computes; free, it ticks about once a millisecond.
    stop, ticks = threading.Event(), []
    threading.Thread(target=lambda: [ticks.append(0) for _ in iter(lambda: stop.wait(1e-3), True)], daemon=True).start()
    started = time.monotonic()
    veltrano.sweep(9999, 10, np.linspace(20, 250, 256), 2.6667, threads=1)
    took = time.monotonic() - started
    stop.set()
    assert took > 0.3 and len(ticks) > took * 200, f"the other thread ran only {len(ticks)} times in {took:.2f} s"


def test_a_failure_inside_the_computation_is_raised_not_swallowed():
    # Memory runs out while a long history is kept: the computation's own
    # MemoryError, not a shortened history (whose arrays would then fail
    # for want of memory with NumPy's MemoryError). A short run first loads
    # NumPy (and its BLAS, whose size depends on the machine's cores) and
    # starts the worker thread once, whose stack and arena are then reused:
    # the limit leaves room for the history only, not for those.
    script = """
import resource, veltrano
veltrano.history(10, 10, 28, 2.6667)
with open("/proc/self/statm") as f:
    size = int(f.read().split()[0]) * resource.getpagesize() + 256 * 2**20
resource.setrlimit(resource.RLIMIT_AS, (size, size))
try:
    print("returned", len(veltrano.history(10**8, 10, 28, 2.6667)))
except MemoryError as e:
    print(repr(e))
try:
    veltrano.spaced(0, 1, 10**8)  # the largest count is taken; its 800 MB do not fit
except MemoryError as e:
    print(type(e).__name__)
"""
    run = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, timeout=120)
    assert run.stdout.split() == ["MemoryError('std::bad_alloc')", "MemoryError"], run.stdout + run.stderr


def test_the_keyword_defaults_are_the_command_lines_in_the_calls_the_help_and_the_stub():
    helped = dict(re.findall(r"--([a-z-]+) \S+ .*\(default ([^)]+)\)", cli("sweep", "--help").stdout))
    expected = {name.replace("-", "_"): "(" + value.replace(",", ", ") + ")" if name == "initial" else value
                for name, value in helped.items()}
    expected.update(errors="False", target_error="None")
    assert set(expected) == {"transient", "initial", "step", "steps_per_interval", "batch", "errors", "target_error"}
    for function in FUNCTIONS:
        generated = function.__doc__.splitlines()[0]  # pybind11's signature: the keywords' real defaults
        written = " ".join(function.__doc__.split("\n\n")[1].split())  # the signature the help writes
        for name, value in expected.items():
            assert re.search(rf"\b{name}: object = {re.escape(value)}[,)]", generated), (function.__name__, name)
            assert f"{name}={value}" in written, (function.__name__, name)
    table = veltrano.__doc__.split("Research options")[1]
    for name, value in expected.items():
        line = re.search(rf"^  {name}={re.escape(value)} +\S", table, re.M)
        assert line, name
        assert line.end() - line.start() - 1 == max(24, len(f"  {name}={value} ")), name  # the descriptions' column
    stub = os.path.join(os.path.dirname(veltrano.__file__), "veltrano.pyi")
    assert "def sweep(" in open(stub).read()
    assert cli("--version").stdout == f"veltrano-cli {veltrano.__version__}\n"
    most = re.search(r"\(1 <= n <= (10\*\*\d+)\)", veltrano.spectrum.__doc__).group(1)  # the help's bound is the rule's
    with pytest.raises(ValueError, match=f"N <= {eval(most)}$"):
        veltrano.spectrum(10**12, *POINT[1:])
