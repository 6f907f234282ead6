#!/usr/bin/python3
"""The benchmark table of scripts/bench.sh.

usage: run_bench.py BUILD_BIN SCRATCH [--only LABEL ...]

Writes grid models of about 10,000, 100,000 and 1,000,000 elements with
veltra-sample into SCRATCH (kept for the next run), then measures on each,
with the page cache warm: the load, the extents pass against `cat` over
u01.unf, one frame of the animation loop with node numbers off and on
(veltra-bench), the same frame coloured by displacement, veltra-export's
frames a second, --vtk's rate of writing against cat's, the peak memory,
the peers (bench/peers) drawing the same segments, and the Explorer's
scrub, playback, zoom, pan, pick and memory (veltra-explorer-bench). Prints
one Markdown table, measurements as rows and models as columns."""
import os
import shutil
import shlex
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PEERS = os.path.join(HERE, "peers")
PYTHON = "/usr/bin/python3"  # Debian's, where python3-matplotlib and python3-vtk9 live

# label, grid nodes (about twice as many elements), last stored step.
MODELS = [("10k", 5000, 20), ("100k", 50000, 20), ("1M", 500000, 10)]
SIZE = "1280x800"
# Coloured runs (and as many plain ones) for the coloured frame's share.
COLOUR_RUNS = 7


def log(text):
    print(text, file=sys.stderr, flush=True)


def run(argv, env=None):
    """Runs argv; (stdout, wall seconds, peak resident kB of the child)."""
    start = time.perf_counter()
    child = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
    out = child.stdout.read()
    err = child.stderr.read()
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        raise RuntimeError(f"{shlex.join(argv)} failed ({code}): {err.decode(errors='replace')[-400:]}")
    return out.decode(), wall, usage.ru_maxrss


def pairs(line):
    """NAME=VALUE pairs of the last line that has them."""
    for text in reversed(line.strip().splitlines()):
        if "=" in text:
            return dict(p.split("=", 1) for p in text.split())
    return {}


def screen_env(scratch):
    """The environment of veltra-bench: Qt's offscreen platform with a screen
    of 1920 x 1200, so that the graph window shows its 1280 x 800 picture at
    its own size, as on a desktop, instead of scaled down into the default
    800 x 600 offscreen screen."""
    config = os.path.join(scratch, "screen.json")
    with open(config, "w") as f:
        f.write('{"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920, "height": 1200, '
                '"logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]}\n')
    env = dict(os.environ)
    env["QT_QPA_PLATFORM"] = "offscreen:configfile=" + config
    return env


def make_model(bin_dir, scratch, nodes, steps):
    """The grid model, written where it stays (comdin.dat names its analysis
    input file by its full path, so the folder is never renamed); a stamp
    file written last marks a model that is whole."""
    folder = os.path.join(scratch, f"grid-{nodes}-{steps}")
    stamp = os.path.join(folder, ".complete")
    if not os.path.exists(stamp):
        log(f"writing {folder}")
        shutil.rmtree(folder, ignore_errors=True)
        run([os.path.join(bin_dir, "veltra-sample"), "--kind", "grid", "--nodes", str(nodes), "--steps",
             str(steps), folder])
        open(stamp, "w").close()
    return folder


def element_count(folder, steps):
    record = 16 * 2 + 112  # el.unf record of a plane problem
    return os.path.getsize(os.path.join(folder, "el.unf")) // (record * (steps + 1))


