"""veltrano.sweep(): the points and the file of veltrano-cli sweep to the bit
and the byte, with the file's lock and refusals, so that the tool's join,
plot and --resume take what Python writes and the other way round."""

import fcntl
import os
import pathlib
import subprocess
import sys
import time

import numpy as np
import pytest

import veltrano
from conftest import (BASE, ERROR_FIELDS, FIELDS, assert_same_arrays, axes_of, check_rows, cli, cli_file, interrupted,
                      rows_of)

ERRORS = (*FIELDS, "intervals", *ERROR_FIELDS)


@pytest.mark.parametrize(
    "vary, keywords, options",
    [
        (["sigma=150:400:24"], {}, []),  # a line with faults
        (["R=0:250:9", "b=1:4:4"], {}, []),
        (["R=250:0.1:9", "b=-3.5:7.25:13"], {}, []),
        (["sigma=5:9:1", "R=28:28:3"], {}, []),
        ([], {}, []),  # the one point of the base values
        (["R=0:250:7"], dict(errors=True, batch=5), ["--errors", "--batch", "5"]),
        (["R=0:250:7"], dict(errors=np.array(True), batch=50), ["--errors", "--batch", "50"]),  # too few batches
        (["R=0:250:7"], dict(errors=np.False_, batch=5), ["--batch", "5"]),
        (["R=0:250:7"], dict(target_error=0.3, batch=3), ["--target-error", "0.3", "--batch", "3"]),
        (["R=0:250:7"], dict(transient=30, initial=(-3.25, 2.5, 20)), ["--transient", "30", "--initial", "-3.25,2.5,20"]),
        (["R=0:250:7"], dict(step=0.005, steps_per_interval=7), ["--step", "0.005", "--steps-per-interval", "7"]),
        (["sigma=0:40:5", "R=0:250:6"], dict(shard=(2, 3)), ["--shard", "2/3"]),
        (["sigma=0:40:5", "R=0:250:6"], dict(shard=(3, 3), errors=True), ["--shard", "3/3", "--errors"]),
        (["R=0:250:2"], dict(shard=(3, 5)), ["--shard", "3/5"]),  # a shard with no point
        (["R=27:29:3"], dict(step=1e-28), ["--step", "0." + "0" * 27 + "1"]),  # inconsistent rows
    ],
)
def test_points_and_file_are_the_command_lines_to_the_bit(tmp_path, vary, keywords, options):
    expected = cli_file(tmp_path / "cli.csv", 300, vary, *options)
    ours = tmp_path / "python.csv"
    result = veltrano.sweep(300, *axes_of(vary), output=str(ours), threads=2, **keywords)
    assert ours.read_bytes() == expected
    names = ERRORS if "--errors" in options or "--target-error" in options else FIELDS
    check_rows(result, rows_of(expected.decode()), names)
    plain = veltrano.sweep(300, *axes_of(vary), threads=2, **keywords)  # without a file: the same points
    assert_same_arrays(result, plain, ("sigma", "R", "b", *names, "ok", "status", "index"))
    if names == FIELDS:
        assert result.intervals is None and plain.lambda1_err is None and plain.lambda3_err is None


# The path of the file as a str, as bytes, or as a path-like object.
@pytest.mark.parametrize("cut_at, path", [(0.0, str), (0.1, os.fsencode), (0.5, pathlib.PurePath), (0.999, str)])
def test_python_resumes_the_tools_file_cut_anywhere_to_the_byte(tmp_path, cut_at, path):
    vary = ["sigma=0:40:5", "R=0:250:8"]
    whole = cli_file(tmp_path / "whole.csv", 200, vary, "--errors", "--batch", "4")
    cut = tmp_path / "cut.csv"
    cut.write_bytes(whole[: int(len(whole) * cut_at)])
    veltrano.sweep(200, *axes_of(vary), errors=True, batch=4, output=path(cut), resume=True)
    assert cut.read_bytes() == whole


def test_ctrl_c_leaves_a_file_that_resume_finishes_to_the_byte(tmp_path):
    vary = ["sigma=0:40:2", "R=0:250:32"]
    out = tmp_path / "f.csv"
    # About a second of computing on a quiet machine: the interruption at 0.3 s always comes mid-sweep.
    interrupted(lambda: veltrano.sweep(100000, *axes_of(vary), output=out, threads=2))
    assert 1 <= len(out.read_bytes().splitlines()) < 65  # the header at least, not every row
    veltrano.sweep(100000, *axes_of(vary), output=out, resume=True, threads=2)
    assert out.read_bytes() == cli_file(tmp_path / "cli.csv", 100000, vary, "--threads", "2")


def test_refusals_are_the_tools_and_leave_the_file_as_it_was(tmp_path):
    existing, held, missing = tmp_path / "mine.csv", tmp_path / "held.csv", tmp_path / "no folder" / "f.csv"
    existing.write_bytes(b"a user's file\n")
    cli_file(held, 5, ["R=20:28:2"])
    with open(held, "rb") as other:
        fcntl.flock(other, fcntl.LOCK_EX)  # as another sweep's process holds it
        for path, resume, error in [(existing, False, ValueError), (existing, True, ValueError),
                                    (held, True, ValueError), (missing, False, OSError)]:
            started = time.monotonic()
            with pytest.raises(error) as raised:
                veltrano.sweep(5, 10, [20, 28], 2.6667, output=path, resume=resume)
            assert time.monotonic() - started < 1 and (error is ValueError or not isinstance(raised.value, ValueError))
            run = cli("sweep", "--vary", "R=20:28:2", "--output", path, *["--resume"] * resume, 5, *BASE, check=False)
            assert run.returncode != 0 and str(raised.value) == run.stderr.strip().removeprefix(
                "veltrano-cli sweep: ").replace("--resume", "resume=True")
    assert existing.read_bytes() == b"a user's file\n"


def test_progress_counts_every_point_once_and_may_stop_the_sweep(tmp_path):
    lines = cli_file(tmp_path / "whole.csv", 300, ["R=0:250:40"]).splitlines(keepends=True)
    cut = tmp_path / "cut.csv"
    cut.write_bytes(b"".join(lines[:31]))  # the header and 30 rows
    seen = []
    veltrano.sweep(300, *axes_of(["R=0:250:40"]), output=cut, resume=True, progress=lambda *p: seen.append(p))
    assert seen[-1] == (40, 40) and all(t == 40 for _, t in seen) and cut.read_bytes() == b"".join(lines)
    seen.clear()
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
