#!/usr/bin/env bash
# Walks the VELTRA Explorer's road as a user would, on a virtual screen, and
# saves a screenshot of each step:
#
#   scripts/explorer-walkthrough.sh [BUILD_DIR] [OUT_DIR]
#
# BUILD_DIR defaults to build, OUT_DIR to BUILD_DIR/explorer-walkthrough.
# The portal sample of BUILD_DIR/work is opened as a file manager opens a
# file with the desktop entry (its Exec line, %F the sample's u01.unf); then
# the slider is dragged to the step of the largest displacement (as
# veltra-info reports it), the wheel zooms into the top joint above the
# middle column, a click there picks the top node and shows its history, the
# picture is saved, the range exported as an .mp4 and the view fitted again
# (explorer-window.png: the window alone, for the README). The window is placed
# at a fixed size so that the positions below hold. Checks at the end that
# the picture and the movie were written and can be read.
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
out="${2:-$build/explorer-walkthrough}"
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.mp4
[ -x "$build/bin/veltra-explorer" ] || { echo "$0: $build/bin/veltra-explorer is not built" >&2; exit 2; }
sample="$build/work/portal"
. "$root/scripts/virtual-screen.sh"
start_virtual_screen 1280x1024

# A home of its own: no recent folders or window layout from other runs.
home="$(mktemp -d "${TMPDIR:-/tmp}/veltra-explorer-home.XXXXXX")"
export HOME="$home" XDG_CONFIG_HOME="$home/.config"
trap 'stop_virtual_screen; rm -rf "$home"' EXIT

shot() { sleep 0.6; import -window root "$out/$1.png" && echo "$out/$1.png"; }
keys() { xdotool key --delay 80 "$@"; }
failures=0
check() { if "$@"; then :; else echo "FAIL: $*" >&2; failures=$((failures + 1)); fi; }

# 1. Open With: the desktop entry's Exec line with %F.
exec_line="$(sed -n 's/^Exec=//p' "$root/packaging/org.veltra.Explorer.desktop")"
command="${exec_line/\%F/$sample/u01.unf}"
command="${command/veltra-explorer/$build/bin/veltra-explorer}"
$command &
started $!
sleep 3
window="$(xdotool search --sync --name 'VELTRA Explorer' | head -1)"
xdotool windowmove "$window" 0 0 windowsize "$window" 1280 1000
sleep 1
shot 01-opened

# 2. Scrub: the slider dragged from its start to the peak's step, through
# the steps between (the picture follows while the button is held).
peak="$("$build/bin/veltra-info" "$sample" | python3 -c 'import json,sys; print(json.load(sys.stdin)["largest_displacement"]["step"])')"
last="$("$build/bin/veltra-info" "$sample" | python3 -c 'import json,sys; print(json.load(sys.stdin)["step_count"])')"
slider_y=${SLIDER_Y:-585}; slider_x0=${SLIDER_X0:-16}; slider_x1=${SLIDER_X1:-893}
target=$((slider_x0 + (slider_x1 - slider_x0) * peak / last))
xdotool mousemove "$slider_x0" "$slider_y" mousedown 1
for x in $(seq "$slider_x0" 12 "$target") "$target"; do xdotool mousemove "$x" "$slider_y"; sleep 0.02; done
shot 02-scrubbing
xdotool mouseup 1
shot 03-peak

# 3. Zoom into the top joint above the second column.
joint_x=${JOINT_X:-363}; joint_y=${JOINT_Y:-224}
xdotool mousemove "$joint_x" "$joint_y"
for _ in 1 2 3 4 5 6; do xdotool click 4; sleep 0.15; done
shot 04-zoomed

# 4. Pick the top node there: its number, position, displacement, history.
xdotool click 1
sleep 1
shot 05-picked

# 5. Save the picture.
keys ctrl+s; sleep 1.5
keys ctrl+a; xdotool type --delay 20 "$out/picture.png"
shot 06-save-dialog
keys Return; sleep 1
check file "$out/picture.png"
file "$out/picture.png" | grep -q "PNG image data" || { echo "FAIL: no PNG picture" >&2; failures=$((failures + 1)); }

# 6. Export the range as an .mp4.
keys ctrl+e; sleep 1.5
keys ctrl+a; xdotool type --delay 20 "$out/portal.mp4"
keys Return
shot 07-exporting
for _ in $(seq 1 120); do [ -s "$out/portal.mp4" ] && break; sleep 0.5; done
sleep 1
shot 08-exported
# 7. Back to the whole structure (F), the node still picked: the window as
# the README shows it.
keys Escape f
shot 09-fitted
eval "$(xdotool getwindowgeometry --shell "$window")"
# The screen beyond the window is black: trimmed away.
convert "$out/09-fitted.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -bordercolor black -border 1 \
  -fuzz 1% -trim +repage "$out/explorer-window.png"

frames="$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 "$out/portal.mp4" 2>/dev/null)"
echo "portal.mp4: ${frames:-no} frames"
[ "${frames:-0}" -eq $((last + 1)) ] || { echo "FAIL: the movie has ${frames:-no} frames, not $((last + 1))" >&2; failures=$((failures + 1)); }
ls "$out"/.portal.mp4.part-* >/dev/null 2>&1 && { echo "FAIL: a partial movie file is left" >&2; failures=$((failures + 1)); }
exit $((failures > 0))
