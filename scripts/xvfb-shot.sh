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
. "$(dirname "$0")/virtual-screen.sh"
start_virtual_screen "$size"

"$@" &
started $!
sleep "$wait_s"

for step in "${steps[@]}"; do
  # shellcheck disable=SC2086
  xdotool $step
done

import -window root "$out"
status=$?
[ $status -eq 0 ] && echo "$out"
exit $status
