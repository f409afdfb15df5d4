"""What the tests share: the console program and the generated cases from the
environment (make py-test sets them), runs of the program in a fresh folder,
and its CSV files read by a correctly rounded parser (float())."""

import csv
import math
import os
import shutil
import subprocess
from pathlib import Path

import numpy as np
import pandas as pd
import pytest

import irteq

SOURCE = Path(os.environ.get("IRTEQ_SOURCE_DIR", Path(__file__).resolve().parents[2]))
EXAMPLE = SOURCE / "examples" / "spring-grade7"
LINKED = SOURCE / "examples" / "linked-grade7"


def binary():
    path = os.environ.get("IRTEQ_BINARY", "")
    if not path:
        pytest.skip("IRTEQ_BINARY is not set (make py-test sets it)")
    return path


def cases():
    folder = os.environ.get("IRTEQ_CASES_DIR", "")
    if not folder:
        return []
    return sorted(p for p in Path(folder).iterdir() if p.is_dir())


def copy_case(case, tmp_path):
    """The case's input files in a fresh folder, where runs write their reports."""
    folder = tmp_path / Path(case).name
    folder.mkdir()
    for f in Path(case).iterdir():
        if f.is_file():
            shutil.copy(f, folder)
    return folder


def console(control, folder, *options):
    """The console program's --csv files of a run, and its warnings (without their prefix)."""
    done = subprocess.run([binary(), str(control), "--csv", str(folder), *options], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    return [line.removeprefix("irteq: warning: ") for line in done.stderr.splitlines()]


TEXT = {"form", "equating", "metric", "true_level", "observed_level", "block", "group", "score", "method", "model",
        "x_label", "y_label", "constant"}


def read_csv(path):
    """A CSV file's columns: numbers by float() (NaN for an empty field), text as written (None for empty)."""
    with open(path, newline="") as f:
        rows = list(csv.reader(f))
    header, body = rows[0], rows[1:]
    out = {}
    for j, name in enumerate(header):
        values = [row[j] for row in body]
        if name in TEXT:
            out[name] = [v if v != "" else None for v in values]
        else:
            out[name] = np.array([float(v) if v != "" else math.nan for v in values])
    return out


def bits(x):
    a = np.asarray(x, dtype=np.float64)
    return np.where(np.isnan(a), np.float64("nan"), a).view(np.uint64)


def assert_same(frame, columns, label=""):
    """Every column of columns in frame, to the last bit (numbers) or as text (None for an empty field)."""
    assert list(frame.columns)[: len(columns)] == list(columns), label
    for name, expected in columns.items():
        actual = frame[name]
        if isinstance(expected, list):
            got = [None if (v is None or v == "" or (isinstance(v, float) and math.isnan(v))) else str(v)
                   for v in actual]
            assert got == expected, f"{label}: {name}"
        else:
            values = actual.to_numpy(dtype=np.float64, na_value=np.nan)
            assert np.array_equal(bits(values), bits(expected)), f"{label}: {name}"


def assert_frames_identical(a, b, label=""):
    pd.testing.assert_frame_equal(a, b, check_exact=True, obj=label)
    for name in a.columns:
        if a[name].dtype == np.float64:
            assert np.array_equal(bits(a[name]), bits(b[name])), f"{label}: {name}"


def assert_equatings_identical(a, b, label=""):
    """Every table of two equatings, bit for bit; their records differ in time and front end."""
    for name in ("true_score", "observed_score", "distributions", "moments", "warnings"):
        assert_frames_identical(getattr(a, name), getattr(b, name), f"{label} {name}")
    assert (a.w2, a.chance_score) == (b.w2, b.chance_score)
    for name in ("standard_errors",):
        x, y = getattr(a, name), getattr(b, name)
        assert (x is None) == (y is None)
        if x is not None:
            assert_frames_identical(x, y, f"{label} {name}")
    assert (a.linking is None) == (b.linking is None)
    if a.linking is not None:
        for name in ("methods", "anchors", "rounds"):
            assert_frames_identical(getattr(a.linking, name), getattr(b.linking, name), f"{label} linking {name}")
        assert (a.linking.A, a.linking.B) == (b.linking.A, b.linking.B)
    assert (a.tables is None) == (b.tables is None)
    if a.tables is not None:
        assert a.tables.keys() == b.tables.keys()
        for name, table in a.tables.items():
            if isinstance(table, pd.DataFrame):
                assert_frames_identical(table, b.tables[name], f"{label} tables {name}")


def read_inputs(control):
    """The inputs a control file names, as equate()'s arguments."""
    files = irteq.read_control(control)
    return {"x_items": irteq.read_items(files["new_para"]), "y_items": irteq.read_items(files["old_para"]),
            "x_grid": irteq.read_grid(files["new_quad"]), "y_grid": irteq.read_grid(files["old_quad"]),
            "scale": irteq.read_scale_table(files["raw2scale"])}


def same_csv_files(a, b):
    """The CSV folders hold the same files, byte for byte, but run.csv (time, front end)."""
    names = sorted(p.name for p in Path(a).iterdir())
    assert names == sorted(p.name for p in Path(b).iterdir())
    for name in names:
        if name != "run.csv":
            assert (Path(a) / name).read_bytes() == (Path(b) / name).read_bytes(), name
