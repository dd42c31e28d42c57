#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the run and test scripts: starts a private Xvfb display on a free number and
# exports DISPLAY; the display is stopped when the calling shell exits.
start_private_display() {
  local n
  for n in $(seq 91 190); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  PRIVATE_XVFB_PID=$!
  trap 'kill "$PRIVATE_XVFB_PID" 2>/dev/null || true' EXIT
  for _ in $(seq 1 100); do
    [[ -e /tmp/.X11-unix/X$n ]] && break
    sleep 0.05
  done
  export DISPLAY=":$n"
}
