"""System.sweep() with threads and a file: the points and the file of
veltrano-cli sweep --system to the bit and the byte, continued by
resume=True, split by shard= for the tool's join, refused as the tool
refuses; and the tool's file plain CSV that numpy reads as it is."""


import numpy as np
import pytest

import veltrano
from conftest import assert_same_arrays, cli, interrupted, rows_of, same

ROSSLER = veltrano.system("rossler")
N = 300
GRID = ["--vary", "c=4:8:3", "--vary", "a=0.1:0.3:2"]  # c slowest
AXES = dict(c=veltrano.spaced(4, 8, 3), a=veltrano.spaced(0.1, 0.3, 2), vary=("c", "a"), b=0.25)
ARRAYS = ("index", "status", "t", "exponents", "half_widths", "mean_divergence", "completed")


def tool_file(path, flow, options, entries):
    cli("sweep", "--system", *flow, "--no-progress", *options, "--output", path, N, *entries)
    return path.read_bytes()


# flow (--system, --dimension), the tool's options and entries, and System.sweep's keywords for them.
CASES = [
    (["rossler"], GRID, ["b=0.25"], AXES),
    (["rossler"], [*GRID, "--exponents", "2", "--errors", "--batch", "5"], ["b=0.25"],
     dict(AXES, exponents=2, errors=True, batch=5)),
    # c = -1e20 stops the first point with an arithmetic fault: an error row.
    (["rossler"], ["--vary", "c=-100000000000000000000:6:3", "--initial", "1,2,3", "--transient", "5"], [],
     dict(c=veltrano.spaced(-1e20, 6, 3), initial=(1, 2, 3), transient=5)),
    (["lorenz96", "--dimension", "5"], ["--vary", "F=7:9:3", "--target-error", "0.5", "--batch", "4"], [],
     dict(F=veltrano.spaced(7, 9, 3), target_error=0.5, batch=4)),
]


@pytest.mark.parametrize("flow, options, entries, keywords", CASES)
def test_the_file_and_points_are_the_tools_on_any_threads(tmp_path, flow, options, entries, keywords):
    expected = tool_file(tmp_path / "cli.csv", flow, options, entries)
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


@pytest.mark.parametrize("cut_at", [0.0, 0.3, 0.999])
def test_resume_finishes_a_cut_file_to_the_byte(tmp_path, cut_at):
    keywords = dict(AXES, errors=True, batch=5)
    whole = tool_file(tmp_path / "whole.csv", ["rossler"], [*GRID, "--errors", "--batch", "5"], ["b=0.25"])
    cut = tmp_path / "cut.csv"
    cut.write_bytes(whole[: int(len(whole) * cut_at)])
    result = ROSSLER.sweep(N, output=str(cut), resume=True, **keywords)
    assert cut.read_bytes() == whole
    assert_same_arrays(result, ROSSLER.sweep(N, **keywords), ARRAYS)  # the rows read back are the points computed


def test_shards_joined_by_the_tool_are_the_whole_file(tmp_path):
    whole = tool_file(tmp_path / "whole.csv", ["rossler"], GRID, ["b=0.25"])
    parts = [ROSSLER.sweep(N, shard=(k, 4), output=tmp_path / f"part{k}.csv", **AXES) for k in range(1, 5)]
    cli("join", "--system", "rossler", *GRID, "--shards", 4, "--input", tmp_path / "part{K}.csv",
        "--output", tmp_path / "joined.csv", N, "b=0.25")
    assert (tmp_path / "joined.csv").read_bytes() == whole
    assert [p.shape for p in parts] == [(1,), (2,), (1,), (2,)]
    assert np.concatenate([p.index for p in parts]).tolist() == list(range(6))
    assert np.concatenate([p.exponents for p in parts]).tobytes() == ROSSLER.sweep(N, **AXES).exponents.tobytes()


def test_ctrl_c_stops_the_threads_and_leaves_a_clean_start_of_the_file(tmp_path):
    interrupted(lambda: ROSSLER.sweep(10**9, 2, output=tmp_path / "f.csv", a=[0.1, 0.2, 0.3]))  # hours, unless stopped
    assert (tmp_path / "f.csv").read_text() == "index,system,a,b,c,t,lambda1,lambda2,lambda3,kaplan_yorke,divergence,status\n"


