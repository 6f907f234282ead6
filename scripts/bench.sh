#!/usr/bin/env bash
# bench.sh [SCRATCH]: the end-to-end benchmark. Installs what it needs
# (scripts/setup.sh), builds a Release configuration in build-bench/, writes
# grid models of about 10,000, 100,000 and 1,000,000 elements into SCRATCH
# (default /tmp/veltra-bench, kept for the next run; about 2.5 GB) and prints
# one table: load, extents pass against cat, frame times with node numbers
# off and on, veltra-export's frames a second, peak memory, matplotlib
# and VTK drawing the same segments, and the Explorer's scrub, playback,
# zoom, pan, pick and memory. Timings are medians; run it on an
# otherwise idle machine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
scratch="${1:-/tmp/veltra-bench}"
"$root/scripts/setup.sh"
build="$root/build-bench"
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
echo "building $build (log: $build/bench-build.log)"
cmake --build "$build" -j"$(nproc)" --target veltra-sample veltra-export veltra-bench veltra-explorer-bench > "$build/bench-build.log" 2>&1 ||
  { tail -30 "$build/bench-build.log"; exit 1; }
echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores," \
     "$(free -g | awk '/^Mem:/ {print $2}') GB; load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
/usr/bin/python3 "$root/bench/run_bench.py" "$build/bin" "$scratch"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
