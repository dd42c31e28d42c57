#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything and runs all tests: unit, view and
# end-to-end tests in the normal build, the fuzz targets for a bounded time, then the
# whole suite once more under AddressSanitizer and UndefinedBehaviorSanitizer.
# FUZZ_SECONDS sets the time per fuzz target (default 60; 0 skips fuzzing).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
ctest --preset default -j 1

if [[ "${FUZZ_SECONDS:-60}" != 0 ]]; then
  bash scripts/fuzz.sh "${FUZZ_SECONDS:-60}"
fi

cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j 1
