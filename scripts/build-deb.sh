#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of Tessaro: a Release build of the program alone (no tests, no
# benchmarks) in build/deb with Debian's hardening flags, packed by CPack. Prints the path
# of the .deb; install it with `apt install ./build/deb/tessaro_*.deb`.
# Runs lintian on it when lintian is installed (apt-get install lintian).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/deb"
bash "$root/scripts/install-deps.sh"

# The compiler and linker flags Debian builds its own packages with (fortified functions,
# stack protector, read-only relocations, immediate binding, position-independent code).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTESSARO_BUILD_TESTS=OFF -DTESSARO_BUILD_BENCH=OFF -DTESSARO_BUILD_FUZZ=OFF \
  -DTESSARO_DEBIAN_PACKAGE=ON \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build" -j "${TESSARO_JOBS:-$(nproc)}"
# CPack strips the program; the compilers' version notes go as well, as Debian's own
# packaging tools remove them.
objcopy --remove-section=.comment --remove-section=.note "$build/tessaro"
rm -f "$build"/tessaro_*.deb
(cd "$build" && cpack -G DEB >/dev/null)

deb=$(ls "$build"/tessaro_*.deb)
if command -v lintian >/dev/null; then
  # lintian says nothing for a package without findings.
  lintian --info "$deb" || true
fi
echo "$deb"
