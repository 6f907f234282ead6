#!/usr/bin/env bash
# Runs the VELTRA Explorer under Wayland, on weston's headless backend (with
# its pixman renderer, so that screenshots have pixels), and saves a
# screenshot with weston-screenshooter of: the space sample opened as a file
# manager opens one of its files, and the same at twice the scale
# (QT_SCALE_FACTOR=2 on a screen of twice the pixels), drawn in device
# pixels.
#
#   scripts/explorer-wayland.sh [BUILD_DIR] [OUT_DIR]
#
# BUILD_DIR defaults to build, OUT_DIR to BUILD_DIR/explorer-wayland. Needs
# weston and qt6-wayland (scripts/setup.sh). The headless backend takes no
# keyboard or pointer from outside, so the rest of the road (scrub, zoom,
# pick, save, export) is walked under Xvfb by scripts/explorer-walkthrough.sh.
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
out="${2:-$build/explorer-wayland}"
mkdir -p "$out"
rm -f "$out"/*.png
for tool in weston weston-screenshooter; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is not installed (scripts/setup.sh)" >&2; exit 2; }
done
[ -x "$build/bin/veltra-explorer" ] || { echo "$0: $build/bin/veltra-explorer is not built" >&2; exit 2; }

scratch="$(mktemp -d "${TMPDIR:-/tmp}/veltra-wayland.XXXXXX")"
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime" HOME="$scratch" XDG_CONFIG_HOME="$scratch/.config"
unset WAYLAND_DISPLAY DISPLAY
socket="veltra-$$"
pids=()
stop() {
  for (( i=${#pids[@]}-1; i>=0; i-- )); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$scratch"
}
trap stop EXIT

# One weston and one Explorer: a screen of $1, the Explorer at scale $2,
# screenshot $3.
run_once() {
  local size="$1" scale="$2" name="$3" w h
  w="${size%x*}"; h="${size#*x}"
  weston --backend=headless-backend.so --use-pixman --width="$w" --height="$h" --socket="$socket" --debug \
         --idle-time=0 >"$scratch/weston.log" 2>&1 &
  local weston_pid=$!
  pids+=("$weston_pid")
  for _ in $(seq 1 100); do [ -S "$XDG_RUNTIME_DIR/$socket" ] && break; sleep 0.05; done
  [ -S "$XDG_RUNTIME_DIR/$socket" ] || { echo "$0: weston did not start" >&2; cat "$scratch/weston.log" >&2; exit 1; }
  WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland QT_SCALE_FACTOR="$scale" \
    "$build/bin/veltra-explorer" "$build/work/space/u01.unf" >"$scratch/explorer.log" 2>&1 &
  local explorer_pid=$!
  pids+=("$explorer_pid")
  sleep 4
  shot "$name"
  grep -v 'XDG_RUNTIME_DIR' "$scratch/explorer.log" >&2 || true
  kill "$explorer_pid" "$weston_pid" 2>/dev/null
  wait "$explorer_pid" "$weston_pid" 2>/dev/null
  for _ in $(seq 1 100); do [ -S "$XDG_RUNTIME_DIR/$socket" ] || break; sleep 0.05; done
}

# weston-screenshooter writes wayland-screenshot-*.png into its folder.
shot() {
  (cd "$scratch" && rm -f wayland-screenshot-*.png &&
   WAYLAND_DISPLAY="$socket" timeout 10 weston-screenshooter >/dev/null 2>&1)
  mv "$scratch"/wayland-screenshot-*.png "$out/$1.png" 2>/dev/null && echo "$out/$1.png"
}

run_once 1280x1000 1 01-opened
run_once 2560x2000 2 02-scale-2
[ -f "$out/01-opened.png" ] && [ -f "$out/02-scale-2.png" ]
