"""Plots of an equating and a linking for a technical report, by matplotlib:
the R package's views, titles and labels. Imported only when a plot is asked
for, so that irteq works without matplotlib."""

import math

import numpy as np

try:
    import matplotlib.pyplot as plt
    from matplotlib.lines import Line2D
    from matplotlib.patches import Patch
    from matplotlib.ticker import FuncFormatter, LogLocator
    from matplotlib.transforms import blended_transform_factory, offset_copy
except ImportError as e:  # pragma: no cover - depends on the installation
    raise ImportError("irteq's plots need matplotlib: pip install matplotlib (on Debian, apt install "
                      "python3-matplotlib)") from e

from . import _core
from ._checks import as_items

# Okabe-Ito colours, told apart by readers with colour blindness and in grey print.
COLOURS = {"true": "#0072B2", "observed": "#D55E00", "group1": "#0072B2", "group2": "#D55E00",
           "synthetic": "#000000", "band": "#E5E5E5"}
METHODS = {"true": "true score equating", "observed": "observed score equating"}
BAND_LINES = {"true": "--", "observed": "-."}
GRID = {"color": "0.9", "linewidth": 0.8, "linestyle": "-"}
# R's pch 19 and 1: filled and open circles, told apart in grey print too.
MARKERS = {"true": {"marker": "o", "markersize": 3.5},
           "observed": {"marker": "o", "markersize": 4.5, "markerfacecolor": "none", "markeredgewidth": 0.9}}

EQUATING_VIEWS = ("equivalents", "differences", "distributions", "se", "conversion", "csem")
LINKING_VIEWS = ("tcc", "items", "drift")
# The views drawn on one set of axes, which may be the caller's.
SINGLE_PANEL = {"equivalents", "differences", "se", "conversion", "tcc"}


def _views(which, allowed, default):
    if which is None:
        return list(default)
    chosen = [which] if isinstance(which, str) else list(which)
    if not chosen:
        raise ValueError(f"which names no plot; choose among {', '.join(map(repr, allowed))}")
    for kind in chosen:
        if kind not in allowed:
            raise ValueError(f"which is {kind!r}; choose among {', '.join(map(repr, allowed))}")
    return chosen


def _single_axes(chosen, ax):
    if ax is None:
        return
    if len(chosen) != 1 or chosen[0] not in SINGLE_PANEL:
        raise ValueError(f"ax takes one view of one panel ({', '.join(sorted(SINGLE_PANEL))}), not "
                         f"{', '.join(chosen)}: leave ax out to have a figure of its own")


def _new_axes(ax, size=(7.5, 5.5)):
    if ax is not None:
        return ax, False
    fig = plt.figure(figsize=size)
    return fig.add_subplot(), True


def _apply(ax, extra):
    """The caller's Axes properties; a title keeps the view's font and room for its subtitle."""
    extra = dict(extra)
    if "title" in extra:
        ax.title.set_text(extra.pop("title"))
    if extra:
        ax.set(**extra)


def _finish(ax, own, extra):
    _apply(ax, extra)
    if own:
        ax.figure.tight_layout()
    return ax.figure if own else ax


def _title(ax, main, subtitle=None):
    ax.set_title(main, fontweight="bold", pad=18 if subtitle else 8)
    if subtitle:
        ax.annotate(subtitle, xy=(0.5, 1), xycoords="axes fraction", xytext=(0, 5), textcoords="offset points",
                    ha="center", va="bottom", fontsize="small")


def _legend_below(ax, handles, labels, ncol=None):
    """A legend under the axis title, where it hides no point: one row, or ncol columns."""
    anchor = offset_copy(ax.transAxes, fig=ax.figure, y=-34, units="points")
    ax.legend(handles, labels, loc="upper center", bbox_to_anchor=(0.5, 0), bbox_transform=anchor,
              ncol=len(labels) if ncol is None else ncol, frameon=False, fontsize="small", handlelength=2.5,
              columnspacing=1.5)


def _figure_legend(fig, handles, labels, ncol):
    return fig.legend(handles, labels, loc="lower center", ncol=ncol, frameon=False, fontsize="small",
                      handlelength=2.5, columnspacing=1.5)


