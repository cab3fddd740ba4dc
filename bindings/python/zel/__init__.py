"""zel: camera look files from creative looks.

Reads a 3D LUT (.cube), makes the look file a camera loads and shows what a look file
holds, with the library and the decoder that the zelgen tool uses:

    import zel
    lut = zel.read_cube("Day_Ext.cube")
    look = zel.make_look(lut, camera="CAMB-001", name="Day_Ext.zel")
    with open("Day_Ext.zel", "wb") as f:
        f.write(look.data)

LUT arrays have the shape (N, N, N, 3), float32. Which index is which axis is stated with
`order`, and never concerns the order of the three values of a node, always red, green,
blue:

- "rgb_axes" (the default): lut[r, g, b] is the look's output for the input
  (r, g, b) / (N - 1); blue varies fastest in memory.
- "cube_file": lut[b, g, r], the rows of a .cube file reshaped as they stand (red
  fastest).

The former names "rgb" and "bgr" still work for one release and warn (DeprecationWarning):
"bgr" meant "blue axis first", not the channel order BGR of imaging libraries.
"""

import datetime as _datetime
import errno as _errno
import json as _json
import os as _os
import stat as _stat
import warnings as _warnings

import numpy as _np

from . import _zel
from ._zel import LookError

__all__ = ["LookError", "LookResult", "check", "inspect", "make_look", "read_cube", "read_look"]

# The version of the library the module runs with, which the build stamps with the
# project's version.
__version__ = _zel.version()

_ORDERS = {"rgb_axes": _zel.ORDER_BLUE_FASTEST, "cube_file": _zel.ORDER_RED_FASTEST}
_FORMER_ORDERS = {"rgb": "rgb_axes", "bgr": "cube_file"}
_SOURCES = {"qenc3": 0, "qenc3-film": 1, "acescc": 2, "acescct": 3}
_OUTPUTS = {"rec709": 0, "pq": 1, "hlg": 2}
_RANGES = {"full": 0, "legal": 1}
_JOBS = {None: 0, "standard": 1, "extended": 2}
# A look file is a few hundred kilobytes; anything far larger is not one.
_LARGEST_LOOK_FILE = 64 * 1024 * 1024


def _check_text(keyword, value):
    # The look file's text fields hold ASCII, ended by a zero byte: a NUL would cut the text
    # short, and other characters would come back from the file as escaped bytes.
    if "\0" in value:
        raise ValueError(f"{keyword} holds a NUL character, which would cut it short")
    if not value.isascii():
        raise ValueError(f"{keyword}={value!r} holds characters outside ASCII; the look "
                         "file's texts are ASCII")


def _check_layout(camera, job):
    layouts = _zel.camera_layouts(camera)
    if layouts is None:
        return  # the library names the unknown model
    standard_fits, extended_carries_look, extended_is_default = layouts
    extended = job == "extended" or (job is None and extended_is_default)
    if not extended and not standard_fits:
        raise ValueError(f"a {camera} look does not fit the standard look file layout; use "
                         "job='extended' (the default for this camera)")
    if extended and not extended_carries_look:
        _warnings.warn(f"the extended look file of {camera} carries no look data; the camera "
                       "will not apply this look. Use job='standard' for a look file that "
                       "holds the look.", UserWarning, stacklevel=3)


def _read_look_file(path):
    # Opened without blocking, so that a FIFO cannot stall the open; only a regular file of
    # a look file's size is read.
    flags = _os.O_RDONLY | getattr(_os, "O_NONBLOCK", 0) | getattr(_os, "O_BINARY", 0)
    with open(_os.open(path, flags), "rb") as stream:
        status = _os.fstat(stream.fileno())
        if not _stat.S_ISREG(status.st_mode):
            raise ValueError(f"{path}: this is not a regular file, so not a look file")
        if status.st_size > _LARGEST_LOOK_FILE:
            raise ValueError(f"{path}: the file has {status.st_size} bytes; a look file has "
                             f"at most {_LARGEST_LOOK_FILE}, so this is not one")
        data = stream.read(_LARGEST_LOOK_FILE + 1)
    if len(data) > _LARGEST_LOOK_FILE:
        raise ValueError(f"{path}: the file grew beyond {_LARGEST_LOOK_FILE} bytes while "
                         "being read, so this is not a look file")
    return data


def _choice(keyword, value, choices):
    if value not in choices:
        known = ", ".join(repr(c) for c in choices)
        raise ValueError(f"{keyword}={value!r} is not one of {known}")
    return choices[value]


