"""A grid spread over a Dask cluster: one veltrano.sweep per block of rows,
the blocks put together in order. The same code runs on a real scheduler:
pass its address (for example tcp://scheduler:8786) instead of using the
LocalCluster.

    PYTHONPATH=build/release/python python3 examples/python/dask_sweep.py [SCHEDULER]

Another script may import distributed_sweep from this file: the file is
sent to every worker (and to workers that join later), so that they can
unpickle its task function wherever this file lies.
"""

import sys

import numpy as np
from dask.distributed import Client, LocalCluster
from distributed.diagnostics.plugin import UploadFile

import veltrano

FIELDS = ("t", "lambda1", "lambda2", "lambda3", "kaplan_yorke", "ok")


def block(n, sigma_rows, R, b):
    """One block of rows of the grid, computed where the scheduler puts it."""
    result = veltrano.sweep(n, sigma_rows, R, b)
    return {name: getattr(result, name) for name in FIELDS}


def ship_to_workers(client):
    """This file on every worker of the client, present and to come, where
    they import it: a task refers to block() by this module's name. Sent
    again, it replaces the copy sent before."""
    client.register_worker_plugin(UploadFile(__file__), name="dask_sweep.py")


def distributed_sweep(client, n, sigma, R, b, rows_per_block=8):
    """veltrano.sweep(n, sigma, R, b) for 1-D sigma and R and a number b,
    one task per block of rows of sigma; the arrays are put together in
    order, so the result is the one-machine sweep to the bit."""
    ship_to_workers(client)
    blocks = [sigma[i : i + rows_per_block] for i in range(0, len(sigma), rows_per_block)]
    futures = [client.submit(block, n, rows, R, b, pure=False) for rows in blocks]
    parts = client.gather(futures)
    return {name: np.concatenate([part[name] for part in parts]) for name in FIELDS}


def bitwise_equal(a, b):
    """The same bits, element by element (NaN and the sign of 0 included)."""
    a, b = np.ascontiguousarray(a), np.ascontiguousarray(b)
    return a.shape == b.shape and a.dtype == b.dtype and a.tobytes() == b.tobytes()


def main():
    sigma = np.linspace(0, 40, 48)
    R = np.linspace(0, 200, 64)
    if len(sys.argv) > 1:
        client = Client(sys.argv[1])
    else:
        client = Client(LocalCluster(n_workers=2, threads_per_worker=1, processes=True))
    with client:
        spread = distributed_sweep(client, 300, sigma, R, 2.6667)
    whole = veltrano.sweep(300, sigma, R, 2.6667)
    same = all(bitwise_equal(spread[name], getattr(whole, name)) for name in FIELDS)
    print(f"{len(sigma)} x {len(R)} points over the cluster; equal to one sweep bit for bit: {same}")
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
