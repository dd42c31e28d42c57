# SPDX-License-Identifier: GPL-3.0-or-later
"""End to end: Tessaro as a program of the Linux desktop. A second start on the same display
brings the running window up and ends; the running program answers --history, --copy and
--toggle-capture; `tessaro apply` gives the bytes the window puts on the clipboard and
saves for the same configuration and copy; a program killed without cleaning up does not
keep the next one from starting."""

import io
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time

from PIL import Image

from harness import Clipboard, Display, ProgramTest, Tessaro, run_tests, wait_until


def write_profile(path, sections):
    """A configuration file as the program writes them: UTF-16 LE with its mark, CR LF."""
    lines = []
    for section, values in sections.items():
        lines.append(f"[{section}]")
        lines += [f"{key}={value}" for key, value in values.items()]
    with open(path, "wb") as f:
        f.write(b"\xff\xfe" + "\r\n".join(lines + [""]).encode("utf-16-le"))


class Desktop(ProgramTest):
    @classmethod
    def setUpClass(cls):
        # A window manager, so that minimizing and raising are real.
        cls.display = Display()
        cls.window_manager = subprocess.Popen(["openbox"], env=cls.display.env, stdout=subprocess.DEVNULL,
                                              stderr=subprocess.DEVNULL)
        wait_until(lambda: b"window id" in subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                                          env=cls.display.env, capture_output=True).stdout,
                   what="openbox")
        cls.clipboard = Clipboard(cls.display)
        cls.app = Tessaro(cls.options.tessaro, cls.display, cls.options.artifacts)

    @classmethod
    def tearDownClass(cls):
        cls.app.stop()
        cls.window_manager.terminate()
        cls.window_manager.wait(timeout=10)
        cls.display.stop()

    def setUp(self):
        super().setUp()
        self.folder = tempfile.mkdtemp(prefix="tessaro-desktop-")

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def tessaro(self, *args, data=None, timeout=60):
        """Another start of the program on the same display."""
        return subprocess.run([self.options.tessaro, *args], input=data, env=self.display.env, capture_output=True,
                              timeout=timeout, cwd=self.folder)

    def copy_and_wait(self, text):
        before = len(self.app.history())
        self.clipboard.put(text)
        self.app.wait_for_rows(before + 1)
        time.sleep(0.25)

    def window_state(self, window):
        """The state the window manager gives the window: "Normal" or "Iconic"."""
        out = subprocess.run(["xprop", "-id", window, "WM_STATE"], env=self.display.env, capture_output=True).stdout
        return out.decode().split("window state:")[-1].split()[0] if b"window state:" in out else ""

    def test_1_second_start_brings_the_window_up_and_ends(self):
        def programs():
            return len(subprocess.run(["pgrep", "-f", "-x", self.options.tessaro + ".*"],
                                      capture_output=True).stdout.split())

        running = programs()
        window = self.app.window()
        self.display.run(["xdotool", "windowminimize", window])
        wait_until(lambda: self.window_state(window) == "Iconic", what="the window minimized")
        started = time.monotonic()
        second = self.tessaro()
        self.assertEqual(second.returncode, 0, second.stderr.decode())
        self.assertLess(time.monotonic() - started, 10)
        wait_until(lambda: self.window_state(window) == "Normal", what="the window up again")
        self.assertTrue(self.app.alive())
        self.assertEqual(programs(), running, "the second start has ended")
        time.sleep(0.5)  # past the window manager's animation
        self.app.screenshot("desktop-brought-up.png")

    def test_2_history_copy_and_capture_switch_from_the_command_line(self):
        texts = ["eins", "zwei – ü", "drei\nzweite Zeile", "vier"]
        for text in texts:
            self.copy_and_wait(text)
        printed = self.tessaro("--history", "3")
        self.assertEqual(printed.returncode, 0, printed.stderr.decode())
        rows = json.loads(printed.stdout)
        self.assertEqual([row["text"] for row in rows], texts[:0:-1])
        numbers = {row["text"]: row["number"] for row in rows}

        rows_before = len(self.app.history())
        copied = self.tessaro("--copy", str(numbers["zwei – ü"]))
        self.assertEqual(copied.returncode, 0, copied.stderr.decode())
        wait_until(lambda: self.clipboard.get().decode() == "zwei – ü", what="the row back on the clipboard")
        time.sleep(0.5)
        self.assertEqual(len(self.app.history()), rows_before, "copying back adds no row")
        missing = self.tessaro("--copy", "999")
        self.assertEqual(missing.returncode, 1)
        self.assertIn("999", missing.stderr.decode())

        off = self.tessaro("--toggle-capture")
        self.assertEqual(off.stdout.decode(), "capture off\n")
        self.clipboard.put("not captured")
        time.sleep(0.8)
        self.assertEqual(len(self.app.history()), rows_before)
        on = self.tessaro("--toggle-capture")
        self.assertEqual(on.stdout.decode(), "capture on\n")
        self.copy_and_wait("captured again")

    def test_3_apply_gives_the_bytes_of_the_window(self):
        window_saves = os.path.join(self.folder, "window")
        apply_saves = os.path.join(self.folder, "apply")
        os.makedirs(window_saves)
        os.makedirs(apply_saves)

        def configuration(name, saves):
            path = os.path.join(self.folder, name)
            write_profile(path, {
                "PBCH": {"cb_suchenersetzen": 1, "act_ers_text_suchen_regex": 1, "act_ers_text_ersetzen_regex": 1,
                         "act_ers_casesensitive": 0, "cb_textadd": 1, "cb_savetxt": 1, "cb_cutimg": 1,
                         "cb_resizeimg": 1, "act_resizeimg_prop": 1, "cb_saveimg": 1, "save_img_vorher": 0,
                         "save_img_nachher": 1},
                "PBRB": {"rb_cutimg_auswahl": 0, "rb_cutimg_direkt": 1},
                "PBME": {"act_ers_text_suchen": r"(\w+)@(\w+)\.de", "act_ers_text_ersetzen": "$2: $1",
                         "act_textadd_vorne": "»", "act_textadd_hinten": "«"},
                "PBLV": {"act_ers_text_liste": 1, "act_ers_text_liste-0-a": "STRASSE",
                         "act_ers_text_liste-0-b": "Straße", "act_ers_text_liste-0-c": "-"},
                "PBED": {"savetxt_ordner": saves, "saveimg_ordner": saves},
                "PBCB": {"savetxt_name": "text", "savetxt_format": ".txt", "saveimg_name": "picture",
                         "saveimg_format": "*.bmp - Windows Bitmap", "act_zuschlinks": 7, "act_zuschrechts": 3,
                         "act_zuschoben": 2, "act_zuschunten": 9, "act_sizebenutzer_x": 50,
                         "act_sizebenutzer_y": 50},
            })
            return path

        window_config = configuration("window.tpf", window_saves)
        apply_config = configuration("apply.tpf", apply_saves)
        # A later start hands its configuration to the running window.
        handed = self.tessaro(window_config)
        self.assertEqual(handed.returncode, 0, handed.stderr.decode())
        wait_until(lambda: self.app.state().get("settings", {}).get("Tprog", {}).get("savetxt_ordner") == window_saves,
                   what="the configuration loaded")
        time.sleep(0.3)

        text = "Post an anna@beispiel.de, Adresse: Hauptstrasse 1\r\nzweite Zeile\x00mit Null"
        self.clipboard.put(text)
        wait_until(lambda: self.clipboard.get().decode().startswith("»"), what="the window's result")
        from_window = self.clipboard.get()
        from_apply = self.tessaro("apply", "--config", apply_config, data=text.encode())
        self.assertEqual(from_apply.returncode, 0, from_apply.stderr.decode())
        self.assertEqual(from_apply.stdout, from_window)
        self.assertEqual(from_window.decode(), "»Post an beispiel: anna, Adresse: HauptStraße 1\r\nzweite Zeile\x00mit Null«")

        # A picture with a frame the fixed margins cut away, then fitted into 50 x 50.
        picture = Image.new("RGB", (110, 71), (200, 30, 30))
        picture.paste((20, 90, 200), (7, 2, 107, 62))
        for x in range(7, 107):
            picture.putpixel((x, 30), (255, 255, 0))
        data = io.BytesIO()
        picture.save(data, "PNG")
        source = os.path.join(self.folder, "in.png")
        with open(source, "wb") as f:
            f.write(data.getvalue())
        self.clipboard.put(data.getvalue(), "image/png")
        wait_until(lambda: os.listdir(window_saves) and any(n.endswith(".bmp") for n in os.listdir(window_saves)),
                   what="the window's saved picture")
        wait_until(lambda: Image.open(io.BytesIO(self.clipboard.get("image/png"))).size == (50, 30),
                   what="the window's picture on the clipboard")
        window_png = self.clipboard.get("image/png")
        applied = self.tessaro("apply", "--config", apply_config, "--in", source, "--out", "-")
        self.assertEqual(applied.returncode, 0, applied.stderr.decode())
        self.assertEqual(list(Image.open(io.BytesIO(applied.stdout)).convert("RGBA").getdata()),
                         list(Image.open(io.BytesIO(window_png)).convert("RGBA").getdata()))
        saved = {folder: [n for n in os.listdir(folder) if n.endswith(".bmp")] for folder in (window_saves, apply_saves)}
        self.assertEqual(len(saved[apply_saves]), 1, saved)
        with open(os.path.join(window_saves, saved[window_saves][0]), "rb") as a, \
                open(os.path.join(apply_saves, saved[apply_saves][0]), "rb") as b:
            self.assertEqual(a.read(), b.read(), "the same picture file")
        texts = {folder: [n for n in os.listdir(folder) if n.endswith(".txt")] for folder in (window_saves, apply_saves)}
        with open(os.path.join(window_saves, texts[window_saves][0]), "rb") as a, \
                open(os.path.join(apply_saves, texts[apply_saves][0]), "rb") as b:
            self.assertEqual(a.read(), b.read(), "the same text file")


class AfterACrash(ProgramTest):
    """A program killed outright leaves its lock and socket; the next start runs anyway."""

    @classmethod
    def setUpClass(cls):
        cls.display = Display()
        cls.clipboard = None
        cls.app = None

    @classmethod
    def tearDownClass(cls):
        cls.display.stop()

    def setUp(self):
        pass

    def test_killed_program_does_not_block_the_next(self):
        first = Tessaro(self.options.tessaro, self.display, self.options.artifacts)
        first.process.send_signal(signal.SIGKILL)
        first.process.wait(timeout=10)
        second = Tessaro(self.options.tessaro, self.display, self.options.artifacts)
        try:
            out = subprocess.run([self.options.tessaro, "--history", "1"], env=self.display.env, capture_output=True,
                                 timeout=30)
            self.assertEqual(out.returncode, 0, out.stderr.decode())
            self.assertEqual(json.loads(out.stdout), [])
        finally:
            second.stop()
            first.stop()
        out = subprocess.run([self.options.tessaro, "--toggle-capture"], env=self.display.env, capture_output=True,
                             timeout=30)
        self.assertEqual(out.returncode, 1)
        self.assertIn("does not run", out.stderr.decode())


if __name__ == "__main__":
    run_tests()
