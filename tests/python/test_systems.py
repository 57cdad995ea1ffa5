"""The catalogue's flows from Python: the doubles of veltrano-cli --system,
the Lorenz engine's for Lorenz, the shared rules' messages for bad input."""


import numpy as np
import pytest

import veltrano
from conftest import Endless, cli, interrupted, rows_of, same

LORENZ = dict(sigma=10, R=28, b=8 / 3)


def test_the_catalogue_is_described_in_its_order():
    names = veltrano.systems()
    assert names[:2] == ["lorenz", "rossler"] and len(set(names)) == len(names) > 10
    rossler = veltrano.system("rossler")
    assert (rossler.name, rossler.dimension, rossler.variables) == ("rossler", 3, ("x", "y", "z"))
    assert list(rossler.parameters) == ["a", "b", "c"] and rossler.start == (1.0, 1.0, 1.0)
    assert rossler.equations.splitlines()[0] == "x' = -y - z" and "a = 0.2" in rossler.equations.splitlines()
    assert all(len(p.exponents) == 3 and len(p.parameters) == 3 for p in rossler.spectra)
    wide = veltrano.system("lorenz96", 6)
    assert wide.dimension == len(wide.variables) == len(wide.start) == 6 != veltrano.system("lorenz96").dimension


@pytest.mark.parametrize("keywords", [{}, dict(initial=(2, 3, 4)), dict(transient=7, errors=True, batch=5),
                                      dict(target_error=0.5, batch=10)])
def test_lorenz_by_name_is_the_lorenz_engine_with_the_same_keywords(keywords):
    mine = veltrano.system("lorenz").spectrum(200, **keywords, **LORENZ)
    theirs = veltrano.spectrum(200, *LORENZ.values(), **keywords)
    assert mine.t == theirs.t and mine.exponents == theirs.lambdas and mine.intervals == theirs.intervals
    assert mine.half_widths == theirs.errors  # both None without errors
    # The three add up to the divergence, constant -(sigma + 1 + b) for Lorenz.
    assert abs(mine.mean_divergence + 10 + 1 + 8 / 3) < 1e-9 and abs(sum(mine.exponents) - mine.mean_divergence) < 1e-3


ROSSLER = veltrano.system("rossler")
SHAPE = "initial must be 3 finite numbers, one for each variable of rossler (x, y, z), not "
# What is refused, its message, and the command line that refuses it alike (None: it has no counterpart).
REFUSED = [
    (lambda: veltrano.system("nope"), "there is no system 'nope': the catalogue has lorenz, rossler, ...",
     ["--system", "nope", "10"]),
    (lambda: veltrano.system("lorenz", 4),
     "lorenz has the fixed dimension 3: --dimension is only for a flow whose dimension is chosen",
     ["--system", "lorenz", "--dimension", "4", "10"]),
    (lambda: veltrano.system("lorenz96", 65),
     "--dimension 65: the dimension of lorenz96 must be a whole number from 4 to 64",
     ["--system", "lorenz96", "--dimension", "65", "10"]),
    (lambda: veltrano.system(3), "the name of a system must be a str, not 3", None),
    (lambda: veltrano.system("\udc80"), "there is no system '\\udc80': the catalogue has lorenz, ...", None),
    (lambda: veltrano.system("rossler\0x"), "there is no system 'rossler\\x00x': the catalogue has lorenz, ...", None),
    (lambda: veltrano.system("lorenz96", 10**30),
     "--dimension 1000000000000000000000000000000: the dimension of lorenz96 must be ...", None),
    (lambda: ROSSLER.spectrum(10, **{"a=1": 2}), "'a=1' is not a parameter of rossler: the parameters of rossler are a, b, c",
     None),
    (lambda: ROSSLER.spectrum(10, d=1), "'d' is not a parameter of rossler: the parameters of rossler are a, b, c",
     ["--system", "rossler", "10", "d=1"]),
    (lambda: veltrano.system("henon-heiles").spectrum(10, a=1),
     "'a' is not a parameter of henon-heiles: henon-heiles has no parameters",
     ["--system", "henon-heiles", "10", "a=1"]),
    (lambda: ROSSLER.spectrum(10, a="1"), "a must be a finite number, not '1'", None),
    (lambda: ROSSLER.spectrum(10, exponents=0),
     "--exponents 0: K must be a whole number from 1 to 3 (the dimension of rossler)",
     ["--system", "rossler", "--exponents", "0", "10"]),
    (lambda: ROSSLER.spectrum(10**10), "Deve essere N <= 1000000000", None),
    *[(lambda bad=bad: ROSSLER.spectrum(10, initial=bad), SHAPE + repr(bad), None)
      for bad in [(1, 2), (1, 2, 3, 4), "123", b"123", 5, (1, 2, "3"), (1, float("nan"), 1), (True, 1, 1)]],
    (lambda: veltrano.system("lorenz96", 6).history(10, initial=(1, 1, 1)),
     "initial must be 6 finite numbers, one for each variable of lorenz96 (x1, x2, x3, x4, x5, x6), not (1, 1, 1)", None),
    (lambda: ROSSLER.history(10, every=0), "--every 0: K must be a whole number from 1 to 1000000000",
     ["history", "--system", "rossler", "--every", "0", "10"]),
    (lambda: ROSSLER.history(10, q=1), "'q' is not a parameter of rossler: ...", None),
    (lambda: ROSSLER.spectrum(10, dimension=4),
     "'dimension' is not a parameter of rossler: the parameters of rossler are a, b, c; rossler has the fixed dimension 3",
     None),
    (lambda: veltrano.system("lorenz96").sweep(10, F=[8], dimension=6),
     "'dimension' is not a parameter of lorenz96: the parameters of lorenz96 are F; the dimension is chosen with the "
     "flow, as veltrano.system(\"lorenz96\", dimension)", None),
]


