"""import veltrano as researchers use it: the same bits as veltrano-cli, the
shapes of the sequences given, ValueError with the command line's messages,
the GIL released, Ctrl-C honoured."""

import csv
import io
import os
import signal
import subprocess
import sys
import threading
import time

import numpy as np
import pytest

import veltrano

CLI = os.environ.get("VELTRANO_CLI", "veltrano-cli")


def cli(*args, check=True):
    run = subprocess.run([CLI, *map(str, args)], capture_output=True, text=True)
    if check:
        assert run.returncode == 0, run.stderr
    return run


def cli_sweep(*args):
    """The rows of veltrano-cli sweep as dictionaries, in index order."""
    return list(csv.DictReader(io.StringIO(cli("sweep", "--no-progress", *args).stdout)))


def same(got, text):
    """A number of ours equal to the CSV's 17 digits, to the bit."""
    return float(got).hex() == float(text).hex()


def check_rows(result, rows, errors=False):
    flat = {name: np.ravel(getattr(result, name)) for name in ("t", "lambda1", "lambda2", "lambda3", "ok", "kaplan_yorke")}
    if errors:
        for name in ("intervals", "lambda1_err", "lambda2_err", "lambda3_err"):
            flat[name] = np.ravel(getattr(result, name))
    assert len(rows) == len(flat["t"])
    for i, row in enumerate(rows):
        assert same(flat["t"][i], row["t"]), (i, row)
        assert bool(flat["ok"][i]) == (row["status"] == "ok")
        for k in ("lambda1", "lambda2", "lambda3", "kaplan_yorke"):
            if row["status"] == "ok":
                assert same(flat[k][i], row[k]), (i, k)
            else:
                assert np.isnan(flat[k][i])
        if errors:
            assert int(flat["intervals"][i]) == int(row["intervals"])
            for k in ("lambda1_err", "lambda2_err", "lambda3_err"):
                if row[k]:
                    assert same(flat[k][i], row[k]), (i, k)
                else:
                    assert np.isnan(flat[k][i])


def test_a_line_with_faults_is_the_command_lines_sweep_to_the_bit():
    rows = cli_sweep("--vary", "sigma=150:400:24", "300", "10", "28", "2.6667")
    assert {r["status"] for r in rows} == {"ok", "error"}
    result = veltrano.sweep(300, [float(r["sigma"]) for r in rows], 28, 2.6667)
    assert result.shape == (24,)
    check_rows(result, rows)


def test_a_grid_has_the_shape_of_its_sequences_and_the_command_lines_bits():
    rows = cli_sweep("--vary", "R=0:250:9", "--vary", "b=1:4:4", "200", "10", "28", "2.6667")
    r_values = sorted({float(r["R"]) for r in rows})
    b_values = sorted({float(r["b"]) for r in rows})
    result = veltrano.sweep(200, 10, r_values, b_values, threads=2)
    assert result.shape == (9, 4) == result.lambda1.shape
    check_rows(result, rows)
    assert float(result.R[3, 0]).hex() == r_values[3].hex() and float(result.b[3, 2]).hex() == b_values[2].hex()


@pytest.mark.parametrize(
    "options, args",
    [
        (dict(transient=40), ["--transient", "40"]),
        (dict(initial=(-3.25, 2.5, 20)), ["--initial", "-3.25,2.5,20"]),
        (dict(step=0.005, steps_per_interval=7), ["--step", "0.005", "--steps-per-interval", "7"]),
        (dict(errors=True, batch=5), ["--errors", "--batch", "5"]),
        (dict(errors=np.True_, batch=50), ["--errors", "--batch", "50"]),  # fewer than ten batches: no half-widths
        (dict(target_error=0.3, batch=3), ["--target-error", "0.3", "--batch", "3"]),
    ],
)
def test_every_research_option_gives_the_command_lines_bits(options, args):
    rows = cli_sweep("--vary", "R=0:250:12", *args, "400", "10", "28", "2.6667")
    result = veltrano.sweep(400, 10, [float(r["R"]) for r in rows], 2.6667, **options)
    check_rows(result, rows, errors="--errors" in args or "--target-error" in args)


