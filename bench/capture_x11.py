# SPDX-License-Identifier: GPL-3.0-or-later
"""Whole-program capture of a large text through the real X11 clipboard.

Runs the built Tessaro on a private Xvfb display; in each round `xclip -i` copies a fresh
text of --megabytes MB, and the benchmark times Tessaro's capture (from the owner change,
seen through XFixes, to the moment the window has dealt with it, which the state file
tells on the same monotonic clock) and then `xclip -o` of the
same copy from the same owner. Meanwhile a thread pings the window (_NET_WM_PING) every
10 ms. Prints the medians, their ratio (goal: at most 2x), the peak memory the capture adds
to Tessaro as a multiple of the text size (goal: at most 4x) and the longest the window took
to answer (goal: under 100 ms). With --image, a PNG file is copied instead (as image/png),
and the memory is given as a multiple of the decoded picture, 4 bytes a pixel (goal: at most
3x).

  /usr/bin/python3 bench/capture_x11.py build/default/tessaro [--megabytes 50] [--rounds 5]
  /usr/bin/python3 bench/capture_x11.py build/default/tessaro --image big.png [--rounds 3]
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from Xlib import display as xdisplay  # noqa: E402
from Xlib.ext import xfixes  # noqa: E402

from harness import Display, Tessaro, wait_until  # noqa: E402
from window_ping import WindowPing  # noqa: E402

WORDS = ["the ", "clipboard ", "Tessaro ", "über ", "copies ", "text\n", "and ", "images ", "5 € ", "quickly "]


def text_of(size, round_number):
    block = "".join(WORDS[(i * 7 + round_number) % len(WORDS)] for i in range(1000)).encode("utf-8")
    data = (block * (size // len(block) + 1))[:size]
    return data[:-4] + data[-4:].decode("utf-8", "ignore").encode("utf-8")  # whole characters


def memory_of(pid, field):
    with open(f"/proc/{pid}/status", encoding="ascii") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1]) * 1024
    raise RuntimeError(field)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("tessaro")
    parser.add_argument("--megabytes", type=float, default=50)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--image")
    args = parser.parse_args()
    size = int(args.megabytes * 1_000_000)
    mime = []
    if args.image:
        from PIL import Image
        Image.MAX_IMAGE_PIXELS = None  # the large picture is the point
        with Image.open(args.image) as picture:
            width, height = picture.size
        size = width * height * 4
        mime = ["-t", "image/png"]

    screen = Display()
    app = Tessaro(os.path.abspath(args.tessaro), screen, tempfile.gettempdir())
    watcher = xdisplay.Display(screen.name)
    clipboard_atom = watcher.intern_atom("CLIPBOARD")
    watcher.xfixes_query_version()
    watcher.xfixes_select_selection_input(watcher.screen().root, clipboard_atom,
                                          xfixes.XFixesSetSelectionOwnerNotifyMask)
    watcher.sync()
    window = app.window()
    captures, references, peaks, answers = [], [], [], []
    try:
        for round_number in range(args.rounds):
            path = args.image or os.path.join(app.workdir, "copy.txt")
            if not args.image:
                text = text_of(size, round_number)
                characters = len(text.decode("utf-8"))  # all in the BMP: one UTF-16 unit each
                with open(path, "wb") as f:
                    f.write(text)
                del text
            time.sleep(0.5)  # past the debounce; lets memory settle
            rows = len(app.history())
            with open(f"/proc/{app.process.pid}/clear_refs", "w") as f:
                f.write("5")  # resets the peak to the present size
            before = memory_of(app.process.pid, "VmRSS")
            with WindowPing(screen.name, window) as ping:
                with open(path, "rb") as f:
                    subprocess.run(["xclip", "-selection", "clipboard", "-i", *mime], stdin=f, env=screen.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
                # The owner changed when XFixes says so.
                started = None
                while started is None:
                    notification = watcher.next_event()
                    if type(notification).__name__ == "SetSelectionOwnerNotify":
                        started = time.monotonic()
                wait_until(lambda: len(app.history()) > rows, timeout=120, interval=0.002, what="the capture")
                # When the window had dealt with the copy, on the same clock: the state file
                # itself is written a moment later.
                captured = app.state()["clipboardHandledAt"] - started
                time.sleep(0.3)  # the window must keep answering after the capture too
            peak = memory_of(app.process.pid, "VmHWM") - before
            history = app.history()
            if args.image:
                assert history[-1][2] == f"{width} x {height}", "captured the picture"
            else:
                assert history[-1][2].startswith(WORDS[round_number % len(WORDS)]), "captured the copy of this round"
                assert app.state()["history"]["lengths"][-1][2] == characters, "the whole text"
            begun = time.monotonic()
            subprocess.run(["xclip", "-selection", "clipboard", "-o", *mime], env=screen.env,
                           stdout=subprocess.DEVNULL, check=True)
            references.append(time.monotonic() - begun)
            captures.append(captured)
            peaks.append(peak)
            answers.append(ping.worst)
            print(f"round {round_number + 1}: capture {captured:.3f} s, xclip -o {references[-1]:.3f} s, "
                  f"peak +{peak / 1e6:.0f} MB, slowest answer {ping.worst * 1000:.0f} ms ({ping.answers} pings)",
                  flush=True)
    finally:
        app.stop()
        screen.stop()
    capture, reference = statistics.median(captures), statistics.median(references)
    what = f"{width} x {height} PNG" if args.image else f"{args.megabytes:g} MB text"
    print(f"\n{what}, median of {args.rounds}:")
    print(f"  Tessaro capture      {capture:.3f} s")
    print(f"  xclip -o             {reference:.3f} s")
    # A small file of a large picture: decoding is the work, the transfer no measure of it.
    print(f"  ratio                {capture / reference:.2f}x" + ("" if args.image else "   (goal: at most 2x)"))
    goal = "the decoded picture   (goal: at most 3x)" if args.image else "the text   (goal: at most 4x)"
    print(f"  peak memory added    {statistics.median(peaks) / size:.2f}x {goal}")
    print(f"  slowest answer       {max(answers) * 1000:.0f} ms   (goal: under 100 ms)")


if __name__ == "__main__":
    main()
