#!/usr/bin/env bash
# Walks the whole road of a graph as a user would, on a virtual screen, and
# saves a screenshot of each step:
#
#   scripts/walkthrough.sh [BUILD_DIR] [OUT_DIR]
#
# BUILD_DIR defaults to build, OUT_DIR to BUILD_DIR/walkthrough. The viewer
# starts in BUILD_DIR/bin; its first chooser opens in BUILD_DIR/work, where
# the build writes the sample problems. Steps: start, the NEW GRAPH menu, the
# file chooser, Time Settings, Graph Settings, a frame during the animation,
# the last frame, BACK to Settings drawing graph 2, both graphs tiled side by
# side.
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
out="${2:-$build/walkthrough}"
mkdir -p "$out"
for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$0: $tool is not installed" >&2; exit 2; }
done
[ -x "$build/bin/veltra" ] || { echo "$0: $build/bin/veltra is not built" >&2; exit 2; }

display=
for n in $(seq 90 199); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "$0: no free display" >&2; exit 1; }

pids=()
cleanup() {
  local i
  for (( i=${#pids[@]}-1; i>=0; i-- )); do kill "${pids[i]}" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
}
trap cleanup EXIT

Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
export DISPLAY=":$display"
unset QT_QPA_PLATFORM
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

shot() { import -window root "$out/$1.png" && echo "$out/$1.png"; }
keys() { xdotool key --delay 80 "$@"; }

(cd "$build/bin" && exec ./veltra) &
pids+=($!)
sleep 3
shot 01-start

keys alt+n; sleep 0.7
shot 02-menu
keys n; sleep 2
shot 03-chooser
# The name field holds "comdin.dat" and the chooser shows the work folder.
keys ctrl+a; xdotool type --delay 40 "portal/comdin.dat"; keys Return; sleep 2
shot 04-time-settings
# Focus starts on OK; Tab twice reaches Start Step. Steps 0 to 60, every
# second one, 150 ms apart: long enough to catch a frame.
keys Tab Tab ctrl+a; xdotool type "0"; keys Tab ctrl+a; xdotool type "60"
keys Tab ctrl+a; xdotool type "2"; keys Tab ctrl+a; xdotool type "150"
sleep 0.5
shot 05-time-settings-edited
keys Return; sleep 2
shot 06-graph-settings
keys Return; sleep 2.5
shot 07-animating
sleep 6
shot 08-last-frame

keys alt+n; sleep 0.5; keys b; sleep 2
shot 09-back-time-settings
keys Return; sleep 2
# Show ALL Positions leaves the trail of every frame on screen.
shot 10-back-graph-settings
keys Return; sleep 8
shot 11-graph-2
keys alt+w; sleep 0.5; keys t; sleep 1.5
shot 12-tiled
