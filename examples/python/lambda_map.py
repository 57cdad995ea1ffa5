"""The largest Lyapunov exponent over the (sigma, R) plane, drawn with
Matplotlib from one call of veltrano.sweep.

    PYTHONPATH=build/release/python python3 examples/python/lambda_map.py map.png
"""

import sys

import matplotlib

matplotlib.use("Agg")  # no display needed
import matplotlib.pyplot as plt
import numpy as np

import veltrano

sigma = np.linspace(0, 40, 161)
R = np.linspace(0, 200, 201)
result = veltrano.sweep(500, sigma, R, 2.6667)  # shape (161, 201): sigma varies slowest

lambda1 = np.ma.masked_invalid(result.lambda1)  # NaN where an arithmetic fault stopped a point
limit = np.nanmax(np.abs(result.lambda1))
fig, ax = plt.subplots(figsize=(8, 6), dpi=120)
mesh = ax.pcolormesh(sigma, R, lambda1.T, cmap="coolwarm", vmin=-limit, vmax=limit, shading="nearest")
mesh.cmap.set_bad("0.6")
fig.colorbar(mesh, ax=ax, label="λ1")
ax.set_xlabel("σ")
ax.set_ylabel("R")
ax.set_title("λ1 of the Lorenz system, b = 2.6667, n = 500")
fig.tight_layout()
fig.savefig(sys.argv[1] if len(sys.argv) > 1 else "lambda-map.png")
