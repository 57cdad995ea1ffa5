"""Sweeps written from Python, veltrano.sweep() for Lorenz and System.sweep() for the catalogue's flows: the points
and the file of veltrano-cli sweep to the bit and the byte on any threads, continued by resume=True, split by shard=,
stopped by Ctrl-C and refused as the tool refuses, so that the tool's join, plot and --resume take what Python writes
and the other way round."""

import fcntl
import os
import pathlib
import subprocess
import sys
import time

import numpy as np
import pytest

import veltrano
from conftest import (BASE, ERROR_FIELDS, FIELDS, assert_same_arrays, axes_of, cli, cli_file, interrupted, rows_of,
                      same)

ERRORS = (*FIELDS, "intervals", *ERROR_FIELDS)
ROSSLER = veltrano.system("rossler")
N = 300
GRID = ["--vary", "c=4:8:3", "--vary", "a=0.1:0.3:2"]  # c slowest
AXES = dict(c=veltrano.spaced(4, 8, 3), a=veltrano.spaced(0.1, 0.3, 2), vary=("c", "a"), b=0.25)
ARRAYS = ("index", "status", "t", "exponents", "half_widths", "mean_divergence", "completed")


@pytest.mark.parametrize(
    "vary, keywords, options",
    [
        (["sigma=150:400:24"], {}, []),  # a line with faults
        (["R=250:0.1:9", "b=-3.5:7.25:13"], {}, []),
        (["sigma=5:9:1", "R=28:28:3"], {}, []),
        ([], {}, []),  # the one point of the base values
        (["R=0:250:7"], dict(errors=np.array(True), batch=50), ["--errors", "--batch", "50"]),  # too few batches
        (["R=0:250:7"], dict(errors=np.False_, batch=5), ["--batch", "5"]),
        (["R=0:250:7"], dict(target_error=0.3, batch=3), ["--target-error", "0.3", "--batch", "3"]),
        (["R=0:250:7"], dict(transient=30, initial=(-3.25, 2.5, 20)), ["--transient", "30", "--initial", "-3.25,2.5,20"]),
        (["R=0:250:7"], dict(step=0.005, steps_per_interval=7), ["--step", "0.005", "--steps-per-interval", "7"]),
        (["sigma=0:40:5", "R=0:250:6"], dict(shard=(3, 3), errors=True), ["--shard", "3/3", "--errors"]),
        (["R=0:250:2"], dict(shard=(3, 5)), ["--shard", "3/5"]),  # a shard with no point
        (["R=27:29:3"], dict(step=1e-28), ["--step", "0." + "0" * 27 + "1"]),  # inconsistent rows
    ],
)
def test_points_and_file_are_the_command_lines_to_the_bit(tmp_path, vary, keywords, options):
    expected = cli_file(tmp_path / "cli.csv", *[a for v in vary for a in ("--vary", v)], *options, 300, *BASE)
    ours = tmp_path / "python.csv"
    result = veltrano.sweep(300, *axes_of(vary), output=str(ours), threads=2, **keywords)
    assert ours.read_bytes() == expected
    names = ERRORS if "--errors" in options or "--target-error" in options else FIELDS
    rows = rows_of(expected.decode())
    flat = {name: np.ravel(getattr(result, name)) for name in (*names, "ok", "status", "index")}
    assert len(rows) == len(flat["ok"])
    for i, row in enumerate(rows):  # every point the row of the tool in its place, to the bit
        assert int(flat["index"][i]) == int(row["index"]) and flat["status"][i] == row["status"], (i, row)
        assert bool(flat["ok"][i]) == (row["status"] == "ok")
        assert all(same(flat[name][i], row[name]) for name in names), (i, row)
    plain = veltrano.sweep(300, *axes_of(vary), threads=2, **keywords)  # without a file: the same points
    assert_same_arrays(result, plain, ("sigma", "R", "b", *names, "ok", "status", "index"))
    if names == FIELDS:
        assert result.intervals is None and plain.lambda1_err is None and plain.lambda3_err is None