def test_spectrum_and_history_are_the_one_run_and_the_history_of_the_command_line():
    lines = dict(line.split("\t") for line in cli("--precise", "100", "10", "28", "2.6667").stdout.splitlines())
    s = veltrano.spectrum(100, 10, 28, 2.6667)
    assert s.ok and same(s.t, lines["t"])
    assert all(same(v, lines[f"lambda{k + 1}"]) for k, v in enumerate(s.lambdas))
    assert s.intervals is None and s.errors is None

    text = cli("history", "--errors", "--batch", "3", "--every", "7", "60", "10", "28", "2.6667").stdout
    rows = list(csv.DictReader(io.StringIO(text)))
    h = veltrano.history(60, 10, 28, 2.6667, every=7, errors=True, batch=3)
    assert list(h.interval) == [int(r["interval"]) for r in rows] == [7, 14, 21, 28, 35, 42, 49, 56, 60]
    for i, r in enumerate(rows):
        for name in ("t", "lambda1", "lambda2", "lambda3", "lambda1_err", "lambda2_err", "lambda3_err"):
            value = getattr(h, name)[i]
            assert np.isnan(value) if r[name] == "" else same(value, r[name]), (i, name)


def test_a_fault_is_a_result_not_an_exception():
    s = veltrano.spectrum(100, 1e200, 28, 2.6667)
    assert not s.ok and s.t == 0 and all(np.isnan(s.lambdas))
    h = veltrano.history(9999, 280, 28, 2.6667)
    assert not h.ok and len(h) == 4  # the intervals completed before the fault
    assert repr(h) == "History(4 rows, ok=False)" and h.lambda1_err is None
    # A fault after 23 batches: the batches were enough for error bars, but a
    # point that did not finish has none, nor a dimension.
    late = veltrano.spectrum(100, 278.5, 28, 2.6667, errors=True, batch=1)
    assert not late.ok and late.intervals == 23
    assert all(np.isnan(late.errors)) and np.isnan(late.kaplan_yorke) and all(np.isnan(late.lambdas))
    plain = veltrano.sweep(5, 10, [20, 28], 2.6667)
    assert plain.intervals is None and plain.lambda1_err is None and plain.lambda3_err is None
    assert veltrano.spectrum(5, 300, 28, 2.6667, transient=100).t == 0  # a fault in the transient


def test_three_sequences_vary_in_the_order_sigma_r_b_and_numbers_add_no_dimension():
    result = veltrano.sweep(3, [9, 10], np.array([20, 25, 30]), [2, 3, 4, 5], threads=1)
    assert result.shape == (2, 3, 4)
    assert result.sigma[1, 0, 0] == 10 and result.R[0, 2, 0] == 30 and result.b[0, 0, 3] == 5
    alone = veltrano.spectrum(3, 10, 30, 4)
    assert result.lambda1[1, 2, 2] == alone.lambdas[0]
    assert veltrano.sweep(3, 10, 28, 2.6667).lambda1.shape == ()
    # Unsigned arrays are axes; a 0-dimensional array is one number.
    unsigned = veltrano.sweep(3, np.array([9, 10], dtype=np.uint8), np.array(30.0), 4, threads=1)
    assert unsigned.shape == (2,) and unsigned.lambda1[1] == alone.lambdas[0]
    assert veltrano.sweep(3, [], 28, 2.6667).lambda1.shape == (0,)
    assert veltrano.sweep(3, [10], 28, np.array([2.6667])).lambda1.shape == (1, 1)
    assert veltrano.sweep(3, [10, 16], 28, [1, 2, 3], vary=("b", "sigma")).lambda1.shape == (3, 2)