def _figure_titles(fig, main, subtitle=None):
    fig.suptitle(main, fontweight="bold", y=0.99, va="top")
    if subtitle:
        fig.text(0.5, 0.99, subtitle, ha="center", va="top", fontsize="small",
                 transform=offset_copy(fig.transFigure, fig=fig, y=-18, units="points"))


def _lay_out(fig, legend, top_points):
    """The panels between the titles (top_points high) and the legend at the foot."""
    height = fig.get_figheight() * fig.dpi
    foot = legend.get_window_extent().height + 6
    fig.tight_layout(rect=(0, foot / height, 1, 1 - top_points * fig.dpi / 72 / height))


def _point(key, colour=None, **style):
    return Line2D([], [], linestyle="none", color=colour or COLOURS[key], **{**MARKERS[key], **style})


def _line(colour, style="-", width=1.5):
    return Line2D([], [], color=colour, linestyle=style, linewidth=width)


def _mark_chance(ax, chance):
    """Form X's chance score, a dotted line labelled at the top on its right."""
    ax.axvline(chance, color="black", linestyle=":", linewidth=1)
    ax.annotate(f"chance score {chance:.4g}", xy=(chance, 1), xycoords=blended_transform_factory(ax.transData,
                ax.transAxes), xytext=(3, -3), textcoords="offset points", ha="left", va="top", fontsize="small")


# The equating's views.

def _standard_error_series(eq, metric):
    """Each method's delta-method and draws' standard errors (None where not run) and its 95 % band about 0,
    from the draws' quantiles when there are draws; None without standard errors."""
    e = eq.standard_errors
    if e is None:
        return None
    column = "equivalent" if metric == "raw" else "scale"
    methods = {}
    for equating in ("true", "observed"):
        rows = e[(e["equating"] == equating) & (e["metric"] == metric)]
        estimate = getattr(eq, f"{equating}_score")[column].to_numpy()
        delta = rows["delta_se"].to_numpy()
        draws = rows["draws_se"].to_numpy()
        delta = None if np.isnan(delta).all() else delta
        draws = None if np.isnan(draws).all() else draws
        if draws is not None:
            band = np.column_stack([rows["draws_lower"].to_numpy() - estimate,
                                    rows["draws_upper"].to_numpy() - estimate])
        else:
            band = 1.96 * np.column_stack([-delta, delta])
        methods[equating] = {"delta": delta, "draws": draws, "band": band}
    n = None if eq.draws is None else eq.draws["draws"]
    source = ("1.96 delta-method standard errors either side" if n is None else
              f"the 2.5 % and 97.5 % quantiles of {n} parametric draws less the estimate")
    return {"methods": methods, "draws": n, "band_source": source}


def plot_equating(eq, which, metric, baseline, ax, extra):
    if metric not in ("raw", "scale"):
        raise ValueError(f"metric is {metric!r}; write 'raw' or 'scale'")
    if baseline not in ("observed", "raw"):
        raise ValueError(f"baseline is {baseline!r}; write 'observed' or 'raw'")
    errors = _standard_error_series(eq, metric)
    default = ["equivalents", "differences", "distributions"] + (["se"] if errors is not None else [])
    chosen = _views(which, EQUATING_VIEWS, default)
    _single_axes(chosen, ax)
    if "se" in chosen and errors is None:
        raise ValueError("the equating has no standard errors: equate with se=True or draws > 0 to plot them")
    if "differences" in chosen and baseline == "raw" and metric != "raw":
        raise ValueError("baseline='raw' subtracts form X's raw scores from form Y raw score equivalents: plot it "
                         "with metric='raw'")
    for kind in chosen:
        if kind in ("conversion", "csem") and eq.tables is None:
            raise ValueError(f"the equating has no tables: equate with tables=True or cuts to plot which={kind!r}")
    column = "equivalent" if metric == "raw" else "scale"
    raw = eq.true_score["raw"].to_numpy()
    true = eq.true_score[column].to_numpy()
    observed = eq.observed_score[column].to_numpy()
    unit = "form Y raw score equivalent" if metric == "raw" else "form Y scale score"
    out = []
    for kind in chosen:
        if kind == "equivalents":
            out.append(_equivalents(raw, true, observed, metric, unit, ax, extra))
        elif kind == "differences" and baseline == "raw":
            out.append(_adjustments(raw, {"true": true, "observed": observed}, eq.chance_score, errors, ax, extra))
        elif kind == "differences":
            out.append(_differences(raw, true - observed, eq.chance_score, metric, errors, ax, extra))
        elif kind == "distributions":
            out.append(_distributions(eq.distributions, eq.w2, extra))
        elif kind == "se":
            out.append(_standard_errors(raw, errors, eq.chance_score, unit, ax, extra))
        elif kind == "conversion":
            out.append(_conversion(eq.tables, ax, extra))
        else:
            out.append(_csem(eq.tables, eq.chance_score, extra))
    return out


