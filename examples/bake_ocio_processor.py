#!/usr/bin/env python3
"""Bakes an OpenColorIO processor into a look and makes a camera look file of it.

Any transform PyOpenColorIO builds (here an ASC CDL grade followed by a gentle contrast
curve, both made in code; a config's look or view is built the same way with
config.getProcessor) is evaluated on the look's lattice: node (r, g, b) of a G-point
lattice receives the transform's output for the input (r, g, b) / (G - 1), in the
look's source encoding.

    python3 examples/bake_ocio_processor.py out.zel [--grid 33] [--camera CAMB-001]

Needs the zel module (PYTHONPATH=build/python) and PyOpenColorIO
(Debian: python3-pyopencolorio).
"""

import argparse

import numpy as np
import PyOpenColorIO as ocio

import zel


def lattice_inputs(grid):
    """The inputs of a grid-point lattice, shape (grid, grid, grid, 3), lut[r, g, b]."""
    steps = np.linspace(0.0, 1.0, grid, dtype=np.float32)
    r, g, b = np.meshgrid(steps, steps, steps, indexing="ij")
    return np.stack([r, g, b], axis=-1)


def bake(processor, grid):
    """The processor's outputs at the lattice's nodes, shape (grid, grid, grid, 3)."""
    lut = np.ascontiguousarray(lattice_inputs(grid))
    cpu = processor.getDefaultCPUProcessor()
    cpu.applyRGB(lut)  # in place, three floats per node
    return lut


def example_transform():
    grade = ocio.CDLTransform(slope=[1.05, 1.0, 0.95], offset=[0.01, 0.0, -0.01],
                              power=[1.0, 1.0, 1.0], sat=0.9)
    grade.setStyle(ocio.CDL_ASC)  # clamped to 0 to 1, as the ASC defines a CDL
    contrast = ocio.ExponentWithLinearTransform(gamma=[1.1, 1.1, 1.1, 1.0],
                                                offset=[0.05, 0.05, 0.05, 0.0])
    return ocio.GroupTransform([grade, contrast])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output", help="the look file to write")
    parser.add_argument("--grid", type=int, default=33, help="lattice size (2 to 255)")
    parser.add_argument("--camera", default="CAMB-001")
    args = parser.parse_args()

    processor = ocio.Config.CreateRaw().getProcessor(example_transform())
    lut = bake(processor, args.grid)
    look = zel.make_look(lut, camera=args.camera, name=args.output.split("/")[-1])
    with open(args.output, "wb") as out:
        out.write(look.data)
    print(f"{args.output}: {len(look.data)} bytes, a {args.grid}-point look")


if __name__ == "__main__":
    main()