@pytest.mark.parametrize(
    "call, cli_args",
    [
        (lambda: veltrano.spectrum(0, 10, 28, 2.6667), ["sweep", "0", "10", "28", "2.6667"]),
        (lambda: veltrano.sweep(10**9 + 1, 10, 28, 2.6667), ["sweep", "1000000001", "10", "28", "2.6667"]),
        (lambda: veltrano.sweep(10**30, 10, 28, 2.6667), ["sweep", "1" + "0" * 30, "10", "28", "2.6667"]),
        (lambda: veltrano.sweep(-10**30, 10, 28, 2.6667), ["sweep", "--", "-1" + "0" * 30, "10", "28", "2.6667"]),
        (lambda: veltrano.sweep(5, 10, 28, 2.6667, batch=2**63), ["sweep", "--batch", 2**63, "5", "10", "28", "2.6667"]),
        (lambda: veltrano.sweep(5, 10, 28, 2.6667, transient=-2**64), ["sweep", "--transient", -2**64, "5", "10", "28", "2.6667"]),
        (lambda: veltrano.spectrum(5, "ten", 28, 2.6667), ["sweep", "5", "ten", "28", "2.6667"]),
        (lambda: veltrano.spectrum(5.5, 10, 28, 2.6667), ["sweep", "5.5", "10", "28", "2.6667"]),
        (lambda: veltrano.spectrum(0, "ten", 28, 2.6667), ["sweep", "0", "ten", "28", "2.6667"]),
        (lambda: veltrano.spectrum(5, 10, float("nan"), 2.6667), ["sweep", "5", "10", "nan", "2.6667"]),
        (lambda: veltrano.history(5, 10, 28, None), ["history", "5", "10", "28", "none"]),
        (lambda: veltrano.sweep(5, 10, 28, 2.6667, step=0), ["sweep", "--step", "0", "5", "10", "28", "2.6667"]),
        (lambda: veltrano.sweep(5, 10, 28, 2.6667, batch=0), ["sweep", "--batch", "0", "5", "10", "28", "2.6667"]),
        (lambda: veltrano.sweep(5, 10, 28, 2.6667, threads=0), ["sweep", "--threads", "0", "5", "10", "28", "2.6667"]),
        (lambda: veltrano.history(5, 10, 28, 2.6667, every=0), ["history", "--every", "0", "5", "10", "28", "2.6667"]),
    ],
)
def test_bad_input_raises_value_error_with_the_command_lines_message(call, cli_args):
    with pytest.raises(ValueError) as raised:
        call()
    run = cli(*cli_args, check=False)
    assert run.returncode == 2
    assert str(raised.value) in run.stderr


@pytest.mark.parametrize("vary", [("sigma",), ("b", "b"), ("b", "sigma", "R"), ("b", "x"), "bs", ("b", 1), 5])
def test_vary_names_exactly_the_sequences_given_each_once(vary):
    with pytest.raises(ValueError, match="vary must name the parameters given as sequences"):
        veltrano.sweep(1, [10, 11], 28, [2, 3], vary=vary)


class FloatRaises:
    """A number-like object whose conversion fails."""

    def __float__(self):
        raise ArithmeticError("no float here")


@pytest.mark.parametrize(
    "bad",
    [None, "28", b"28", [[20, 30]], np.zeros((2, 2)), [20, "30"], [20, float("inf")], {"R": 28}, object(), True,
     FloatRaises(), float("inf"), -float("inf")],
)
def test_nothing_crashes_whatever_the_types(bad):
    with pytest.raises(ValueError):
        veltrano.sweep(5, 10, bad, 2.6667)


def test_other_python_threads_run_while_a_sweep_computes():
    ticks = 0
    running = True

    def count():
        nonlocal ticks
        while running:
            ticks += 1
            time.sleep(0.001)

    counter = threading.Thread(target=count)
    counter.start()
    started = time.monotonic()
    veltrano.sweep(9999, 10, np.linspace(20, 250, 256), 2.6667, threads=1)
    took = time.monotonic() - started
    running = False
    counter.join()
    # With the GIL held the counter would not tick at all while the sweep
    # computes; free, it ticks about once a millisecond.
    assert took > 0.3
    assert ticks > took * 200, f"the other thread ran only {ticks} times in {took:.2f} s"