def cat_seconds(path, repeats=7):
    """Median wall time of `cat path > /dev/null` for one reading of the file,
    after one warm-up. A small file is named several times in one command, so
    that starting cat counts for little."""
    copies = max(1, min(64, (1 << 30) // max(1, os.path.getsize(path))))
    times = []
    for i in range(repeats + 1):
        with open(os.devnull, "wb") as null:
            start = time.perf_counter()
            subprocess.run(["cat"] + [path] * copies, stdout=null, check=True)
            if i > 0:
                times.append((time.perf_counter() - start) / copies)
    return statistics.median(times)


def export_rate(bin_dir, folder, scratch, label):
    """(frames a second, peak kB) of veltra-export over every stored step."""
    out = os.path.join(scratch, f"export-{label}")
    subprocess.run(["rm", "-rf", out], check=True)
    _, _, peak = run([os.path.join(bin_dir, "veltra-export"), folder, "--out", out, "--size", SIZE,
                      "--frame-delay-ms", "0", "--step-frequency", "1", "--no-show-node-indices"])
    frames = sorted(f for f in os.listdir(out) if f.startswith("frame-"))
    times = sorted(os.stat(os.path.join(out, f)).st_mtime_ns for f in frames)
    subprocess.run(["rm", "-rf", out], check=True)
    if len(times) < 2 or times[-1] == times[0]:
        return None, peak
    return (len(times) - 1) / ((times[-1] - times[0]) / 1e9), peak


def vtk_rate(bin_dir, folder, scratch, label):
    """(MB/s written by veltra-export --vtk over every stored step, the same
    MB over the time cat takes to move what the export must move: read
    u01.unf and el.unf and write the .vtu files, peak kB)."""
    out = os.path.join(scratch, f"vtk-{label}")
    pvd = os.path.join(out, "series.pvd")
    # The median of three runs, as for cat: one run's wall time moves by a
    # factor of two or more between runs on a virtual machine's disk.
    walls, peak = [], 0
    for _ in range(3):
        subprocess.run(["rm", "-rf", out], check=True)
        os.makedirs(out)
        _, wall, run_peak = run([os.path.join(bin_dir, "veltra-export"), folder, "--vtk", pvd, "--quiet",
                                 "--step-frequency", "1"])
        walls.append(wall)
        peak = max(peak, run_peak)
    wall = statistics.median(walls)
    files = sorted(os.path.join(out, f) for f in os.listdir(out) if f.endswith(".vtu"))
    written = sum(os.path.getsize(f) for f in files)
    inputs = [os.path.join(folder, "u01.unf"), os.path.join(folder, "el.unf")]
    copy = os.path.join(scratch, f"vtk-{label}.cat")
    times = []
    for _ in range(3):
        with open(os.devnull, "wb") as null, open(copy, "wb") as sink:
            start = time.perf_counter()
            subprocess.run(["cat"] + inputs, stdout=null, check=True)
            subprocess.run(["cat"] + files, stdout=sink, check=True)
            times.append(time.perf_counter() - start)
        os.remove(copy)
    subprocess.run(["rm", "-rf", out], check=True)
    return written / wall / 1e6, written / statistics.median(times) / 1e6, peak


def peer(script, dump, frames, display):
    argv = [PYTHON, os.path.join(PEERS, script), dump, str(frames)]
    if display:
        argv = ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24"] + argv
    try:
        out, _, _ = run(argv)
        return pairs(out)
    except (RuntimeError, OSError) as error:
        log(f"{script}: {error}")
        return {}


def fmt(value, digits=1, unit=""):
    if value is None:
        return "n/a"
    return f"{value:,.{digits}f}{unit}"


def main():
    bin_dir, scratch = sys.argv[1], sys.argv[2]
    only = sys.argv[4:] if len(sys.argv) > 3 and sys.argv[3] == "--only" else None
    os.makedirs(scratch, exist_ok=True)
    columns = []
    for label, nodes, steps in MODELS:
        if only and label not in only:
            continue
        folder = make_model(bin_dir, scratch, nodes, steps)
        u01 = os.path.join(folder, "u01.unf")
        log(f"{label}: warming the page cache")
        cat_seconds(os.path.join(folder, "el.unf"), repeats=1)
        cat_s = cat_seconds(u01)
        dump = os.path.join(scratch, f"dump-{label}")
        log(f"{label}: veltra-bench")
        bench = os.path.join(bin_dir, "veltra-bench")
        env = screen_env(scratch)
        off = pairs(run([bench, folder, "--size", SIZE, "--frames", "20", "--dump", dump], env)[0])
        on = pairs(run([bench, folder, "--size", SIZE, "--frames", "20", "--node-numbers"], env)[0])
        # The coloured frame's share of a plain one: seven coloured runs
        # between plain ones, so that a noisy minute of a shared machine
        # falls on both; the share is of the medians. Single runs of either
        # kind a minute apart differ by a third on such a machine.
        plain_ms, coloured_ms = [float(off["frame_ms"])], []
        for _ in range(COLOUR_RUNS):
            coloured = pairs(run([bench, folder, "--size", SIZE, "--frames", "20", "--colour-by", "displacement"],
                                 env)[0])
            coloured_ms.append(float(coloured["frame_ms"]))
            if len(plain_ms) < COLOUR_RUNS:
                plain_ms.append(float(pairs(run([bench, folder, "--size", SIZE, "--frames", "20"], env)[0])["frame_ms"]))
        log(f"{label}: veltra-export --vtk")
        vtk_mbs, cat_mbs, vtk_peak = vtk_rate(bin_dir, folder, scratch, label)
        log(f"{label}: veltra-explorer-bench")
        explorer = pairs(run([os.path.join(bin_dir, "veltra-explorer-bench"), folder, "--size", SIZE, "--count", "40"],
                             env)[0])
        log(f"{label}: veltra-export")
        fps, export_peak = export_rate(bin_dir, folder, scratch, label)
        peer_frames = 20 if nodes <= 50000 else 5
        log(f"{label}: matplotlib")
        mpl = peer("mpl_frame.py", dump, peer_frames, False)
        log(f"{label}: VTK")
        vtk = peer("vtk_frame.py", dump, peer_frames, True)
        u01_bytes = os.path.getsize(u01)
        extents_s = float(off["extents_ms"]) / 1000
        frame = statistics.median(plain_ms)
        columns.append({
            "label": label,
            "model": f"{element_count(folder, steps):,} elements, {nodes:,} nodes, {steps + 1} steps",
            "load": fmt(float(off["load_ms"]), 1, " ms"),
            "extents": fmt(float(off["extents_ms"]), 1, " ms"),
            "extents_rate": fmt(u01_bytes / extents_s / 1e9, 2, " GB/s"),
            "cat_rate": fmt(u01_bytes / cat_s / 1e9, 2, " GB/s"),
            "share": fmt(100 * cat_s / extents_s, 0, " %"),
            "frame_off": fmt(frame, 1, " ms"),
            "frame_on": fmt(float(on["frame_ms"]), 1, " ms"),
            "frame_colour": fmt(statistics.median(coloured_ms), 1, " ms"),
            "colour_ratio": fmt(100 * statistics.median(coloured_ms) / frame, 0, " %"),
            "vtk_rate": fmt(vtk_mbs, 0, " MB/s"),
            "vtk_cat": fmt(cat_mbs, 0, " MB/s"),
            "vtk_share": fmt(100 * vtk_mbs / cat_mbs, 0, " %"),
            "vtk_peak": fmt(vtk_peak / 1024, 0, " MB"),
            "fps": fmt(fps, 1),
            "viewer_peak": fmt(int(off["maxrss_kb"]) / 1024, 0, " MB"),
            "export_peak": fmt(export_peak / 1024, 0, " MB"),
            "mpl": fmt(float(mpl["frame_ms"]), 1, " ms") if mpl else "n/a",
            "mpl_ratio": fmt(float(mpl["frame_ms"]) / frame, 1, "x") if mpl else "n/a",
            "vtk": fmt(float(vtk["frame_ms"]), 1, " ms") if vtk else "n/a",
            "vtk_ratio": fmt(float(vtk["frame_ms"]) / frame, 1, "x") if vtk else "n/a",
            "x_scrub": fmt(float(explorer["scrub_ms"]), 1, " ms"),
            "x_play": fmt(float(explorer["play_fps"]), 1),
            "x_play_cpu": fmt(float(explorer["play_cpu_ms"]), 1, " ms"),
            "x_zoom": fmt(float(explorer["zoom_ms"]), 1, " ms"),
            "x_pan": fmt(float(explorer["pan_ms"]), 1, " ms"),
            "x_index": fmt(float(explorer["index_ms"]), 1, " ms"),
            "x_pick": fmt(float(explorer["pick_us"]) / 1000, 3, " ms"),
            "x_peak": fmt(int(explorer["maxrss_kb"]) / 1024, 0, " MB"),
        })

    rows = [
        ("model", "grid model"),
        ("load", "load (control data, coordinates, incidence)"),
        ("extents", "extents pass over u01.unf, every step"),
        ("extents_rate", "extents pass throughput"),
        ("cat_rate", "`cat u01.unf > /dev/null` throughput"),
        ("share", "extents pass as a share of cat"),
        ("frame_off", f"one frame, node numbers off (median, {SIZE})"),
        ("frame_on", "one frame, node numbers on (median)"),
        ("frame_colour", "one frame, coloured by displacement (median)"),
        ("colour_ratio", "coloured frame as a share of a plain one"),
        ("fps", "veltra-export frames a second (PNG)"),
        ("vtk_rate", "veltra-export --vtk, every stored step, written"),
        ("vtk_cat", "`cat` reading u01.unf and el.unf and writing the .vtu files"),
        ("vtk_share", "--vtk as a share of cat"),
        ("vtk_peak", "peak memory, veltra-export --vtk"),
        ("viewer_peak", "peak memory, viewer run (veltra-bench)"),
        ("export_peak", "peak memory, veltra-export"),
        ("mpl", "matplotlib Agg, LineCollection, one frame"),
        ("mpl_ratio", "matplotlib / VELTRA (node numbers off)"),
        ("vtk", "VTK offscreen, one frame"),
        ("vtk_ratio", "VTK / VELTRA (node numbers off)"),
        ("x_scrub", "Explorer: a scrub to a random step, shown (median)"),
        ("x_play", "Explorer: playback, frames a second"),
        ("x_play_cpu", "Explorer: processor time of a playback frame, all threads"),
        ("x_zoom", "Explorer: a zoom redrawn (median)"),
        ("x_pan", "Explorer: a pan redrawn (median)"),
        ("x_index", "Explorer: pick index of a frame, built"),
        ("x_pick", "Explorer: a pick (median)"),
        ("x_peak", "Explorer: peak memory"),
    ]
    print("| measurement | " + " | ".join(c["label"] for c in columns) + " |")
    print("|---|" + "---:|" * len(columns))
    for key, title in rows:
        print(f"| {title} | " + " | ".join(c[key] for c in columns) + " |")


if __name__ == "__main__":
    main()
