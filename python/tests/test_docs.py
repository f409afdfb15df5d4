"""docs/python.md's code runs as shown, and the public API documents itself."""

import contextlib
import inspect
import io
import os
import re

import pytest

import irteq
from conftest import SOURCE


def test_the_pages_python_blocks_run_in_order(tmp_path, monkeypatch):
    pytest.importorskip("matplotlib")
    blocks = re.findall(r"```python\n(.*?)```", (SOURCE / "docs" / "python.md").read_text(), re.S)
    assert blocks
    # The page's paths are the repository's; what it writes goes to a fresh folder.
    (tmp_path / "examples").symlink_to(SOURCE / "examples")
    monkeypatch.chdir(tmp_path)
    namespace = {"__name__": "python_md"}
    for i, block in enumerate(blocks):
        with contextlib.redirect_stdout(io.StringIO()):
            exec(compile(block, f"docs/python.md block {i + 1}", "exec"), namespace)
    assert os.path.exists("differences-both.png")


def test_every_public_function_has_a_numpydoc_docstring():
    for name in irteq.__all__:
        thing = getattr(irteq, name)
        doc = inspect.getdoc(thing) or ""
        assert doc, name
        if inspect.isfunction(thing):
            for section in ("Parameters", "Returns"):
                assert f"\n{section}\n---" in doc, f"{name} lacks {section}"
            for parameter in inspect.signature(thing).parameters:
                assert parameter in doc, f"{name} does not describe {parameter}"
    for cls in (irteq.Equating, irteq.Linking):
        assert "\nParameters\n---" in inspect.getdoc(cls.plot)