def _equivalents(raw, true, observed, metric, unit, ax, extra):
    ax, own = _new_axes(ax)
    ax.grid(**GRID)
    ax.set_axisbelow(True)
    handles = [_point("true"), _point("observed")]
    labels = list(METHODS.values())
    if metric == "raw":
        ends = np.array([min(raw.min(), true.min(), observed.min()), max(raw.max(), true.max(), observed.max())])
        ax.axline((0, 0), slope=1, color="0.5", linestyle="--", linewidth=1)
        handles.append(_line("0.5", "--", 1))
        labels.append("identity")
    ax.plot(raw, true, linestyle="none", color=COLOURS["true"], label=METHODS["true"], **MARKERS["true"])
    ax.plot(raw, observed, linestyle="none", color=COLOURS["observed"], label=METHODS["observed"],
            **MARKERS["observed"])
    if metric == "raw":
        ax.set_ylim(*_padded(ends))
    ax.set_xlabel("form X raw score")
    ax.set_ylabel(unit)
    _title(ax, "Form Y equivalents of form X raw scores")
    _legend_below(ax, handles, labels)
    return _finish(ax, own, extra)


def _padded(ends, share=0.04):
    span = ends[1] - ends[0]
    return ends[0] - share * span, ends[1] + share * span


def _draw_bands(ax, raw, bands):
    for method, band in bands.items():
        for side in (0, 1):
            ax.plot(raw, band[:, side], color=COLOURS[method], linestyle=BAND_LINES[method], linewidth=1.2,
                    label=f"{METHODS[method]}, 95 % band" if side == 0 else None)


def _differences(raw, difference, chance, metric, errors, ax, extra):
    ax, own = _new_axes(ax)
    bands = None if errors is None else {m: v["band"] for m, v in errors["methods"].items()}
    values = [np.abs(difference)] + ([] if bands is None else [np.abs(b).ravel() for b in bands.values()])
    limit = max(0.75, float(np.nanmax(np.concatenate(values))))
    ax.set_ylim(-limit * 1.04, limit * 1.04)
    ax.axhspan(-0.5, 0.5, color=COLOURS["band"], linewidth=0)
    ax.axhline(0, color="0.5", linewidth=1)
    _mark_chance(ax, chance)
    if bands is not None:
        _draw_bands(ax, raw, bands)
    ax.plot(raw, difference, linestyle="none", color="black", marker="o", markersize=3.5,
            label="true minus observed")
    ax.set_xlabel("form X raw score")
    ax.set_ylabel(f"true minus observed ({metric} score)")
    handles = [Patch(color=COLOURS["band"], linewidth=0), _line("black", ":", 1)]
    labels = ["difference that matters (\u00b10.5)", "form X chance score"]
    if bands is None:
        _title(ax, "True score minus observed score equating")
        _legend_below(ax, handles, labels)
    else:
        _title(ax, "True score minus observed score equating", f"95 % bands about 0: {errors['band_source']}")
        handles += [_line(COLOURS[m], BAND_LINES[m], 1.2) for m in METHODS]
        labels += [f"{METHODS[m]}, 95 % band" for m in METHODS]
        _legend_below(ax, handles, labels, ncol=2)
    return _finish(ax, own, extra)


