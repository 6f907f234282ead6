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
  dpkg-dev file man-db desktop-file-utils appstream help2man librsvg2-bin
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
