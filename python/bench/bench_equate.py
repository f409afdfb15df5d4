"""irteq.equate() from Python on the largest run, beside the C++ library's equate() on the same input.

The input is r/bench/equate.R's: two 200-item mixed-format forms of 1000 score points each, drawn from R's own
uniform stream (set.seed and runif, rebuilt below on numpy's Mersenne Twister) so that the items and the scale
table are R's to the bit, and two 100-point normal grids (the library's normal_grid(), as R's), written to files
for r/bench/equate_timer.cpp. Each round is a new Python process that times
its runs each beside a run of the timer, each the second of two in a row, so that both find their data in the
caches: on a shared machine the speed changes within seconds, and only runs timed next to each other see the same
(hence also the median of the pairs' ratios). Then the standard errors of the same run (delta method, and 100
parametric draws on one thread) as multiples of one equate() timed beside them.

Usage: python bench_equate.py SCRATCH_FOLDER EQUATE_TIMER
       python bench_equate.py --pairs N EQUATE_TIMER CONTROL   (one round: prints N pairs of times in seconds)
"""

import statistics
import subprocess
import sys
import time
import warnings
from pathlib import Path

import numpy as np

import irteq


class RUniform:
    """R's runif() after set.seed(seed) (Mersenne-Twister, R's default): R scrambles the seed by 69069 x + 1
    into the generator's 624 words and returns each 32-bit output times 2^-32."""

    def __init__(self, seed):
        words = []
        for _ in range(50 + 625):
            seed = (69069 * seed + 1) & 0xFFFFFFFF
            words.append(seed)
        self.generator = np.random.MT19937()
        self.generator.state = {"bit_generator": "MT19937", "state": {"key": np.array(words[51:], np.uint32),
                                                                      "pos": 624}}

    def __call__(self, n, low, high):
        u = self.generator.random_raw(n) * 2.3283064365386963e-10
        return low + (high - low) * u


def form(seed):
    """50 L3, 50 SL and 51 SN items of 7 categories, 25 BN and 24 MU items of 8: raw scores 0 to 999."""
    u = RUniform(seed)

    def one(low, high):
        return float(u(1, low, high)[0])

    def thresholds(m):
        return sorted(u(m - 1, -2.5, 2.5))

    l3 = [[1.7, one(0.6, 2), one(-2.5, 2.5), one(0.1, 0.25)] for _ in range(50)]
    sl = [[1.7, one(0.6, 2), *thresholds(7)] for _ in range(50)]
    sn = [[one(0.5, 1.5), *thresholds(7)] for _ in range(51)]
    bn = [[1.7, *sorted(u(8, -2, 2)), *u(8, -1, 1)] for _ in range(25)]
    mu = [[1.7, one(0.6, 1.5), one(-1, 1), 0.0, *sorted(u(7, -2, 2), reverse=True)] for _ in range(24)]
    types = ["L3"] * 50 + ["SL"] * 50 + ["SN"] * 51 + ["BN"] * 25 + ["MU"] * 24
    scores = [list(range(2 if t == "L3" else 7 if t in ("SL", "SN") else 8)) for t in types]
    return irteq.items(types, scores, l3 + sl + sn + bn + mu)


x_items = form(41002)
y_items = form(41001)
x_grid = irteq.normal_grid(0.1, points=100)
y_grid = irteq.normal_grid(0.0, points=100)
raw = np.arange(1000) / 10
scale = {"table": {"raw": np.arange(1000.0), "scale": 100 + raw, "rounded": np.round(100 + raw)},
         "scale_min": 100, "scale_max": 200, "w2": 0.5}


def equate(**options):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        return irteq.equate(x_items, y_items, x_grid, y_grid, scale, **options)


