#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Tessaro and starts it. Without a display it first
# starts a private Xvfb display and says so. Arguments go to tessaro.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tessaro
if [[ -z "${DISPLAY:-}" ]]; then
  source scripts/xvfb.sh
  start_private_display
  echo "No display was set: Tessaro runs on the private Xvfb display $DISPLAY."
  echo "  See it:   DISPLAY=$DISPLAY import -window root tessaro.png"
  echo "  Copy:     printf 'Hello' | DISPLAY=$DISPLAY xclip -selection clipboard"
  echo "  Stop it:  Ctrl+C"
else
  echo "Tessaro runs on display $DISPLAY."
fi
build/default/tessaro "$@"
