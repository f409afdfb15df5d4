"""The results of equate() and link(): DataFrames of the library's numbers,
in the columns of the console program's CSV files."""

import csv
import io

import numpy as np
import pandas as pd

from . import _core
from ._inputs import grid_frame, items_frame


def _int_column(values):
    return pd.array(values, dtype="Int64")


def _text_column(values):
    """Text with None where a CSV field is empty."""
    return pd.Series(values, dtype=object)


class Linking:
    """A linking of form X's scale onto form Y's: theta_Y = A theta_X + B.

    Attributes
    ----------
    method : str
        The method applied; ``A``, ``B`` its constants; ``symmetric`` whether its criterion is symmetric.
    methods : pandas.DataFrame
        One row per method: ``method``, ``A``, ``B``, ``criterion``, ``iterations``, ``available``,
        ``problem``, and with covariances ``se_A``, ``se_B`` (the delta method's).
    anchors : pandas.DataFrame
        The common items' statistics, the columns of ``common_items.csv``.
    rounds : pandas.DataFrame
        With screening, one row per round of purification.
    screen, cut
        The screening statistic (``"none"`` without) and its cut (None without).
    robust_z_notes : list of str
        Why a kind of robust z is missing.
    x_items, x_grid, y_grid
        Form X's items and group 1's grid on form Y's scale, group 2's grid as given.
    common_items : dict
        Item sets ``x``, ``x_linked`` and ``y`` of the common items in the pairs' order.
    standard_errors : pandas.DataFrame or None
        The applied constants' standard errors when covariances were given.
    """

    def __init__(self, v):
        self.method = v["method"]
        self.A = v["A"]
        self.B = v["B"]
        self.symmetric = v["symmetric"]
        self.screen = v["screen"]
        self.cut = v["cut"]
        methods = pd.DataFrame(v["methods"])
        methods["iterations"] = _int_column(v["methods"]["iterations"])
        self.methods = methods
        anchors = pd.DataFrame(v["anchors"])
        anchors["wald_df"] = _int_column(v["anchors"]["wald_df"])
        self.anchors = anchors
        self.rounds = pd.DataFrame(v["rounds"], columns=["round", "A", "B", "flagged"])
        self.robust_z_notes = list(v["robust_z_notes"])
        # Marked: with a covariance of form X's own estimates they would give
        # standard errors without the linking's (equate() refuses them).
        self.x_items = items_frame(v["x_items"])
        self.x_items.attrs["irteq_linked"] = True
        self.x_grid = grid_frame(v["x_grid"])
        self.y_grid = grid_frame(v["y_grid"])
        self.common_items = {k: items_frame(c) for k, c in v["common_items"].items()}
        self.standard_errors = None
        if "se_A" in methods:
            applied = methods[methods["method"] == self.method].iloc[0]
            self.standard_errors = _constant_errors(self, {"delta": applied["se_A"]}, {"delta": applied["se_B"]})

    def _pairs(self):
        """The linking's pairs, method and screening, for equate() to link again as link() did."""
        a = self.anchors
        return {"x_item": [int(v) for v in a["x_item"]], "y_item": [int(v) for v in a["y_item"]],
                "x_label": list(a["x_label"]), "y_label": list(a["y_label"]), "method": self.method,
                "symmetric": bool(self.symmetric), "screen": self.screen,
                "cut": 0.0 if self.cut is None else float(self.cut)}

    def plot(self, which=None, items=None, ax=None, **kwargs):
        """Plot the common items before and after linking, for a technical report (matplotlib).

        Form Y's curve, form X's before linking (its own scale taken for form Y's, dashed) and after (on form
        Y's scale), over group 2's grid, whose weights (those of the characteristic-curve criteria and the
        anchor screening) are shaded at the foot. After a good linking form X's curve lies on form Y's; an
        anchor whose curves stay apart has drifted.

        - ``"tcc"``: the common items' test characteristic curves (their summed expected item scores).
        - ``"items"``: each common item's expected item score, one panel per item, up to twelve to a figure,
          titled with its numbers, model and ``rmsd``.
        - ``"drift"``: each pair's form Y parameters against its form X ones after linking, in two panels:
          the slopes (the ``a`` of L3, SN, SL and MU items, on log axes) and the locations (L3 b, every SN/SL
          b(k), every MU b - d(k), k = 2, ..., m: one point each), the values the robust z compares; BN items
          have neither. Pairs without drift lie on the identity line. The pairs the screening flagged are
          marked and labelled ``x_item/y_item``: the constants are the kept pairs', so a flagged pair stands
          off the line by its drift alone.

        Parameters
        ----------
        which : str or sequence of str, optional
            Any of ``"tcc"``, ``"items"`` and ``"drift"``; by default ``"tcc"`` and ``"items"``.
        items : sequence of int, optional
            The common items ``"items"`` draws, as positions (from 0) in the pairs, the rows of
            ``anchors``: e.g. ``lk.anchors["rmsd"].nlargest(4).index`` for the four that fit worst. Every
            pair by default; ``"drift"`` draws every pair.
        ax : matplotlib.axes.Axes, optional
            Axes to draw one ``"tcc"`` into, instead of a new figure.
        **kwargs
            Properties for ``Axes.set`` on every panel, such as ``title`` or ``xlim``.

        Returns
        -------
        list of matplotlib.figure.Figure
            One figure per view (and per twelve items); with ``ax``, ``[ax]``.

        Raises
        ------
        ImportError
            Without matplotlib.
        ValueError
            For an unknown view, items out of range, or ``ax`` with a view of several panels.
        """
        from . import _plots
        return _plots.plot_linking(self, which, items, ax, kwargs)

    def __repr__(self):
        return f"<irteq.Linking {self.method}{' symmetric' if self.symmetric else ''}: A = {self.A!r}, B = {self.B!r}>"