def _adjustments(raw, equivalents, chance, errors, ax, extra):
    """Each method's equivalent minus the form X raw score it equates, with its 95 % band when there are
    standard errors: how far the equating moves each score."""
    ax, own = _new_axes(ax)
    moved = {m: v - raw for m, v in equivalents.items()}
    bands = None if errors is None else {m: moved[m][:, None] + v["band"] for m, v in errors["methods"].items()}
    values = np.concatenate([[0.0]] + [v for v in moved.values()] + ([] if bands is None else
                                                                    [b.ravel() for b in bands.values()]))
    ax.set_ylim(*_padded((np.nanmin(values), np.nanmax(values))))
    ax.grid(**GRID)
    ax.set_axisbelow(True)
    ax.axhline(0, color="0.5", linewidth=1)
    _mark_chance(ax, chance)
    if bands is not None:
        _draw_bands(ax, raw, bands)
    for m in METHODS:
        ax.plot(raw, moved[m], linestyle="none", color=COLOURS[m], label=METHODS[m], **MARKERS[m])
    ax.set_xlabel("form X raw score")
    ax.set_ylabel("equivalent minus raw score")
    main = "Form Y equivalents minus form X raw scores"
    if bands is None:
        _title(ax, main)
        _legend_below(ax, [_point("true"), _point("observed"), _line("black", ":", 1)],
                      list(METHODS.values()) + ["form X chance score"])
    else:
        source = errors["band_source"].removesuffix(" less the estimate")
        _title(ax, main, f"95 % bands: {source}")
        bands = [_line(COLOURS[m], BAND_LINES[m], 1.2) for m in METHODS]
        _legend_below(ax, [_point("true"), _point("observed")] + bands,
                      list(METHODS.values()) + [f"{m}, 95 % band" for m in METHODS.values()], ncol=2)
    return _finish(ax, own, extra)


def _standard_errors(raw, errors, chance, unit, ax, extra):
    ax, own = _new_axes(ax)
    m = errors["methods"]
    series = np.concatenate([s for v in m.values() for s in (v["delta"], v["draws"]) if s is not None])
    ax.set_ylim(0, float(np.nanmax(series)) * 1.04)
    ax.grid(**GRID)
    ax.set_axisbelow(True)
    _mark_chance(ax, chance)
    handles, labels = [], []
    for method, v in m.items():
        if v["delta"] is not None:
            label = f"{METHODS[method]}, delta method"
            ax.plot(raw, v["delta"], color=COLOURS[method], linestyle=BAND_LINES[method], linewidth=1.5,
                    label=label)
            handles.append(_line(COLOURS[method], BAND_LINES[method]))
            labels.append(label)
        if v["draws"] is not None:
            label = f"{METHODS[method]}, {errors['draws']} draws"
            ax.plot(raw, v["draws"], linestyle="none", color=COLOURS[method], label=label, **MARKERS[method])
            handles.append(_point(method))
            labels.append(label)
    routes = (["the delta method (lines)"] if m["true"]["delta"] is not None else []) + \
             ([f"the sd of {errors['draws']} parametric draws (points)"] if m["true"]["draws"] is not None else [])
    ax.set_xlabel("form X raw score")
    ax.set_ylabel(f"standard error ({unit.removesuffix(' equivalent')})")
    _title(ax, "Standard errors of the equivalents", "By " + " and by ".join(routes))
    _legend_below(ax, handles, labels, ncol=2 if len(labels) > 2 else None)
    return _finish(ax, own, extra)


def _distributions(d, w2, extra):
    fig, axes = plt.subplots(1, 2, figsize=(10, 5))
    series = {"group1": ("group 1 (took form X)", "o", "none"), "group2": ("group 2 (took form Y)", "^", "none"),
              "synthetic": ("synthetic population", "o", None)}
    top = max(d["group1"].max(), d["group2"].max(), d["synthetic"].max())
    for ax, form in zip(axes, ("X", "Y")):
        f = d[d["form"] == form]
        ax.grid(**GRID)
        ax.set_axisbelow(True)
        for s, (label, marker, face) in series.items():
            ax.plot(f["raw"], f[s], color=COLOURS[s], linewidth=0.5, marker=marker, markersize=3,
                    markerfacecolor=face or COLOURS[s], label=label)
        ax.set_ylim(0, top * 1.04)
        ax.set_xlabel(f"form {form} raw score")
        ax.set_ylabel("probability")
        ax.set_title(f"Form {form}", fontweight="bold")
        _apply(ax, extra)
    handles = [Line2D([], [], color=COLOURS[s], linewidth=0.5, marker=mk, markersize=4,
                      markerfacecolor=face or COLOURS[s]) for s, (_, mk, face) in series.items()]
    legend = _figure_legend(fig, handles, [v[0] for v in series.values()], ncol=3)
    _figure_titles(fig, f"Raw score distributions; synthetic population with w2 = {w2:.7g}")
    _lay_out(fig, legend, 22)
    return fig


