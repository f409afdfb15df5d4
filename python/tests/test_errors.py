"""Bad input, one row each: the class raised and the diagnostic it carries.
Python's own translation raises TypeError or ValueError; what the library
catches raises its code's class, with the library's message and place."""

import math
import warnings

import numpy as np
import pandas as pd
import pytest

import irteq

Y = irteq.items(["L3", "L3", "SN"], [[0, 1], [0, 1], [0, 1, 2]],
                [[1.7, 1, 0, 0.2], [1.7, 0.8, 0.5, 0.1], [1, -1, 1]])
GRID = irteq.normal_grid()
SCALE = {"table": pd.DataFrame({"raw": [0, 1, 2, 3, 4], "scale": [10, 11, 12, 13, 14.0],
                                "rounded": [10, 11, 12, 13, 14.0]}), "scale_min": 10, "scale_max": 14, "w2": 0.5}
FLAT = [1.7] * 4  # a = 1.7 for every L3 item below


def equate(**changed):
    arguments = {"x_items": Y, "y_items": Y, "x_grid": GRID, "y_grid": GRID, "scale": SCALE} | changed
    return irteq.equate(**arguments)


def with_parameter(items, item, k, value):
    x = items.copy()
    x.at[item, "parameters"] = [*x.at[item, "parameters"][:k], value, *x.at[item, "parameters"][k + 1:]]
    return x


def write(tmp_path, name, text):
    path = tmp_path / name
    path.write_text(text)
    return path


def control_without_quad(tmp_path):
    return write(tmp_path, "control.txt", "output out.txt\nold_para y.par\nold_quad g2.qd\nraw2scale y.scl\n"
                 "new_para x.par\ncomment g1.qd\n")


def garbage_items(tmp_path):
    return write(tmp_path, "x.par", " title\n1 L3 2\n0 1\n1.7 one 0 0.2\n")


def grid_with_extra_number(tmp_path):
    return write(tmp_path, "g.qd", "title\n-1 0.5 7\n1 0.5\n")


CASES = [
    # Python's translation: types, shapes, NaN, empty tables.
    ("NaN parameter", lambda t: equate(x_items=with_parameter(Y, 0, 1, math.nan)), ValueError, {}),
    ("NaN weight", lambda t: equate(y_grid={"theta": [0, 1], "weight": [0.5, math.nan]}), ValueError, {}),
    ("NaN w2", lambda t: equate(w2=math.nan), ValueError, {}),
    ("2-D theta", lambda t: equate(x_grid={"theta": np.zeros((2, 2)), "weight": [1, 1]}), ValueError, {}),
    ("ragged grid", lambda t: equate(x_grid={"theta": [0, 1, 2], "weight": [1, 1]}), ValueError, {}),
    ("covariance not square", lambda t: equate(x_cov=np.zeros((3, 4)), se=True), ValueError, {}),
    ("items as text", lambda t: equate(x_items="formx.par"), TypeError, {}),
    ("text for a number", lambda t: equate(x_items=with_parameter(Y, 0, 1, "1.0")), TypeError, {}),
    ("text for w2", lambda t: equate(w2="0.5"), TypeError, {}),
    ("text thetas", lambda t: irteq.probabilities(Y, ["0"]), TypeError, {}),
    ("empty items", lambda t: equate(x_items=Y.iloc[:0]), ValueError, {}),
    ("empty grid", lambda t: equate(x_grid=GRID.iloc[:0]), ValueError, {}),
    ("missing column", lambda t: equate(x_grid=GRID[["theta"]]), ValueError, {}),
    ("threads 0", lambda t: equate(threads=0), ValueError, {}),
    ("se without covariance", lambda t: equate(se=True), ValueError, {}),
    ("linked items with a covariance", lambda t: equate(
        x_items=irteq.link(Y, Y, [[1, 1], [2, 2], [3, 3]], "mean-mean", GRID, GRID).x_items,
        x_cov=np.eye(7) * 1e-3, se=True), ValueError, {}),
    ("unknown method", lambda t: irteq.link(Y, Y, [[1, 1], [2, 2]], "least", GRID, GRID), ValueError, {}),
    # The library's checks, one class per code.
    ("missing file", lambda t: irteq.read_items(t / "absent.par"), irteq.FileError,
     {"code": "file_error", "file": None}),
    ("syntax", lambda t: irteq.read_items(garbage_items(t)), irteq.InputSyntaxError,
     {"code": "syntax_error", "line": 4}),
    ("101 points", lambda t: equate(x_grid=irteq.normal_grid(points=100).iloc[:0]._append(
        pd.DataFrame({"theta": np.linspace(-4, 4, 101), "weight": np.ones(101)}))), irteq.LimitExceeded,
     {"code": "limit_exceeded", "input": "grid_group1", "file": "x_grid"}),
    ("c above 1", lambda t: equate(x_items=with_parameter(Y, 1, 3, 1.5)), irteq.InvalidInput,
     {"code": "invalid_input", "input": "items_x", "file": "x_items", "item": 2}),
    ("negative weight", lambda t: equate(y_grid={"theta": [0, 1], "weight": [-1, 2]}), irteq.InvalidInput,
     {"code": "invalid_input", "input": "grid_group2", "row": 1}),
    ("w2 above 1", lambda t: equate(w2=1.5), irteq.InvalidInput, {"code": "invalid_input"}),
    ("unknown type", lambda t: equate(y_items=Y.assign(type=["L3", "XX", "SN"])), irteq.UnknownItemType,
     {"code": "unknown_item_type", "input": "items_y", "item": 2}),
    ("control file", lambda t: irteq.equate_files(control_without_quad(t)), irteq.ControlFileError,
     {"code": "control_file"}),
    ("overflow", lambda t: equate(x_items=irteq.items(["MU"], [[0, 1]], [[1.7, 9e281, 9e281, 9e281, 9e281]]),
                                  scale=None, w2=0.5), irteq.NotFinite, {"code": "not_finite"}),
    ("strict", lambda t: irteq.read_grid(grid_with_extra_number(t), strict=True), irteq.InputWarningError,
     {"code": "input_warning", "line": 2}),
    ("no convergence", lambda t: irteq.link(
        irteq.items(["L3"] * 3, [[0, 1]] * 3, [[*FLAT[:1], 1, b, 0.2] for b in (0, 0.5, 1)]),
        irteq.items(["L3"] * 3, [[0, 1]] * 3, [[*FLAT[:1], -1, b, 0.2] for b in (0, 0.5, 1)]),
        {"x_item": [1, 2, 3], "y_item": [1, 2, 3]}, "haebara", GRID, GRID), irteq.LinkingFailed,
     {"code": "linking_failed"}),
]


