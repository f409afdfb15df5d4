"""Arguments into the plain data the compiled glue takes. Only shapes and
types are checked here (TypeError, ValueError naming the argument as the
caller wrote it); what the values mean is the library's to check."""

import math
import numbers
import os
import warnings

import numpy as np
import pandas as pd

from . import _core
from ._errors import InputWarning


def warn_all(messages, category=InputWarning, stacklevel=2):
    """Each message as a warning of category; stacklevel counts from the caller of warn_all."""
    for message in messages:
        warnings.warn(message, category, stacklevel=stacklevel + 1)


def path_of(path, what):
    if not isinstance(path, (str, os.PathLike)) or (isinstance(path, str) and not path):
        raise TypeError(f"{what} must be one file name, not {type(path).__name__}")
    return os.path.expanduser(os.fspath(path))


def flag(x, what):
    if not isinstance(x, (bool, np.bool_)):
        raise TypeError(f"{what} must be True or False, not {type(x).__name__}")
    return bool(x)


def _is_number(x):
    return isinstance(x, numbers.Real) and not isinstance(x, (bool, np.bool_))


def number(x, what, whole=False, finite=False):
    """One number; NaN is refused, and so is anything not finite or whole when asked."""
    if not _is_number(x):
        raise TypeError(f"{what} must be a single number, not {type(x).__name__}")
    value = float(x)
    if math.isnan(value):
        raise ValueError(f"{what} is NaN, not a number")
    if (finite or whole) and not math.isfinite(value):
        raise ValueError(f"{what} is {value}, not a finite number")
    if whole:
        if value != math.floor(value) or abs(value) > 2147483647:
            raise ValueError(f"{what} is {x}, not a whole number within +-2147483647")
        return int(value)
    return value


def doubles(x, what, finite=False):
    """A 1-D float64 array of numbers, none NaN (nor infinite when finite)."""
    if isinstance(x, (str, bytes)) or x is None:
        raise TypeError(f"{what} must be numbers, not {type(x).__name__}")
    if _is_number(x):
        x = [x]
    try:
        array = np.asarray(x)
    except (TypeError, ValueError) as e:
        raise ValueError(f"{what} must be numbers, one value per element: {e}") from None
    if array.dtype == np.bool_ or not (np.issubdtype(array.dtype, np.number) or array.dtype == object):
        raise TypeError(f"{what} must be numbers, not {array.dtype} values")
    if array.dtype == object:
        for i, v in enumerate(array.ravel()):
            if not _is_number(v):
                raise TypeError(f"{element(what, i, array.size)} must be a number, not {type(v).__name__}")
    if np.iscomplexobj(array):
        raise TypeError(f"{what} must be real numbers")
    if array.ndim != 1:
        raise ValueError(f"{what} must be one-dimensional, not of shape {array.shape}")
    array = array.astype(np.float64)
    bad = np.flatnonzero(~np.isfinite(array) if finite else np.isnan(array))
    if bad.size:
        i = int(bad[0])
        raise ValueError(f"{element(what, i, array.size)} is {array[i]}, not a "
                         f"{'finite number' if finite else 'number'}")
    return np.ascontiguousarray(array)


def whole_numbers(x, what):
    values = doubles(x, what, finite=True)
    bad = np.flatnonzero((values != np.floor(values)) | (np.abs(values) > 2147483647))
    if bad.size:
        i = int(bad[0])
        raise ValueError(f"{element(what, i, values.size)} is {values[i]}, not a whole number within +-2147483647")
    return [int(v) for v in values]


def element(what, i, n):
    return what if n == 1 else f"{what}[{i}]"


def columns_of(x, what):
    """A table as a dict of columns: a DataFrame, a dict of columns or a list of row dicts."""
    if isinstance(x, pd.DataFrame):
        return {str(k): x[k].tolist() for k in x.columns}
    if isinstance(x, dict):
        return dict(x)
    if isinstance(x, (list, tuple)) and all(isinstance(row, dict) for row in x):
        keys = []
        for row in x:
            keys += [k for k in row if k not in keys]
        return {k: [row.get(k) for row in x] for k in keys}
    raise TypeError(f"{what} must be a DataFrame, a dict of columns or a list of dicts, not {type(x).__name__}")


def has_columns(columns, wanted, what):
    missing = [c for c in wanted if c not in columns]
    if missing:
        raise ValueError(f"{what} lacks the column{'s' if len(missing) > 1 else ''} {', '.join(missing)}")
    lengths = [len(as_list(columns[c], f"{what}['{c}']")) for c in wanted]
    if len(set(lengths)) > 1:
        raise ValueError(f"{what}: the columns {', '.join(wanted)} must have one value each per row, not "
                         f"{', '.join(map(str, lengths))}")
    return lengths[0] if lengths else 0