def _conversion(tables, ax, extra):
    """Each method's reported scale score as a step over each form X raw score, the cut scores as lines, each
    level named where the steps leave room."""
    ax, own = _new_axes(ax, (7.5, 6))
    conversion = tables["conversion"]
    raw = conversion["raw"].to_numpy()
    half = float(np.diff(raw).min()) / 2 if raw.size > 1 else 0.5
    cuts = tables["cut_scores"]["cuts"] if "cut_scores" in tables else None
    levels = tables["cut_scores"]["levels"] if "cut_scores" in tables else None
    x_ends = _padded((raw[0] - half, raw[-1] + half))
    y_ends = _padded((tables["scale_min"], tables["scale_max"]))
    ax.set_xlim(*x_ends)
    ax.set_ylim(*y_ends)
    if cuts is not None:
        bounds = [y_ends[0], *cuts, y_ends[1]]
        for k in range(1, len(bounds) - 1, 2):
            ax.axhspan(bounds[k], bounds[k + 1], color=COLOURS["band"], linewidth=0)
        for c in cuts:
            ax.axhline(c, color="0.3", linestyle="--", linewidth=1)
        right = ax.secondary_yaxis("right")
        right.set_yticks(list(cuts), [f"{c:g}" for c in cuts])
        right.tick_params(labelsize="small", labelcolor="0.3", length=3)
    else:
        ax.grid(**GRID)
        ax.set_axisbelow(True)
    steps = {"true": "-", "observed": "--"}
    edges = np.append(raw - half, raw[-1] + half)
    for method, style in steps.items():
        reported = conversion[f"{method}_reported"].to_numpy()
        ax.step(edges, np.append(reported, reported[-1]), where="post", color=COLOURS[method], linestyle=style,
                linewidth=2, label=METHODS[method])
    if cuts is not None:
        _label_levels(ax, levels, [y_ends[0], *cuts, y_ends[1]], raw, conversion["true_reported"].to_numpy(),
                      x_ends)
    ax.set_xlabel("form X raw score")
    ax.set_ylabel("reported scale score")
    _title(ax, "Reported scale scores of form X raw scores",
           f"Rounded form Y scale scores within [{tables['scale_min']:g}, {tables['scale_max']:g}]"
           + ("" if cuts is None else "; dashed lines: the cut scores (right axis)"))
    _legend_below(ax, [_line(COLOURS[m], s, 2) for m, s in steps.items()], list(METHODS.values()))
    return _finish(ax, own, extra)


def _label_levels(ax, levels, bounds, raw, reported, x_ends):
    """Each level's name in its band, on the side where the steps leave more room: they climb from the lower
    left to the upper right."""
    for k, level in enumerate(levels):
        y = (bounds[k] + bounds[k + 1]) / 2
        past = np.flatnonzero(reported >= y)
        # Where the steps cross the band's middle: the room lies on the wider side of it.
        at = x_ends[1] if past.size == 0 else x_ends[0] if past[0] == 0 else raw[past[0]]
        left = at - x_ends[0] > x_ends[1] - at
        ax.annotate(level, xy=(x_ends[0] if left else x_ends[1], y), xytext=(6 if left else -6, 0),
                    textcoords="offset points", ha="left" if left else "right", va="center", fontweight="bold",
                    fontsize="small", color="0.2")


# The CSEM table's series: which rows, label, colour, line and marker.
CSEM_SERIES = (("X", None, "form X", "#009E73", "-", "^"),
               ("X", "true", "form X, true score equating", COLOURS["true"], "-", "o"),
               ("X", "observed", "form X, observed score equating", COLOURS["observed"], "--", "o"),
               ("Y", None, "form Y", "#000000", "-.", "^"))


