#!/usr/bin/env bash
# stress.sh [ROUNDS] [BUILD_DIR]: the stress loop of the Qt layer, offscreen.
#
# Each round runs app_qt_stress twice with the round number as seed: ten
# overlapping graph runs (NEW Graph and BACK to Settings mixed, some abandoned
# or cancelled at a dialog) while animations draw, ended once through EXIT and
# once through the eleventh command's limit. A round fails when a process ends
# with a code other than 0, takes longer than 5 minutes (a hang), or writes a
# sanitizer report. BUILD_DIR (default build-asan, configured as the
# ASan/UBSan build when it is new) must build the Qt layer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
rounds="${1:-100}"
dir="${2:-$root/build-asan}"
if [ ! -f "$dir/CMakeCache.txt" ]; then
  launcher=()
  if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$root" -B "$dir" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Debug -DVELTRA_SANITIZE=address >/dev/null
fi
cmake --build "$dir" -j"$(nproc)" --target app_qt_stress >/dev/null

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/veltra-stress-XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
logs="$dir/stress"
mkdir -p "$logs"
failures=0
start=$(date +%s)
for round in $(seq 1 "$rounds"); do
  for ending in exit limit; do
    log="$logs/round-$round-$ending.log"
    mkdir -p "$scratch/run"
    set +e
    TMPDIR="$scratch/run" timeout -k 10 300 "$dir/bin/app_qt_stress" "$round" "$ending" >"$log" 2>&1
    code=$?
    set -e
    rm -rf "$scratch/run"
    if [ "$code" -ne 0 ] || grep -qE 'ERROR: AddressSanitizer|runtime error:|ERROR: LeakSanitizer|WARNING: ThreadSanitizer' "$log"; then
      failures=$((failures + 1))
      echo "round $round ($ending): FAILED with code $code, see $log"
      tail -n 20 "$log"
    else
      rm -f "$log"
    fi
  done
  if [ $((round % 10)) -eq 0 ]; then
    echo "round $round done, $failures failed, $(( $(date +%s) - start )) s"
  fi
done
echo "=== $rounds rounds ($((2 * rounds)) processes) in $(( $(date +%s) - start )) s, $failures failed"
[ "$failures" -eq 0 ]
