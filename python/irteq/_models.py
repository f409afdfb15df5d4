"""The models as the library evaluates them, the parameters' names, and the
converters from calibration programs' parameterisations."""

import re

import numpy as np
import pandas as pd

from . import _core
from ._checks import as_covariance, as_items, as_list, doubles, labels, number, path_of, whole_numbers, as_grid
from ._checks import covariance_frame
from ._inputs import items_frame


class LabelledArray(np.ndarray):
    """A numpy array whose columns carry labels, as :func:`probabilities` and :func:`expected_scores` return.

    Parameters
    ----------
    values : array_like
        The numbers.
    columns : sequence of str
        One label per column.

    Attributes
    ----------
    columns : list of str
        The columns' labels; a slice of the array keeps them.
    """

    def __new__(cls, values, columns):
        out = np.asarray(values).view(cls)
        out.columns = list(columns)
        return out

    def __array_finalize__(self, obj):
        self.columns = getattr(obj, "columns", None)


def probabilities(items, theta):
    """Category probabilities of every item at every theta, as equate() evaluates them.

    Parameters
    ----------
    items : pandas.DataFrame or list of dict
        The items.
    theta : array_like
        Finite abilities.

    Returns
    -------
    LabelledArray
        thetas x categories, item-major (every category of item 1, then of item 2, ...); ``columns`` names
        them ``"item:category"`` (``"3:2"``, category 2 of item number 3).
    """
    x = as_items(items, "items")
    values = _core.probabilities(x, doubles(theta, "theta", finite=True))
    columns = [f"{n}:{k}" for n, s in zip(x["item"], x["scores"]) for k in range(1, len(s) + 1)]
    return LabelledArray(values, columns)


def expected_scores(items, theta):
    """Each item's expected score at every theta.

    Parameters
    ----------
    items : pandas.DataFrame or list of dict
        The items.
    theta : array_like
        Finite abilities.

    Returns
    -------
    LabelledArray
        thetas x items, ``columns`` the item numbers as text.
    """
    x = as_items(items, "items")
    values = _core.expected_scores(x, doubles(theta, "theta", finite=True))
    return LabelledArray(values, [str(n) for n in x["item"]])


def tcc(items, theta):
    """The form's test characteristic curve: its expected raw score at every theta.

    Parameters
    ----------
    items : pandas.DataFrame or list of dict
        The form's items.
    theta : array_like
        Finite abilities.

    Returns
    -------
    numpy.ndarray
        The sum of the items' expected scores at each theta.
    """
    return _core.tcc(as_items(items, "items"), doubles(theta, "theta", finite=True))


def eap_table(items, grid):
    """The summed-score EAP table of any items over any grid (weights normalised).

    Parameters
    ----------
    items : pandas.DataFrame or list of dict
        The items of one form.
    grid : pandas.DataFrame or dict
        A quadrature grid, ``theta`` and ``weight``.

    Returns
    -------
    pandas.DataFrame
        ``raw``, ``probability``, ``eap``, ``sd`` (NaN where the probability is 0).
    """
    return pd.DataFrame(_core.eap_table(as_items(items, "items"), as_grid(grid, "grid")))


def parameter_names(items, estimated=False):
    """The names of every item's parameters, ``"item:name"`` (``"3:b"``, ``"5:d(2)"``).

    Parameters
    ----------
    items : pandas.DataFrame or list of dict
        The items.
    estimated : bool
        Only the estimated ones (all but D): the rows of a covariance.

    Returns
    -------
    list of str
    """
    x = as_items(items, "items")
    names = _core.parameter_names(x, bool(estimated))
    return [f"{n}:{p}" for n, ps in zip(x["item"], names) for p in ps]