# flow (--system, --dimension), the tool's options and entries, and System.sweep's keywords for them.
CASES = [
    (["rossler"], GRID, ["b=0.25"], AXES),
    (["rossler"], [*GRID, "--exponents", "2", "--errors", "--batch", "5"], ["b=0.25"],
     dict(AXES, exponents=2, errors=True, batch=5)),
    (["rossler"], [*GRID, "--shard", "2/4"], ["b=0.25"], dict(AXES, shard=(2, 4))),
    # c = -1e20 stops the first point with an arithmetic fault: an error row.
    (["rossler"], ["--vary", "c=-100000000000000000000:6:3", "--initial", "1,2,3", "--transient", "5"], [],
     dict(c=veltrano.spaced(-1e20, 6, 3), initial=(1, 2, 3), transient=5)),
    (["lorenz96", "--dimension", "5"], ["--vary", "F=7:9:3", "--target-error", "0.5", "--batch", "4"], [],
     dict(F=veltrano.spaced(7, 9, 3), target_error=0.5, batch=4)),
]


@pytest.mark.parametrize("flow, options, entries, keywords", CASES)
def test_a_flows_file_and_points_are_the_tools_on_any_threads(tmp_path, flow, options, entries, keywords):
    expected = cli_file(tmp_path / "cli.csv", "--system", *flow, *options, N, *entries)
    system = veltrano.system(flow[0], int(flow[2]) if len(flow) > 1 else None)
    seen = []
    result = system.sweep(N, 2, lambda *p: seen.append(p), output=tmp_path / "py.csv", **keywords)
    assert (tmp_path / "py.csv").read_bytes() == expected
    rows = rows_of(expected.decode())
    assert seen[-1] == (len(rows), len(rows)) and [r["status"] for r in rows] == list(np.ravel(result.status))
    assert list(np.ravel(result.completed)) == [r["status"] != "error" for r in rows]
    k = result.exponents.shape[-1]
    columns = dict(index=result.index, t=result.t, divergence=result.mean_divergence,
                   **{f"lambda{j + 1}": result.exponents[..., j] for j in range(k)},
                   **{f"lambda{j + 1}_err": result.half_widths[..., j] for j in range(k) if result.half_widths is not None})
    for name, values in columns.items():
        assert all(same(v, row[name]) for v, row in zip(np.ravel(values), rows)), name
    assert_same_arrays(result, system.sweep(N, 1, **keywords), ARRAYS)  # one thread, no file: the same points


LORENZ_VARY = ["sigma=0:40:5", "R=0:250:8"]
# The tool's arguments for a sweep with error bars, the same sweep from Python, and the arrays of its result.
RESUMABLE = {
    "lorenz": ([*(a for v in LORENZ_VARY for a in ("--vary", v)), "--errors", "--batch", 4, N, *BASE],
               lambda **k: veltrano.sweep(N, *axes_of(LORENZ_VARY), errors=True, batch=4, **k),
               ("sigma", "R", "b", *ERRORS, "ok", "status", "index")),
    "rossler": (["--system", "rossler", *GRID, "--errors", "--batch", 5, N, "b=0.25"],
                lambda **k: ROSSLER.sweep(N, **AXES, errors=True, batch=5, **k), ARRAYS),
}


# The path of the file as a str, as bytes, or as a path-like object; the rows read back count as progress too.
@pytest.mark.parametrize("flow, cut_at, path", [("lorenz", 0.0, str), ("lorenz", 0.1, os.fsencode),
                                                ("rossler", 0.3, pathlib.PurePath), ("rossler", 0.0, os.fsencode)])
def test_python_finishes_the_tools_file_cut_anywhere_to_the_byte(tmp_path, flow, cut_at, path):
    arguments, sweep, arrays = RESUMABLE[flow]
    whole = cli_file(tmp_path / "whole.csv", *arguments)
    cut = tmp_path / "cut.csv"
    cut.write_bytes(whole[: int(len(whole) * cut_at)])
    seen, total = [], whole.count(b"\n") - 1
    result = sweep(output=path(cut), resume=True, progress=lambda *p: seen.append(p))
    assert cut.read_bytes() == whole and seen[-1] == (total, total) and all(t == total for _, t in seen)
    assert_same_arrays(result, sweep(), arrays)  # the rows read back are the points computed