def test_ctrl_c_stops_a_long_sweep_within_a_second_and_the_interpreter_goes_on():
    timer = threading.Timer(0.3, lambda: os.kill(os.getpid(), signal.SIGINT))
    timer.start()
    started = time.monotonic()
    with pytest.raises(KeyboardInterrupt):
        veltrano.sweep(10**9, 10, np.linspace(20, 250, 16), 2.6667, threads=2)  # hours, unless stopped
    assert time.monotonic() - started < 1.3
    timer.join()
    assert veltrano.spectrum(10, 10, 28, 2.6667).ok


def test_a_failure_inside_the_computation_is_raised_not_swallowed():
    # Memory runs out while a long history is kept: the computation's own
    # MemoryError, not a shortened history (whose arrays would then fail
    # for want of memory with NumPy's MemoryError).
    script = """
import resource, veltrano
with open("/proc/self/statm") as f:
    size = int(f.read().split()[0]) * resource.getpagesize() + 256 * 2**20
resource.setrlimit(resource.RLIMIT_AS, (size, size))
try:
    h = veltrano.history(10**8, 10, 28, 2.6667)
except MemoryError as e:
    print(repr(e))
else:
    print("returned", len(h))
"""
    run = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, timeout=120)
    assert run.stdout.strip() == "MemoryError('std::bad_alloc')", run.stdout + run.stderr


def test_progress_is_reported_and_may_stop_the_sweep():
    seen = []
    veltrano.sweep(2000, 10, np.linspace(0, 250, 100), 2.6667, threads=2, progress=lambda d, t: seen.append((d, t)))
    assert seen and seen[-1] == (100, 100) and all(t == 100 for _, t in seen)
    assert all(a < b for (a, _), (b, _) in zip(seen, seen[1:])), seen  # each count once, never back

    def refuse(done, total):
        raise RuntimeError("enough")

    with pytest.raises(RuntimeError, match="enough"):
        veltrano.sweep(10**9, 10, [20, 30], 2.6667, progress=refuse)


def test_help_and_the_type_stub():
    for function in (veltrano.spectrum, veltrano.history, veltrano.sweep):
        assert function.__doc__ and "target_error" in function.__doc__
    stub = os.path.join(os.path.dirname(veltrano.__file__), "veltrano.pyi")
    assert os.path.exists(stub) and "def sweep(" in open(stub).read()


@pytest.mark.parametrize("truth", [True, False, np.True_, np.False_, np.array(True), np.array(False)])
def test_errors_takes_a_truth_value_of_python_or_numpy(truth):
    s = veltrano.spectrum(30, 10, 28, 2.6667, errors=truth, batch=2)
    assert (s.errors is not None) == bool(truth)
    assert s.lambdas == veltrano.spectrum(30, 10, 28, 2.6667).lambdas


@pytest.mark.parametrize("bad", [1, 0, 0.0, 1.0, "yes", "", None, np.int64(1), np.array([True]), [True]])
def test_errors_refuses_what_is_not_a_truth_value(bad):
    for call in (veltrano.spectrum, veltrano.history, veltrano.sweep):
        with pytest.raises(ValueError, match=r"^errors must be True or False, not "):
            call(5, 10, 28, 2.6667, errors=bad)


@pytest.mark.parametrize(
    "call",
    [
        lambda: veltrano.spectrum(np.True_, 10, 28, 2.6667),
        lambda: veltrano.sweep(np.True_, 10, 28, 2.6667),
        lambda: veltrano.spectrum(5, np.True_, 28, 2.6667),
        lambda: veltrano.spectrum(5, 10, np.array(True), 2.6667),
        lambda: veltrano.sweep(5, 10, [np.True_, np.False_], 2.6667),
        lambda: veltrano.spectrum(5, 10, 28, 2.6667, step=np.True_),
        lambda: veltrano.spectrum(5, 10, 28, 2.6667, target_error=np.True_),
        lambda: veltrano.spectrum(5, 10, 28, 2.6667, batch=np.True_),
        lambda: veltrano.spectrum(5, 10, 28, 2.6667, transient=np.False_),
        lambda: veltrano.spectrum(5, 10, 28, 2.6667, steps_per_interval=np.True_),
        lambda: veltrano.spectrum(5, 10, 28, 2.6667, initial=(np.True_, 1, 1)),
        lambda: veltrano.history(5, 10, 28, 2.6667, every=np.True_),
        lambda: veltrano.sweep(5, 10, 28, 2.6667, threads=np.True_),
    ],
)
def test_a_numpy_bool_is_no_number_as_a_python_bool_is_none(call):
    with pytest.raises(ValueError):
        call()


