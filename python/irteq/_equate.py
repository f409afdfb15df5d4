"""equate(), equate_files() and link(): every run through the library's run()."""

import warnings

import pandas as pd

from . import _core
from ._checks import (as_covariance, as_grid, as_items, as_pairs, as_scale, doubles, flag, method_name, number,
                      path_of, screening, standard_error_request, threads as check_threads, warn_all)
from ._errors import InputWarning, RedrawWarning, RootFinderWarning
from ._results import Equating, Linking

_unset = object()


def _request(threads, root_tolerance, se, draws, seed, tables):
    se, draws, seed = standard_error_request(se, draws, seed)
    return {"threads": check_threads(threads), "root_tolerance": number(root_tolerance, "root_tolerance"),
            "se": se, "draws": draws, "seed": seed, "tables": flag(tables, "tables")}


def _equating(run, stacklevel=3):
    result = Equating(run)
    warn_all(result._input_warnings, InputWarning, stacklevel)
    warn_all(result.warnings["message"], RootFinderWarning, stacklevel)
    if result._redraws_warning:
        warnings.warn(result._redraws_warning, RedrawWarning, stacklevel=stacklevel + 1)
    return result


def equate(x_items, y_items, x_grid, y_grid, scale=None, w2=None, threads=1, x_cov=None, y_cov=None, se=False,
           draws=0, seed=1, linking=None, root_tolerance=1e-6, tables=False, cuts=None, levels=None):
    """Equate form X to form Y by IRT true score and observed score equating.

    The library's checks, messages and doubles: the very numbers of the console program's report and its
    ``--csv`` files. Group 1 took form X, group 2 took form Y.

    Parameters
    ----------
    x_items, y_items : pandas.DataFrame or list of dict
        The item sets of form X (new) and form Y (old), as :func:`items` or :func:`read_items` return.
    x_grid, y_grid : pandas.DataFrame or dict
        The quadrature grids of group 1 and group 2: ``theta`` and ``weight``.
    scale : dict, optional
        Form Y's raw-to-scale table, as :func:`read_scale_table` returns. Without it (and with ``w2``) the
        equating is on the raw score metric alone.
    w2 : float, optional
        Group 2's weight in the synthetic population; ``scale["w2"]`` by default.
    threads : int
        Threads of one equating, and of the standard errors; the results are the same on any number.
    x_cov, y_cov : numpy.ndarray or pandas.DataFrame, optional
        The covariances of form X's (on its own scale) and form Y's parameter estimates, for standard errors;
        a DataFrame's ``attrs["guessing"] = "logit"`` says its L3 c rows are those of logit(c).
    se : bool
        Delta-method standard errors.
    draws : int
        Parametric draws (0 for none). Ctrl-C stops them with :class:`irteq.Interrupted`.
    seed : int
        The draws' seed, 0 to 2^53.
    linking : Linking, optional
        A linking :func:`link` gave for these items and grids: the run links again by its pairs, method and
        screening and equates the linked form, its standard errors carrying the linking's.
    root_tolerance : float
        The theta tolerance of true score equating's root searches, above 0 and at most 1e-6.
    tables : bool
        The technical report's tables; cut scores ask for them too.
    cuts : sequence of float, optional
        The performance levels' cut scores on form Y's scale.
    levels : sequence of str, optional
        The ``len(cuts) + 1`` levels' names, lowest first.

    Returns
    -------
    Equating

    Raises
    ------
    irteq.Error
        Its subclass of the library's error code, with the diagnostic, for input the library cannot use.
    TypeError, ValueError
        For arguments of the wrong type or shape.

    Warns
    -----
    irteq.RootFinderWarning, irteq.InputWarning, irteq.RedrawWarning
    """
    if scale is None and w2 is None:
        raise TypeError("scale is missing: give form Y's raw-to-scale table, or w2 alone to equate on the raw "
                        "score metric")
    request = _request(threads, root_tolerance, se, draws, seed, tables)
    pairs = None
    if linking is not None:
        if not isinstance(linking, Linking):
            raise TypeError(f"linking must be a linking, as link() returns, not {type(linking).__name__}")
        pairs = linking._pairs()
    linked = isinstance(x_items, pd.DataFrame) and x_items.attrs.get("irteq_linked", False)
    if linked and (linking is not None or x_cov is not None or y_cov is not None):
        raise ValueError("x_items are form X's items after linking (link()'s x_items), on form Y's scale; for "
                         "standard errors that carry the linking's error, or to equate by a linking, pass form X's "
                         "own items and grid with the linking: equate(x_items, y_items, x_grid, y_grid, scale, "
                         "linking=lk, x_cov=..., y_cov=..., se=True)")
    yi = as_items(y_items, "y_items")
    xi = as_items(x_items, "x_items")
    if pairs is not None:
        pairs = _named_as_linked(pairs, xi, yi)
    yg = as_grid(y_grid, "y_grid")
    xg = as_grid(x_grid, "x_grid")
    s = None
    if scale is not None:
        s = as_scale(scale, "scale")
        if w2 is None:
            if "w2" not in scale:
                raise ValueError("scale lacks w2: give it there or as w2")
            w2 = scale["w2"]
    w2 = number(w2, "w2")
    xc = as_covariance(x_cov, "x_cov")
    yc = as_covariance(y_cov, "y_cov")
    if (request["se"] or request["draws"] > 0) and xc is None and yc is None:
        raise ValueError(f"{'se=True' if request['se'] else 'draws > 0'} needs the covariance of the item "
                         "parameter estimates: give x_cov, y_cov or both")
    if cuts is not None:
        cuts = doubles(cuts, "cuts")
    if levels is not None:
        if cuts is None:
            raise ValueError("levels names the performance levels of cuts: give cuts too")
        if isinstance(levels, str) or not all(isinstance(v, str) for v in levels):
            raise TypeError("levels must be the levels' names, a sequence of text")
        levels = list(levels)
    run = _core.equate(xi, yi, xg, yg, s, w2, xc, yc, pairs, cuts, levels, request)
    result = _equating(run)
    if linking is not None and (result.linking.A != linking.A or result.linking.B != linking.B):
        raise ValueError(f"linking was made from other forms or grids than x_items, y_items, x_grid and y_grid: it "
                         f"gives A = {linking.A!r}, B = {linking.B!r}, these A = {result.linking.A!r}, "
                         f"B = {result.linking.B!r}; pass the items and grids link() took")
    return result


