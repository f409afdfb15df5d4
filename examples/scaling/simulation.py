"""A simulation study as many independent equatings (simulation.R's, in Python): form X's item parameters drawn
again and again from their sampling distribution (normal, with the covariance of the estimates), each draw
equated to form Y. The spread of the equivalents over the draws is what the delta method's standard errors
predict. Each equating is a job of a few milliseconds that shares nothing with the others, so any executor
spreads them: a loop, a thread pool (irteq releases the GIL while it computes), a process pool, or Dask's
workers on this machine or a cluster's nodes. Every replication seeds its own generator, so each executor
gives the very same numbers.

    python examples/scaling/simulation.py [draws] [workers]
"""

import os
import sys
import time
import warnings
from concurrent.futures import ProcessPoolExecutor, ThreadPoolExecutor
from pathlib import Path

import numpy as np

import irteq

SEED = 2026
FOLDER = Path(__file__).resolve().parents[1] / "spring-grade7"
x = irteq.read_items(FOLDER / "formx.par")
y = irteq.read_items(FOLDER / "formy.par")
x_grid = irteq.read_grid(FOLDER / "group1.qd")
y_grid = irteq.read_grid(FOLDER / "group2.qd")
scale = irteq.read_scale_table(FOLDER / "formy.scl")
x_cov = irteq.read_covariance(FOLDER / "formx.cov", x)
# The root finder's warnings (a raw score whose ability lies beyond the search range) concern single low scores
# of single draws and are left out: once for the process (catch_warnings is not safe on threads), and in each
# worker process, which imports this file again or is forked from it.
warnings.simplefilter("ignore", irteq.RootFinderWarning)

# The covariance's parameters: every item's after D ("SN" items have no D).
first = [0 if t == "SN" else 1 for t in x["type"]]
estimates = np.concatenate([p[k:] for p, k in zip(x["parameters"], first)])
ends = np.cumsum([len(p) - k for p, k in zip(x["parameters"], first)])[:-1]
# estimates + z @ factor ~ N(estimates, x_cov); fixed values (variance 0) make x_cov singular, so the factor
# is its eigen decomposition's.
values, vectors = np.linalg.eigh(x_cov.to_numpy())
factor = np.sqrt(np.clip(values, 0, None))[:, None] * vectors.T


def replicate(r):
    """Replication r: its own generator, one equating; a draw the models cannot use (a c below 0, thresholds out
    of order) counts as failed (None)."""
    z = np.random.default_rng([SEED, r]).standard_normal(estimates.size)
    drawn = np.split(estimates + z @ factor, ends)
    try:
        items = irteq.items(x["type"], x["scores"], [np.concatenate([p[:k], d]) for p, k, d in
                                                      zip(x["parameters"], first, drawn)], item=x["item"])
        return irteq.equate(items, y, x_grid, y_grid, scale, threads=1).true_score["scale"].to_numpy()
    except irteq.Error:
        return None


def replicate_all(rs):
    return [replicate(r) for r in rs]


def study(executor_map, draws, chunks):
    """The replications in chunks, a task each: few tasks, so that sending them costs nothing beside the work."""
    rs = np.array_split(np.arange(draws), chunks)
    return [result for chunk in executor_map(replicate_all, rs) for result in chunk]


def timed(executor_map, draws, chunks):
    start = time.perf_counter()
    results = study(executor_map, draws, chunks)
    return results, time.perf_counter() - start


if __name__ == "__main__":
    draws = int(sys.argv[1]) if len(sys.argv) > 1 else 2000
    workers = int(sys.argv[2]) if len(sys.argv) > 2 else os.cpu_count()
    chunks = 4 * workers
    load = os.getloadavg()[0]
    results, serial = timed(map, draws, 1)
    seconds = {"serial": serial}
    with ThreadPoolExecutor(workers) as pool:
        threaded, seconds["threads"] = timed(pool.map, draws, chunks)
    with ProcessPoolExecutor(workers) as pool:
        study(pool.map, workers, workers)  # the workers start and load irteq once
        processes, seconds["processes"] = timed(pool.map, draws, chunks)
    from dask.distributed import Client, LocalCluster
    with LocalCluster(n_workers=workers, threads_per_worker=1, dashboard_address=None) as cluster, \
            Client(cluster) as client:
        pool = client.get_executor()
        study(pool.map, workers, workers)
        dask, seconds["dask"] = timed(pool.map, draws, chunks)

    # The same draws and equivalents, to the bit, on any executor.
    for other in (threaded, processes, dask):
        assert [r is None or r.tobytes() for r in results] == [r is None or r.tobytes() for r in other]
    ok = [r for r in results if r is not None]
    print(f"{draws} draws ({draws - len(ok)} failed), {workers} workers, {os.cpu_count()} cores, load "
          f"{load:.2f} before the study")
    for name, s in seconds.items():
        print(f"  {name:<10} {s:6.2f} s  {draws / s:6.0f} equatings/s  {serial / s:.2f}x")
    delta = irteq.equate(x, y, x_grid, y_grid, scale, x_cov=x_cov, se=True).true_score
    sd = np.std(np.vstack(ok), axis=0, ddof=1)
    shown = [10, 20, 30, 40, 50]
    print(delta.loc[shown, ["raw", "scale"]].astype({"raw": int})
          .assign(sd_over_draws=sd[shown], delta_method_se=delta["scale_se"][shown]).round(4).to_string(index=False))