def _csem(tables, chance, extra):
    """Raw, scale and reported scores (columns) by theta over each group's grid and by form X raw score at the
    thetas of true score equating (rows), each column on one vertical scale."""
    fig, axes = plt.subplots(2, 3, figsize=(11, 7.5))
    csem = tables["csem"]
    titles = {"raw": "Raw score", "scale": "Scale score", "reported": "Reported score"}
    by_raw = csem["raw"].notna()
    equating = csem["equating"].fillna("")
    for r, row in enumerate(("theta", "raw")):
        for c, metric in enumerate(titles):
            ax = axes[r, c]
            rows = csem[(csem["metric"] == metric) & (by_raw == (row == "raw"))]
            ax.grid(**GRID)
            ax.set_axisbelow(True)
            if row == "raw":
                ax.axvline(chance, color="black", linestyle=":", linewidth=1)
            for form, method, label, colour, style, marker in CSEM_SERIES:
                series = rows[(rows["form"] == form) & (equating[rows.index] == (method or ""))]
                if series.empty:
                    continue
                at = series[row]
                ax.plot(at, series["csem"], color=colour, linestyle=style, linewidth=1.5, label=label,
                        **({"marker": marker, "markersize": 2.5, "markerfacecolor": "none" if method == "observed"
                            else colour} if row == "raw" else {}))
            ax.set_ylim(0, csem.loc[csem["metric"] == metric, "csem"].max() * 1.04)
            ax.set_xlabel("theta" if row == "theta" else "form X raw score")
            ax.set_ylabel("CSEM")
            ax.set_title(f"{titles[metric]}, by {'theta' if row == 'theta' else 'raw score'}", fontweight="bold",
                         fontsize="medium")
            _apply(ax, extra)
    handles = [_line(colour, style) for _, _, _, colour, style, _ in CSEM_SERIES]
    legend = _figure_legend(fig, handles, [s[2] for s in CSEM_SERIES], ncol=2)
    _figure_titles(fig, "Conditional standard errors of measurement",
                   "Top: by theta over each group's grid. Bottom: by form X raw score at its true score theta; "
                   "dotted: form X's chance score")
    _lay_out(fig, legend, 34)
    return fig


# The linking's views.

LINKING_COLOURS = {"y": "#000000", "x": "#D55E00", "x_linked": "#0072B2", "weights": "#E5E5E5"}
LINKING_SERIES = {"y": "form Y", "x": "form X before linking", "x_linked": "form X after linking"}
LINKING_STYLE = {"y": ("-", 2), "x": ("--", 1.5), "x_linked": ("-", 1.5)}


def transformation_line(lk):
    return (f"theta_Y = A * theta_X + B by {lk.method}{' (symmetric)' if lk.symmetric else ''}: "
            f"A = {lk.A:.7g}, B = {lk.B:.7g}")


def _screened(lk):
    return lk.screen is not None and lk.screen != "none"


def plot_linking(lk, which, items, ax, extra):
    chosen = _views(which, LINKING_VIEWS, ("tcc", "items"))
    _single_axes(chosen, ax)
    n = len(lk.anchors)
    if items is None:
        items = list(range(n))
    else:
        items = [items] if isinstance(items, (int, np.integer)) else list(items)
        if not items or any(isinstance(i, (bool, np.bool_)) or not isinstance(i, (int, np.integer))
                            or not 0 <= i < n for i in items):
            raise ValueError(f"items must be positions of common items (rows of anchors), 0 to {n - 1}")
    y_theta = lk.y_grid["theta"].to_numpy()
    theta = np.linspace(y_theta.min(), y_theta.max(), 201)
    sets = {k: as_items(lk.common_items[k], "items") for k in LINKING_SERIES}
    out = []
    for kind in chosen:
        if kind == "tcc":
            out.append(_linking_tcc(lk, theta, {k: _core.tcc(s, theta) for k, s in sets.items()}, ax, extra))
        elif kind == "drift":
            out.append(_linking_drift(lk, extra))
        else:
            expected = {k: np.asarray(_core.expected_scores(s, theta)) for k, s in sets.items()}
            for start in range(0, len(items), 12):
                out.append(_linking_items(lk, theta, expected, items[start:start + 12], extra))
    return out


