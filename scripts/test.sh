#!/usr/bin/env bash
# Installs what is needed, builds VELTRA three times and runs every test,
# headless: the plain build (and the Debian package made from it), a build
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a build with
# clang under ThreadSanitizer (the Qt layer included, so that the hand-over
# to the GUI thread runs under the checker; clang also checks the lock
# annotations with -Wthread-safety); then a short run of the fuzz targets.
# Every build treats warnings as errors. Exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
# Qt's own libraries are not instrumented; tests/tsan.supp says what that
# hides. Set here too, for the test listing that runs while building.
export TSAN_OPTIONS="suppressions=$root/tests/tsan.supp"
jobs="$(nproc)"

run_suite() {
  local dir="$1"; shift
  echo "=== build $dir $*"
  "$root/scripts/build.sh" "$dir" -DVELTRA_WERROR=ON "$@"
  echo "=== test $dir"
  ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 600
}

run_suite "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "=== package from $root/build"
"$root/tests/package/package_test.sh" "$root/build"
run_suite "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DVELTRA_SANITIZE=address
# A folder configured with another compiler is configured afresh.
if [ -f "$root/build-tsan/CMakeCache.txt" ] &&
   ! grep -q '^CMAKE_CXX_COMPILER:.*clang++' "$root/build-tsan/CMakeCache.txt"; then
  rm -rf "$root/build-tsan/CMakeCache.txt" "$root/build-tsan/CMakeFiles"
fi
run_suite "$root/build-tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRA_SANITIZE=thread \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
# A short run of every fuzz target (20 s each) on top of its committed corpus.
echo "=== fuzz"
"$root/scripts/fuzz.sh" 20
echo "=== all tests passed"
