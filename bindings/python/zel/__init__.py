"""zel: camera look files from creative looks.

Reads a 3D LUT (.cube), makes the look file a camera loads and shows what a look file
holds, with the library and the decoder that the zelgen tool uses:

    import zel
    lut = zel.read_cube("Day_Ext.cube")
    look = zel.make_look(lut, camera="CAMB-001", name="Day_Ext.zel")
    with open("Day_Ext.zel", "wb") as f:
        f.write(look.data)

LUT arrays have the shape (N, N, N, 3), float32. Which axis is which is stated with
`order`: "rgb" (the default) means lut[r, g, b] is the look's output for the input
(r, g, b) / (N - 1), so blue varies fastest in memory; "bgr" means lut[b, g, r], the
order of a .cube file's rows reshaped as they stand (red fastest).
"""

import json as _json
import errno as _errno
import os as _os

import numpy as _np

from . import _zel
from ._zel import LookError

__all__ = ["LookError", "LookResult", "inspect", "make_look", "read_cube"]

_ORDERS = {"rgb": _zel.ORDER_BLUE_FASTEST, "bgr": _zel.ORDER_RED_FASTEST}
_SOURCES = {"qenc3": 0, "qenc3-film": 1, "acescc": 2, "acescct": 3}
_OUTPUTS = {"rec709": 0, "pq": 1, "hlg": 2}
_RANGES = {"full": 0, "legal": 1}
_JOBS = {None: 0, "standard": 1, "extended": 2}
# The texts a look file carries: the file name (which names the look), the look header's
# note (whose start also names the look's LUT), the second LUT name, the look header's
# free text, and the file header's text and tag.
_TEXTS = ("name", "note", "second_name", "look_text", "header_text", "header_tag")


def _choice(keyword, value, choices):
    if value not in choices:
        known = ", ".join(repr(c) for c in choices)
        raise ValueError(f"{keyword}={value!r} is not one of {known}")
    return choices[value]


class LookResult:
    """A made look: `data` (the look file's bytes), `cube_header` (the three header lines
    of a .cube text) and `reindexed` (for Q-Enc3 sources the look re-indexed for the other
    Q-Enc3 gamut, an array in the order the look was given; None for ACES sources)."""

    __slots__ = ("data", "cube_header", "reindexed")

    def __init__(self, data, cube_header, reindexed):
        self.data = data
        self.cube_header = cube_header
        self.reindexed = reindexed

    def __repr__(self):
        return f"<zel.LookResult: {len(self.data)} bytes>"


def read_cube(path, *, order="rgb"):
    """Reads a .cube 3D LUT into a float32 array of shape (N, N, N, 3) in `order`.

    Reads what zelgen reads (titles and comments anywhere, CR LF, tabs, the unit domain);
    raises FileNotFoundError for a missing file and ValueError, naming the line and the
    reason, for a file that cannot become a look."""
    axes = _choice("order", order, _ORDERS)
    path = _os.fspath(path)
    if not _os.path.exists(path):
        raise FileNotFoundError(_errno.ENOENT, _os.strerror(_errno.ENOENT), path)
    size, _title, rows = _zel.read_cube(path)
    lut = rows.reshape(size, size, size, 3)  # [b, g, r]: red fastest
    if axes == _zel.ORDER_BLUE_FASTEST:
        lut = _np.ascontiguousarray(lut.transpose(2, 1, 0, 3))
    return lut


