# The compiled module, irteq._core, is built by CMake from the library's own
# sources (python/CMakeLists.txt), with the library's flags, so that every
# result is the console program's doubles to the last bit.
import os
import re
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

HERE = Path(__file__).resolve().parent


def library_version():
    text = (HERE.parent / "include" / "irteq" / "version.hpp").read_text()
    parts = [re.search(rf"#define IRTEQ_VERSION_{p} (\d+)", text).group(1) for p in ("MAJOR", "MINOR", "PATCH")]
    return ".".join(parts)


class CMakeExtension(Extension):
    def __init__(self, name):
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        import pybind11

        target = Path(self.get_ext_fullpath(ext.name)).resolve()
        # make py-install keeps the build in build-python/cmake, so a second install compiles only what changed.
        build = Path(os.environ.get("IRTEQ_CMAKE_BUILD_DIR") or Path(self.build_temp) / "cmake").resolve()
        build.mkdir(parents=True, exist_ok=True)
        configure = [
            "cmake", "-S", str(HERE), "-B", str(build),
            "-DCMAKE_BUILD_TYPE=Release",
            f"-DPython_EXECUTABLE={sys.executable}",
            f"-Dpybind11_DIR={pybind11.get_cmake_dir()}",
            f"-DCMAKE_LIBRARY_OUTPUT_DIRECTORY={target.parent}",
        ]
        # Extra options, as the top-level Makefile's CMAKE_OPTIONS (CI: warnings as errors).
        configure += os.environ.get("IRTEQ_CMAKE_OPTIONS", "").split()
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", "2")
        subprocess.run(configure, check=True)
        subprocess.run(["cmake", "--build", str(build), "--target", "_core", "-j", jobs], check=True)


setup(version=library_version(), ext_modules=[CMakeExtension("irteq._core")], cmdclass={"build_ext": CMakeBuild})
