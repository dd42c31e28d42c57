#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing Tessaro need.
# Idempotent: packages already present are not fetched again.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpcre2-dev clang libclang-rt-14-dev
  xvfb xauth xclip xsel xdotool x11-utils imagemagick
  libjpeg62-turbo-dev libpng-dev libtiff-dev zlib1g-dev libgif-dev libopenjp2-7-dev libimagequant-dev
  libtiff-tools libopenjp2-tools pngcheck icoutils
  libvips-dev
  python3 python3-pil python3-numpy
  libxcb1-dev libxcb-xfixes0-dev python3-xlib
  desktop-file-utils dpkg-dev file
  openbox
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run this script as root (or install them with sudo apt-get install)." >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
