# SPDX-License-Identifier: GPL-3.0-or-later
"""The real Tessaro under a private Xvfb display, driven through the X11 clipboard with
xclip and through its window with xdotool; its state is read from the --state-file JSON."""

import argparse
import json
import os
import shutil
import signal
import subprocess
import tempfile
import sys
import time
import unittest

from window_ping import WindowPing

# How long the window may take to answer while a copy is read; the sanitizer build runs
# several times slower, and its bound is set by the build (TESSARO_E2E_ANSWER_MS).
ANSWER_SECONDS = int(os.environ.get("TESSARO_E2E_ANSWER_MS", "100")) / 1000


def wait_until(predicate, timeout=10.0, interval=0.05, what="condition"):
    """Polls `predicate` until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout}s waiting for {what}")
        time.sleep(interval)


class Display:
    """A private Xvfb display on a free number, with one screen of `size` ("WIDTHxHEIGHT")."""

    def __init__(self, size="1280x1024"):
        self.size = tuple(int(side) for side in size.split("x"))
        for number in range(200, 300):
            if os.path.exists(f"/tmp/.X11-unix/X{number}") or os.path.exists(f"/tmp/.X{number}-lock"):
                continue
            process = subprocess.Popen(
                ["Xvfb", f":{number}", "-screen", "0", f"{size}x24", "-nolisten", "tcp"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wait_until(lambda: process.poll() is not None or os.path.exists(f"/tmp/.X11-unix/X{number}"),
                       what="Xvfb")
            # Tests started together may pick the same free number: the server that loses the
            # lock exits at once, and its test tries the next number.
            time.sleep(0.3)
            if process.poll() is None:
                break
        else:
            raise RuntimeError("no free display number for Xvfb")
        self.process = process
        self.name = f":{number}"
        self.env = dict(os.environ, DISPLAY=self.name)

    def run(self, args, data=None, timeout=30):
        return subprocess.run(args, input=data, env=self.env, capture_output=True, timeout=timeout, check=True)

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)


class Clipboard:
    """Another program on the X11 clipboard: xclip."""

    def __init__(self, display):
        self.display = display
        self.owners = []

    def put(self, data, mime=None):
        args = ["xclip", "-selection", "clipboard", "-i"]
        if mime:
            args += ["-t", mime]
        if isinstance(data, str):
            data = data.encode("utf-8")
        # xclip forks a child that serves the selection until another owner takes it; the
        # child keeps its output open, so none is captured.
        subprocess.run(args, input=data, env=self.display.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30, check=True)

    def targets(self):
        out = self.display.run(["xclip", "-selection", "clipboard", "-o", "-t", "TARGETS"]).stdout
        return out.decode().split()

    def get(self, mime=None):
        args = ["xclip", "-selection", "clipboard", "-o"]
        if mime:
            args += ["-t", mime]
        return self.display.run(args).stdout


class Tessaro:
    """The program under test, with its state file."""

    def __init__(self, executable, display, artifacts):
        self.display = display
        self.artifacts = artifacts
        self.workdir = tempfile.mkdtemp(prefix="tessaro-e2e-")
        self.state_path = os.path.join(self.workdir, "state.json")
        self.log = open(os.path.join(self.workdir, "tessaro.log"), "w")
        self.process = subprocess.Popen([executable, "--state-file", self.state_path], cwd=self.workdir,
                                        env=display.env, stdout=self.log, stderr=subprocess.STDOUT)
        wait_until(lambda: self.state().get("windowVisible"), timeout=15, what="the main window")

    def state(self):
        try:
            with open(self.state_path, encoding="utf-8") as f:
                return json.load(f)
        except (FileNotFoundError, json.JSONDecodeError):
            return {}

    def history(self):
        return self.state().get("history", {}).get("rows", [])

    def details(self):
        return self.state().get("details", {}).get("rows", [])

    def wait_for_rows(self, count, timeout=10):
        return wait_until(lambda: len(self.history()) >= count and self.history(), timeout=timeout,
                          what=f"{count} history rows")

    def window(self):
        out = self.display.run(["xdotool", "search", "--onlyvisible", "--name", "^Tessaro - Orvendal$"]).stdout
        return out.split()[0].decode()

    def key(self, key):
        self.display.run(["xdotool", "windowfocus", "--sync", self.window()])
        self.display.run(["xdotool", "key", key])

    def click(self, control):
        x, y, w, h = self.state()["controls"][control]
        x, y = str(x + min(8, w // 2)), str(y + h // 2)
        # "mousemove --sync" waits for the pointer to move and stalls for seconds when it is
        # already there, as on the second click of the same box.
        here = self.display.run(["xdotool", "getmouselocation", "--shell"]).stdout.decode().split()
        move = [] if f"X={x}" in here and f"Y={y}" in here else ["mousemove", "--sync", x, y]
        self.display.run(["xdotool", *move, "click", "1"])

    def settled_state(self):
        """The state once the file has stopped changing: every edit has reached it."""
        last = {}

        def unchanged():
            nonlocal last
            current = self.state()
            same = current and current == last
            last = current
            return same

        time.sleep(0.3)
        wait_until(unchanged, interval=0.3, what="a settled state file")
        return last

    def screenshot(self, name):
        os.makedirs(self.artifacts, exist_ok=True)
        path = os.path.join(self.artifacts, name)
        self.display.run(["import", "-window", "root", path])
        return path

    def alive(self):
        return self.process.poll() is None

    def stop(self):
        if self.alive():
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
        self.log.close()
        shutil.rmtree(self.workdir, ignore_errors=True)


class ProgramTest(unittest.TestCase):
    """One running program for all tests of a class, on a display of its own."""

    options = None  # set by run_tests() from the command line

    @classmethod
    def setUpClass(cls):
        cls.display = Display()
        cls.clipboard = Clipboard(cls.display)
        cls.app = Tessaro(cls.options.tessaro, cls.display, cls.options.artifacts)

    @classmethod
    def tearDownClass(cls):
        cls.app.stop()
        cls.display.stop()

    def setUp(self):
        self.assertTrue(self.app.alive(), "tessaro is running")
        time.sleep(0.25)  # past the debounce of the previous change

    def answering(self):
        """A context in which the main window is pinged; assert on its `worst` afterwards."""
        return WindowPing(self.display.name, self.app.window())

    def assertAnsweredInTime(self, ping):
        self.assertGreater(ping.answers, 0, "the window was pinged")
        self.assertLess(ping.worst, ANSWER_SECONDS, f"the window answered within {ANSWER_SECONDS * 1000:.0f} ms")

    def control(self, name):
        """The place of a control on the screen, once the window shows it."""
        return wait_until(lambda: self.app.state().get("controls", {}).get(name), what=f"{name} on screen")

    def click(self, name):
        self.control(name)
        self.app.click(name)

    def type_into(self, name, text):
        x, y, w, h = self.control(name)
        self.display.run(["xdotool", "mousemove", "--sync", str(x + w // 2), str(y + h // 2), "click", "1"])
        for i, line in enumerate(text.split("\n")):
            if i:
                self.display.run(["xdotool", "key", "Return"])
            if line:
                self.display.run(["xdotool", "type", "--delay", "15", line])


def run_tests():
    """Runs the test classes of the calling script with --tessaro and --artifacts."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--tessaro", required=True)
    parser.add_argument("--artifacts", required=True)
    ProgramTest.options, rest = parser.parse_known_args()
    unittest.main(module="__main__", argv=[sys.argv[0]] + rest, verbosity=2)
