#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Regenerates the reference results (*.expected, *.reads) of every scenario
# (*.scn) in this folder by replaying it against the Windows profile API
# under Wine.
#
# Needs: wine (Debian packages wine64 and wine) and x86_64-w64-mingw32-gcc
# (package gcc-mingw-w64-x86-64-win32). No display is needed.
#
# Usage: tests/config/profile_reference/generate.sh [NAME.scn ...]
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

for tool in wine wineserver x86_64-w64-mingw32-gcc; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "generate.sh: '$tool' not found; install: apt-get install wine64 wine gcc-mingw-w64-x86-64-win32" >&2
        exit 2
    fi
done

scratch="$(mktemp -d /tmp/profile_reference.XXXXXX)"
export WINEPREFIX="$scratch/prefix"
export WINEDEBUG=-all
# No Mono or Gecko prompts: a console program needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
# The 8-bit code page Wine uses for files without a byte-order mark follows
# the Unix locale; pin it so the results do not depend on the caller's.
export LC_ALL=C.UTF-8
export LANG=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY

cleanup() {
    # Ends only the wineserver of the throwaway prefix made above.
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$scratch"
}
trap cleanup EXIT

/usr/bin/python3 "$here/make_initial.py"

x86_64-w64-mingw32-gcc -municode -O2 -Wall -Wextra -o "$scratch/profile_ref.exe" \
    "$here/profile_ref.c"

mkdir -p "$scratch/work"
# The first start sets up the prefix; keep its chatter out of the results.
wine "$scratch/profile_ref.exe" >/dev/null 2>&1 || true

if [ "$#" -gt 0 ]; then
    scenarios=()
    for arg in "$@"; do scenarios+=("$here/$(basename "$arg")"); done
else
    scenarios=("$here"/*.scn)
fi

status=0
for scn in "${scenarios[@]}"; do
    name="$(basename "$scn" .scn)"
    if wine "$scratch/profile_ref.exe" "$scn" "$scratch/work"; then
        echo "ok    $name"
    else
        echo "FAIL  $name" >&2
        status=1
    fi
done
exit "$status"
