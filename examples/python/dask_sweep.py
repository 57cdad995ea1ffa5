"""A grid spread over a Dask cluster, in one of two ways.

In memory: one veltrano.sweep per block of rows, the blocks put together
in order; the arrays are the one-machine sweep to the bit.

In files (--files FOLDER): one task per shard, each writing the file of
'veltrano-cli sweep --shard K/M' (a task run again after a lost worker
continues its file), then 'veltrano-cli join' puts the shards together:
the joined file is the one-machine sweep's file to the byte, and 'veltrano-cli
plot' draws it. On a real cluster FOLDER must be one that every worker sees.

The same code runs on a real scheduler: pass its address (for example
tcp://scheduler:8786) instead of using the LocalCluster.

    PYTHONPATH=build/release/python python3 examples/python/dask_sweep.py [--files FOLDER] [SCHEDULER]

veltrano-cli is taken from the PATH, or from VELTRANO_CLI if set.

Another script may import distributed_sweep or sharded_sweep from this
file: the file is sent to every worker (and to workers that join later), so
that they can unpickle its task functions wherever this file lies.
"""

import argparse
import os
import subprocess
import sys

import numpy as np
from dask.distributed import Client, LocalCluster
from distributed.diagnostics.plugin import UploadFile

import veltrano

FIELDS = ("t", "lambda1", "lambda2", "lambda3", "kaplan_yorke", "status")

# The grid as 'veltrano-cli sweep --vary' names it: the files' rows are the
# tool's for these values only.
VARY = {"sigma": (0, 40, 48), "R": (0, 200, 64)}
N, BASE = 300, (10, 28, 2.6667)


def block(n, sigma_rows, R, b):
    """One block of rows of the grid, computed where the scheduler puts it."""
    result = veltrano.sweep(n, sigma_rows, R, b)
    return {name: getattr(result, name) for name in FIELDS}


def shard(n, sigma, R, b, k, m, path):
    """Shard k of m written to path where the scheduler puts it; continued if
    a task that wrote it was lost. Returns the path."""
    veltrano.sweep(n, sigma, R, b, output=path, resume=True, shard=(k, m))
    return path


def ship_to_workers(client):
    """This file on every worker of the client, present and to come, where
    they import it: a task refers to block() and shard() by this module's
    name. Sent again, it replaces the copy sent before."""
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


def sharded_sweep(client, n, vary, base, folder, shards, tool="veltrano-cli"):
    """The sweep of 'veltrano-cli sweep --vary NAME=FROM:TO:COUNT ... n base'
    (vary maps one or two names to (FROM, TO, COUNT)) as one task per shard,
    each writing folder/shard-K.csv, then joined by the tool into
    folder/sweep.csv, which is returned. The folder is made if it does not
    exist yet."""
    os.makedirs(folder, exist_ok=True)
    ship_to_workers(client)
    values = dict(zip(("sigma", "R", "b"), base))
    values.update({name: veltrano.spaced(*axis) for name, axis in vary.items()})
    pattern = os.path.join(folder, "shard-{K}.csv")
    futures = [
        client.submit(shard, n, values["sigma"], values["R"], values["b"], k, shards, pattern.replace("{K}", str(k)),
                      pure=False)
        for k in range(1, shards + 1)
    ]
    client.gather(futures)
    joined = os.path.join(folder, "sweep.csv")
    axes = [a for name, (start, stop, count) in vary.items() for a in ("--vary", f"{name}={start}:{stop}:{count}")]
    subprocess.run([tool, "join", *axes, "--shards", str(shards), "--input", pattern, "--output", joined, str(n),
                    *map(str, base)], check=True)
    return joined


def bitwise_equal(a, b):
    """The same bits, element by element (NaN and the sign of 0 included)."""
    a, b = np.ascontiguousarray(a), np.ascontiguousarray(b)
    return a.shape == b.shape and a.dtype == b.dtype and a.tobytes() == b.tobytes()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("scheduler", nargs="?", help="a scheduler's address (default: a LocalCluster)")
    parser.add_argument("--files", metavar="FOLDER", help="write one shard per task into FOLDER and join them")
    args = parser.parse_args()
    if args.files:
        # Refused before the cluster starts: the two whole files are never
        # written over (shards that exist are continued).
        if os.path.exists(args.files) and not os.path.isdir(args.files):
            parser.error(f"--files {args.files}: not a folder")
        for name in ("sweep.csv", "one-machine.csv"):
            if os.path.lexists(os.path.join(args.files, name)):
                parser.error(f"--files {args.files}: {name} exists already; choose another folder or remove it")
    if args.scheduler:
        client = Client(args.scheduler)
    else:
        client = Client(LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None))
    sigma, R = veltrano.spaced(*VARY["sigma"]), veltrano.spaced(*VARY["R"])
    with client:
        if args.files:
            tool = os.environ.get("VELTRANO_CLI", "veltrano-cli")
            joined = sharded_sweep(client, N, VARY, BASE, args.files, shards=6, tool=tool)
        else:
            spread = distributed_sweep(client, N, sigma, R, BASE[2])
    if args.files:
        whole = os.path.join(args.files, "one-machine.csv")
        veltrano.sweep(N, sigma, R, BASE[2], output=whole)
        with open(joined, "rb") as a, open(whole, "rb") as b:
            same = a.read() == b.read()
        print(f"{len(sigma)} x {len(R)} points in 6 shards over the cluster, joined into {joined}; "
              f"equal to one sweep's file byte for byte: {same}")
    else:
        whole = veltrano.sweep(N, sigma, R, BASE[2])
        same = all(bitwise_equal(spread[name], getattr(whole, name)) for name in FIELDS)
        print(f"{len(sigma)} x {len(R)} points over the cluster; equal to one sweep bit for bit: {same}")
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
