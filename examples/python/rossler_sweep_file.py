"""A sweep of the Rössler flow over the (a, c) plane, written to a file as
its points complete: the file of

    veltrano-cli sweep --system rossler --vary a=0.1:0.3:41 --vary c=4:8:41 --output FILE N

byte for byte, so that the tool's join, plot and --resume take it. Run it
again with the same FILE after a stop (Ctrl-C, a lost machine) and it
continues the file where it stopped; once whole, the file is only read.

    PYTHONPATH=build/release/python python3 examples/python/rossler_sweep_file.py FILE [N]
"""

import os
import sys

import numpy as np

import veltrano

path = sys.argv[1]
n = int(sys.argv[2]) if len(sys.argv) > 2 else 20000
a, c = veltrano.spaced(0.1, 0.3, 41), veltrano.spaced(4, 8, 41)  # the values of the --vary above


def show(done, total):
    print(f"\r{done} of {total} points", end="", file=sys.stderr, flush=True)


rossler = veltrano.system("rossler")
# vary=("a", "c"): a varies slowest, as the first --vary; b keeps its default.
result = rossler.sweep(n, progress=show, vary=("a", "c"), output=path, resume=os.path.exists(path), a=a, c=c)
print(file=sys.stderr)

lambda1 = result.exponents[..., 0]  # shape (41, 41): lambda1 for each (a, c)
chaotic = np.count_nonzero(lambda1 > 0.01)
i, j = np.unravel_index(np.nanargmax(lambda1), lambda1.shape)
print(f"{path}: {result.index.size} points, {chaotic} with lambda1 > 0.01, the largest "
      f"{lambda1[i, j]:.4f} at a = {a[i]:.3f}, c = {c[j]:.2f}")