def read_calibration(file, program, D=None, covariance=None, thresholds=None):
    """Read a calibration program's item parameter file into irteq items.

    Parameters
    ----------
    file : str or os.PathLike
    program : str
        ``"flexmirt"``, ``"irtpro"``, ``"parscale"``, ``"bilog"`` or ``"winsteps"``.
    D : float, optional
        The metric of the printed slopes where the file does not say it (PARSCALE, BILOG-MG): 1 or 1.7.
    covariance : str or os.PathLike, optional
        flexMIRT's or IRTPRO's covariance file.
    thresholds : str or os.PathLike, optional
        Winsteps' SFILE.

    Returns
    -------
    dict
        ``items`` (a DataFrame, with the program's labels), ``covariance`` (a
        labelled DataFrame, or None; flexMIRT's and IRTPRO's keep the L3
        items' c in the logit metric the programs estimate, ``attrs["guessing"]
        == "logit"``) and ``groups`` (the group lines of a flexMIRT or IRTPRO
        file: ``group``, ``label``, ``mean``, ``variance``, NaN when the line
        is not one factor's; no rows for the other programs). A grid for the
        form's group is ``normal_grid(mean, sqrt(variance))``.
    """
    if program not in ("flexmirt", "irtpro", "parscale", "bilog", "winsteps"):
        raise ValueError(f"program is {program!r}; write flexmirt, irtpro, parscale, bilog or winsteps")
    v = _core.read_calibration(path_of(file, "file"), program, None if D is None else number(D, "D"),
                               "" if covariance is None else path_of(covariance, "covariance"),
                               "" if thresholds is None else path_of(thresholds, "thresholds"))
    items = items_frame(v["items"])
    c = v["covariance"]
    return {"items": items, "covariance": None if c is None else covariance_frame(c, parameter_names(items, True)),
            "groups": pd.DataFrame(v["groups"]).astype({"group": "int64", "mean": "float64", "variance": "float64"})}


# Each parameterisation's columns: lead (required, in order), then series
# (letter, first index, whether the first index's value may be left off),
# then tail (optional); top turns the highest index into the category count.
_LAYOUTS = {
    "logistic_intercept": {"lead": ["a", "d"], "tail": "g"},
    "logistic_difficulty": {"lead": ["a", "b"], "tail": "c"},
    "graded_intercept": {"lead": ["a"], "series": [("d", 1, False)], "top": 1},
    "graded_difficulty": {"lead": ["a"], "series": [("b", 1, False)], "top": 1},
    "graded_normal_intercept": {"lead": ["a"], "series": [("d", 1, False)], "top": 1},
    "graded_normal_difficulty": {"lead": ["a"], "series": [("b", 1, False)], "top": 1},
    "partial_credit_steps": {"lead": ["a"], "series": [("b", 1, False)], "top": 1},
    "partial_credit_muraki": {"lead": ["a", "b"], "series": [("d", 0, True)], "top": 1},
    "partial_credit_thresholds": {"lead": ["a", "b"], "series": [("t", 0, True)], "top": 1},
    "partial_credit_intercept": {"lead": ["a"], "series": [("d", 0, True)], "top": 1},
    "nominal": {"lead": [], "series": [("a", 1, True), ("c", 1, True)], "top": 0},
    "nominal_scored": {"lead": ["a"], "series": [("s", 1, False), ("c", 1, False)], "top": 0},
}


def _row_values(table, i, layout, form):
    def value(column):
        if column not in table:
            return np.nan
        v = table[column].iloc[i]
        if v is None:
            return np.nan
        if isinstance(v, str) or isinstance(v, bool):
            raise TypeError(f"table['{column}'] must be numeric, not {type(v).__name__}")
        return float(v)

    place = f"table: row {i + 1} ({form})"
    lead = [value(c) for c in layout["lead"]]
    for c, v in zip(layout["lead"], lead):
        if np.isnan(v):
            raise ValueError(f"{place} lacks {c}")
    tops, series = [], []
    for letter, first, optional in layout.get("series", []):
        indices = sorted(int(m.group(1)) for c in table.columns
                         if (m := re.fullmatch(f"{letter}([0-9]+)", str(c))) and int(m.group(1)) >= first)
        given = [k for k in indices if not np.isnan(value(f"{letter}{k}"))]
        if not given:
            raise ValueError(f"{place} has no {letter}{first + int(optional)}")
        wanted = list(range(first, max(given) + 1))
        skipped = [k for k in wanted if k not in given]
        if optional and skipped and skipped[0] == first:
            wanted, skipped = wanted[1:], skipped[1:]
        if skipped:
            raise ValueError(f"{place} has {letter}{max(given)} but not {letter}{skipped[0]}")
        series += [value(f"{letter}{k}") for k in wanted]
        tops.append(max(given))
    tail = []
    if "tail" in layout and not np.isnan(value(layout["tail"])):
        tail = [value(layout["tail"])]
    categories = max(tops) + layout["top"] if "top" in layout else 2
    return lead + series + tail, categories