def _named_as_linked(pairs, xi, yi):
    """By number where the number names one item of its form, else by label: the items link() found."""
    for form, items in (("x", xi), ("y", yi)):
        numbers = items["item"]
        repeated = {n for n in numbers if numbers.count(n) > 1}
        pairs[f"{form}_label"] = [label if (label and pairs[f"{form}_item"][i] in repeated) else ""
                                  for i, label in enumerate(pairs[f"{form}_label"])]
    return pairs


def equate_files(control_file, strict=False, threads=1, se=False, draws=0, seed=1, root_tolerance=1e-6, tables=False):
    """Equate as the console program runs a control file: linked first when it names common items.

    Parameters
    ----------
    control_file : str or os.PathLike
        The control file; its names are relative to its own folder. The report it names is not written.
    strict : bool
        Every warning of the readers an error (:class:`irteq.InputWarningError`), as ``--strict``.
    threads, se, draws, seed, root_tolerance, tables
        As for :func:`equate`; standard errors read the covariance files the control file's ``new_cov`` and
        ``old_cov`` records name.

    Returns
    -------
    Equating
    """
    control = path_of(control_file, "control_file")
    strict = flag(strict, "strict")
    request = _request(threads, root_tolerance, se, draws, seed, tables)
    run, messages = _core.equate_files(control, strict, request)
    warn_all(messages, InputWarning, 2)
    return _equating(run)


def run(control_file, strict=False, threads=1, se=False, draws=0, seed=1, root_tolerance=1e-6, tables=False):
    """The same as :func:`equate_files`: a run of a control file.

    Parameters
    ----------
    control_file : str or os.PathLike
        The control file.
    strict, threads, se, draws, seed, root_tolerance, tables
        As for :func:`equate_files`.

    Returns
    -------
    Equating
    """
    return equate_files(control_file, strict=strict, threads=threads, se=se, draws=draws, seed=seed,
                        root_tolerance=root_tolerance, tables=tables)


def link(x_items, y_items, common, method="stocking-lord", x_grid=None, y_grid=None, symmetric=False, x_cov=None,
         y_cov=None, screen="none", cut=None):
    """Link form X's scale onto form Y's through common items: theta_Y = A theta_X + B.

    Every method's constants (mean-mean, mean-sigma, Haebara, Stocking-Lord), the applied one's
    transformation of form X's items and group 1's grid, and the anchors' statistics.

    Parameters
    ----------
    x_items, y_items : pandas.DataFrame or list of dict
        Each form's items on its own calibration's scale.
    common : pandas.DataFrame, dict or array of pairs
        ``x_item`` and ``y_item``: each pair's item numbers, or labels (text); optional ``x_label`` and
        ``y_label`` name items by label where not empty, as :func:`read_common_items` gives them.
    method : str
        The method applied: ``"mean-mean"``, ``"mean-sigma"``, ``"haebara"`` or ``"stocking-lord"`` (or MM,
        MS, HB, SL), in any case.
    x_grid, y_grid : pandas.DataFrame or dict
        Group 1's grid on form X's scale, group 2's on form Y's.
    symmetric : bool
        Symmetric characteristic-curve criteria.
    x_cov, y_cov : numpy.ndarray or pandas.DataFrame, optional
        Covariances of the estimates: every method's delta-method standard errors and the Wald tests.
    screen : str
        Anchor screening: ``"none"``, ``"robust-z"``, ``"rmsd"`` or ``"wald"``.
    cut : float, optional
        The value that flags a pair, with ``screen``.

    Returns
    -------
    Linking

    Raises
    ------
    irteq.LinkingFailed
        When the applied method finds no constants, or A <= 0.
    """
    if x_grid is None or y_grid is None:
        raise TypeError("link() needs x_grid and y_grid")
    xi = as_items(x_items, "x_items")
    yi = as_items(y_items, "y_items")
    pairs = as_pairs(common, "common")
    pairs["symmetric"] = flag(symmetric, "symmetric")
    pairs["method"] = method_name(method)
    pairs["screen"], cut = screening(screen, cut)
    pairs["cut"] = 0.0 if cut is None else cut
    xg = as_grid(x_grid, "x_grid")
    yg = as_grid(y_grid, "y_grid")
    xc = as_covariance(x_cov, "x_cov")
    yc = as_covariance(y_cov, "y_cov")
    return Linking(_core.link(xi, yi, xg, yg, pairs, xc, yc))