def _order(order):
    if isinstance(order, str) and order in _FORMER_ORDERS:
        current = _FORMER_ORDERS[order]
        _warnings.warn(f"order={order!r} is deprecated and will be removed; "
                       f"use order={current!r}", DeprecationWarning, stacklevel=3)
        order = current
    return _choice("order", order, _ORDERS)


def _created(created):
    """The time stamp text the library reads, "" for the local time of the job."""
    if created is None:
        return ""
    if isinstance(created, _datetime.datetime):
        return created.strftime("%Y-%m-%d %H:%M:%S")
    if not isinstance(created, str):
        raise TypeError(f"created must be a str or a datetime, not {type(created).__name__}")
    return created


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


def read_cube(path, *, order="rgb_axes"):
    """Reads a .cube 3D LUT into a float32 array of shape (N, N, N, 3) in `order`.

    Reads what zelgen reads (titles and comments anywhere, CR LF, tabs, the unit domain);
    raises FileNotFoundError for a missing file and ValueError, naming the line and the
    reason, for a file that cannot become a look."""
    axes = _order(order)
    path = _os.fspath(path)
    if not _os.path.exists(path):
        raise FileNotFoundError(_errno.ENOENT, _os.strerror(_errno.ENOENT), path)
    size, _title, rows = _zel.read_cube(path)
    lut = rows.reshape(size, size, size, 3)  # [b, g, r]: red fastest
    if axes == _zel.ORDER_BLUE_FASTEST:
        lut = _np.ascontiguousarray(lut.transpose(2, 1, 0, 3))
    return lut


def read_look(path, grid=None, cdl_id=None, *, order="rgb_axes"):
    """Reads any look zelgen reads into a float32 array of shape (G, G, G, 3) in `order`.

    `path` is a .cube, .3dl, .clf, .ctf, .csp, .spi3d, .spi1d, .cc, .ccc or .cdl file, or a
    list of them, composed in the order given (as `zelgen make --chain`). A .cube file is
    read by zelgen's own reader; the rest are evaluated by OpenColorIO on the lattice: at
    the 3D table's own grid size, or at `grid` (33 when a look has no 3D table). `cdl_id`
    chooses the correction of a CDL collection (default: its first).

    Raises FileNotFoundError for a missing file and ValueError, naming the file, the line
    where known and the reason, for one that cannot become a look (or, in a build without
    OpenColorIO, for the kinds only it reads)."""
    axes = _order(order)
    chain = isinstance(path, (list, tuple))
    paths = [_os.fspath(p) for p in path] if chain else [_os.fspath(path)]
    for p in paths:
        if not _os.path.exists(p):
            raise FileNotFoundError(_errno.ENOENT, _os.strerror(_errno.ENOENT), p)
    if grid is not None and not (isinstance(grid, int) and 2 <= grid <= 255):
        raise ValueError(f"grid={grid!r} must be a whole number from 2 to 255")
    if cdl_id is not None and not isinstance(cdl_id, str):
        raise TypeError(f"cdl_id must be a str, not {type(cdl_id).__name__}")
    size, _remark, rows = _zel.read_look(paths, chain, grid or 0, cdl_id or "")
    lut = rows.reshape(size, size, size, 3)  # [b, g, r]: red fastest
    if axes == _zel.ORDER_BLUE_FASTEST:
        lut = _np.ascontiguousarray(lut.transpose(2, 1, 0, 3))
    return lut


