#!/usr/bin/env bash
# Builds the Debian package from a clean Release build:
#
#   scripts/package.sh [BUILD_DIR]     (default: build-package)
#
# BUILD_DIR is removed and configured afresh (Release, without the tests), so
# nothing of an earlier build leaks into the package. Prints the path of
# veltra_<version>_<arch>.deb, which it leaves in BUILD_DIR.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build-package}"
"$root/scripts/setup.sh"
if [ -e "$dir" ] && [ ! -f "$dir/CMakeCache.txt" ] && [ -n "$(ls -A "$dir")" ]; then
  echo "$0: $dir is not a build folder; not removing it" >&2
  exit 2
fi
rm -rf "$dir"
"$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Release -DVELTRA_BUILD_TESTS=OFF
(cd "$dir" && cpack --config CPackConfig.cmake >/dev/null)
ls "$dir"/veltra_*.deb