@pytest.mark.parametrize("value", [np.array([10.0]), np.array([[10.0]])])
def test_an_array_of_one_value_is_no_single_number(value):
    # A parameter of spectrum() is one number; an array holding one is not
    # taken for it (NumPy would convert it, with a warning).
    with pytest.raises(ValueError):
        veltrano.spectrum(5, value, 28, 2.6667)


@pytest.mark.parametrize(
    "call",
    [
        lambda: veltrano.sweep(5, memoryview(b"abc"), 28, 2.6667),
        lambda: veltrano.sweep(5, memoryview(b"abc").cast("b"), 28, 2.6667),
        lambda: veltrano.sweep(5, memoryview(b"abc").cast("c"), 28, 2.6667),
        lambda: veltrano.sweep(5, 10, bytearray(b"\x1c"), 2.6667),
        lambda: veltrano.spectrum(5, 10, 28, 2.6667, initial=memoryview(b"abc")),
        lambda: veltrano.spectrum(5, 10, 28, 2.6667, initial=bytearray(b"abc")),
    ],
)
def test_bytes_are_no_numbers_in_any_wrapping(call):
    with pytest.raises(ValueError):
        call()


def test_a_buffer_of_doubles_is_a_sequence_of_numbers():
    import array

    values = array.array("d", [20.5, 28])
    assert list(veltrano.sweep(3, 10, memoryview(values), 2.6667).R) == [20.5, 28]


@pytest.mark.parametrize(
    "lengths, points",
    [
        ((17, 5882353), 100000001),
        ((10**4, 10**4, 2), 200000000),
        ((2**21, 2**21, 2**21), 2**63),  # one past the largest signed 64-bit number
        ((2**21, 2**21, 2**22), 2**64),  # zero in 64 bits
    ],
)
def test_a_grid_past_the_limit_is_refused_with_its_exact_size(lengths, points):
    axes = [np.zeros(k) for k in lengths] + [2.6667] * (3 - len(lengths))
    with pytest.raises(ValueError) as raised:
        veltrano.sweep(5, *axes)
    assert str(raised.value) == f"the grid has {points} points; a sweep has at most 100000000"


def test_the_keyword_defaults_are_the_command_lines_in_the_calls_and_in_the_help():
    import re

    helped = dict(re.findall(r"--([a-z-]+) \S+ .*\(default ([^)]+)\)", cli("sweep", "--help").stdout))
    expected = {name.replace("-", "_"): "(" + value.replace(",", ", ") + ")" if name == "initial" else value
                for name, value in helped.items()}
    expected.update(errors="False", target_error="None")
    assert set(expected) == {"transient", "initial", "step", "steps_per_interval", "batch", "errors", "target_error"}
    for function in (veltrano.spectrum, veltrano.history, veltrano.sweep):
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



@pytest.mark.parametrize("start, stop, count", [(0, 40, 48), (-3.5, 7.25, 13), (250, 0.1, 9), (28, 28, 3), (5, 9, 1)])
def test_spaced_values_are_those_of_the_command_lines_vary(start, stop, count):
    rows = cli_sweep("--vary", f"R={start}:{stop}:{count}", "1", "10", "28", "2.6667")
    values = veltrano.spaced(start, stop, count)
    assert values.dtype == np.float64 and [v.hex() for v in values] == [float(r["R"]).hex() for r in rows]


