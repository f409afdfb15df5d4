"""The console program's input files, read and written by the library's
readers and writers, and item sets and grids built in memory."""

import numpy as np
import pandas as pd

from . import _core
from ._checks import (as_covariance, as_grid, as_items, as_pairs, as_scale, covariance_frame, flag, method_name,
                      number, path_of, screening, warn_all)


def items_frame(v):
    """The glue's item set as a DataFrame: item, label, type, categories, scores, parameters."""
    return pd.DataFrame({"item": v["item"], "label": v["label"], "type": v["type"],
                         "categories": [len(s) for s in v["scores"]], "scores": v["scores"],
                         "parameters": list(v["parameters"])})


def grid_frame(v):
    return pd.DataFrame({"theta": v["theta"], "weight": v["weight"]})


def read_items(path, strict=False):
    """Read an item parameter file.

    Parameters
    ----------
    path : str or os.PathLike
        The file's name.
    strict : bool
        True makes every warning of the reader an error (:class:`irteq.InputWarningError`), as the console
        program's ``--strict`` does.

    Returns
    -------
    pandas.DataFrame
        One row per item: ``item`` (its number as written), ``label`` (``""``: item files hold none),
        ``type`` (``"L3"``, ``"SN"``, ``"SL"``, ``"BN"`` or ``"MU"``), ``categories``, ``scores`` (a list of
        whole numbers per item) and ``parameters`` (a float array per item, in the file's order).

    Raises
    ------
    irteq.Error
        The library's error for a file it cannot use, naming the file and line.
    """
    v, messages = _core.read_items(path_of(path, "path"), flag(strict, "strict"))
    warn_all(messages)
    return items_frame(v)


def read_grid(path, strict=False):
    """Read a quadrature points file.

    Parameters
    ----------
    path : str or os.PathLike
        The file's name.
    strict : bool
        True makes every warning of the reader an error.

    Returns
    -------
    pandas.DataFrame
        The columns ``theta`` and ``weight``, one row per point, the weights as written.
    """
    v, messages = _core.read_grid(path_of(path, "path"), flag(strict, "strict"))
    warn_all(messages)
    return grid_frame(v)


def read_scale_table(path, strict=False):
    """Read a raw-to-scale file.

    Parameters
    ----------
    path : str or os.PathLike
        The file's name.
    strict : bool
        True makes every warning of the reader an error.

    Returns
    -------
    dict
        ``table`` (a DataFrame ``raw``, ``scale``, ``rounded``, one row per form Y raw score point, lowest
        first), ``scale_min``, ``scale_max`` (the reportable range) and ``w2`` (group 2's weight in the
        synthetic population).
    """
    v, messages = _core.read_scale_table(path_of(path, "path"), flag(strict, "strict"))
    warn_all(messages)
    n = len(v["scale"])
    raw = v["raw"] if len(v["raw"]) == n else np.full(n, np.nan)
    return {"table": pd.DataFrame({"raw": raw, "scale": v["scale"], "rounded": v["rounded"]}),
            "scale_min": v["scale_min"], "scale_max": v["scale_max"], "w2": v["w2"]}


def read_control(path):
    """Read a control file.

    Parameters
    ----------
    path : str or os.PathLike
        The control file's name.

    Returns
    -------
    dict
        The file names by keyword: ``output``, ``old_para``, ``old_quad``, ``raw2scale``, ``new_para``,
        ``new_quad``, and ``common_items``, ``new_cov``, ``old_cov``, ``cut_scores`` (``""`` when not named),
        each relative name resolved against the control file's folder.
    """
    return _core.read_control(path_of(path, "path"))


def read_common_items(path, strict=False):
    """Read a common-item file.

    Parameters
    ----------
    path : str or os.PathLike
        The file's name.
    strict : bool
        True makes every warning of the reader an error.

    Returns
    -------
    dict
        ``method`` (the linking method applied), ``symmetric``, ``screen`` and ``cut`` (``"none"`` and None
        without a screening line) and ``pairs``, a DataFrame ``x_item``, ``y_item`` (nullable integers: missing
        where the file names the item by label), ``x_label``, ``y_label``, as :func:`link` takes them.
    """
    v, messages = _core.read_common_items(path_of(path, "path"), flag(strict, "strict"))
    warn_all(messages)
    p = v["pairs"]
    v["pairs"] = pd.DataFrame({"x_item": pd.array(p["x_item"], dtype="Int64"),
                               "y_item": pd.array(p["y_item"], dtype="Int64"),
                               "x_label": p["x_label"], "y_label": p["y_label"]})
    return v


