"""What both peer programs share: the segments veltra-bench dumped, and the
timing of frames."""
import resource
import statistics
import sys
import time

import numpy as np


def load(dump):
    """(width, height, segments in pixels as an (n, 2, 2) float32 array).

    The world segments are mapped onto the window as VELTRA maps them: x1 to
    the left column, y1 to the bottom row."""
    with open(dump + "/window.txt") as f:
        w, h, x1, x2, y1, y2 = f.read().split()
    w, h = int(w), int(h)
    x1, x2, y1, y2 = float(x1), float(x2), float(y1), float(y2)
    seg = np.fromfile(dump + "/segments.f32", dtype=np.float32).reshape(-1, 2, 2)
    pixels = np.empty_like(seg)
    pixels[:, :, 0] = (seg[:, :, 0] - x1) * ((w - 1) / (x2 - x1))
    pixels[:, :, 1] = (seg[:, :, 1] - y1) * ((h - 1) / (y2 - y1))
    return w, h, pixels


def report(name, draw, frames):
    """Times `draw(i)` for frames 0 .. frames-1 (one warm-up frame first) and
    prints NAME=VALUE pairs: the median frame time and the peak memory."""
    draw(0)
    times = []
    for i in range(frames):
        start = time.perf_counter()
        draw(i)
        times.append((time.perf_counter() - start) * 1000.0)
    peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    print(f"peer={name} frames={frames} frame_ms={statistics.median(times):.2f} "
          f"frame_ms_min={min(times):.2f} maxrss_kb={peak}")
    sys.stdout.flush()
