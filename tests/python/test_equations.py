"""Flows typed as text from Python: veltrano.equations() runs the compiled
equations to the bit of the catalogue's flow and of veltrano-cli --equations,
and refuses a text with the parser's message."""

import hashlib

import numpy as np
import pytest

import veltrano
from conftest import cli, same

CATALOGUE = veltrano.system("rossler")


def catalogue_text(name):
    """The equation lines veltrano-cli systems NAME prints: the flow typed in its own order."""
    lines = cli("systems", name).stdout.split("Equations:\n")[1].split("\n\n")[0]
    return "".join(line.strip() + "\n" for line in lines.splitlines())


TEXT = catalogue_text("rossler")
TYPED = veltrano.equations(TEXT)
# Four variables: the engine compiled for any dimension, not the three of Rössler.
HYPER = "x' = s*(y - x)\ny' = x*(r - z) - y\nz' = x*y - b*z\nw' = x - d*w  # driven by x\n" \
        "s = 10; r = 28; b = 8/3; d = 0.5\nw(0) = 0\n"


def test_the_typed_system_describes_its_text():
    assert (TYPED.name, TYPED.dimension, TYPED.variables) == ("equations", 3, CATALOGUE.variables)
    assert TYPED.parameters == CATALOGUE.parameters and list(TYPED.parameters) == ["a", "b", "c"]
    assert TYPED.start == CATALOGUE.start and TYPED.equations == TEXT
    assert TYPED.digest == hashlib.sha256(TEXT.encode()).hexdigest() and CATALOGUE.digest is None
    assert veltrano.equations(TEXT + "# another text\n").digest != TYPED.digest
    assert "equations" in repr(TYPED)


# keywords of a run, each the catalogue's Rössler to the bit.
RUNS = [dict(), dict(c=5.3, a=0.25), dict(exponents=2, initial=(2, -1, 0.5)), dict(errors=True, batch=10, b=0.3)]


@pytest.mark.parametrize("keywords", RUNS)
def test_a_run_is_the_catalogues_flow_to_the_bit(keywords):
    mine, theirs = TYPED.spectrum(300, **keywords), CATALOGUE.spectrum(300, **keywords)
    assert mine.completed and mine.t == theirs.t and mine.exponents == theirs.exponents
    assert mine.half_widths == theirs.half_widths and mine.intervals == theirs.intervals
    assert mine.mean_divergence == theirs.mean_divergence


# (A text of the catalogue's flow: as that flow, which is the command line's.)
def test_a_run_of_four_variables_is_the_command_lines_to_the_bit_and_a_sweeps_points_are_runs(tmp_path):
    path = tmp_path / "typed.txt"
    path.write_text(HYPER)
    lines = dict(line.split("\t") for line in cli("--equations", path, "--precise", "--exponents", 2, 200, "r=27.5")
                 .stdout.splitlines())
    hyper = veltrano.equations(HYPER)
    result = hyper.spectrum(200, exponents=2, r=27.5)
    assert same(result.t, lines["t"]) and len(result.exponents) == 2
    assert all(same(v, lines[f"lambda{i + 1}"]) for i, v in enumerate(result.exponents))
    sweep = hyper.sweep(60, threads=2, d=[0.03, 0.04, 0.05], exponents=2)  # each point of a sweep its spectrum
    for i, d in enumerate([0.03, 0.04, 0.05]):
        assert tuple(sweep.exponents[i]) == hyper.spectrum(60, d=d, exponents=2).exponents


def test_a_history_is_the_catalogues_row_for_row():
    mine = TYPED.history(60, every=7, errors=True, batch=5, c=5.0)
    theirs = CATALOGUE.history(60, every=7, errors=True, batch=5, c=5.0)
    assert mine.system == "equations:" + TYPED.digest and theirs.system == "rossler"
    assert mine.completed and (mine.interval == theirs.interval).all() and (mine.t == theirs.t).all()
    assert np.array_equal(mine.exponents, theirs.exponents)
    assert np.array_equal(mine.half_widths, theirs.half_widths, equal_nan=True)


def test_a_sweep_file_is_the_catalogues_with_the_texts_digest_for_its_name(tmp_path):
    keywords = dict(a=[0.2, 0.25], c=[5, 5.7, 6], threads=2, errors=True, batch=10)
    mine, theirs, cut = tmp_path / "typed.csv", tmp_path / "rossler.csv", tmp_path / "cut.csv"
    result = TYPED.sweep(60, output=mine, **keywords)
    CATALOGUE.sweep(60, output=theirs, **keywords)
    lines = mine.read_text().splitlines()
    assert len(lines) == 7 and all(line.split(",")[1] == "equations:" + TYPED.digest for line in lines[1:])
    assert mine.read_text().replace("equations:" + TYPED.digest, "rossler") == theirs.read_text()
    cut.write_text("\n".join(lines[:4]) + "\n" + lines[4][:20])
    resumed = TYPED.sweep(60, output=cut, resume=True, **keywords)
    assert cut.read_bytes() == mine.read_bytes() and np.array_equal(resumed.exponents, result.exponents)
    with pytest.raises(ValueError, match="rossler"):  # the catalogue's file is another flow's
        TYPED.sweep(60, output=theirs, resume=True, **keywords)


def test_without_the_compiler_the_equations_raise(tmp_path, monkeypatch):
    # A text no other test compiles: GCC's driver is looked for on this PATH.
    monkeypatch.setenv("PATH", str(tmp_path))
    with pytest.raises(RuntimeError, match="could not be compiled.*gcc-12"):
        veltrano.equations("x' = -x*0.625 + y; y' = -x\n")


# text, the start of the message (the parser's: line, column, reason, the line, a caret).
REFUSED = [
    ("x' = -y +\n", "line 1, column 10: expected a number, a name or '(', found the end of the line\n"
                    "  x' = -y +\n           ^"),
    (b"x' = 1", "the equations must be a str, not b\"x' = 1\""),
    ("x' = 1\ud800\n", "the equations must be text that can be encoded as UTF-8"),
]


@pytest.mark.parametrize("text, message", REFUSED)
def test_a_refused_text_says_where_and_why(tmp_path, text, message):
    with pytest.raises(ValueError) as refused:
        veltrano.equations(text)
    assert str(refused.value).startswith(message)
    if isinstance(text, str) and message.startswith("line"):
        path = tmp_path / "typed.txt"
        path.write_text(text)
        run = cli("--equations", path, "10", check=False)
        assert run.returncode == 2 and str(refused.value) in run.stderr