def _constant_errors(linking, A, B):
    def pick(name):
        return [A.get(name, np.nan), B.get(name, np.nan)]
    return pd.DataFrame({"constant": ["A", "B"], "estimate": [linking.A, linking.B], "delta_se": pick("delta"),
                         "draws_se": pick("draws_sd"), "draws_lower": pick("draws_lower"),
                         "draws_upper": pick("draws_upper")})


def _text_table(text):
    """A CSV text's rows as a DataFrame of text, empty fields "" (what read_csv gives with dtype=str and
    keep_default_na=False, at a third of its cost, which counts beside a small equating)."""
    rows = list(csv.reader(io.StringIO(text)))
    return pd.DataFrame(rows[1:], columns=rows[0])


_TABLE_TEXT = ("form", "equating", "metric", "true_level", "observed_level")


def _tables(v):
    if v is None:
        return None
    out = {}
    for name in ("conversion", "eap", "csem", "reliability", "classification"):
        if name in v:
            frame = pd.DataFrame({k: (_text_column(c) if k in _TABLE_TEXT else c) for k, c in v[name].items()})
            if "group" in frame:
                frame["group"] = frame["group"].astype("int64")
            out[name] = frame
    if "cut_scores" in v:
        out["cut_scores"] = {"cuts": v["cut_scores"]["cuts"], "levels": list(v["cut_scores"]["levels"])}
    out["scale_min"] = v["scale_min"]
    out["scale_max"] = v["scale_max"]
    return out


# The equivalents' columns each route adds, by metric.
_SE_COLUMNS = {"delta": {"raw": {"se": "delta"}, "scale": {"scale_se": "delta"}},
               "draws": {"raw": {"draws_se": "draws_sd", "draws_lower": "draws_lower", "draws_upper": "draws_upper"},
                         "scale": {"scale_draws_se": "draws_sd", "scale_draws_lower": "draws_lower",
                                   "scale_draws_upper": "draws_upper"}}}