def read_covariance(path, items, strict=False):
    """Read a covariance file of a form's parameter estimates.

    Parameters
    ----------
    path : str or os.PathLike
        The file's name.
    items : pandas.DataFrame or list of dict
        The form's items, which the covariance must fit.
    strict : bool
        True makes every warning of the reader an error.

    Returns
    -------
    pandas.DataFrame
        The matrix, rows and columns labelled ``"item:parameter"``; ``attrs["guessing"]`` is ``"logit"`` when
        the file says its L3 c rows are the covariance of logit(c), else ``"probability"``.
    """
    form = as_items(items, "items")
    v, messages = _core.read_covariance(path_of(path, "path"), form, flag(strict, "strict"))
    warn_all(messages)
    return covariance_frame(v, _estimated_names(form))


def _estimated_names(form):
    names = _core.parameter_names(form, True)
    return [f"{item}:{name}" for item, ps in zip(form["item"], names) for name in ps]


def items(type, scores, parameters, item=None, label=None):
    """Build an item set in memory, checked as :func:`equate` checks a form's items.

    Parameters
    ----------
    type : sequence of str
        The item type codes: ``"L3"``, ``"SN"``, ``"SL"``, ``"BN"`` or ``"MU"``.
    scores : sequence of sequence of int
        Each item's category scores, lowest first.
    parameters : sequence of sequence of float
        Each item's parameters in the order of an item parameter file: L3 D, a, b, c; SN a, b(1..m-1); SL D, a,
        b(1..m-1); BN D, a(1..m), c(1..m); MU D, a, b, d(1..m).
    item : sequence of int, optional
        The item numbers; 1, 2, ... by default.
    label : sequence of str, optional
        The items' labels (``""`` or None for none).

    Returns
    -------
    pandas.DataFrame
        As :func:`read_items` returns.
    """
    if isinstance(type, str):
        raise TypeError("type must be a sequence of item type codes, one per item, not one text")
    n = len(type)
    x = as_items({"item": list(range(1, n + 1)) if item is None else item, "label": label, "type": list(type),
                  "scores": scores, "parameters": parameters}, "items")
    _core.validate_items(x, "items")
    return items_frame(x)


def normal_grid(mean=0.0, sd=1.0, points=41, range=(-4.0, 4.0)):
    """A normal quadrature grid: equally spaced points, weights proportional to the normal density.

    Parameters
    ----------
    mean, sd : float
        The group's ability distribution.
    points : int
        The number of points, 2 to 100.
    range : tuple of float
        The lowest and highest point on the ability scale itself, whatever ``mean`` and ``sd`` are.

    Returns
    -------
    pandas.DataFrame
        ``theta``, from ``range[0]`` to exactly ``range[1]`` in equal steps, and ``weight``, exp(-z**2 / 2) at
        z = (theta - mean) / sd divided by their sum, so they sum to 1. The library computes it: R's
        ``normal_grid()`` gives the same doubles.

    Raises
    ------
    irteq.InvalidInput
        sd not above 0, points outside 2 to 100, a range not in order, or one too far from mean.
    """
    mean = number(mean, "mean")
    sd = number(sd, "sd")
    points = number(points, "points", whole=True)
    if isinstance(range, str) or not hasattr(range, "__len__") or len(range) != 2:
        raise ValueError("range must be two numbers, the lowest point first")
    low, high = number(range[0], "range[0]", finite=True), number(range[1], "range[1]", finite=True)
    return grid_frame(_core.normal_grid(mean, sd, points, low, high))


def _write(path, text):
    try:
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    except OSError as e:
        from ._errors import FileError
        raise FileError(f"cannot write {path}: {e.strerror}", file=str(path)) from e
    return path


def _title(title):
    if not isinstance(title, str):
        raise TypeError("title must be one line of text")
    return title.replace("\r", " ").replace("\n", " ")


def write_items(items, path, title="item parameters"):
    """Write an item parameter file that reads back to the very same items (the library's writer).

    Parameters
    ----------
    items : pandas.DataFrame or list of dict
        The item set.
    path : str or os.PathLike
        The file to write.
    title : str
        The title line.

    Returns
    -------
    str
        The path.
    """
    path = path_of(path, "path")
    return _write(path, _core.items_text(as_items(items, "items"), _title(title)))


