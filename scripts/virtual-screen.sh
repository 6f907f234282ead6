# Sourced by the screenshot scripts: start_virtual_screen WIDTHxHEIGHT starts
# Xvfb on a free display with the openbox window manager, exports DISPLAY,
# and stops everything started (also later, with `started`) when the calling
# script exits. Exits the script when a tool is missing or the screen does
# not come up.

pids=()

# Remembers a background process to stop at exit.
started() { pids+=("$1"); }

stop_virtual_screen() {
  local i
  for (( i=${#pids[@]}-1; i>=0; i-- )); do kill "${pids[i]}" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
}

start_virtual_screen() {
  local size="$1" tool n display=
  for tool in Xvfb openbox xdotool import; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$0: $tool is not installed" >&2; exit 2; }
  done
  for n in $(seq 90 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
  done
  [ -n "$display" ] || { echo "$0: no free display" >&2; exit 1; }
  trap stop_virtual_screen EXIT

  Xvfb ":$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  started $!
  for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.05
  done
  [ -e "/tmp/.X11-unix/X$display" ] || { echo "$0: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$display"
  unset QT_QPA_PLATFORM
  openbox >/dev/null 2>&1 &
  started $!
  sleep 0.5
}
