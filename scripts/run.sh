#!/usr/bin/env bash
# Installs what is needed, builds VELTRA and starts the viewer in the build's
# bin folder, so that its first file chooser opens on the sample problems in
# the work folder beside it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cd "$root/build/bin"
exec ./veltra "$@"
