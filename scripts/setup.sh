#!/usr/bin/env bash
# Installs the Debian packages VELTRA needs to build, test and be looked at
# (with sudo when not root). Packages already installed are not asked for again.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang clang-format pkg-config
  qt6-base-dev qt6-multimedia-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation
  xvfb openbox xdotool imagemagick x11-utils
  ccache
  libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev libavutil-dev ffmpeg
  nlohmann-json3-dev libcli11-dev qt6-svg-dev
  dpkg-dev file man-db desktop-file-utils appstream help2man librsvg2-bin lintian
  clang libclang-rt-14-dev
  python3-matplotlib python3-vtk9
  qt6-wayland weston shared-mime-info libglib2.0-bin
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  # On a machine just started, the system's own updates may hold the package
  # lock for a while: wait for it (up to five minutes) rather than fail.
  lock=(-o DPkg::Lock::Timeout=300)
  $sudo apt-get "${lock[@]}" update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get "${lock[@]}" install -y -qq "${missing[@]}"
fi
