# Types of the zel package, for editors and type checkers.
import datetime
import os
from typing import Any, Callable, Dict, Literal, Optional, Sequence, Union

import numpy as np
import numpy.typing as npt

__version__: str

Order = Literal["rgb_axes", "cube_file", "rgb", "bgr"]
Camera = Literal["CAMB-001", "CAMB-002", "CAMA-001"]
Source = Literal["qenc3", "qenc3-film", "acescc", "acescct"]
Output = Literal["rec709", "pq", "hlg"]
Range = Literal["full", "legal"]
Job = Optional[Literal["standard", "extended"]]
PathLike = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]

class LookError(RuntimeError): ...

class LookResult:
    data: bytes
    cube_header: str
    reindexed: Optional[npt.NDArray[np.float32]]
    def __init__(self, data: bytes, cube_header: str,
                 reindexed: Optional[npt.NDArray[np.float32]]) -> None: ...

def read_cube(path: PathLike, *, order: Order = ...) -> npt.NDArray[np.float32]: ...

def read_look(
    path: Union[PathLike, Sequence[PathLike]],
    grid: Optional[int] = ...,
    cdl_id: Optional[str] = ...,
    *,
    order: Order = ...,
) -> npt.NDArray[np.float32]: ...

def make_look(
    lut: npt.ArrayLike,
    camera: Union[Camera, str] = ...,
    source: Source = ...,
    output: Output = ...,
    range: Range = ...,
    job: Job = ...,
    *,
    order: Order = ...,
    progress: Optional[Callable[[int], Any]] = ...,
    long_chain: bool = ...,
    full_domain: bool = ...,
    name: Optional[str] = ...,
    note: Optional[str] = ...,
    second_name: Optional[str] = ...,
    look_text: Optional[str] = ...,
    header_text: Optional[str] = ...,
    header_tag: Optional[str] = ...,
    created: Union[str, datetime.datetime, None] = ...,
) -> LookResult: ...

def check(
    look_file: Union[bytes, bytearray, memoryview, PathLike],
    look: Union[PathLike, npt.ArrayLike, None] = ...,
    *,
    order: Order = ...,
) -> Dict[str, Any]: ...

def inspect(look: Union[bytes, bytearray, memoryview, PathLike]) -> Dict[str, Any]: ...