def _linking_curves(ax, theta, curves, grid, bottom, top):
    """Three curves over group 2's weights, shaded at the foot of the panel."""
    ax.set_ylim(*_padded((bottom, top)))
    low, high = ax.get_ylim()
    w = grid["weight"].to_numpy()
    ax.fill_between(grid["theta"].to_numpy(), low, low + 0.15 * (high - low) * w / w.max(),
                    color=LINKING_COLOURS["weights"], linewidth=0)
    ax.grid(**GRID)
    ax.set_axisbelow(True)
    for k in ("x", "y", "x_linked"):
        style, width = LINKING_STYLE[k]
        ax.plot(theta, curves[k], color=LINKING_COLOURS[k], linestyle=style, linewidth=width,
                label=LINKING_SERIES[k])
    ax.set_xlim(theta[0], theta[-1])


def _linking_legend():
    handles = [_line(LINKING_COLOURS[k], *LINKING_STYLE[k]) for k in LINKING_SERIES]
    handles.append(Patch(color=LINKING_COLOURS["weights"], linewidth=0))
    return handles, list(LINKING_SERIES.values()) + ["group 2's weights"]


def _score_ends(scores):
    return min(scores), max(scores)


def _linking_tcc(lk, theta, tcc, ax, extra):
    ax, own = _new_axes(ax)
    scores = lk.common_items["y"]["scores"]
    _linking_curves(ax, theta, tcc, lk.y_grid, sum(min(s) for s in scores), sum(max(s) for s in scores))
    ax.set_xlabel("ability on form Y's scale")
    ax.set_ylabel("expected score on the common items")
    _title(ax, "Common items' test characteristic curves", f"{len(lk.anchors)} common items; "
           f"{transformation_line(lk)}")
    _legend_below(ax, *_linking_legend(), ncol=2)
    return _finish(ax, own, extra)


def _linking_items(lk, theta, expected, page, extra):
    # Up to 4 by 3 panels, a short page as near that shape as it fills.
    columns = math.ceil(math.sqrt(len(page) * 4 / 3))
    rows = math.ceil(len(page) / columns)
    # Wide enough for the title and the legend on a page of one item.
    size = (max(10.0, 2.9 * columns + 0.6), 2.4 * rows + 1.4)
    fig, axes = plt.subplots(rows, columns, figsize=size, squeeze=False)
    scores = lk.common_items["y"]["scores"]
    a = lk.anchors
    for ax, i in zip(axes.flat, page):
        _linking_curves(ax, theta, {k: e[:, i] for k, e in expected.items()}, lk.y_grid, *_score_ends(scores[i]))
        ax.set_xlabel("ability (form Y's scale)", fontsize="small")
        ax.set_ylabel("expected score", fontsize="small")
        ax.tick_params(labelsize="small")
        ax.set_title(f"X {a['x_item'][i]} / Y {a['y_item'][i]} ({a['model'][i]}): rmsd {a['rmsd'][i]:.3g}",
                     fontsize="medium")
        _apply(ax, extra)
    for ax in axes.flat[len(page):]:
        ax.set_visible(False)
    legend = _figure_legend(fig, *_linking_legend(), ncol=4)
    fig.suptitle(f"Common items' expected item scores; {transformation_line(lk)}", fontweight="bold",
                 fontsize="medium", y=0.99, va="top")
    _lay_out(fig, legend, 18)
    return fig


DRIFT_COLOURS = {"kept": "#0072B2", "flagged": "#D55E00", "identity": "#7F7F7F"}


def drift_values(lk):
    """Each pair's slope and locations, form X's after linking and form Y's, as the library pools them: one
    row per value with its pair's position."""
    terms = {k: _core.slope_and_locations(as_items(lk.common_items[k], "items")) for k in ("x_linked", "y")}
    out = {}
    for kind in ("slope", "location"):
        ys = [t[kind] for t in terms["y"]]
        out[kind] = {"pair": np.repeat(np.arange(len(ys)), [len(v) for v in ys]).astype(int),
                     "x": np.concatenate([t[kind] for t in terms["x_linked"]] + [np.empty(0)]),
                     "y": np.concatenate(ys + [np.empty(0)])}
    slopes = out["slope"]
    positive = (slopes["x"] > 0) & (slopes["y"] > 0)  # a log axis has no room for the rest
    out["slope"] = {k: v[positive] for k, v in slopes.items()}
    return out


