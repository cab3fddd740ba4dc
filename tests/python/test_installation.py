"""What the module tells tools and users about itself: version and metadata, type stubs
that match it, the time stamp a host sets, keyword-only texts, the layout-order names."""

import ast
import datetime
import importlib.metadata
import inspect
import os
import warnings

import numpy as np
import pytest

import zel

LOOK = os.path.join(os.environ["ZEL_EXAMPLES_DIR"], "warm_teal.cube")
STAMP = slice(180, 188)  # the look file's creation time


def test_version_and_metadata_agree_and_declare_numpy():
    assert zel.__version__ == importlib.metadata.version("zel")
    assert any(r.split()[0] == "numpy" for r in importlib.metadata.requires("zel"))
    assert os.path.exists(os.path.join(os.path.dirname(zel.__file__), "py.typed"))


def test_stubs_match_the_module():
    stub = os.path.join(os.path.dirname(zel.__file__), "__init__.pyi")
    tree = ast.parse(open(stub, encoding="utf-8").read())
    stubbed = {}
    for node in tree.body:
        if isinstance(node, (ast.FunctionDef, ast.ClassDef)):
            stubbed[node.name] = node
    assert set(zel.__all__) <= set(stubbed), "names of zel.__all__ missing from the stubs"
    for name in zel.__all__:
        if not inspect.isfunction(getattr(zel, name)):
            continue
        real = inspect.signature(getattr(zel, name)).parameters
        args = stubbed[name].args
        stub_params = [a.arg for a in args.posonlyargs + args.args + args.kwonlyargs]
        assert stub_params == list(real), name
        keyword_only = [p for p in real if real[p].kind == inspect.Parameter.KEYWORD_ONLY]
        assert [a.arg for a in args.kwonlyargs] == keyword_only, name


def test_the_texts_are_keyword_only_parameters():
    parameters = inspect.signature(zel.make_look).parameters
    for text in ("name", "note", "second_name", "look_text", "header_text", "header_tag"):
        assert parameters[text].kind == inspect.Parameter.KEYWORD_ONLY
    lut = zel.read_cube(LOOK)
    with pytest.raises(TypeError, match="colour"):
        zel.make_look(lut, colour="red")
    with pytest.raises(TypeError, match="note must be a str"):
        zel.make_look(lut, note=5)


def test_a_set_time_stamp_makes_the_same_bytes():
    lut = zel.read_cube(LOOK)
    first = zel.make_look(lut, name="Warm.zel", created="2024-02-29 23:59:58").data
    again = zel.make_look(lut, name="Warm.zel",
                          created=datetime.datetime(2024, 2, 29, 23, 59, 58)).data
    assert first == again
    assert first[STAMP] == bytes([0xE8, 0x07, 2, 29, 23, 59, 58, 0])
    assert zel.inspect(first)["fileHeader"]["created"].startswith("2024-02-29")
    with pytest.raises(ValueError, match="created"):
        zel.make_look(lut, created="2023-02-29 12:00:00")
    with pytest.raises(TypeError, match="created"):
        zel.make_look(lut, created=1700000000)


def test_layout_orders_are_named_after_the_axes_and_the_old_names_warn():
    axes = zel.read_cube(LOOK, order="rgb_axes")
    rows = zel.read_cube(LOOK, order="cube_file")
    np.testing.assert_array_equal(axes, rows.transpose(2, 1, 0, 3))
    np.testing.assert_array_equal(axes, zel.read_cube(LOOK))
    # lut[r, g, b]: the red input grows along the first index of "rgb_axes".
    assert axes[-1, 0, 0, 0] > axes[0, 0, 0, 0] and rows[0, 0, -1, 0] == axes[-1, 0, 0, 0]
    for old, new in (("rgb", axes), ("bgr", rows)):
        with pytest.warns(DeprecationWarning, match="cube_file" if old == "bgr" else "rgb_axes"):
            np.testing.assert_array_equal(zel.read_cube(LOOK, order=old), new)
    created = "2024-01-01 00:00:00"
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        made = zel.make_look(rows, order="cube_file", created=created).data
    with pytest.warns(DeprecationWarning):
        assert zel.make_look(rows, order="bgr", created=created).data == made