# Hours of computing, unless stopped: the threads stop within a second, no row is begun (without a file: none
# made), and the interpreter goes on.
@pytest.mark.parametrize("sweep, header", [
    (lambda out: veltrano.sweep(10**9, 10, np.linspace(20, 250, 16), 2.6667, threads=2), None),
    (lambda out: veltrano.sweep(10**9, 10, [20, 25, 30], 2.6667, output=out, threads=2), "index,sigma,R,b,t,lambda1,"
     "lambda2,lambda3,kaplan_yorke,status\n"),
    (lambda out: ROSSLER.sweep(10**9, 2, output=out, a=[0.1, 0.2, 0.3]), "index,system,a,b,c,t,lambda1,lambda2,"
     "lambda3,kaplan_yorke,divergence,status\n")])
def test_ctrl_c_stops_the_threads_and_leaves_a_clean_start_of_the_file(tmp_path, sweep, header):
    interrupted(lambda: sweep(tmp_path / "f.csv"))
    assert (tmp_path / "f.csv").read_text() == header if header else os.listdir(tmp_path) == []
    assert veltrano.spectrum(10, 10, 28, 2.6667).ok


LORENZ = (lambda **k: veltrano.sweep(5, 10, [20, 28], 2.6667, **k), ["--vary", "R=20:28:2", 5, *BASE])
FLOW = (lambda **k: ROSSLER.sweep(10, a=veltrano.spaced(0.1, 0.2, 2), **k),
        ["--system", "rossler", "--vary", "a=0.1:0.2:2", 10])


# A file this sweep may not write (a user's; one that another sweep's process holds; one in a missing folder, an
# OSError; another flow's, the Lorenz form's): refused at once with the tool's message, and left as it was.
# What is there (a user's bytes, or the tool's sweep that wrote it), held, resume=, the sweep refused.
@pytest.mark.parametrize("made_by, held, resume, sweep", [
    (b"a user's file\n", False, False, LORENZ), (b"a user's file\n", False, True, LORENZ),
    (["--vary", "R=20:28:2", 5, *BASE], True, True, LORENZ), (None, False, False, LORENZ),
    (["--system", "rossler", "--vary", "a=0.1:0.2:2", 10], False, False, FLOW),
    (["--system", "thomas", "--vary", "b=0.1:0.2:2", 10], False, True, FLOW),
    (["--system", "chen", "--vary", "a=0.1:0.2:2", 10], False, True, FLOW),
    (["--vary", "R=20:30:2", 10, 10, 28, 2.5], False, True, FLOW)])
def test_a_file_not_this_sweeps_is_refused_with_the_tools_message(tmp_path, made_by, held, resume, sweep):
    call, arguments = sweep
    path = tmp_path / ("f.csv" if made_by else "no folder/f.csv")
    if made_by:
        path.write_bytes(made_by) if isinstance(made_by, bytes) else cli_file(path, *made_by)
    kept = made_by and path.read_bytes()
    with open(path if made_by else os.devnull, "rb") as other:
        if held:
            fcntl.flock(other, fcntl.LOCK_EX)  # as another sweep's process holds it
        started = time.monotonic()
        with pytest.raises(ValueError if made_by else OSError) as raised:
            call(output=path, resume=resume)
        assert time.monotonic() - started < 1 and (made_by or not isinstance(raised.value, ValueError))
        run = cli("sweep", *arguments, "--output", path, *["--resume"] * resume, check=False)
    assert run.returncode == (2 if made_by else 1) and str(raised.value) == run.stderr.strip().removeprefix(
        "veltrano-cli sweep: ").replace("--resume", "resume=True")
    assert (made_by and path.read_bytes()) == kept


