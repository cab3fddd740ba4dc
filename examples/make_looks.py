#!/usr/bin/env python3
"""Writes the example looks in examples/looks/: small 3D LUTs in .cube form, graded for
a Q-Enc3 log source, that `zelgen make` turns into look files.

  identity.cube    17 points an axis, changes nothing
  warm_teal.cube   17 points: shadows pushed toward teal, highlights toward warm
  contrast.cube    17 points: an S-curve about mid grey, a little more saturation

Run it again to regenerate them; the output is the same every time.
"""

import os

SIZE = 17
HERE = os.path.dirname(os.path.abspath(__file__))


def clamp(v):
    return min(1.0, max(0.0, v))


def identity(r, g, b):
    return r, g, b


def warm_teal(r, g, b):
    luma = 0.2126 * r + 0.7152 * g + 0.0722 * b
    shadow = max(0.0, 0.5 - luma) * 2.0
    light = max(0.0, luma - 0.5) * 2.0
    return (clamp(r - 0.06 * shadow + 0.05 * light),
            clamp(g + 0.02 * shadow + 0.01 * light),
            clamp(b + 0.06 * shadow - 0.05 * light))


def contrast(r, g, b):
    def curve(x):
        # Part way toward smoothstep: an S-curve about mid grey that stays in 0 to 1.
        s = x * x * (3.0 - 2.0 * x)
        return clamp(x + 0.45 * (s - x))

    luma = 0.2126 * r + 0.7152 * g + 0.0722 * b
    return tuple(curve(clamp(luma + (c - luma) * 1.1)) for c in (r, g, b))


def write_look(name, title, function):
    path = os.path.join(HERE, "looks", name)
    with open(path, "w", newline="\n") as out:
        out.write(f"# {title}\n# Made by examples/make_looks.py for a Q-Enc3 source.\n")
        out.write(f'TITLE "{title}"\n')
        out.write(f"LUT_3D_SIZE {SIZE}\nDOMAIN_MIN 0 0 0\nDOMAIN_MAX 1 1 1\n\n")
        last = SIZE - 1
        # .cube order: red varies fastest, then green, then blue.
        for b in range(SIZE):
            for g in range(SIZE):
                for r in range(SIZE):
                    values = function(r / last, g / last, b / last)
                    out.write(" ".join(f"{v:.6f}" for v in values) + "\n")


def main():
    os.makedirs(os.path.join(HERE, "looks"), exist_ok=True)
    write_look("identity.cube", "Identity", identity)
    write_look("warm_teal.cube", "Warm teal", warm_teal)
    write_look("contrast.cube", "Contrast", contrast)


if __name__ == "__main__":
    main()
