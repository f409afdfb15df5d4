"""Cut scores in memory give the tables of a cut-score file and the console
program's CSV files; the models' functions and the converters."""

import warnings

import numpy as np
import pandas as pd
import pytest

import irteq
from conftest import EXAMPLE, assert_equatings_identical, assert_same, console, copy_case, read_csv, read_inputs

LEVELS = ["Below Basic", "Basic", "Proficient", "Advanced"]


def test_cut_scores_in_memory_give_the_tables_of_a_cut_score_file(tmp_path):
    control = copy_case(EXAMPLE, tmp_path) / "control-levels.txt"
    console(control, tmp_path / "csv")
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", irteq.IrteqWarning)
        from_file = irteq.equate_files(control)
        memory = irteq.equate(**read_inputs(control), cuts=[140, 170, 185.5], levels=LEVELS)
    for name in ("conversion", "eap", "csem", "reliability", "classification"):
        assert_same(from_file.tables[name], read_csv(tmp_path / "csv" / f"{name}.csv"), name)
    assert_equatings_identical(memory, from_file)
    assert from_file.tables["cut_scores"]["levels"] == LEVELS
    assert list(memory.tables["conversion"]["true_level"].unique()) == LEVELS
    options = memory.record[memory.record["field"] == "option"].set_index("name")["value"]
    assert options["cuts"] == "140 170 185.5"
    assert memory.record.loc[memory.record["field"] == "front_end", "value"].item() == "Python equate()"


def test_the_models_functions_agree_with_each_other():
    form = irteq.items(["L3", "SN", "MU"], [[0, 1], [0, 1, 2], [0, 1, 2]],
                       [[1.7, 1.1, -0.5, 0.2], [0.9, -1, 0.5], [1.7, 0.7, 0.2, 0, 0.5, -0.5]], item=[3, 5, 9])
    theta = np.linspace(-3, 3, 7)
    p = irteq.probabilities(form, theta)
    assert p.shape == (7, 8)
    assert p.columns == ["3:1", "3:2", "5:1", "5:2", "5:3", "9:1", "9:2", "9:3"]
    # Each item's categories sum to 1.
    for first, last in ((0, 2), (2, 5), (5, 8)):
        assert np.allclose(p[:, first:last].sum(axis=1), 1, rtol=0, atol=1e-15)
    e = irteq.expected_scores(form, theta)
    assert e.columns == ["3", "5", "9"]
    curve = irteq.tcc(form, theta)
    # The curve is the sum of the items' expected scores.
    assert np.allclose(curve, e.sum(axis=1), rtol=1e-15, atol=0)
    assert irteq.parameter_names(form, estimated=True)[:3] == ["3:a", "3:b", "3:c"]
    table = irteq.eap_table(form, irteq.normal_grid())
    assert list(table.columns) == ["raw", "probability", "eap", "sd"]
    assert table["probability"].sum() == pytest.approx(1)


def test_convert_items_from_a_table_of_printed_values():
    table = pd.DataFrame({"item": [1, 2], "label": ["R01", None], "a": [1.2, 0.8], "b": [-0.5, 0.4],
                          "c": [0.2, np.nan]})
    converted = irteq.convert_items(table, from_="logistic_difficulty", D=1.7)
    assert list(converted["type"]) == ["L3", "L3"]
    assert list(converted["label"]) == ["R01", ""]
    assert list(converted.at[0, "parameters"]) == [1.7, 1.2, -0.5, 0.2]
    with pytest.raises(ValueError, match="unknown parameterisation"):
        irteq.convert_items(table, from_="logistic")


def test_read_calibration_gives_flexmirt_probabilities_with_labels(tmp_path):
    prm = tmp_path / "x-prm.txt"
    prm.write_text("1\tM01\t1\t1\t1\t2\t-1.386294\t0.5\t1.2\n1\tG02\t1\t1\t2\t3\t1.0\t-0.5\t1.4\n"
                   "0\tGroup1\t1\t1\t0.25\t1.44\n")
    x = irteq.read_calibration(prm, "flexmirt")
    assert x["covariance"] is None
    assert x["groups"].to_dict("list") == {"group": [1], "label": ["Group1"], "mean": [0.25], "variance": [1.44]}
    assert list(x["items"]["label"]) == ["M01", "G02"]
    theta = np.array([-2, 0, 1.5])

    def logistic(z):
        return 1 / (1 + np.exp(-z))

    c3 = logistic(-1.386294)
    p1 = c3 + (1 - c3) * logistic(1.2 * theta + 0.5)
    g1, g2 = logistic(1.4 * theta + 1.0), logistic(1.4 * theta - 0.5)
    expected = np.column_stack([1 - p1, p1, 1 - g1, g1 - g2, g2])
    assert np.allclose(irteq.probabilities(x["items"], theta), expected, rtol=0, atol=1e-12)
    cov = tmp_path / "x-cov.txt"
    np.savetxt(cov, np.diag(np.arange(1, 7) / 100), delimiter="\t")
    y = irteq.read_calibration(prm, "flexmirt", covariance=cov)
    assert y["covariance"].shape == (6, 6)
    assert list(y["covariance"].index[:3]) == ["1:a", "1:b", "1:c"]
    assert y["covariance"].attrs["guessing"] == "logit"
    four = tmp_path / "q-prm.txt"
    four.write_text("1\tQ4\t1\t1\t1\t2\t-1.1\t0.5\t1.2\t2.0\n")
    with pytest.raises(irteq.Error, match="line 1, item Q4: a four-parameter item"):
        irteq.read_calibration(four, "irtpro")
