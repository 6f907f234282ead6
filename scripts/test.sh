#!/usr/bin/env bash
# Installs what is needed, builds VELTRA three times and runs every test,
# headless: the plain build (and the Debian package made from it), a build
# under AddressSanitizer and UndefinedBehaviorSanitizer, and the logic on the
# recording layer under ThreadSanitizer; then a short run of the fuzz targets.
# Exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

run_suite() {
  local dir="$1"; shift
  echo "=== build $dir $*"
  "$root/scripts/build.sh" "$dir" "$@"
  echo "=== test $dir"
  ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 600
}

run_suite "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "=== package from $root/build"
"$root/tests/package/package_test.sh" "$root/build"
run_suite "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DVELTRA_SANITIZE=address
run_suite "$root/build-tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRA_SANITIZE=thread -DVELTRA_WITH_QT=OFF
# A short run of every fuzz target (20 s each) on top of its committed corpus.
echo "=== fuzz"
"$root/scripts/fuzz.sh" 20
echo "=== all tests passed"
