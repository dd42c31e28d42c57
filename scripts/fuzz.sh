#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang and sanitizers and runs each for a bounded time.
# Usage: scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
shopt -s nullglob
targets=(build/fuzz/fuzz/fuzz_*)
if ((${#targets[@]} == 0)); then
  echo "no fuzz targets"
  exit 0
fi
for target in "${targets[@]}"; do
  [[ -x "$target" ]] || continue
  corpus="build/fuzz/corpus/$(basename "$target")"
  mkdir -p "$corpus"
  echo "== $(basename "$target") for ${seconds}s"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
done
