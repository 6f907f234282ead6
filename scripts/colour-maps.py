#!/usr/bin/python3
# colour-maps.py: writes the colour tables of src/render/colour_maps/ from
# Debian's python3-matplotlib, as 8-bit red, green, blue per line (each
# channel rounded to the nearest of 0 to 255). Sequential and diverging maps
# have 256 entries, the qualitative ones their own colours. The tables are
# committed; run this only to check or renew them.
import os
import sys

import matplotlib
from matplotlib import colormaps

MAPS = ["viridis", "plasma", "inferno", "magma", "cividis", "coolwarm", "tab10", "tab20"]


def entries(name):
    cmap = colormaps[name]
    count = cmap.N if name.startswith("tab") else 256
    if cmap.N != count:
        cmap = cmap.resampled(count)
    return [cmap(i) for i in range(count)]


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "src", "render", "colour_maps")
    for name in MAPS:
        with open(os.path.join(folder, name + ".csv"), "w") as out:
            for r, g, b, _ in entries(name):
                out.write("%d,%d,%d\n" % tuple(int(round(255 * c)) for c in (r, g, b)))
    print("matplotlib", matplotlib.__version__, "->", os.path.normpath(folder))


main()