@pytest.mark.parametrize("label, call, error, diagnostic", CASES, ids=[c[0] for c in CASES])
def test_bad_input(label, call, error, diagnostic, tmp_path):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", irteq.IrteqWarning)
        with pytest.raises(error) as caught:
            call(tmp_path)
    e = caught.value
    if issubclass(error, irteq.Error):
        assert str(e) and e.message == str(e)
        for name, value in diagnostic.items():
            if value is None:
                assert getattr(e, name), name
            else:
                assert getattr(e, name) == value, name
    else:
        assert not isinstance(e, irteq.Error)


def test_reader_warnings_become_errors_under_the_error_filter(tmp_path):
    path = grid_with_extra_number(tmp_path)
    with pytest.warns(irteq.InputWarning, match="line 2"):
        irteq.read_grid(path)
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        with pytest.raises(irteq.InputWarning, match="g.qd line 2"):
            irteq.read_grid(path)


def test_root_finder_warnings_arrive_as_warnings_and_in_the_result():
    x = irteq.items(["L3", "L3", "SN"], [[0, 1], [0, 1], [0, 1, 2]],
                    [[1.7, 1, 0, 0.2], [1.7, 1, 0.5, 0.2], [1, 0, 20]])
    y = irteq.items(["L3", "SN"], [[0, 1], [0, 1, 2]], [[1.7, 1, 0, 0.2], [1, -1, 1]])
    with pytest.warns(irteq.RootFinderWarning, match="form X raw score 3: root must be bracketed for zbrent"):
        eq = irteq.equate(x, y, GRID, GRID, w2=0.5)
    assert list(eq.warnings["problem"]) == ["not_bracketed"]


def test_a_logit_metric_covariance_keeps_drawn_c_inside_and_the_redraws_name_the_items():
    # Ten L3 items with c near 0.04 and standard errors of 0.03: drawn as c, a c below 0 spoils many draws.
    c_hat = 0.03 + 0.002 * np.arange(10)
    form = irteq.items(["L3"] * 10, [[0, 1]] * 10,
                       [[1.7, 0.8 + 0.05 * i, -1.5 + 0.3 * i, c_hat[i]] for i in range(10)])
    scale = {"table": pd.DataFrame({"raw": range(11), "scale": range(11), "rounded": range(11)}),
             "scale_min": 0, "scale_max": 10, "w2": 0.5}
    v_c = np.diag(np.tile([0.05, 0.08, 0.03], 10) ** 2)
    slope = np.ones(30)
    slope[2::3] = c_hat * (1 - c_hat)
    v_logit = pd.DataFrame(v_c / np.outer(slope, slope))
    v_logit.attrs["guessing"] = "logit"

    def run(v):
        return irteq.equate(form, form, irteq.normal_grid(), irteq.normal_grid(), scale, x_cov=v, draws=200, seed=3)

    assert run(v_logit).draws["redraws"] == 0
    with pytest.warns(irteq.RedrawWarning, match=r"invalid most often: form X item \d+ \d+, "):
        spoiled = run(v_c)
    invalid = spoiled.draws["invalid_items"]
    assert list(invalid.columns) == ["form", "item", "number", "label", "count"]
    assert (invalid["form"] == "X").all() and invalid["count"].is_monotonic_decreasing
    assert invalid["count"].sum() >= spoiled.draws["redraws"]