RULE = "vary must name the parameters given as sequences (a, c), each once, the first varying slowest, not "
# The flow, its keywords, the message, the tool's arguments refused alike (None: it has no counterpart).
REFUSED = [
    (ROSSLER, dict(exponents=4), "--exponents 4: K must be a whole number from 1 to 3 (the dimension of rossler)",
     ["--exponents", "4", "10"]),
    (ROSSLER, dict(a=[1, 2], c=[3], vary=("a", "a")), RULE + "('a', 'a')", None),
    (ROSSLER, dict(a=[1, 2], c=[3], vary=("a", "b")), RULE + "('a', 'b')", None),  # b is a number, not a sequence
    (ROSSLER, dict(a=[1, 2], c=[3], vary="ac"), RULE + "'ac'", None),
    (veltrano.system("lorenz84"), dict(a=[1], b=[1], F=[1], G=[1]),
     "at most three parameters vary in a sweep (as --vary at most three times), not the 4 sequences a, b, F, G", None),
]


@pytest.mark.parametrize("flow, keywords, message, command_line", REFUSED)
def test_a_flows_bad_arguments_are_refused_before_any_file(tmp_path, flow, keywords, message, command_line):
    with pytest.raises(ValueError) as raised:
        flow.sweep(10, **dict(dict(output=tmp_path / "out.csv"), **keywords))
    assert str(raised.value) == message and not (tmp_path / "out.csv").exists()
    if command_line:
        run = cli("sweep", "--system", "rossler", "--output", tmp_path / "out.csv", *command_line, check=False)
        assert run.returncode == 2 and message in run.stderr and not (tmp_path / "out.csv").exists()


def test_progress_counts_every_point_once_and_may_stop_the_sweep():
    seen = []
    veltrano.sweep(2000, 10, np.linspace(0, 250, 100), 2.6667, threads=2, shard=(2, 3), progress=lambda *p: seen.append(p))
    assert seen[-1] == (33, 33) and all(t == 33 for _, t in seen)
    assert all(a < b for (a, _), (b, _) in zip(seen, seen[1:])), seen  # each count once, never back
    seen.clear()
    veltrano.sweep(2 * 10**5, 10, 28, 2.6667, progress=lambda *p: seen.append(p))  # polled several times meanwhile
    assert seen in ([(0, 1), (1, 1)], [(1, 1)]), seen

    def refuse(done, total):
        raise RuntimeError("enough")

    with pytest.raises(RuntimeError, match="enough"):
        veltrano.sweep(10**9, 10, [20, 30], 2.6667, progress=refuse)


SMALL_DISK = """
import sys, warnings, veltrano
events = []
warnings.showwarning = lambda message, *rest: events.append("warning: " + str(message))
def progress(done, total):
    events.append("progress")
    raise StopIteration
try:
    veltrano.sweep(2000, 10, veltrano.spaced(0, 250, 1000), 2.6667, output=sys.argv[1] + "/rows.csv", progress=progress)
except StopIteration:
    pass
print(events[0] if events else "nothing")
"""


def test_a_warning_of_too_little_space_comes_before_the_computing(tmp_path):
    # A file system of 64 KiB (mounted in a namespace of its own) and rows of
    # about 150 KB: the warning reaches Python before the first progress
    # report; warnings made errors stop the sweep with it.
    for strict in (False, True):
        mounted = 'mount -t tmpfs -o size=64k tmpfs "$1" || exit 77; exec "$2" ' + "-W error " * strict + '-c "$3" "$1"'
        try:
            run = subprocess.run(["unshare", "-m", "sh", "-c", mounted, "sh", str(tmp_path), sys.executable, SMALL_DISK],
                                 capture_output=True, text=True, timeout=120)
        except FileNotFoundError:
            pytest.skip("unshare is not installed")
        if run.returncode == 77 or (run.returncode == 1 and "unshare" in run.stderr):
            pytest.skip("no mount namespace here: " + run.stderr.strip())
        said = run.stderr.strip().splitlines()[-1] if strict else run.stdout
        assert run.returncode == strict and (run.stdout == "") == strict, run.stdout + run.stderr
        assert said.startswith(("warning: " if not strict else "RuntimeWarning: ") + "warning: the rows will take about ")
