#!/usr/bin/env bash
# fuzz.sh [SECONDS] [TARGET...]: builds the libFuzzer targets of tests/fuzz
# with clang (in build-fuzz, under ASan and UBSan) and runs each for SECONDS
# (default 60): free_form, load, step_records, big_counts, font_options,
# number_text.
#
# Each target starts from its committed corpus (tests/fuzz/corpus/TARGET,
# read only) and keeps what it finds new in build-fuzz/corpus/TARGET. A
# crash, a leak, a hang of 10 s, a single allocation beyond 64 MiB (the inputs
# are small: nothing they hold can back more) or a
# failed check of the target is a finding: its input is left in
# build-fuzz/findings/ and the script exits non-zero. Copy such an input into
# the committed corpus once the fault is fixed, so that every build replays it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(free_form load step_records big_counts font_options number_text)
dir="${VELTRA_FUZZ_BUILD:-$root/build-fuzz}"

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja "${launcher[@]}" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRA_FUZZ=ON -DVELTRA_WITH_QT=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

# The targets write their inputs as files: a scratch folder in memory (tmpfs)
# keeps that from costing more than the reading.
scratch="$dir/tmp"
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch="/dev/shm/veltra-fuzz-$$"
mkdir -p "$dir/findings" "$scratch"
export TMPDIR="$scratch"
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
failed=()
for target in "${targets[@]}"; do
  corpus="$dir/corpus/$target"
  mkdir -p "$corpus"
  log="$dir/findings/$target.log"
  echo "=== fuzz $target for ${seconds}s"
  if "$dir/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1536 -malloc_limit_mb=64 \
      -max_len=20000 -print_final_stats=1 -artifact_prefix="$dir/findings/$target-" \
      "$corpus" "$root/tests/fuzz/corpus/$target" >"$log" 2>&1; then
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$log" || true
  else
    tail -n 40 "$log"
    failed+=("$target")
  fi
done
rm -rf "$scratch"
if [ ${#failed[@]} -gt 0 ]; then
  echo "=== fuzz findings in: ${failed[*]} (inputs and logs in $dir/findings)"
  exit 1
fi
echo "=== fuzz targets ran clean"
