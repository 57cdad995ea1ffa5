"""The Python examples run as the README shows them; each skips where its
library (Matplotlib, Dask) is not installed."""

import os
import subprocess
import sys

import pytest

EXAMPLES = os.environ.get("VELTRANO_EXAMPLES", os.path.join(os.path.dirname(__file__), "../../examples/python"))


def run(tmp_path, script, *args):
    """The script (an example's name, or a path) run with its temporary files,
    Dask's working folders among them, in tmp_path rather than the system's."""
    return subprocess.run([sys.executable, os.path.join(EXAMPLES, script), *args], capture_output=True, text=True,
                          timeout=240, cwd=tmp_path, env=dict(os.environ, TMPDIR=str(tmp_path)))


def test_the_map_is_drawn(tmp_path):
    pytest.importorskip("matplotlib")
    picture = tmp_path / "map.png"
    done = run(tmp_path, "lambda_map.py", str(picture))
    assert done.returncode == 0, done.stderr
    assert picture.read_bytes()[1:4] == b"PNG"


def test_a_grid_over_a_dask_cluster_is_one_sweep_to_the_bit(tmp_path):
    pytest.importorskip("dask.distributed")
    done = run(tmp_path, "dask_sweep.py")
    assert done.returncode == 0, done.stdout + done.stderr
    assert "bit for bit: True" in done.stdout


# The example loaded from where it lies, as one loads a file that is on no
# path: the workers have no copy of it.
USER_SCRIPT = """
import importlib.util
import sys

import numpy as np
from dask.distributed import Client, LocalCluster

import veltrano

if __name__ == "__main__":
    found = importlib.util.spec_from_file_location("dask_sweep", sys.argv[1])
    example = sys.modules["dask_sweep"] = importlib.util.module_from_spec(found)
    found.loader.exec_module(example)
    FIELDS, bitwise_equal, distributed_sweep = example.FIELDS, example.bitwise_equal, example.distributed_sweep
    sigma, R = np.linspace(0, 40, 6), np.linspace(0, 200, 5)
    with Client(LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None)) as client:
        spread = distributed_sweep(client, 50, sigma, R, 2.6667, rows_per_block=2)
    whole = veltrano.sweep(50, sigma, R, 2.6667)
    print("same:", all(bitwise_equal(spread[name], getattr(whole, name)) for name in FIELDS))
"""


def test_the_dask_example_works_when_a_users_script_imports_it(tmp_path):
    pytest.importorskip("dask.distributed")
    script = tmp_path / "my_study.py"
    script.write_text(USER_SCRIPT)
    done = run(tmp_path, str(script), os.path.abspath(os.path.join(EXAMPLES, "dask_sweep.py")))
    assert done.returncode == 0, done.stdout + done.stderr
    assert "same: True" in done.stdout


# The folder is made when it does not exist yet; a whole file that exists is
# refused before any task runs, and left as it was.
def test_shards_written_over_a_dask_cluster_join_into_one_sweeps_file(tmp_path):
    pytest.importorskip("dask.distributed")
    folder = tmp_path / "new" / "shards"
    done = run(tmp_path, "dask_sweep.py", "--files", str(folder))
    assert done.returncode == 0, done.stdout + done.stderr
    assert "byte for byte: True" in done.stdout
    again = run(tmp_path, "dask_sweep.py", "--files", str(folder))
    assert (again.returncode, again.stdout) == (2, "")
    assert again.stderr.endswith(f"--files {folder}: sweep.csv exists already; choose another folder or remove it\n")
    assert sorted(os.listdir(folder)) == ["one-machine.csv", *(f"shard-{k}.csv" for k in range(1, 7)), "sweep.csv"]
    lines = (folder / "sweep.csv").read_text().splitlines()
    assert len(lines) == 1 + 48 * 64 and lines[-1].startswith(f"{48 * 64 - 1},40,200,")


def test_the_rossler_sweep_writes_the_tools_file_and_continues_it(tmp_path):
    from conftest import cli

    expected = cli("sweep", "--system", "rossler", "--vary", "a=0.1:0.3:41", "--vary", "c=4:8:41", 40).stdout
    for cut in (None, 30000):  # a whole run, then a file cut short and continued
        if cut:
            (tmp_path / "r.csv").write_text(expected[:cut])
        done = run(tmp_path, "rossler_sweep_file.py", "r.csv", "40")
        assert done.returncode == 0 and "r.csv: 1681 points" in done.stdout, done.stderr
        assert (tmp_path / "r.csv").read_text() == expected