@pytest.mark.parametrize(
    "args, message",
    [
        ((0, 1, 0), "count must be a whole number from 1 to 100000000, not 0"),
        ((0, 1, 10**8 + 1), "count must be a whole number from 1 to 100000000, not 100000001"),
        ((0, 1, 2.0), "count must be a whole number from 1 to 100000000, not 2.0"),
        ((0, 1, True), "count must be a whole number from 1 to 100000000, not True"),
        ((float("nan"), 1, 3), "start must be a finite number, not nan"),
        ((0, "1", 3), "stop must be a finite number, not '1'"),
    ],
)
def test_spaced_refuses_what_vary_refuses(args, message):
    with pytest.raises(ValueError) as raised:
        veltrano.spaced(*args)
    assert str(raised.value) == message


def test_a_point_whose_exponents_miss_the_trace_is_inconsistent_and_keeps_its_numbers():
    bad = [
        dict(step=1e-28),  # the vectors never move: lambda = (0, 0, 0), whose sum is not -(sigma + 1 + b)
        dict(step=0.0001, steps_per_interval=2000000),  # the sum comes out near +2.45
    ]
    for options in bad:
        s = veltrano.spectrum(1, 10, 28, 2.6667, **options)
        assert s.status == "inconsistent" and not s.ok and "ok=False, status='inconsistent'" in repr(s)
        assert all(np.isfinite(s.lambdas)) and np.isfinite(s.kaplan_yorke)
        line = veltrano.sweep(1, 10, [28, 28], 2.6667, **options)
        assert list(line.status) == ["inconsistent"] * 2 and not line.ok.any()
        assert [float(v).hex() for v in line.lambda1] == [float(s.lambdas[0]).hex()] * 2
    good = veltrano.spectrum(3, 10, 28, 2.6667)
    assert good.status == "ok" and good.ok and "status" not in repr(good)
    fault = veltrano.spectrum(100, 1e200, 28, 2.6667)
    assert fault.status == "error" and not fault.ok and "status" not in repr(fault)


def test_the_status_of_every_point_of_a_sweep():
    result = veltrano.sweep(300, [10, 300], [28, 20], 2.6667)
    assert result.status.shape == result.ok.shape == (2, 2) and result.status.dtype.kind == "U"
    assert result.status.tolist() == [["ok", "ok"], ["error", "error"]]
    assert (result.ok == (result.status == "ok")).all()
    mixed = veltrano.sweep(3, 10, 28, [2.6667, 2.6667], step=1e-28)
    assert mixed.status.tolist() == ["inconsistent"] * 2
    assert veltrano.sweep(3, [], 28, 2.6667).status.shape == (0,)
    point = veltrano.sweep(3, 10, 28, 2.6667)
    assert point.status.shape == () and point.status == "ok" and point.index.shape == () and point.index == 0
    grid = veltrano.sweep(3, [1, 2], [3, 4, 5], 2.6667)
    assert grid.index.tolist() == [[0, 1, 2], [3, 4, 5]] and grid.index.dtype == np.int64


def test_numpy_scalars_and_zero_dimensional_arrays_are_numbers():
    plain = veltrano.spectrum(5, 10.5, 28, 2.5, initial=(1, 2, 3), step=0.005)
    for kind in (np.float32, np.float64, np.array):
        s = veltrano.spectrum(5, kind(10.5), np.int16(28), kind(2.5), initial=(kind(1), np.int64(2), 3),
                              step=np.float64(0.005), steps_per_interval=np.int32(20))
        assert s.lambdas == plain.lambdas
    unknown = veltrano.spectrum(30, 10, 28, 2.6667, errors=True, batch=5)  # six batches
    assert unknown.intervals == 30 and all(np.isnan(unknown.errors)) and not np.isnan(unknown.lambdas).any()


@pytest.mark.parametrize("initial", [(1, 2), (1, 2, 3, 4), [], "123", b"123", 5, None, (1, 2, "3")])
def test_initial_is_three_numbers(initial):
    with pytest.raises(ValueError, match=r"^--initial .*: expected X,Y,Z"):
        veltrano.spectrum(5, 10, 28, 2.6667, initial=initial)
