"""veltrano.sweep(..., output=PATH): the file of veltrano-cli sweep --output
to the byte, with its lock and its refusals, so that the tool's join, plot
and --resume take what Python writes and the other way round."""

import fcntl
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
BASE = ("10", "28", "2.6667")


def cli(*args):
    return subprocess.run([CLI, *map(str, args)], capture_output=True, text=True)


def cli_file(path, n, vary, *options):
    args = [a for v in vary for a in ("--vary", v)]
    run = cli("sweep", "--no-progress", *args, *options, "--output", path, n, *BASE)
    assert run.returncode == 0, run.stderr
    return path.read_bytes()


def axes_of(vary):
    """sweep()'s sigma, R and b for the tool's --vary texts and base point."""
    values = dict(zip(("sigma", "R", "b"), map(float, BASE)))
    for v in vary:
        name, axis = v.split("=")
        start, stop, count = axis.split(":")
        values[name] = veltrano.spaced(float(start), float(stop), int(count))
    return values["sigma"], values["R"], values["b"]


@pytest.mark.parametrize(
    "vary, keywords, options",
    [
        (["sigma=150:400:24"], {}, []),  # a line with faults
        (["R=0:250:9", "b=1:4:4"], {}, []),
        ([], {}, []),  # the one point of the base values
        (["R=0:250:7"], dict(errors=True, batch=5), ["--errors", "--batch", "5"]),
        (["R=0:250:7"], dict(target_error=0.3, batch=3), ["--target-error", "0.3", "--batch", "3"]),
        (["R=0:250:7"], dict(transient=30, initial=(-3.25, 2.5, 20)), ["--transient", "30", "--initial", "-3.25,2.5,20"]),
        (["R=0:250:7"], dict(step=0.005, steps_per_interval=7), ["--step", "0.005", "--steps-per-interval", "7"]),
        (["sigma=0:40:5", "R=0:250:6"], dict(shard=(2, 3)), ["--shard", "2/3"]),
        (["sigma=0:40:5", "R=0:250:6"], dict(shard=(3, 3), errors=True), ["--shard", "3/3", "--errors"]),
        (["R=0:250:2"], dict(shard=(3, 5)), ["--shard", "3/5"]),  # a shard with no point
        (["R=27:29:3"], dict(step=1e-28), ["--step", "0." + "0" * 27 + "1"]),  # inconsistent rows
    ],
)
def test_a_file_written_from_python_is_the_command_lines_to_the_byte(tmp_path, vary, keywords, options):
    expected = cli_file(tmp_path / "cli.csv", 300, vary, *options)
    ours = tmp_path / "python.csv"
    result = veltrano.sweep(300, *axes_of(vary), output=str(ours), threads=2, **keywords)
    assert ours.read_bytes() == expected
    # What it returns is what it wrote: the points of the file, in its order.
    rows = expected.decode().splitlines()[1:]
    assert [int(r.split(",")[0]) for r in rows] == list(np.ravel(result.index))
    assert [float(r.split(",")[4]).hex() for r in rows] == [float(t).hex() for t in np.ravel(result.t)]
    assert [r.split(",")[9] for r in rows] == list(np.ravel(result.status))


def test_output_takes_a_str_bytes_or_path_like(tmp_path):
    class Where:
        def __fspath__(self):
            return str(tmp_path / "like.csv")

    for output, written in [(str(tmp_path / "a.csv"), "a.csv"), (os.fsencode(tmp_path / "b.csv"), "b.csv"),
                            (Where(), "like.csv")]:
        veltrano.sweep(5, 10, [20, 28], 2.6667, output=output)
        assert (tmp_path / written).read_text().count("\n") == 3


def test_with_a_file_the_result_is_the_sweep_without_one(tmp_path):
    sigma, R = veltrano.spaced(0, 40, 4), veltrano.spaced(0, 250, 5)
    plain = veltrano.sweep(200, sigma, R, 2.6667, errors=True, batch=4)
    written = veltrano.sweep(200, sigma, R, 2.6667, errors=True, batch=4, output=tmp_path / "f.csv")
    assert written.shape == plain.shape == (4, 5)
    for name in ("sigma", "R", "b", "t", "lambda1", "lambda2", "lambda3", "kaplan_yorke", "ok", "status", "index",
                 "intervals", "lambda1_err", "lambda2_err", "lambda3_err"):
        a, b = getattr(written, name), getattr(plain, name)
        assert a.shape == b.shape and a.dtype == b.dtype and a.tobytes() == b.tobytes(), name
    shard = veltrano.sweep(200, sigma, R, 2.6667, shard=(2, 3))
    assert shard.shape == (7,) and list(shard.index) == list(range(6, 13))
    assert shard.lambda1.tobytes() == np.ravel(plain.lambda1)[6:13].tobytes()


