#!/usr/bin/env bash
# Runs a program on a virtual screen and takes a screenshot of it.
#
#   scripts/xvfb-shot.sh [-o shot.png] [-t seconds] [-s WIDTHxHEIGHT]
#                        [-k 'xdotool words']... -- command [args...]
#
# Starts Xvfb on a free display with the openbox window manager, starts the
# command there, waits -t seconds (default 3), carries out each -k step in
# order with xdotool (e.g. -k 'key alt+h' -k 'sleep 0.5' -k 'mousemove 200 300
# click 1'), saves a PNG of the whole screen (default shot.png) and stops
# everything it started. Exits non-zero when the screen could not be taken.
set -u

out=shot.png
wait_s=3
size=1280x1024
steps=()
while [ $# -gt 0 ]; do
  case "$1" in
    -o) out=$2; shift 2 ;;
    -t) wait_s=$2; shift 2 ;;
    -s) size=$2; shift 2 ;;
    -k) steps+=("$2"); shift 2 ;;
    --) shift; break ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    *) break ;;
  esac
done
if [ $# -eq 0 ]; then
  echo "usage: $0 [-o shot.png] [-t seconds] [-s WxH] [-k 'xdotool words']... -- command [args...]" >&2
  exit 2
fi
for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$0: $tool is not installed" >&2; exit 2; }
done

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

Xvfb ":$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.05
done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "$0: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"
unset QT_QPA_PLATFORM

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

"$@" &
pids+=($!)
sleep "$wait_s"

for step in "${steps[@]}"; do
  # shellcheck disable=SC2086
  xdotool $step
done

import -window root "$out"
status=$?
[ $status -eq 0 ] && echo "$out"
exit $status
