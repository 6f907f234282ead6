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
[ -x "$build/bin/veltra" ] || { echo "$0: $build/bin/veltra is not built" >&2; exit 2; }
. "$root/scripts/virtual-screen.sh"
start_virtual_screen 1280x1024

shot() { import -window root "$out/$1.png" && echo "$out/$1.png"; }
keys() { xdotool key --delay 80 "$@"; }

(cd "$build/bin" && exec ./veltra) &
started $!
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