def seconds(f, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        f()
        times.append(time.perf_counter() - start)
    return times


def timer_seconds(timer, control):
    """The second of two runs of a new timer process."""
    out = subprocess.run([timer, control, "2"], check=True, capture_output=True, text=True)
    return float(out.stdout.splitlines()[-1].split()[0])


if sys.argv[1] == "--pairs":
    equate()
    for _ in range(int(sys.argv[2])):
        print(seconds(equate, 2)[1], timer_seconds(sys.argv[3], sys.argv[4]))
    sys.exit(0)

folder, timer = Path(sys.argv[1]), sys.argv[2]
folder.mkdir(parents=True, exist_ok=True)
irteq.write_items(x_items, folder / "formx.par")
irteq.write_items(y_items, folder / "formy.par")
irteq.write_grid(x_grid, folder / "group1.qd")
irteq.write_grid(y_grid, folder / "group2.qd")
irteq.write_scale_table(scale, folder / "formy.scl")
control = irteq.write_control({"output": "report.txt", "old_para": "formy.par", "old_quad": "group2.qd",
                               "raw2scale": "formy.scl", "new_para": "formx.par", "new_quad": "group1.qd"},
                              folder / "control.txt")
eq = equate()
with warnings.catch_warnings():
    warnings.simplefilter("ignore")
    from_files = irteq.equate_files(control)
assert from_files.true_score.equals(eq.true_score) and from_files.observed_score.equals(eq.observed_score)

rounds, pairs = 15, "3"
times = []
for _ in range(rounds):
    out = subprocess.run([sys.executable, __file__, "--pairs", pairs, timer, control], check=True,
                         capture_output=True, text=True)
    times += [[float(t) for t in line.split()] for line in out.stdout.splitlines()]
python_seconds, cpp_seconds = zip(*times)
python_median = statistics.median(python_seconds)
cpp_median = statistics.median(cpp_seconds)
print(f"Largest run: {len(eq.true_score)} form X and {(eq.distributions['form'] == 'Y').sum()} form Y score points, "
      f"100-point grids, {len(eq.warnings)} root finder warnings")
print(f"Python equate(): median {1000 * python_median:.1f} ms over {len(python_seconds)} runs")
print(f"C++    equate(): median {1000 * cpp_median:.1f} ms over {len(cpp_seconds)} runs")
print(f"Python / C++: {python_median / cpp_median:.3f} (median of the pairs' ratios "
      f"{statistics.median(p / c for p, c in times):.3f})")


def covariance(items):
    """r/bench/equate.R's made-up covariance: one variance per estimated parameter, 0.002, but 0.0002 for an L3
    item's c, small beside their gaps for ordered thresholds (SN and SL b's), and an MU item's d(1), which the
    model does not identify, held fixed."""
    variances = []
    for t, m, p in zip(items["type"], items["categories"], items["parameters"]):
        if t == "L3":
            variances += [0.002, 0.002, 0.0002]
        elif t in ("SN", "SL"):
            gap = min(np.diff(p[len(p) - m + 1:]))
            variances += [0.002] + [min(0.002, (gap / 6) * (gap / 6))] * (m - 1)  # R squares by x * x
        elif t == "MU":
            variances += [0.002, 0.002, 0.0] + [0.002] * (len(p) - 4)
        else:
            variances += [0.002] * (len(p) - 1)
    return np.diag(variances)


x_cov, y_cov = covariance(x_items), covariance(y_items)
plain = []


def multiple(f, runs):
    """The median over runs of f's time over that of the equate() runs just before and after it."""
    ratios = []
    for _ in range(runs):
        before, t, after = seconds(equate, 1) + seconds(f, 1) + seconds(equate, 1)
        plain.extend([before, after])
        ratios.append(2 * t / (before + after))
    return statistics.median(ratios)


delta = multiple(lambda: equate(x_cov=x_cov, y_cov=y_cov, se=True), 3)
drawn = multiple(lambda: equate(x_cov=x_cov, y_cov=y_cov, draws=100), 3)
n, m = len(x_cov), len(y_cov)
print(f"Standard errors ({n} x {n} and {m} x {m} covariances), one thread, as multiples of one equate() "
      f"(median {1000 * statistics.median(plain):.1f} ms):")
print(f"  equate(se=True):     {delta:.2f}")
print(f"  equate(draws=100):   {drawn:.1f}")
