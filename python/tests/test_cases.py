"""Every generated case and validation example: the Python results are the
console program's --csv values to the last bit, from files (equate_files) and
from inputs read into Python (equate, link), and to_csv writes its very files."""

import warnings

import numpy as np
import pytest

import irteq
from conftest import (SOURCE, assert_equatings_identical, assert_same, cases, console, copy_case, read_csv,
                      read_inputs, same_csv_files)

CASES = cases()


def recorded(call, *args, **kwargs):
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        value = call(*args, **kwargs)
    return value, [str(w.message) for w in caught]


def assert_console_values(eq, csv, label):
    assert_same(eq.equivalents(), read_csv(csv / "equivalents.csv"), label)
    assert_same(eq.distributions, read_csv(csv / "distributions.csv"), label)
    assert_same(eq.moments, read_csv(csv / "moments.csv"), label)
    for name in ("conversion", "eap", "csem", "reliability", "classification"):
        if (csv / f"{name}.csv").exists():
            assert_same(eq.tables[name], read_csv(csv / f"{name}.csv"), f"{label} {name}")
    if eq.linking is not None:
        methods = read_csv(csv / "linking.csv")
        assert list(methods["method"]) == list(eq.linking.methods["method"])
        columns = ["A", "B", "criterion"] + (["se_A", "se_B"] if "se_A" in eq.linking.methods else [])
        assert_same(eq.linking.methods[columns], {c: methods[c] for c in columns}, f"{label} linking")
        anchors = read_csv(csv / "common_items.csv")
        anchors["flagged"] = anchors["flagged"].astype(bool)
        assert_same(eq.linking.anchors, anchors, f"{label} anchors")
    if eq.standard_errors is not None:
        assert_same(eq.standard_errors, read_csv(csv / "standard_errors.csv"), f"{label} standard errors")


@pytest.mark.skipif(not CASES, reason="IRTEQ_CASES_DIR is not set (make py-test sets it)")
@pytest.mark.parametrize("case", CASES, ids=[c.name for c in CASES])
def test_generated_case(case, tmp_path):
    folder = copy_case(case, tmp_path)
    control = folder / "control.txt"
    expected_warnings = console(control, tmp_path / "csv", "--tables")
    eq, messages = recorded(irteq.equate_files, control, tables=True)
    assert messages == expected_warnings
    assert_console_values(eq, tmp_path / "csv", case.name)
    eq.to_csv(tmp_path / "python-csv")
    same_csv_files(tmp_path / "csv", tmp_path / "python-csv")

    with warnings.catch_warnings():
        warnings.simplefilter("ignore", irteq.InputWarning)
        inputs = read_inputs(control)
    memory, messages = recorded(irteq.equate, **inputs, tables=True)
    # The root finder's warnings again; a scale table's raw column off form Y's score points is one too.
    assert [m for m in messages if "zbrent" in m] == list(eq.warnings["message"])
    assert_equatings_identical(memory, eq, case.name)


# Each validation example's control files, and the console program's options for them.
VALIDATION = [("kb04", c, []) for c in ("control-mean-mean.txt", "control-mean-sigma.txt", "control-haebara.txt",
                                        "control-stocking-lord.txt", "control-haebara-symmetric.txt",
                                        "control-stocking-lord-symmetric.txt")]
VALIDATION += [("est2pl", c, ["--se", "--draws", "20", "--seed", "7"])
               for c in ("control-haebara.txt", "control-mean-mean.txt")]
VALIDATION += [("lsat7", "control-eap.txt", ["--tables"])]


@pytest.mark.parametrize("example, control, options", VALIDATION, ids=[f"{e}/{c}" for e, c, _ in VALIDATION])
def test_validation_example(example, control, options, tmp_path):
    control = copy_case(SOURCE / "validation" / example, tmp_path) / control
    console(control, tmp_path / "csv", *options)
    se, draws, tables = "--se" in options, 20 if "--draws" in options else 0, "--tables" in options
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", irteq.IrteqWarning)
        eq = irteq.equate_files(control, se=se, draws=draws, seed=7, tables=tables)
    assert_console_values(eq, tmp_path / "csv", f"{example}/{control.name}")
    eq.to_csv(tmp_path / "python-csv")
    same_csv_files(tmp_path / "csv", tmp_path / "python-csv")

    # The same run from inputs read into Python, linked by link() and equated by the linking.
    files = irteq.read_control(control)
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", irteq.IrteqWarning)
        inputs = read_inputs(control)
        covariances = {}
        if files["new_cov"] and (se or draws):
            covariances = {"x_cov": irteq.read_covariance(files["new_cov"], inputs["x_items"]),
                           "y_cov": irteq.read_covariance(files["old_cov"], inputs["y_items"])}
        if files["common_items"]:
            common = irteq.read_common_items(files["common_items"])
            lk = irteq.link(inputs["x_items"], inputs["y_items"], common["pairs"], common["method"],
                            inputs["x_grid"], inputs["y_grid"], symmetric=common["symmetric"], **covariances)
            assert (lk.A, lk.B) == (eq.linking.A, eq.linking.B)
            inputs["linking"] = lk
        memory = irteq.equate(**inputs, **covariances, se=se, draws=draws, seed=7, tables=tables)
    assert_equatings_identical(memory, eq, f"{example}/{control.name}")


def test_written_inputs_read_back_to_the_same_run(tmp_path):
    """The writers' files read back to the very inputs: the bundled example, written and equated again."""
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", irteq.InputWarning)
        inputs = read_inputs(SOURCE / "examples" / "spring-grade7" / "control.txt")
        eq = irteq.equate(**inputs)
    irteq.write_items(inputs["x_items"], tmp_path / "x.par")
    irteq.write_items(inputs["y_items"], tmp_path / "y.par")
    irteq.write_grid(inputs["x_grid"], tmp_path / "g1.qd")
    irteq.write_grid(inputs["y_grid"], tmp_path / "g2.qd")
    irteq.write_scale_table(inputs["scale"], tmp_path / "y.scl")
    control = irteq.write_control({"output": "out.txt", "old_para": "y.par", "old_quad": "g2.qd",
                                   "raw2scale": "y.scl", "new_para": "x.par", "new_quad": "g1.qd"},
                                  tmp_path / "control.txt")
    assert_equatings_identical(irteq.equate_files(control), eq, "written")


def test_items_as_rows_of_plain_values_give_the_same_run():
    """Items as rows of lists and numpy scores (checked item by item) are the input items() and the readers
    give (checked for the whole set at once)."""
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", irteq.IrteqWarning)
        inputs = read_inputs(SOURCE / "examples" / "spring-grade7" / "control.txt")
        eq = irteq.equate(**inputs)
        for form in ("x_items", "y_items"):
            inputs[form] = [{"item": row.item, "type": row.type, "scores": np.array(row.scores),
                             "parameters": row.parameters.tolist()} for row in inputs[form].itertuples()]
        assert_equatings_identical(irteq.equate(**inputs), eq, "rows")
