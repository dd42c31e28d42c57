#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the program icon (data/icons/hicolor/scalable/apps/tessaro.svg) into the PNG sizes
# that are installed and kept in the repository, so that building needs no SVG renderer;
# the 256 px rendering is also the window icon (src/app/resources/tessaro.png).
# Run it after changing the SVG. Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
icons="$root/data/icons/hicolor"
svg="$icons/scalable/apps/tessaro.svg"

if ! command -v rsvg-convert >/dev/null; then
  if [[ $(id -u) -eq 0 ]]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends librsvg2-bin >/dev/null
  else
    echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2
    exit 1
  fi
fi

# Keep this list in step with TESSARO_ICON_SIZES in data/CMakeLists.txt.
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "$icons/${size}x${size}/apps"
  rsvg-convert --width "$size" --height "$size" --format png "$svg" \
    --output "$icons/${size}x${size}/apps/tessaro.png"
  echo "$icons/${size}x${size}/apps/tessaro.png"
done
cp "$icons/256x256/apps/tessaro.png" "$root/src/app/resources/tessaro.png"
echo "$root/src/app/resources/tessaro.png"
