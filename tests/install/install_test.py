# SPDX-License-Identifier: GPL-3.0-or-later
"""Installs the build with `cmake --install` into a temporary prefix and checks what arrives:
exactly the files an installation should hold, a desktop entry that desktop-file-validate
accepts (when it is installed), icons of the size their folder names, a manual page groff
reads without a warning, the licence, and the layout in which the installed program finds
its help pages: bin/tessaro with the pages in share/tessaro/. The program's lookup itself is
tested in tests/ui; here the installed program is also run once (--version)."""

import argparse
import os
import shutil
import stat
import struct
import subprocess
import sys
import tempfile

ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
HELP_PAGES = ("regex-help.html", "text-encodings-de.html", "text-encodings-en.html")
# Must be the page the program looks for to recognise an installation (kLayoutMarkerPage).
LAYOUT_MARKER = "regex-help.html"


def expected_files(debian):
    files = {"bin/tessaro", "share/applications/tessaro.desktop",
             "share/icons/hicolor/scalable/apps/tessaro.svg"}
    files |= {f"share/icons/hicolor/{n}x{n}/apps/tessaro.png" for n in ICON_SIZES}
    files |= {f"share/tessaro/{page}" for page in HELP_PAGES}
    if debian:
        files |= {"share/man/man1/tessaro.1.gz", "share/doc/tessaro/copyright", "share/doc/tessaro/changelog.gz"}
    else:
        files |= {"share/man/man1/tessaro.1", "share/doc/tessaro/LICENSE"}
    return files


def installed_files(prefix):
    found = set()
    for folder, _, names in os.walk(prefix):
        for name in names:
            found.add(os.path.relpath(os.path.join(folder, name), prefix))
    return found


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def desktop_entry(path):
    entry, group = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("["):
                group = line
            elif group == "[Desktop Entry]" and "=" in line and not line.startswith("#"):
                key, value = line.split("=", 1)
                entry[key.strip()] = value.strip()
    return entry


def check(prefix, args):
    problems = []
    found = installed_files(prefix)
    wanted = expected_files(args.debian)
    for name in sorted(wanted - found):
        problems.append(f"missing: {name}")
    for name in sorted(found - wanted):
        problems.append(f"not expected: {name}")

    program = os.path.join(prefix, "bin", "tessaro")
    if os.path.exists(program):
        if not os.stat(program).st_mode & stat.S_IXOTH:
            problems.append("bin/tessaro is not executable by everyone")
        # No display needed: the version is printed before the toolkit starts.
        run = subprocess.run([program, "--version"], capture_output=True, text=True, timeout=30,
                             env={**os.environ, "QT_QPA_PLATFORM": "offscreen"})
        if run.returncode != 0 or args.version not in run.stdout:
            problems.append(f"bin/tessaro --version: status {run.returncode}, output {run.stdout!r} {run.stderr!r}")

    # The layout the program recognises: pages in ../share/tessaro/ seen from the bin folder.
    data = os.path.normpath(os.path.join(prefix, "bin", "..", "share", "tessaro"))
    if not os.path.isfile(os.path.join(data, LAYOUT_MARKER)):
        problems.append(f"{LAYOUT_MARKER} is not in share/tessaro beside bin")
    for page in HELP_PAGES:
        source = os.path.join(args.source, "src", "app", "resources", page)
        target = os.path.join(data, page)
        if os.path.isfile(target) and open(source, "rb").read() != open(target, "rb").read():
            problems.append(f"share/tessaro/{page} differs from its source")

    desktop = os.path.join(prefix, "share", "applications", "tessaro.desktop")
    if os.path.isfile(desktop):
        entry = desktop_entry(desktop)
        for key, value in (("Name", "Tessaro"), ("Icon", "tessaro"), ("Type", "Application"),
                           ("Categories", "Utility;")):
            if entry.get(key) != value:
                problems.append(f"tessaro.desktop: {key}={entry.get(key)!r}, expected {value!r}")
        for key in ("Name[de]", "Comment", "Comment[de]"):
            if not entry.get(key):
                problems.append(f"tessaro.desktop: no {key}")
        if entry.get("Exec", "").split(" ")[0] != "tessaro":
            problems.append(f"tessaro.desktop: Exec={entry.get('Exec')!r} does not start the installed program")
        validator = shutil.which("desktop-file-validate")
        if validator:
            run = subprocess.run([validator, desktop], capture_output=True, text=True, timeout=30)
            if run.returncode != 0 or run.stdout.strip() or run.stderr.strip():
                problems.append(f"desktop-file-validate: {run.stdout}{run.stderr}")
        else:
            print("note: desktop-file-validate is not installed (desktop-file-utils); the entry is not validated")

    for n in ICON_SIZES:
        path = os.path.join(prefix, f"share/icons/hicolor/{n}x{n}/apps/tessaro.png")
        if os.path.isfile(path) and png_size(path) != (n, n):
            problems.append(f"{n}x{n}/apps/tessaro.png is a picture of {png_size(path)}")

    if not args.debian:
        manual = os.path.join(prefix, "share", "man", "man1", "tessaro.1")
        if os.path.isfile(manual):
            heading = next((line for line in open(manual, encoding="utf-8") if line.startswith(".TH ")), "")
            if f'"Tessaro {args.version}"' not in heading:
                problems.append(f"tessaro.1 names another version than {args.version}: {heading.strip()!r}")
        groff = shutil.which("groff")
        if os.path.isfile(manual) and groff:
            run = subprocess.run([groff, "-ww", "-z", "-man", manual], capture_output=True, text=True, timeout=30)
            if run.returncode != 0 or run.stderr.strip():
                problems.append(f"groff warns about tessaro.1: {run.stderr}")
        licence = os.path.join(prefix, "share", "doc", "tessaro", "LICENSE")
        if os.path.isfile(licence) and open(licence, "rb").read() != open(os.path.join(args.source, "LICENSE"), "rb").read():
            problems.append("share/doc/tessaro/LICENSE differs from the repository's LICENSE")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--debian", action="store_true")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="tessaro-install-") as prefix:
        run = subprocess.run([args.cmake, "--install", args.build, "--prefix", prefix],
                             capture_output=True, text=True, timeout=60)
        if run.returncode != 0:
            print(f"cmake --install failed:\n{run.stdout}{run.stderr}")
            return 1
        problems = check(prefix, args)
    for problem in problems:
        print(problem)
    print("ok" if not problems else f"{len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