@pytest.mark.parametrize("call, message, command_line", REFUSED)
def test_bad_input_is_refused_with_the_shared_message(call, message, command_line):
    with pytest.raises(ValueError) as raised:
        call()
    text = str(raised.value)
    assert text.startswith(message[:-3]) if message.endswith("...") else text == message
    if command_line:
        run = cli(*command_line, check=False)
        assert run.returncode == 2 and text in run.stderr


def test_ctrl_c_stops_a_long_run_within_a_second():
    interrupted(lambda: veltrano.system("lorenz96", 40).spectrum(10**9))  # hours, unless stopped
    assert ROSSLER.spectrum(10).completed


# The shape of the sequences in the flow's order (each point's numbers: as the tool's rows, in the sweeps' files).
def test_a_sweep_is_the_outer_product_of_the_sequences_in_the_flows_order():
    a, c = [0.2, 0.25], np.array([5, 5.7, 6])
    result = ROSSLER.sweep(100, a=a, b=0.3, c=c, exponents=2, errors=True, batch=10)
    assert result.shape == (2, 3) == result.t.shape == result.completed.shape == result.mean_divergence.shape
    assert result.exponents.shape == result.half_widths.shape == (2, 3, 2) and result.completed.all()
    alone = ROSSLER.spectrum(100, a=a[0], b=0.3, c=c[2], exponents=2, errors=True, batch=10)
    assert tuple(result.exponents[0, 2]) == alone.exponents and tuple(result.half_widths[0, 2]) == alone.half_widths
    wide = veltrano.system("lorenz96", 5).sweep(20, F=[7, 8])
    assert wide.exponents.shape == (2, 5) and wide.half_widths is None
    assert tuple(wide.exponents[1]) == veltrano.system("lorenz96", 5).spectrum(20).exponents
    point = ROSSLER.sweep(10)
    assert point.shape == () and point.exponents.shape == (3,) and tuple(point.exponents) == ROSSLER.spectrum(10).exponents


# A flow's sweep: its grid, and one value of each kind (the rules of each value: veltrano.sweep's).
@pytest.mark.parametrize("parameters, message", [
    (dict(a=[[0.2]]), "a must be a finite number, not [[0.2]] (a number or a 1-D sequence of numbers)"),
    (dict(a=np.zeros(10**4), b=np.zeros(10**4), c=[1, 2]), "the grid has 200000000 points; a sweep has at most 100000000"),
    (dict(b=[0.2], a=Endless()), "the grid has 1000000000 points; a sweep has at most 100000000"),
    (dict(c=np.ma.masked_array([5, 6], mask=[0, 1])), "c must be a finite number, not masked_array(data=[5, --],..."),
])
def test_a_sweep_refuses_what_is_not_a_grid(parameters, message):
    with pytest.raises(ValueError) as raised:
        ROSSLER.sweep(10, **parameters)
    text = str(raised.value)
    assert text.startswith(message[:-3]) and text.endswith(")") if message.endswith("...") else text == message


# name, dimension, n, every, keywords, the tool's arguments for them: each row the tool's history --system to the
# bit, the last the run's spectrum.
HISTORIES = [("rossler", None, 60, 25, dict(initial=(-1, 2.5, 0.25), a=0.25, errors=True, batch=3),
              ["--initial", "-1,2.5,0.25", "--errors", "--batch", 3, 60, "a=0.25"]),
             ("lorenz96", 6, 40, 7, dict(exponents=2, F=9, transient=3),
              ["--dimension", 6, "--exponents", 2, "--transient", 3, 40, "F=9"])]


@pytest.mark.parametrize("name, dimension, n, every, keywords, arguments", HISTORIES)
def test_a_history_is_the_tools_file_to_the_bit(tmp_path, name, dimension, n, every, keywords, arguments):
    cli("history", "--system", name, "--every", every, "--output", tmp_path / "h.csv", *arguments)
    rows = rows_of((tmp_path / "h.csv").read_text())
    flow = veltrano.system(name, dimension)
    result = flow.history(n, every, **keywords)
    k = keywords.get("exponents", flow.dimension)
    assert result.completed and len(result) == len(rows) and result.exponents.shape == (len(rows), k)
    assert (result.half_widths is None) != bool(keywords.get("errors"))
    for i, row in enumerate(rows):
        assert (row["system"], int(row["interval"])) == (result.system, result.interval[i]) and same(result.t[i], row["t"])
        for j in range(k):
            assert same(result.exponents[i, j], row[f"lambda{j + 1}"])
            if result.half_widths is not None:
                assert same(result.half_widths[i, j], row[f"lambda{j + 1}_err"])
    assert tuple(result.exponents[-1]) == flow.spectrum(n, **keywords).exponents
