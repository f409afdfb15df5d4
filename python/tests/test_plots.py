"""Every view renders, and its lines carry the result's very values."""

import subprocess
import sys
import warnings

import numpy as np
import pytest

import irteq
from conftest import EXAMPLE, LINKED, bits

matplotlib = pytest.importorskip("matplotlib")
matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402


@pytest.fixture(scope="module")
def eq():
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", irteq.IrteqWarning)
        return irteq.equate_files(EXAMPLE / "control-levels.txt", se=True, draws=20)


@pytest.fixture(scope="module")
def lk():
    common = irteq.read_common_items(LINKED / "anchors.txt")["pairs"]
    return irteq.link(irteq.read_items(LINKED / "formx.par"), irteq.read_items(LINKED / "formy.par"), common,
                      x_grid=irteq.read_grid(LINKED / "group1.qd"), y_grid=irteq.read_grid(LINKED / "group2.qd"),
                      screen="robust-z", cut=2.7)


def line(ax, label):
    (found,) = [ln for ln in ax.get_lines() if ln.get_label() == label]
    return found


def theta(lk):
    t = lk.y_grid["theta"]
    return np.linspace(t.min(), t.max(), 201)


# view, options, the axes a line is on, its label, and the values it must carry (x, y)
EQUATING = [
    ("equivalents", {}, 0, "true score equating", lambda e: (e.true_score["raw"], e.true_score["equivalent"])),
    ("equivalents", {"metric": "scale"}, 0, "observed score equating",
     lambda e: (e.true_score["raw"], e.observed_score["scale"])),
    ("differences", {}, 0, "true minus observed",
     lambda e: (e.true_score["raw"], e.true_score["equivalent"] - e.observed_score["equivalent"])),
    ("differences", {"baseline": "raw"}, 0, "observed score equating",
     lambda e: (e.true_score["raw"], e.observed_score["equivalent"] - e.true_score["raw"])),
    ("se", {}, 0, "true score equating, delta method", lambda e: (e.true_score["raw"], e.true_score["se"])),
    ("se", {"metric": "scale"}, 0, "observed score equating, 20 draws",
     lambda e: (e.true_score["raw"], e.observed_score["scale_draws_se"])),
    ("distributions", {}, 1, "group 2 (took form Y)",
     lambda e: tuple(e.distributions.loc[e.distributions["form"] == "Y", c] for c in ("raw", "group2"))),
    ("conversion", {}, 0, "true score equating",
     lambda e: (None, np.append(e.tables["conversion"]["true_reported"],
                                e.tables["conversion"]["true_reported"].iloc[-1]))),
    ("csem", {}, 4, "form X, observed score equating",
     lambda e: tuple(e.tables["csem"].query("metric == 'scale' and equating == 'observed' and raw == raw")[c]
                     for c in ("raw", "csem"))),
]

LINKING = [
    ("tcc", 0, "form Y", lambda lk: (theta(lk), irteq.tcc(lk.common_items["y"], theta(lk)))),
    ("items", 2, "form X after linking",
     lambda lk: (theta(lk), irteq.expected_scores(lk.common_items["x_linked"], theta(lk))[:, 2])),
    ("drift", 0, "flagged", lambda lk: (lk.common_items["x_linked"].loc[lk.anchors["flagged"], "parameters"]
                                        .map(lambda p: p[1]), None)),
]


def same(actual, expected):
    assert np.array_equal(bits(np.asarray(actual, dtype=float)), bits(np.asarray(expected, dtype=float)))


@pytest.mark.parametrize("which, options, panel, label, values", EQUATING)
def test_equating_views_draw_the_results_values(eq, which, options, panel, label, values):
    (fig,) = eq.plot(which, **options)
    fig.canvas.draw()
    ln = line(fig.axes[panel], label)
    x, y = values(eq)
    if x is not None:
        same(ln.get_xdata(), x)
    same(ln.get_ydata(), y)
    plt.close(fig)


@pytest.mark.parametrize("which, panel, label, values", LINKING)
def test_linking_views_draw_the_linkings_values(lk, which, panel, label, values):
    figures = lk.plot(which)
    fig = figures[0]
    fig.canvas.draw()
    x, y = values(lk)
    ln = line(fig.axes[panel], label)
    same(ln.get_xdata(), x)
    if y is not None:
        same(ln.get_ydata(), y)
    if which == "items":
        assert len(figures) == 2 and sum(a.get_visible() for f in figures for a in f.axes) == len(lk.anchors)
    if which == "drift":
        assert {t.get_text() for t in fig.axes[1].texts} == {"11/7", "28/24"}
    for f in figures:
        plt.close(f)


def test_plot_arguments_are_checked_and_ax_takes_one_panel(eq, lk):
    for bad in ("equivalent", ["equivalents", "tcc"], []):
        with pytest.raises(ValueError, match="which"):
            eq.plot(bad)
    with pytest.raises(ValueError, match="which"):
        lk.plot("se")
    with pytest.raises(ValueError, match="metric='raw'"):
        eq.plot("differences", metric="scale", baseline="raw")
    fig, ax = plt.subplots()
    with pytest.raises(ValueError, match="ax takes one view"):
        eq.plot("csem", ax=ax)
    assert eq.plot("differences", ax=ax, xlim=(0, 20)) == [ax] and ax.get_xlim() == (0, 20)
    assert lk.plot("tcc", ax=ax) == [ax]
    plt.close(fig)
    plain = irteq.equate_files(EXAMPLE / "control.txt")
    with pytest.raises(ValueError, match="no standard errors"):
        plain.plot("se")
    with pytest.raises(ValueError, match="no tables"):
        plain.plot("conversion")
    assert len(plain.plot()) == 3
    plt.close("all")


def test_irteq_works_without_matplotlib_until_a_plot_is_asked_for():
    script = ("import sys; sys.modules['matplotlib'] = None\n"
              "import irteq\n"
              f"eq = irteq.equate_files({str(EXAMPLE / 'control.txt')!r})\n"
              "try:\n    eq.plot()\nexcept ImportError as e:\n    print(e)\n")
    done = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    assert "pip install matplotlib" in done.stdout and "python3-matplotlib" in done.stdout
