"""The sweep file of a flow (veltrano-cli sweep --system) is plain CSV that
numpy reads as it is: one column per field, numbers as the same
doubles, an error row's empty numbers as NaN."""

import numpy as np
import pytest

from conftest import cli


@pytest.fixture(scope="module")
def sweep_file(tmp_path_factory):
    path = tmp_path_factory.mktemp("system") / "rossler.csv"
    # c = -1e20 stops the first points with an arithmetic error.
    cli("sweep", "--system", "rossler", "--exponents", "2", "--errors", "--batch", "5", "--no-progress",
        "--vary", "c=-100000000000000000000:6:3", "--vary", "a=0.1:0.2:2", "--output", path, 200)
    return path


COLUMNS = ("index", "system", "a", "b", "c", "t", "lambda1", "lambda2", "kaplan_yorke", "divergence", "status",
           "intervals", "lambda1_err", "lambda2_err")


def test_numpy_reads_the_columns_and_the_numbers(sweep_file):
    rows = np.genfromtxt(sweep_file, names=True, delimiter=",", dtype=None, encoding="utf-8")
    assert rows.dtype.names == COLUMNS
    lines = sweep_file.read_text().splitlines()[1:]
    assert len(rows) == len(lines) == 6
    for row, line in zip(rows, lines):
        fields = line.split(",")
        assert row["system"] == "rossler" and row["status"] == fields[10]
        for name in ("c", "t", "lambda1", "divergence"):
            text = fields[COLUMNS.index(name)]
            assert np.isnan(row[name]) if text == "" else row[name] == float(text), (name, line)
    assert set(rows["status"]) == {"error", "ok"}