def _linking_drift(lk, extra):
    fig, axes = plt.subplots(1, 2, figsize=(10, 5.4))
    a = lk.anchors
    flagged = a["flagged"].to_numpy(dtype=bool) if "flagged" in a else np.zeros(len(a), dtype=bool)
    values = drift_values(lk)
    _drift_panel(axes[0], values["slope"], flagged, a, "Slopes (log axes)", True, extra)
    _drift_panel(axes[1], values["location"], flagged, a, "Locations", False, extra)
    legend = {"kept": "kept" if _screened(lk) else "common item", "flagged": "flagged, with its items x/y",
              "identity": "no drift"}
    shown = ["kept"] + (["flagged"] if flagged.any() else []) + ["identity"]
    symbols = {"kept": Line2D([], [], linestyle="none", marker="o", color=DRIFT_COLOURS["kept"]),
               "flagged": Line2D([], [], linestyle="none", marker="^", color=DRIFT_COLOURS["flagged"]),
               "identity": _line(DRIFT_COLOURS["identity"], "--", 1)}
    handle = _figure_legend(fig, [symbols[k] for k in shown], [legend[k] for k in shown], ncol=len(shown))
    _figure_titles(fig, "Common items' drift: form Y against form X after linking", transformation_line(lk))
    _lay_out(fig, handle, 34)
    return fig


def _drift_panel(ax, values, flagged, anchors, main, log, extra):
    """One kind's values, form Y's against form X's after linking, the flagged pairs marked and labelled."""
    ax.set_title(main, fontweight="bold")
    if values["x"].size == 0:
        ax.set_axis_off()
        ax.text(0.5, 0.5, "none among the common items", ha="center", va="center", transform=ax.transAxes)
        return
    # Room around the points, and on the right for the flagged pairs' labels; on log axes in log units.
    scale, unscale = (np.log, np.exp) if log else (lambda v: v, lambda v: v)
    ends = scale(np.array([min(values["x"].min(), values["y"].min()), max(values["x"].max(), values["y"].max())]))
    span = max(ends[1] - ends[0], 1e-6)
    if log:
        ax.set_xscale("log")
        ax.set_yscale("log")
        plain = FuncFormatter(lambda v, _: f"{v:g}")
        for axis in (ax.xaxis, ax.yaxis):
            # Slopes as numbers (0.6, 1, 2), not powers of ten, at a few minor ticks.
            axis.set_minor_locator(LogLocator(subs=(1.5, 2, 3, 4, 6, 8)))
            axis.set_major_formatter(plain)
            axis.set_minor_formatter(plain)
    ax.set_xlim(*unscale(ends + np.array([-0.06, 0.14]) * span))
    ax.set_ylim(*unscale(ends + np.array([-0.06, 0.06]) * span))
    ax.grid(which="both" if log else "major", **GRID)
    ax.set_axisbelow(True)
    ax.axline((1, 1), (2, 2), color=DRIFT_COLOURS["identity"], linestyle="--", linewidth=1)
    f = flagged[values["pair"]]
    ax.plot(values["x"][~f], values["y"][~f], linestyle="none", marker="o", color=DRIFT_COLOURS["kept"],
            label="kept")
    ax.plot(values["x"][f], values["y"][f], linestyle="none", marker="^", markersize=8,
            color=DRIFT_COLOURS["flagged"], label="flagged")
    for x, y, pair in zip(values["x"][f], values["y"][f], values["pair"][f]):
        ax.annotate(f"{anchors['x_item'][pair]}/{anchors['y_item'][pair]}", xy=(x, y), xytext=(5, 0),
                    textcoords="offset points", va="center", fontsize="small", color=DRIFT_COLOURS["flagged"])
    ax.set_xlabel("form X after linking")
    ax.set_ylabel("form Y")
    _apply(ax, extra)