def write_grid(grid, path, title="quadrature points"):
    """Write a quadrature points file that reads back to the very same grid.

    Parameters
    ----------
    grid : pandas.DataFrame or dict
        ``theta`` and ``weight``.
    path : str or os.PathLike
        The file to write.
    title : str
        The title line.

    Returns
    -------
    str
        The path.
    """
    path = path_of(path, "path")
    return _write(path, _core.grid_text(as_grid(grid, "grid", finite=True), _title(title)))


def write_scale_table(scale, path, title="raw-to-scale conversion", w2=None):
    """Write a raw-to-scale file that reads back to the very same table and w2.

    Parameters
    ----------
    scale : dict
        As :func:`read_scale_table` returns.
    path : str or os.PathLike
        The file to write.
    title : str
        The title line.
    w2 : float, optional
        Group 2's weight; ``scale["w2"]`` by default.

    Returns
    -------
    str
        The path.
    """
    path = path_of(path, "path")
    s = as_scale(scale, "scale", finite=True)
    w2 = number(scale.get("w2") if w2 is None else w2, "w2", finite=True)
    return _write(path, _core.scale_table_text(s, w2, _title(title)))


def write_covariance(covariance, items, path, title="covariance of the item parameter estimates"):
    """Write a covariance file that reads back to the very same matrix (the library's writer).

    Parameters
    ----------
    covariance : numpy.ndarray or pandas.DataFrame
        The matrix over the items' estimated parameters; a DataFrame's ``attrs["guessing"]`` gives the metric
        of the L3 items' c (``"logit"`` or ``"probability"``).
    items : pandas.DataFrame or list of dict
        The form's items.
    path : str or os.PathLike
        The file to write.
    title : str
        The title line.

    Returns
    -------
    str
        The path.
    """
    path = path_of(path, "path")
    c = as_covariance(covariance, "covariance")
    if c is None:
        raise TypeError("covariance must be a numeric matrix, not None")
    return _write(path, _core.covariance_text(c, as_items(items, "items"), _title(title)))


def write_common_items(common, path, method="stocking-lord", symmetric=False, title="common items", screen="none",
                       cut=None):
    """Write a common-item file.

    Parameters
    ----------
    common : pandas.DataFrame, dict or array
        The pairs, as :func:`link` takes them.
    path : str or os.PathLike
        The file to write.
    method : str
        The linking method applied.
    symmetric : bool
        Symmetric characteristic-curve criteria.
    title : str
        The title line.
    screen, cut
        The anchor screening, as :func:`link` takes it.

    Returns
    -------
    str
        The path.
    """
    path = path_of(path, "path")
    pairs = as_pairs(common, "common")
    method = method_name(method)
    symmetric = flag(symmetric, "symmetric")
    screen, cut = screening(screen, cut)
    lines = [_title(title), method + (" symmetric" if symmetric else "")]
    if cut is not None:
        lines.append(f"screen {screen} {_core.number_text([number(cut, 'cut', finite=True)])[0]}")

    def named(n, label):
        return "'" + label.replace("'", "''") + "'" if label else str(n)

    lines += [f"{named(xi, xl)} {named(yi, yl)}" for xi, xl, yi, yl in
              zip(pairs["x_item"], pairs["x_label"], pairs["y_item"], pairs["y_label"])]
    return _write(path, "\n".join(lines) + "\n")


def write_control(files, path):
    """Write a control file.

    Parameters
    ----------
    files : dict
        File names by keyword: ``output``, ``old_para``, ``old_quad``, ``raw2scale``, ``new_para``,
        ``new_quad``, and optionally ``common_items``, ``new_cov``, ``old_cov``, ``cut_scores``.
    path : str or os.PathLike
        The control file to write.

    Returns
    -------
    str
        The path.
    """
    path = path_of(path, "path")
    keywords = ["output", "old_para", "old_quad", "raw2scale", "new_para", "new_quad"]
    if not isinstance(files, dict):
        raise TypeError("files must be a dict of the six file names by keyword")
    missing = [k for k in keywords if k not in files]
    if missing:
        raise ValueError("files lacks " + ", ".join(missing))
    keywords += [k for k in ("common_items", "new_cov", "old_cov", "cut_scores") if files.get(k)]
    lines = [f"{k:<9} \"{path_of(files[k], k).replace(chr(34), chr(34) * 2)}\"" for k in keywords]
    return _write(path, "\n".join(lines) + "\n")