class Equating:
    """An equating of form X to form Y, as :func:`equate` and :func:`equate_files` return it.

    Attributes
    ----------
    true_score : pandas.DataFrame
        Per form X raw score: ``raw``, ``theta`` (NaN where no ability was searched), ``equivalent``,
        ``scale``, ``rounded``; with standard errors ``se``, ``scale_se`` (delta method) and ``draws_se``,
        ``draws_lower``, ``draws_upper``, ``scale_draws_se``, ``scale_draws_lower``, ``scale_draws_upper``.
    observed_score : pandas.DataFrame
        ``raw``, ``equivalent``, ``scale``, ``rounded`` and the same standard error columns.
    distributions : pandas.DataFrame
        ``form``, ``raw``, ``group1``, ``group2``, ``synthetic``.
    moments : pandas.DataFrame
        ``block``, ``group``, ``score``, ``mean``, ``sd``, ``skewness``, ``kurtosis``.
    warnings : pandas.DataFrame
        The failed root searches: ``raw``, ``problem``, ``theta``, ``message``.
    w2, chance_score : float
        Group 2's weight in the synthetic population; form X's chance score.
    linking : Linking or None
        The run's linking when it links.
    standard_errors : pandas.DataFrame or None
        The columns of ``standard_errors.csv``: ``raw``, ``equating``, ``metric``, ``delta_se``, ``draws_se``,
        ``draws_lower``, ``draws_upper``.
    draws : dict or None
        ``draws`` (entered the statistics), ``redraws`` and ``invalid_items`` (a DataFrame ``form``, ``item``,
        ``number``, ``label``, ``count`` of every item invalid in at least one attempt, most often first), with
        parametric draws.
    tables : dict or None
        The technical report's tables: DataFrames ``conversion``, ``eap``, ``csem``, ``reliability``,
        ``classification`` (with cut scores), and ``cut_scores``, ``scale_min``, ``scale_max``.
    record : pandas.DataFrame
        The run's record, the rows of ``run.csv``.
    """

    def __init__(self, run):
        self._run = run
        v = run.value()
        self.true_score = pd.DataFrame(v["true_score"])
        self.observed_score = pd.DataFrame(v["observed_score"])
        self.distributions = pd.DataFrame(v["distributions"])
        self.moments = pd.DataFrame(v["moments"])
        self.warnings = pd.DataFrame(v["warnings"])  # raw, problem, theta, message, as the glue orders them
        self.w2 = v["w2"]
        self.chance_score = v["chance_score"]
        self.synthetic_adjusted = {"X": v["synthetic_adjusted"][0], "Y": v["synthetic_adjusted"][1]}
        self.linking = Linking(v["linking"]) if "linking" in v else None
        self.standard_errors = None
        self.draws = None
        if "standard_errors" in v:
            self._add_standard_errors(v["standard_errors"])
        self.tables = _tables(v.get("tables"))
        self.record = _text_table(v["record"])
        self._input_warnings = list(v["input_warnings"])
        self._redraws_warning = v.get("redraws_warning", "")

    def _add_standard_errors(self, e):
        raw = self.true_score["raw"].to_numpy()
        na = np.full(raw.size, np.nan)
        long = []
        for equating in ("true", "observed"):
            frame = getattr(self, f"{equating}_score")
            for metric in ("raw", "scale"):
                errors = e[f"{equating}_{metric}"]
                for route in ("delta", "draws"):
                    for column, key in _SE_COLUMNS[route][metric].items():
                        if key in errors:
                            frame[column] = errors[key]
                long.append(pd.DataFrame({"raw": raw, "equating": equating, "metric": metric,
                                          "delta_se": errors.get("delta", na), "draws_se": errors.get("draws_sd", na),
                                          "draws_lower": errors.get("draws_lower", na),
                                          "draws_upper": errors.get("draws_upper", na)}))
        self.standard_errors = pd.concat(long, ignore_index=True)
        if "draws_sd" in e["true_raw"]:
            invalid = pd.DataFrame(e["invalid_items"]).astype({"item": "int64", "number": "int64", "count": "int64"})
            self.draws = {"draws": e["draws"], "redraws": e["redraws"], "invalid_items": invalid}
        if "linking" in e and self.linking is not None:
            self.linking.standard_errors = _constant_errors(self.linking, e["linking"]["A"], e["linking"]["B"])

    def equivalents(self):
        """The columns of ``equivalents.csv``: ``raw``, ``theta``, ``true_equivalent``, ``true_scale``,
        ``true_rounded``, ``observed_equivalent``, ``observed_scale``, ``observed_rounded``."""
        t, o = self.true_score, self.observed_score
        return pd.DataFrame({"raw": t["raw"], "theta": t["theta"], "true_equivalent": t["equivalent"],
                             "true_scale": t["scale"], "true_rounded": t["rounded"],
                             "observed_equivalent": o["equivalent"], "observed_scale": o["scale"],
                             "observed_rounded": o["rounded"]})

    def to_csv(self, folder):
        """Write batch mode's very CSV files into folder, by the library's own writer.

        ``equivalents.csv``, ``distributions.csv``, ``moments.csv``; when the run links, ``linking.csv``,
        ``common_items.csv``, ``linked_items_x.par`` and ``linked_grid_group1.qd``; with standard errors
        ``standard_errors.csv``; with tables their files; and ``run.csv``.

        Parameters
        ----------
        folder : str or os.PathLike
            Created if absent.
        """
        from ._checks import path_of
        self._run.to_csv(path_of(folder, "folder"))
        return folder

    def plot(self, which=None, metric="raw", baseline="observed", ax=None, **kwargs):
        """Plot the equating for a technical report (matplotlib). Score points are drawn as points, since raw
        scores are whole numbers.

        - ``"equivalents"``: the form Y equivalents of true score and observed score equating against the form
          X raw score, with the identity line when ``metric="raw"``.
        - ``"differences"``: true score minus observed score equivalent at each form X raw score, with a band
          of +-0.5 about 0, the difference that matters (half a reported score unit, after Dorans and
          Feigenbaum: smaller differences seldom change a rounded score), and a dotted line at form X's chance
          score: up to there true score equating draws a straight line instead of searching an ability, and
          differs from observed score equating by construction. With standard errors, each method's 95 % band
          about 0: its estimate +-1.96 delta-method standard errors, or the 2.5 % and 97.5 % quantiles of the
          parametric draws when there are draws, less the estimate. With ``baseline="raw"``, each method's
          form Y raw score equivalent minus the form X raw score instead, how far the equating moves each
          score, its band about its difference.
        - ``"distributions"``: each form's raw score distribution in group 1, group 2 and the synthetic
          population, one panel per form (always in raw scores).
        - ``"se"`` (with standard errors only): both methods' standard errors at each form X raw score, the
          delta method's as lines, the parametric draws' as points.
        - ``"conversion"`` (with tables only, see :func:`equate`'s ``tables`` and ``cuts``): each method's
          reported score (the rounded scale score clamped to the scale's range) as a step at each form X raw
          score; with cut scores, the cuts as dashed lines (their values on the right axis) and the
          performance levels as bands, each named where the steps leave room.
        - ``"csem"`` (with tables only): the conditional standard errors of measurement of the tables'
          ``csem``, in six panels: of raw, scale and reported scores (columns, one vertical scale each), by
          theta over each group's grid (top) and by form X raw score at the theta of true score equating
          (bottom).

        Parameters
        ----------
        which : str or sequence of str, optional
            One or more of ``"equivalents"``, ``"differences"``, ``"distributions"``, ``"se"``,
            ``"conversion"`` and ``"csem"``; by default the first three, and ``"se"`` with standard errors.
        metric : str
            ``"raw"`` for form Y raw score equivalents, ``"scale"`` for their (unrounded) scale scores.
        baseline : str
            What ``"differences"`` subtracts: ``"observed"``, observed score equating's equivalents from true
            score equating's; ``"raw"``, the form X raw score from each method's equivalent (with
            ``metric="raw"``).
        ax : matplotlib.axes.Axes, optional
            Axes to draw one view of one panel into (``"equivalents"``, ``"differences"``, ``"se"``,
            ``"conversion"``), instead of a new figure.
        **kwargs
            Properties for ``Axes.set`` on every panel, such as ``title`` or ``xlim``.

        Returns
        -------
        list of matplotlib.figure.Figure
            One figure per view, in the order of ``which``; with ``ax``, ``[ax]``.

        Raises
        ------
        ImportError
            Without matplotlib.
        ValueError
            For an unknown view, metric or baseline, a view the equating lacks the results of, or ``ax`` with
            several views or a view of several panels.
        """
        from . import _plots
        return _plots.plot_equating(self, which, metric, baseline, ax, kwargs)

    def __repr__(self):
        t = self.true_score["raw"]
        return (f"<irteq.Equating of form X (raw {t.iloc[0]:g} to {t.iloc[-1]:g})"
                f"{' linked by ' + self.linking.method if self.linking else ''}"
                f"{', with standard errors' if self.standard_errors is not None else ''}>")