RULE = "vary must name the parameters given as sequences (a, c), each once, the first varying slowest, not "
# The flow, its keywords, the message, the tool's arguments refused alike (None: it has no counterpart).
REFUSED = [
    (ROSSLER, dict(d=1), "'d' is not a parameter of rossler: the parameters of rossler are a, b, c", ["10", "d=1"]),
    (ROSSLER, dict(exponents=4), "--exponents 4: K must be a whole number from 1 to 3 (the dimension of rossler)",
     ["--exponents", "4", "10"]),
    (ROSSLER, dict(initial=(1, 2)), "initial must be 3 finite numbers, one for each variable of rossler (x, y, z), "
     "not (1, 2)", None),
    (ROSSLER, dict(a=[1, 2], c=[3], vary=("a", "a")), RULE + "('a', 'a')", None),
    (ROSSLER, dict(a=[1, 2], c=[3], vary=("a", "b")), RULE + "('a', 'b')", None),  # b is a number, not a sequence
    (ROSSLER, dict(a=[1, 2], c=[3], vary="ac"), RULE + "'ac'", None),
    (veltrano.system("lorenz84"), dict(a=[1], b=[1], F=[1], G=[1]),
     "at most three parameters vary in a sweep (as --vary at most three times), not the 4 sequences a, b, F, G", None),
    (ROSSLER, dict(shard=(3, 2)), "shard (3, 2): expected (K, M) with 1 <= K <= M <= 100000000", None),
    (ROSSLER, dict(output=None, resume=True), "resume=True needs output=PATH", None),
]


@pytest.mark.parametrize("flow, keywords, message, command_line", REFUSED)
def test_bad_arguments_are_refused_before_any_file(tmp_path, flow, keywords, message, command_line):
    with pytest.raises(ValueError) as raised:
        flow.sweep(10, **dict(dict(output=tmp_path / "out.csv"), **keywords))
    assert str(raised.value) == message and not (tmp_path / "out.csv").exists()
    if command_line:
        run = cli("sweep", "--system", "rossler", "--output", tmp_path / "out.csv", *command_line, check=False)
        assert run.returncode == 2 and message in run.stderr and not (tmp_path / "out.csv").exists()


# A file that is not this sweep's (the user's, another flow's, the Lorenz form's): the tool's message, left as it was.
@pytest.mark.parametrize("resume, made_by", [(False, ["--system", "rossler", "--vary", "a=0.1:0.2:2", 10]),
                                             (True, ["--system", "thomas", "--vary", "b=0.1:0.2:2", 10]),
                                             (True, ["--system", "chen", "--vary", "a=0.1:0.2:2", 10]),
                                             (True, ["--vary", "R=20:30:2", 10, 10, 28, 2.5])])
def test_a_file_of_another_sweep_is_left_as_it_was(tmp_path, resume, made_by):
    path = tmp_path / "other.csv"
    cli("sweep", *made_by, "--output", path)
    kept = path.read_bytes()
    with pytest.raises(ValueError) as raised:
        ROSSLER.sweep(10, a=veltrano.spaced(0.1, 0.2, 2), output=path, resume=resume)
    run = cli("sweep", "--system", "rossler", "--vary", "a=0.1:0.2:2", "--output", path, *["--resume"] * resume, 10,
              check=False)
    assert run.returncode == 2 and str(raised.value) == run.stderr.strip().removeprefix(
        "veltrano-cli sweep: ").replace("--resume", "resume=True")
    assert path.read_bytes() == kept


# One column per field, numbers as the same doubles, an error row's empty numbers as NaN.
COLUMNS = ("index", "system", "a", "b", "c", "t", "lambda1", "lambda2", "kaplan_yorke", "divergence", "status",
           "intervals", "lambda1_err", "lambda2_err")


def test_numpy_reads_the_columns_and_the_numbers(tmp_path):
    path = tmp_path / "rossler.csv"
    # c = -1e20 stops the first points with an arithmetic error.
    cli("sweep", "--system", "rossler", "--exponents", "2", "--errors", "--batch", "5", "--no-progress",
        "--vary", "c=-100000000000000000000:6:3", "--vary", "a=0.1:0.2:2", "--output", path, 200)
    rows = np.genfromtxt(path, names=True, delimiter=",", dtype=None, encoding="utf-8")
    assert rows.dtype.names == COLUMNS
    lines = path.read_text().splitlines()[1:]
    assert len(rows) == len(lines) == 6
    for row, line in zip(rows, lines):
        fields = line.split(",")
        assert row["system"] == "rossler" and row["status"] == fields[10]
        for name in ("c", "t", "lambda1", "divergence"):
            text = fields[COLUMNS.index(name)]
            assert np.isnan(row[name]) if text == "" else row[name] == float(text), (name, line)
    assert set(rows["status"]) == {"error", "ok"}
