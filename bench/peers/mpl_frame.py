#!/usr/bin/python3
"""matplotlib's Agg backend drawing VELTRA's element segments of one frame:
one LineCollection of one-pixel lines, not antialiased, into a figure of the
window's pixel size, the segments handed over anew every frame.

usage: mpl_frame.py DUMP_FOLDER [FRAMES]"""
import sys

import matplotlib

matplotlib.use("Agg")
from matplotlib.backends.backend_agg import FigureCanvasAgg  # noqa: E402
from matplotlib.collections import LineCollection  # noqa: E402
from matplotlib.figure import Figure  # noqa: E402

import common  # noqa: E402


def main():
    dump = sys.argv[1]
    frames = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    w, h, seg = common.load(dump)
    dpi = 100
    fig = Figure(figsize=(w / dpi, h / dpi), dpi=dpi, facecolor="white")
    canvas = FigureCanvasAgg(fig)
    ax = fig.add_axes([0, 0, 1, 1])
    ax.set_axis_off()
    ax.set_xlim(0, w - 1)
    ax.set_ylim(0, h - 1)
    lines = LineCollection([], linewidths=72.0 / dpi, colors="#800000", antialiaseds=False)
    ax.add_collection(lines)

    def draw(_):
        lines.set_segments(seg)
        canvas.draw()
        canvas.buffer_rgba()

    common.report("matplotlib-agg", draw, frames)


if __name__ == "__main__":
    main()
