"""The Python examples run as the README shows them; each skips where its
library (Matplotlib, Dask) is not installed."""

import os
import subprocess
import sys

import pytest

EXAMPLES = os.environ.get("VELTRANO_EXAMPLES", os.path.join(os.path.dirname(__file__), "../../examples/python"))


def run(script, *args):
    return subprocess.run([sys.executable, os.path.join(EXAMPLES, script), *args], capture_output=True, text=True,
                          timeout=240)


def test_the_map_is_drawn(tmp_path):
    pytest.importorskip("matplotlib")
    picture = tmp_path / "map.png"
    done = run("lambda_map.py", str(picture))
    assert done.returncode == 0, done.stderr
    assert picture.read_bytes()[1:4] == b"PNG"


def test_a_grid_over_a_dask_cluster_is_one_sweep_to_the_bit():
    pytest.importorskip("dask.distributed")
    done = run("dask_sweep.py")
    assert done.returncode == 0, done.stdout + done.stderr
    assert "bit for bit: True" in done.stdout