def test_the_tool_joins_resumes_and_draws_what_python_writes(tmp_path):
    vary = ["sigma=0:40:6", "R=0:250:7"]
    sigma, R, b = axes_of(vary)
    whole = cli_file(tmp_path / "whole.csv", 200, vary)
    for k in (1, 2, 3):
        veltrano.sweep(200, sigma, R, b, output=tmp_path / f"shard-{k}.csv", shard=(k, 3))
    join = cli("join", *[a for v in vary for a in ("--vary", v)], "--shards", 3, "--input", tmp_path / "shard-{K}.csv",
               "--output", tmp_path / "joined.csv", 200, *BASE)
    assert join.returncode == 0, join.stderr
    assert (tmp_path / "joined.csv").read_bytes() == whole

    cut = tmp_path / "cut.csv"
    cut.write_bytes(whole[: len(whole) * 2 // 3])  # ends inside a row
    resumed = cli("sweep", "--no-progress", *[a for v in vary for a in ("--vary", v)], "--output", cut, "--resume",
                  200, *BASE)
    assert resumed.returncode == 0, resumed.stderr
    assert cut.read_bytes() == whole

    veltrano.sweep(200, sigma, R, b, output=tmp_path / "python.csv", errors=True)
    picture = cli("plot", tmp_path / "python.csv", tmp_path / "map.png")
    if "plugin" not in picture.stderr and "draws no pictures" not in picture.stderr:  # a build without pictures
        assert picture.returncode == 0, picture.stderr


@pytest.mark.parametrize("cut_at", [0.0, 0.1, 0.5, 0.999])
def test_python_resumes_the_tools_file_cut_anywhere_to_the_byte(tmp_path, cut_at):
    vary = ["sigma=0:40:5", "R=0:250:8"]
    whole = cli_file(tmp_path / "whole.csv", 200, vary, "--errors", "--batch", "4")
    cut = tmp_path / "cut.csv"
    cut.write_bytes(whole[: int(len(whole) * cut_at)])
    veltrano.sweep(200, *axes_of(vary), errors=True, batch=4, output=cut, resume=True)
    assert cut.read_bytes() == whole


def test_ctrl_c_leaves_a_file_that_resume_finishes_to_the_byte(tmp_path):
    vary = ["sigma=0:40:4", "R=0:250:64"]
    out = tmp_path / "f.csv"
    timer = threading.Timer(0.3, lambda: os.kill(os.getpid(), signal.SIGINT))
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        veltrano.sweep(20000, *axes_of(vary), output=out, threads=2)
    timer.join()
    assert 1 <= len(out.read_bytes().splitlines()) < 257  # the header at least, not every row
    veltrano.sweep(20000, *axes_of(vary), output=out, resume=True, threads=2)
    assert out.read_bytes() == cli_file(tmp_path / "cli.csv", 20000, vary, "--threads", "2")


def messages_match(python_error, cli_run):
    """The tool's message, with its option's name where Python has a keyword."""
    assert cli_run.returncode != 0
    expected = cli_run.stderr.strip().removeprefix("veltrano-cli sweep: ").replace("--resume", "resume=True")
    assert str(python_error) == expected


def test_refusals_are_the_tools_and_leave_the_file_as_it_was(tmp_path):
    existing = tmp_path / "mine.csv"
    existing.write_bytes(b"a user's file\n")
    with pytest.raises(ValueError) as raised:
        veltrano.sweep(5, 10, [20, 28], 2.6667, output=existing)
    messages_match(raised.value, cli("sweep", "--vary", "R=20:28:2", "--output", existing, 5, *BASE))
    with pytest.raises(ValueError) as raised:
        veltrano.sweep(5, 10, [20, 28], 2.6667, output=existing, resume=True)
    messages_match(raised.value, cli("sweep", "--vary", "R=20:28:2", "--output", existing, "--resume", 5, *BASE))
    assert existing.read_bytes() == b"a user's file\n"

    missing = tmp_path / "no folder" / "f.csv"
    with pytest.raises(OSError) as raised:
        veltrano.sweep(5, 10, [20, 28], 2.6667, output=missing)
    assert not isinstance(raised.value, ValueError)
    messages_match(raised.value, cli("sweep", "--vary", "R=20:28:2", "--output", missing, 5, *BASE))


def test_a_file_held_by_another_writer_is_refused_at_once(tmp_path):
    held = tmp_path / "held.csv"
    cli_file(held, 5, ["R=0:250:4"])
    with open(held, "rb") as other:
        fcntl.flock(other, fcntl.LOCK_EX)  # as another sweep's process holds it
        started = time.monotonic()
        with pytest.raises(ValueError) as raised:
            veltrano.sweep(5, 10, veltrano.spaced(0, 250, 4), 2.6667, output=held, resume=True)
        assert time.monotonic() - started < 1
        messages_match(raised.value, cli("sweep", "--vary", "R=0:250:4", "--output", held, "--resume", 5, *BASE))


@pytest.mark.parametrize(
    "keywords, message",
    [
        (dict(output=""), "output must be the path of a file, not ''"),
        (dict(output=28), "output must be the path of a file, not 28"),
        (dict(output=b""), "output must be the path of a file, not b''"),
        (dict(output="a\0b.csv"), "output must be the path of a file, not 'a\\x00b.csv'"),
        (dict(resume=True), "resume=True needs output=PATH"),
        (dict(resume=1, output="x.csv"), "resume must be True or False, not 1"),
        (dict(resume=None, output="x.csv"), "resume must be True or False, not None"),
        (dict(shard=(0, 3)), "shard (0, 3): expected (K, M) with 1 <= K <= M <= 100000000"),
        (dict(shard=(4, 3)), "shard (4, 3): expected (K, M) with 1 <= K <= M <= 100000000"),
        (dict(shard=(1, 10**8 + 1)), "shard (1, 100000001): expected (K, M) with 1 <= K <= M <= 100000000"),
        (dict(shard=(1, 2, 3)), "shard (1, 2, 3): expected (K, M) with 1 <= K <= M <= 100000000"),
        (dict(shard="1/2"), "shard '1/2': expected (K, M) with 1 <= K <= M <= 100000000"),
        (dict(shard=(1.0, 2)), "shard (1.0, 2): expected (K, M) with 1 <= K <= M <= 100000000"),
        (dict(shard=(True, 2)), "shard (True, 2): expected (K, M) with 1 <= K <= M <= 100000000"),
        (dict(progress=5), "progress must be a callable that takes (done, total), not 5"),
        (dict(shard=b"\x01\x02"), "shard b'\\x01\\x02': expected (K, M) with 1 <= K <= M <= 100000000"),
    ],
)
def test_output_resume_and_shard_refuse_what_they_cannot_take(tmp_path, keywords, message):
    os.chdir(tmp_path)
    with pytest.raises(ValueError) as raised:
        veltrano.sweep(5, 10, [20, 28], 2.6667, **keywords)
    assert str(raised.value) == message
    assert os.listdir(tmp_path) == []


def test_progress_counts_the_rows_of_the_file_and_of_the_shard(tmp_path):
    vary = ["R=0:250:40"]
    lines = cli_file(tmp_path / "whole.csv", 300, vary).splitlines(keepends=True)
    cut = tmp_path / "cut.csv"
    cut.write_bytes(b"".join(lines[:31]))  # the header and 30 rows
    seen = []
    veltrano.sweep(300, *axes_of(vary), output=cut, resume=True, progress=lambda d, t: seen.append((d, t)))
    assert seen[-1] == (40, 40) and all(t == 40 for _, t in seen)
    assert cut.read_bytes() == b"".join(lines)
    seen.clear()
    veltrano.sweep(300, *axes_of(vary), output=tmp_path / "s.csv", shard=(2, 3), progress=lambda d, t: seen.append((d, t)))
    assert seen[-1] == (13, 13)


def test_a_warning_of_too_little_space_comes_before_the_computing(tmp_path):
    # A file system of 64 KiB (mounted in a namespace of its own) and rows of
    # about 150 KB: the warning reaches Python before the first progress
    # report, not after the sweep.
    script = """
import sys, warnings, veltrano
events = []
warnings.showwarning = lambda message, *rest: events.append("warning: " + str(message))

class Enough(Exception):
    pass

def progress(done, total):
    events.append("progress")
    raise Enough()

try:
    veltrano.sweep(2000, 10, veltrano.spaced(0, 250, 1000), 2.6667, output=sys.argv[1] + "/rows.csv", progress=progress)
except Enough:
    pass
print(events[0] if events else "nothing")
"""
    small = tmp_path / "small"
    small.mkdir()
    mounted = "mount -t tmpfs -o size=64k tmpfs \"$1\" || exit 77; exec \"$2\" -c \"$3\" \"$1\""
    try:
        run = subprocess.run(["unshare", "-m", "sh", "-c", mounted, "sh", str(small), sys.executable, script],
                             capture_output=True, text=True, timeout=120)
    except FileNotFoundError:
        pytest.skip("unshare is not installed")
    if run.returncode in (1, 77) and not run.stdout:
        pytest.skip("no mount namespace here: " + run.stderr.strip())
    assert run.stdout.startswith("warning: warning: the rows will take about "), run.stdout + run.stderr
    # Warnings made errors stop the sweep with the warning.
    strict = subprocess.run(["unshare", "-m", "sh", "-c", mounted.replace('exec "$2"', 'exec "$2" -W error'), "sh",
                             str(small), sys.executable, script], capture_output=True, text=True, timeout=120)
    assert strict.returncode == 1 and strict.stdout == "", strict.stdout + strict.stderr
    assert strict.stderr.strip().splitlines()[-1].startswith("RuntimeWarning: warning: the rows will take about ")