def make_look(lut, camera="CAMB-001", source="qenc3", output="rec709", range="full", job=None,
              *, order="rgb", progress=None, long_chain=False, full_domain=False, **texts):
    """Makes a look file from `lut`, an array of shape (N, N, N, 3) in `order`.

    camera: "CAMB-001", "CAMB-002" or "CAMA-001"; source: "qenc3", "qenc3-film",
    "acescc" or "acescct" (the encoding the look was graded for); output: "rec709", "pq"
    or "hlg"; range: "full" or "legal"; job: "standard", "extended" or None (extended
    for CAMB-002, standard for the others). long_chain selects the camera's longer
    processing chain, full_domain lets the cubes span the full code range (standard job).
    Texts (str): name (the look file's name, e.g. "Day_Ext.zel", which names the look),
    note, second_name, look_text, header_text, header_tag; a text longer than the look
    file's room for it is refused.

    progress, when given, is called with the percentage after each stage of the job (the
    last call has 99), on this thread. The GIL is released while the job runs; Ctrl-C
    (KeyboardInterrupt), or an exception raised by progress, cancels the job, waits for
    it to stop and is raised again.

    Returns a LookResult. Raises ValueError for a bad argument and zel.LookError when the
    library cannot make the look file."""
    axes = _choice("order", order, _ORDERS)
    source_code = _choice("source", source, _SOURCES)
    output_code = _choice("output", output, _OUTPUTS)
    range_code = _choice("range", range, _RANGES)
    job_code = _choice("job", job, _JOBS)
    if not isinstance(camera, str):
        raise TypeError(f"camera must be a str, not {type(camera).__name__}")
    for key, value in texts.items():
        if key not in _TEXTS:
            raise ValueError(f"{key!r} is not a text of a look file; the texts are "
                             + ", ".join(_TEXTS))
        if not isinstance(value, str):
            raise TypeError(f"{key} must be a str, not {type(value).__name__}")
    if progress is not None and not callable(progress):
        raise TypeError("progress must be callable or None")
    array = _np.asarray(lut, dtype=_np.float32)
    if array.ndim != 4 or array.shape[3] != 3 or not (
            array.shape[0] == array.shape[1] == array.shape[2]):
        raise ValueError(f"lut must have the shape (N, N, N, 3), not {array.shape}")
    data, cube_header, reindexed = _zel.make_look(
        array, axes, camera, source_code, output_code, range_code, job_code,
        bool(long_chain), bool(full_domain), dict(texts), progress)
    return LookResult(data, cube_header, reindexed)


def check(look_file, look=None, *, order="rgb"):
    """Will the camera show the look? The fields of `zelgen check --json` as a dict.

    `look_file` is the look file's bytes or a path; `look` the source look, a .cube path or
    an array of shape (N, N, N, 3) in `order`, or None. "damaged" and "problems" say
    whether and where the file differs from what make writes (with the look every word;
    without it everything but the look's own words), "fidelity" how closely the camera
    renders the look, "verdict" the one verdict and "sound" whether zelgen check would
    exit with 0. A file that cannot be walked, or a look that cannot be read, raises
    ValueError."""
    axes = _choice("order", order, _ORDERS)
    if isinstance(look_file, (bytes, bytearray, memoryview)):
        data, file = bytes(look_file), None
    else:
        file = _os.fspath(look_file)
        with open(file, "rb") as stream:
            data = stream.read()
    path = lut = None
    if isinstance(look, (str, bytes, _os.PathLike)):
        path = _os.fspath(look)
        if not _os.path.exists(path):
            raise FileNotFoundError(_errno.ENOENT, _os.strerror(_errno.ENOENT), path)
    elif look is not None:
        lut = _np.asarray(look, dtype=_np.float32)
        if lut.ndim != 4 or lut.shape[3] != 3 or not (
                lut.shape[0] == lut.shape[1] == lut.shape[2]):
            raise ValueError(f"look must have the shape (N, N, N, 3), not {lut.shape}")
        if axes == _zel.ORDER_RED_FASTEST:
            lut = lut.transpose(2, 1, 0, 3)
        lut = _np.ascontiguousarray(lut)
    return _json.loads(_zel.check_json(data, file, path, lut))


def inspect(look):
    """What a look file holds, as a dict with the fields of `zelgen inspect --json`.

    `look` is the file's bytes or a path. Damage the decoder can walk past is listed under
    "problems"; a file it cannot walk raises ValueError."""
    if isinstance(look, (bytes, bytearray, memoryview)):
        data, file = bytes(look), None
    else:
        file = _os.fspath(look)
        with open(file, "rb") as stream:
            data = stream.read()
    return _json.loads(_zel.inspect_json(data, file))