def convert_items(table, from_, D=1.0, scores=None, covariance=None):
    """Items from a table of parameters as a calibration program printed them.

    Parameters
    ----------
    table : pandas.DataFrame
        One row per item, columns by the parameterisation: ``a``, ``b``, ``c``, ``d``, ``g``, ``b1``, ``d0``,
        ``t1``, ``a1``, ``c1``, ``s1``, ...; optionally ``item`` and ``label``.
    from_ : str or sequence of str
        The parameterisation, one or one per row: ``"logistic_intercept"``, ``"logistic_difficulty"``,
        ``"graded_intercept"``, ``"graded_difficulty"``, ``"graded_normal_intercept"``,
        ``"graded_normal_difficulty"``, ``"partial_credit_steps"``, ``"partial_credit_muraki"``,
        ``"partial_credit_thresholds"``, ``"partial_credit_intercept"``, ``"nominal"``, ``"nominal_scored"``.
    D : float or sequence of float
        The metric, one or one per row.
    scores : list of list of int, optional
        Each item's category scores; 0, 1, ... by default.
    covariance : numpy.ndarray or pandas.DataFrame, optional
        The covariance of the printed values, carried by the conversion's exact Jacobian.

    Returns
    -------
    pandas.DataFrame or dict
        The items; with a covariance a dict of ``items`` and ``covariance``.
    """
    if not isinstance(table, pd.DataFrame):
        raise TypeError(f"table must be a DataFrame, not {type(table).__name__}")
    n = len(table)

    def per_row(x, name):
        values = [x] if isinstance(x, (str, int, float)) else as_list(x, name)
        if len(values) not in (1, n):
            raise ValueError(f"{name} must have one value, or one per row of table ({n}), not {len(values)}")
        return values * n if len(values) == 1 else values

    forms = per_row(from_, "from_")
    for f in forms:
        if f not in _LAYOUTS:
            raise ValueError(f"from_: unknown parameterisation {f!r}; the names are {', '.join(_LAYOUTS)}")
    Ds = [number(d, "D") for d in per_row(D, "D")]
    numbers = list(range(1, n + 1)) if "item" not in table else whole_numbers(table["item"], "table['item']")
    values, categories = [], []
    for i in range(n):
        v, m = _row_values(table.reset_index(drop=True), i, _LAYOUTS[forms[i]], forms[i])
        values.append(np.asarray(v, dtype=np.float64))
        categories.append(m)
    if scores is None:
        scores = [list(range(m)) for m in categories]
    else:
        if len(scores) != n:
            raise ValueError(f"scores must be one list of category scores per item ({n})")
        scores = [whole_numbers(s, f"scores[{i}]") for i, s in enumerate(scores)]
    sources = {"item": numbers, "form": forms, "D": np.asarray(Ds, dtype=np.float64), "scores": scores,
               "values": values, "label": labels(table["label"] if "label" in table else None, n, "table['label']")}
    c = as_covariance(covariance, "covariance")
    v = _core.convert_items(sources, c, "table")
    items = items_frame(v["items"])
    if c is None:
        return items
    return {"items": items, "covariance": covariance_frame(v["covariance"], parameter_names(items, True))}
