"""Builds the module zel with the project's CMake for `pip install ./bindings/python`.

CMake builds the compiled part (zel._zel) and the shared library it loads, and installs
both into the package folder (the module finds the library beside itself), so the wheel
needs nothing from the system but what the library and numpy need. The version is the
one the project's CMakeLists.txt sets. Environment:

- ZEL_PYTHON_BUILD_DIR: keep the CMake build in this folder (a second install reuses it);
- CMAKE_GENERATOR, CMAKE_BUILD_PARALLEL_LEVEL: as for cmake itself.
"""

import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(zel VERSION ([0-9.]+)", text).group(1)


class CMakeExtension(Extension):
    def __init__(self):
        super().__init__("zel._zel", sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        package_dir = Path(self.get_ext_fullpath(ext.name)).resolve().parent
        build = Path(os.environ.get("ZEL_PYTHON_BUILD_DIR") or Path(self.build_temp) / "cmake")
        stage = Path(self.build_temp).resolve() / "stage"
        configure = ["cmake", "-S", str(ROOT), "-B", str(build),
                     "-DCMAKE_BUILD_TYPE=Release", "-DZEL_BUILD_TESTS=OFF",
                     "-DZEL_BUILD_BENCHMARKS=OFF", "-DZEL_BUILD_PYTHON=ON",
                     "-DZEL_PYTHON_SELF_CONTAINED=ON", "-DZEL_PYTHON_DIST_INFO=OFF",
                     "-DZEL_PYTHON_INSTALL_DIR=python",
                     f"-DPython_EXECUTABLE={sys.executable}"]
        if "CMAKE_GENERATOR" not in os.environ and shutil.which("ninja"):
            configure += ["-G", "Ninja"]
        if shutil.which("ccache"):
            configure += ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache",
                          "-DCMAKE_C_COMPILER_LAUNCHER=ccache"]
        subprocess.run(configure, check=True)
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL") or str(os.cpu_count() or 1)
        subprocess.run(["cmake", "--build", str(build), "--target", "zel_python", "-j", jobs],
                       check=True)
        shutil.rmtree(stage, ignore_errors=True)
        subprocess.run(["cmake", "--install", str(build), "--component", "python",
                        "--prefix", str(stage)], check=True)
        # The compiled part and the library under the name it is loaded by (a wheel holds
        # no symbolic links); the Python files come from the package folder itself.
        package_dir.mkdir(parents=True, exist_ok=True)
        for item in (stage / "python" / "zel").iterdir():
            loaded = item.name.startswith("_zel") or item.is_symlink() or item.suffix == ".dll"
            if loaded:
                shutil.copyfile(item, package_dir / item.name)


setup(version=project_version(), ext_modules=[CMakeExtension()],
      cmdclass={"build_ext": CMakeBuild})