def make_look(lut, camera="CAMB-001", source="qenc3", output="rec709", range="full", job=None,
              *, order="rgb_axes", progress=None, long_chain=False, full_domain=False,
              name=None, note=None, second_name=None, look_text=None, header_text=None,
              header_tag=None, created=None):
    """Makes a look file from `lut`, an array of shape (N, N, N, 3) in `order`.

    camera: "CAMB-001", "CAMB-002" or "CAMA-001"; source: "qenc3", "qenc3-film",
    "acescc" or "acescct" (the encoding the look was graded for); output: "rec709", "pq"
    or "hlg"; range: "full" or "legal"; job: "standard", "extended" or None (extended
    for CAMB-002, standard for the others). long_chain selects the camera's longer
    processing chain, full_domain lets the cubes span the full code range (standard job).

    The texts the look file carries (str or None): name (the look file's name, e.g.
    "Day_Ext.zel", which names the look), note (the look header's note, whose start also
    names the look's LUT), second_name (the second LUT name), look_text (the look header's
    free text), header_text and header_tag (the file header's text and tag); a text longer
    than the look file's room for it is refused, as is a text (or camera name) holding a
    NUL or any character outside ASCII: the look file's texts are ASCII.

    The extended job of a camera whose extended layout carries no look data (CAMB-001,
    CAMA-001) issues a UserWarning; the standard job of a camera whose look does not fit
    it (CAMB-002) raises ValueError.

    created: the look file's time stamp, "YYYY-MM-DD HH:MM:SS" or a datetime (its wall
    time as it stands); None stamps the local time of the job. Give it to make the same
    bytes from the same look.

    progress, when given, is called with the percentage after each stage of the job (the
    last call has 99), on this thread. The GIL is released while the job runs; Ctrl-C
    (KeyboardInterrupt), or an exception raised by progress, cancels the job, waits for
    it to stop and is raised again.

    Returns a LookResult. Raises ValueError for a bad argument and zel.LookError when the
    library cannot make the look file."""
    axes = _order(order)
    source_code = _choice("source", source, _SOURCES)
    output_code = _choice("output", output, _OUTPUTS)
    range_code = _choice("range", range, _RANGES)
    job_code = _choice("job", job, _JOBS)
    if not isinstance(camera, str):
        raise TypeError(f"camera must be a str, not {type(camera).__name__}")
    _check_text("camera", camera)
    given = {"name": name, "note": note, "second_name": second_name, "look_text": look_text,
             "header_text": header_text, "header_tag": header_tag}
    texts = {}
    for key, value in given.items():
        if value is None:
            continue
        if not isinstance(value, str):
            raise TypeError(f"{key} must be a str, not {type(value).__name__}")
        _check_text(key, value)
        texts[key] = value
    texts["created"] = _created(created)
    if progress is not None and not callable(progress):
        raise TypeError("progress must be callable or None")
    # The shape first: a huge broadcast view would otherwise be copied before it is refused.
    shape = _np.shape(lut)
    if len(shape) != 4 or shape[3] != 3 or not shape[0] == shape[1] == shape[2]:
        raise ValueError(f"lut must have the shape (N, N, N, 3), not {shape}")
    if shape[0] > 255:
        raise ValueError(f"the grid size N={shape[0]} is outside 2 to 255")
    _check_layout(camera, job)
    array = _np.asarray(lut, dtype=_np.float32)
    data, cube_header, reindexed = _zel.make_look(
        array, axes, camera, source_code, output_code, range_code, job_code,
        bool(long_chain), bool(full_domain), texts, progress)
    return LookResult(data, cube_header, reindexed)


def check(look_file, look=None, *, order="rgb_axes"):
    """Will the camera show the look? The fields of `zelgen check --json` as a dict.

    `look_file` is the look file's bytes or a path; `look` the source look, a .cube path or
    an array of shape (N, N, N, 3) in `order`, or None. "damaged" and "problems" say
    whether and where the file differs from what make writes (with the look every word;
    without it everything but the look's own words), "fidelity" how closely the camera
    renders the look, "verdict" the one verdict and "sound" whether zelgen check would
    exit with 0. A file that cannot be walked, or a look that cannot be read, raises
    ValueError."""
    axes = _order(order)
    if isinstance(look_file, (bytes, bytearray, memoryview)):
        data = bytes(look_file)
    else:
        data = _read_look_file(_os.fspath(look_file))
    path = lut = None
    if isinstance(look, (str, bytes, _os.PathLike)):
        path = _os.fspath(look)
        if not _os.path.exists(path):
            raise FileNotFoundError(_errno.ENOENT, _os.strerror(_errno.ENOENT), path)
    elif look is not None:
        shape = _np.shape(look)
        if len(shape) != 4 or shape[3] != 3 or not shape[0] == shape[1] == shape[2]:
            raise ValueError(f"look must have the shape (N, N, N, 3), not {shape}")
        if not 2 <= shape[0] <= 255:
            raise ValueError(f"the grid size N={shape[0]} is outside 2 to 255")
        lut = _np.asarray(look, dtype=_np.float32)
        if axes == _zel.ORDER_RED_FASTEST:
            lut = lut.transpose(2, 1, 0, 3)
        lut = _np.ascontiguousarray(lut)
    return _json.loads(_zel.check_json(data, path, lut))


def inspect(look):
    """What a look file holds, as a dict with the fields of `zelgen inspect --json`.

    `look` is the file's bytes or a path. Damage the decoder can walk past is listed under
    "problems"; a file it cannot walk, or a path that is not a regular file of a look
    file's size (a FIFO, a device), raises ValueError."""
    if isinstance(look, (bytes, bytearray, memoryview)):
        data, file = bytes(look), None
    else:
        file = _os.fspath(look)
        data = _read_look_file(file)
    return _json.loads(_zel.inspect_json(data, file))