def as_list(x, what):
    if isinstance(x, (str, bytes)) or x is None or np.isscalar(x):
        raise TypeError(f"{what} must be a column of values, not {type(x).__name__}")
    return list(x)


def labels(x, n, what):
    """Item labels: text, "" or None (or NaN) for an item without one."""
    if x is None:
        return [""] * n
    values = as_list(x, what)
    if len(values) != n:
        raise ValueError(f"{what} has {len(values)} values for {n} items")
    out = []
    for v in values:
        if v is None or (isinstance(v, float) and math.isnan(v)):
            out.append("")
        elif isinstance(v, str):
            out.append(v)
        else:
            raise TypeError(f"{what} must be item labels (text, \"\" or None for none), not {type(v).__name__}")
    return out


def as_items(x, what):
    """An item set for the glue: item, label, type, scores, parameters."""
    columns = columns_of(x, what)
    if "type" not in columns and "model" in columns:
        columns["type"] = columns["model"]
    if "type" in columns and "item" not in columns:
        columns["item"] = list(range(1, len(as_list(columns["type"], f"{what}['type']")) + 1))
    n = has_columns(columns, ["item", "type", "scores", "parameters"], what)
    if n == 0:
        raise ValueError(f"{what} has no items")
    types = list(columns["type"])
    for i, t in enumerate(types):
        if not isinstance(t, str):
            raise TypeError(f"{what}['type'] must be item type codes (text), not {type(t).__name__} (item {i + 1})")
    number = whole_numbers(columns["item"], f"{what}['item']")
    label = labels(columns.get("label"), n, f"{what}['label']")
    scores, parameters = _plain_items(columns["scores"], columns["parameters"])
    if scores is None:
        scores, parameters = [], []
        for i in range(n):
            scores.append(whole_numbers(columns["scores"][i], f"{what}['scores'][{i}]"))
            parameters.append(doubles(columns["parameters"][i], f"{what}['parameters'][{i}]", finite=True))
    if "categories" in columns:
        categories = whole_numbers(columns["categories"], f"{what}['categories']")
        for i, (c, s) in enumerate(zip(categories, scores)):
            if c != len(s):
                raise ValueError(f"{what}: item {i + 1} has {c} categories but {len(s)} category scores")
    return {"item": number, "label": label, "type": types, "scores": scores, "parameters": parameters}


def _plain_items(scores, parameters):
    """The scores and parameters as items(), read_items() and the results give them (lists of ints, float arrays,
    every number finite), checked for the whole set at once: item by item costs more than a large equating's
    glue. (None, None) for anything else, which the item by item checks take, with their messages."""
    scores, parameters = list(scores), list(parameters)
    values = [v for s in scores if type(s) is list for v in s]
    if not (all(type(s) is list for s in scores) and set(map(type, values)) <= {int}
            and max(map(abs, values), default=0) <= 2147483647
            and all(type(p) is np.ndarray and p.ndim == 1 and p.dtype == np.float64 for p in parameters)
            and np.isfinite(np.concatenate(parameters)).all()):
        return None, None
    return [list(s) for s in scores], [p.copy() for p in parameters]


def as_grid(x, what, finite=False):
    columns = columns_of(x, what)
    n = has_columns(columns, ["theta", "weight"], what)
    if n == 0:
        raise ValueError(f"{what} has no quadrature points")
    return {"theta": doubles(columns["theta"], f"{what}['theta']", finite),
            "weight": doubles(columns["weight"], f"{what}['weight']", finite)}


def as_scale(x, what, finite=False):
    """A raw-to-scale table: a dict of table (raw, scale, rounded), scale_min, scale_max (and w2)."""
    if not isinstance(x, dict) or "table" not in x:
        raise TypeError(f"{what} must be a dict of table, scale_min, scale_max and w2 (as read_scale_table() "
                        f"gives), not {type(x).__name__}")
    table = columns_of(x["table"], f"{what}['table']")
    n = has_columns(table, ["raw", "scale", "rounded"], f"{what}['table']")
    if n == 0:
        raise ValueError(f"{what}['table'] has no rows")
    for key in ("scale_min", "scale_max"):
        if key not in x:
            raise ValueError(f"{what} lacks {key}")
    return {c: doubles(table[c], f"{what}['table']['{c}']", finite) for c in ("raw", "scale", "rounded")} | {
        "scale_min": number(x["scale_min"], f"{what}['scale_min']", whole=True),
        "scale_max": number(x["scale_max"], f"{what}['scale_max']", whole=True)}


