"""zel.read_look: every look format zelgen reads, into the array make_look takes."""

import os
import runpy
import subprocess
import sys

import numpy as np
import pytest

import zel
from zel import _zel

ZELGEN = os.environ["ZELGEN"]
EXAMPLES = os.path.dirname(os.environ["ZEL_EXAMPLES_DIR"])
STAMP = slice(180, 188)  # the look file's creation time

pytestmark = pytest.mark.skipif(not _zel.OPENCOLORIO, reason="built without OpenColorIO")

N = 5


def table():
    """A smooth look in 12-bit steps, lut[r, g, b]."""
    x = np.linspace(0.0, 1.0, N)
    r, g, b = np.meshgrid(x, x, x, indexing="ij")
    look = np.stack([0.9 * r ** 0.9 + 0.05 * g, 0.8 * g * g + 0.1 * b + 0.05,
                     0.2 + 0.7 * b - 0.1 * r], axis=-1)
    return np.round(look * 4095).astype(int)


def write_cube(path, codes):
    rows = codes.transpose(2, 1, 0, 3).reshape(-1, 3)  # red fastest
    path.write_text(f"LUT_3D_SIZE {N}\n" + "".join(
        " ".join(f"{v / 4095:.9g}" for v in row) + "\n" for row in rows))


def write_3dl(path, codes):
    rows = codes.reshape(-1, 3)  # blue fastest
    path.write_text(" ".join(str(round(i * 1023 / (N - 1))) for i in range(N)) + "\n" + "".join(
        " ".join(str(v) for v in row) + "\n" for row in rows))


SLOPE, OFFSET, POWER, SAT = (1.1, 1.0, 0.9), (0.01, 0.0, -0.02), (1.2, 1.0, 0.8), 0.8


def cc_text():
    triple = lambda v: " ".join(str(x) for x in v)
    return (f'<ColorCorrection id="grade"><SOPNode><Slope>{triple(SLOPE)}</Slope>'
            f"<Offset>{triple(OFFSET)}</Offset><Power>{triple(POWER)}</Power></SOPNode>"
            f"<SATNode><Saturation>{SAT}</Saturation></SATNode></ColorCorrection>\n")


def asc_cdl(rgb):
    v = np.clip(rgb * SLOPE + np.array(OFFSET), 0.0, 1.0) ** np.array(POWER)
    luma = v @ np.array([0.2126, 0.7152, 0.0722])
    return np.clip(luma[..., None] + SAT * (v - luma[..., None]), 0.0, 1.0)


def lattice(grid):
    x = np.linspace(0.0, 1.0, grid)
    return np.stack(np.meshgrid(x, x, x, indexing="ij"), axis=-1)


def test_a_3dl_reads_as_the_same_table_in_cube_form_and_makes_zelgens_look(tmp_path):
    codes = table()
    write_cube(tmp_path / "look.cube", codes)
    write_3dl(tmp_path / "look.3dl", codes)
    lut = zel.read_look(tmp_path / "look.3dl")
    assert lut.shape == (N, N, N, 3) and lut.dtype == np.float32
    np.testing.assert_allclose(lut, zel.read_cube(tmp_path / "look.cube"), atol=1e-6)
    np.testing.assert_array_equal(zel.read_look(tmp_path / "look.3dl", order="cube_file"),
                                  lut.transpose(2, 1, 0, 3))
    made = tmp_path / "look.zel"
    subprocess.run([ZELGEN, "make", str(tmp_path / "look.3dl"), "-o", str(made), "--camera",
                    "CAMB-001", "-q"], check=True)
    data = bytearray(zel.make_look(lut, camera="CAMB-001", name="look.zel").data)
    expected = bytearray(made.read_bytes())
    data[STAMP] = expected[STAMP] = bytes(8)
    assert data == expected


def test_a_cdl_follows_the_asc_formula_at_the_grid_asked_for(tmp_path):
    (tmp_path / "grade.cc").write_text(cc_text())
    for grid in (None, 9):
        lut = zel.read_look(str(tmp_path / "grade.cc"), grid=grid)
        size = grid or 33
        assert lut.shape == (size, size, size, 3)
        np.testing.assert_allclose(lut, asc_cdl(lattice(size)), atol=1e-6)


def test_a_list_is_a_chain_applied_in_order(tmp_path):
    (tmp_path / "grade.cc").write_text(cc_text())
    write_cube(tmp_path / "look.cube", table())
    chained = zel.read_look([tmp_path / "grade.cc", tmp_path / "look.cube"])
    assert chained.shape == (N, N, N, 3)  # the table's grid
    assert not np.allclose(chained, zel.read_cube(tmp_path / "look.cube"), atol=1e-3)


def test_bad_files_raise_with_the_file_and_reason(tmp_path):
    (tmp_path / "noslope.cc").write_text("<ColorCorrection id='x'>\n<SOPNode>"
                                         "<Offset>0 0 0</Offset><Power>1 1 1</Power>"
                                         "</SOPNode></ColorCorrection>\n")
    with pytest.raises(ValueError, match=r"noslope.cc, line 2: .*'Slope' is missing"):
        zel.read_look(tmp_path / "noslope.cc")
    with pytest.raises(FileNotFoundError):
        zel.read_look(tmp_path / "missing.clf")
    with pytest.raises(ValueError, match="grid"):
        zel.read_look(tmp_path / "noslope.cc", grid=300)


def test_the_example_bakes_a_processor_into_a_look(tmp_path):
    ocio = pytest.importorskip("PyOpenColorIO")
    # The example's functions, loaded without running it as a script.
    bake = runpy.run_path(os.path.join(EXAMPLES, "bake_ocio_processor.py"))["bake"]
    # A CDL baked from PyOpenColorIO is the CDL file read by zel.
    grade = ocio.CDLTransform(slope=list(SLOPE), offset=list(OFFSET), power=list(POWER),
                              sat=SAT)
    grade.setStyle(ocio.CDL_ASC)
    baked = bake(ocio.Config.CreateRaw().getProcessor(grade), 9)
    (tmp_path / "grade.cc").write_text(cc_text())
    np.testing.assert_allclose(baked, zel.read_look(tmp_path / "grade.cc", grid=9), atol=1e-6)
    out = tmp_path / "baked.zel"
    subprocess.run([sys.executable, os.path.join(EXAMPLES, "bake_ocio_processor.py"), str(out),
                    "--grid", "9"], check=True, stdout=subprocess.DEVNULL)
    assert zel.inspect(out)["problems"] == []
