#!/usr/bin/env bash
# update-golden.sh [BUILD_DIR]: rewrites the golden pictures of
# tests/render/golden/ from the code as it is now (after a change to the
# drawing that is meant). Builds the exporter and the golden test in
# BUILD_DIR (default: build), exports every case of cases.txt and stores its
# last frame. Look at the changed pictures before committing them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
"$root/scripts/build.sh" "$build" >/dev/null
VELTRA_UPDATE_GOLDEN=1 QT_QPA_PLATFORM=offscreen "$build/bin/render_golden_test"
git -C "$root" status --short -- tests/render/golden