def as_covariance(x, what, guessing=None):
    """None, or the glue's covariance: a square float64 matrix and the metric of the L3 items' c."""
    if x is None:
        return None
    if isinstance(x, dict) and "values" in x:
        guessing = guessing or x.get("guessing")
        x = x["values"]
    if isinstance(x, pd.DataFrame):
        guessing = guessing or x.attrs.get("guessing")
        x = x.to_numpy()
    if isinstance(x, (str, bytes)) or np.isscalar(x):
        raise TypeError(f"{what} must be a numeric matrix, not {type(x).__name__}")
    m = np.asarray(x)
    if m.dtype == np.bool_ or not np.issubdtype(m.dtype, np.number) or np.iscomplexobj(m):
        raise TypeError(f"{what} must be a numeric matrix, not of {m.dtype} values")
    if m.ndim != 2 or m.shape[0] != m.shape[1]:
        raise ValueError(f"{what} must be a square matrix, not of shape {m.shape}")
    m = np.ascontiguousarray(m, dtype=np.float64)
    bad = np.argwhere(~np.isfinite(m))
    if bad.size:
        i, j = (int(v) for v in bad[0])
        raise ValueError(f"{what}[{i}, {j}] is {m[i, j]}, not a finite number")
    guessing = guessing or "probability"
    if guessing not in ("probability", "logit"):
        raise ValueError(f"the guessing metric of {what} must be 'probability' or 'logit', not {guessing!r}")
    return {"values": m, "guessing": guessing}


def covariance_frame(c, names):
    """The glue's covariance as a DataFrame labelled "item:parameter", its metric in attrs["guessing"]."""
    frame = pd.DataFrame(c["values"], index=names, columns=names)
    frame.attrs["guessing"] = c["guessing"]
    return frame


def method_name(method):
    known = _core.linking_method(method) if isinstance(method, str) else None
    if known is None:
        raise ValueError(f"method is {method!r}; write mean-mean, mean-sigma, haebara or stocking-lord "
                         "(or MM, MS, HB, SL)")
    return known


def screening(screen, cut):
    """The screening statistic as the library spells it, and its cut (None without screening)."""
    known = _core.screening_statistic(screen) if isinstance(screen, str) else None
    if known is None:
        raise ValueError(f"screen is {screen!r}; write none, robust-z, rmsd or wald")
    if known == "none":
        if cut is not None:
            raise ValueError("cut is given but screen is none: name the statistic, robust-z, rmsd or wald")
        return known, None
    if cut is None:
        raise ValueError(f"screen {known} needs cut, the value that flags a pair")
    return known, number(cut, "cut")


def as_pairs(x, what):
    """Pairs of common items: x_item, y_item (numbers, 0 where a label names the item) and x_label, y_label."""
    if isinstance(x, np.ndarray) or (isinstance(x, (list, tuple)) and x and not isinstance(x[0], dict)):
        m = np.asarray(x, dtype=object)
        if m.ndim != 2 or m.shape[1] != 2:
            raise ValueError(f"{what} must be pairs of two columns, x_item and y_item, not of shape {m.shape}")
        x = {"x_item": list(m[:, 0]), "y_item": list(m[:, 1])}
    columns = columns_of(x, what)
    n = has_columns(columns, ["x_item", "y_item"], what)
    out = {}
    for form in ("x", "y"):
        items = list(columns[f"{form}_item"])
        name = f"{what}['{form}_item']"
        if all(isinstance(v, str) for v in items) and items:
            if any(not v for v in items):
                raise ValueError(f"{name}: item labels must not be empty")
            out[f"{form}_item"], out[f"{form}_label"] = [0] * n, items
            continue
        label = labels(columns.get(f"{form}_label"), n, f"{what}['{form}_label']")
        numbers_ = [0] * n
        for i, (v, lab) in enumerate(zip(items, label)):
            if lab:
                continue
            numbers_[i] = number(v, element(name, i, n), whole=True)
        out[f"{form}_item"], out[f"{form}_label"] = numbers_, label
    return out


def threads(x):
    if not _is_number(x) or x != math.floor(x) or x < 1 or x > 2147483647:
        raise ValueError(f"threads must be a positive whole number, not {x!r}")
    return int(x)


def standard_error_request(se, draws, seed):
    se = flag(se, "se")
    if not _is_number(draws) or draws != math.floor(draws) or not 0 <= draws <= 2147483647:
        raise ValueError(f"draws must be a whole number of 0 or more, not {draws!r}")
    if not _is_number(seed) or seed != math.floor(seed) or not 0 <= seed <= 2 ** 53:
        raise ValueError(f"seed must be a whole number from 0 to 2^53, not {seed!r}")
    return se, int(draws), int(seed)
