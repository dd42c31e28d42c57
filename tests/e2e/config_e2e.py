# SPDX-License-Identifier: GPL-3.0-or-later
"""End to end: settings made through the real window survive a restart through Auto.tpf in
the program's own folder (a portable installation), a configuration named on the command
line wins over Auto.tpf, a start configuration that cannot be read never stops the program,
and a save on exit that fails keeps the window open.

The program writes Auto.tpf beside its executable, so every case runs a copy of the
executable in a folder of its own: the build's binary never gets a configuration beside it."""

import os
import random
import shutil
import subprocess
import tempfile
import time

from harness import Clipboard, Display, ProgramTest, Tessaro, run_tests, wait_until

TITLE = "^Tessaro - Orvendal$"
# Every load ends with the action boxes laid out anew and each detail box closed, the way
# the window always opens: which one was open is written, but it is layout, not a setting.
DETAIL_ROWS = ("pa001b", "pa002b", "pa003b", "pa004b", "pa005b", "pa006b")
CLOSER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "x11_close.py")


class PortableTessaro(Tessaro):
    """A copy of the program in `folder`, started with `arguments`; the working directory,
    state file and log live apart from the program folder so they never look like settings."""

    def __init__(self, folder, display, artifacts, arguments=()):
        self.display = display
        self.artifacts = artifacts
        self.folder = folder
        self.workdir = tempfile.mkdtemp(prefix="tessaro-e2e-run-")
        self.state_path = os.path.join(self.workdir, "state.json")
        self.log = open(os.path.join(self.workdir, "tessaro.log"), "w")
        self.process = None
        try:
            self.process = subprocess.Popen([os.path.join(folder, "tessaro"), "--state-file", self.state_path,
                                             *arguments], cwd=self.workdir, env=display.env,
                                            stdout=self.log, stderr=subprocess.STDOUT)
            wait_until(lambda: self.state().get("windowVisible") or not self.alive(), timeout=15,
                       what="the main window")
            if not self.alive():
                raise AssertionError(f"tessaro exited with {self.process.returncode} at start: {self.log_text()}")
            self.main_window = self.window()
        except BaseException:
            self.stop()
            raise

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def log_text(self):
        self.log.flush()
        with open(os.path.join(self.workdir, "tessaro.log"), encoding="utf-8", errors="replace") as f:
            return f.read()

    def visible_windows(self):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", TITLE], env=self.display.env,
                             capture_output=True, timeout=30).stdout
        return [w.decode() for w in out.split()]

    def message_boxes(self):
        """Windows of the program's title other than the main window: its message boxes."""
        return [w for w in self.visible_windows() if w != self.main_window]

    def request_close(self):
        """What the close box does: WM_DELETE_WINDOW to the main window."""
        self.display.run(["/usr/bin/python3", CLOSER, self.main_window])

    def wait_exit(self, timeout=10):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"tessaro still runs {timeout}s after the close request") from None


class Configuration(ProgramTest):
    @classmethod
    def setUpClass(cls):
        cls.display = Display()
        cls.clipboard = Clipboard(cls.display)
        cls.base = tempfile.mkdtemp(prefix="tessaro-e2e-config-")
        cls.app = None

    @classmethod
    def tearDownClass(cls):
        cls.display.stop()
        shutil.rmtree(cls.base, ignore_errors=True)

    def setUp(self):
        self.running = []

    def tearDown(self):
        outcome = getattr(self, "_outcome", None)
        result = getattr(outcome, "result", None)
        if self.running and result and any(test is self for test, _ in result.failures + result.errors):
            self.running[-1].screenshot(f"config-failed-{self._testMethodName}.png")
        for app in self.running:
            app.stop()

    # --- the program and its folder ------------------------------------------------------

    def program_folder(self, name):
        folder = os.path.join(self.base, name)
        os.makedirs(folder)
        build = os.path.dirname(os.path.abspath(self.options.tessaro))
        shutil.copy2(self.options.tessaro, os.path.join(folder, "tessaro"))
        shutil.copy2(os.path.join(build, "regex-help.html"), folder)
        return folder

    def start(self, folder, *arguments):
        app = PortableTessaro(folder, self.display, self.options.artifacts, arguments)
        self.running.append(app)
        self.app = app
        return app

    # --- driving the window ----------------------------------------------------------------

    def control(self, name, timeout=10):
        return wait_until(lambda: self.app.state().get("controls", {}).get(name), timeout=timeout,
                          what=f"{name} on screen")

    def point(self, name):
        x, y, w, h = self.control(name)
        return str(x + min(8, w // 2)), str(y + h // 2)

    def click(self, name):
        self.control(name)
        self.app.click(name)

    def type_into(self, name, text):
        """Replaces the text of a field with `text`, typed as a user would."""
        x, y, w, h = self.control(name)
        self.display.run(["xdotool", "mousemove", "--sync", str(x + w // 2), str(y + h // 2), "click", "1"])
        self.display.run(["xdotool", "key", "ctrl+a", "BackSpace"])
        # Typed texts keep to the keyboard map: xdotool remaps a key on the fly for anything
        # else, which a busy display can miss.
        self.display.run(["xdotool", "type", "--delay", "15", text])

    def choose_on_exit(self, item, screenshot=None):
        """Configuration → Auto Save Settings on Exit → `item`, through the real menus."""
        self.click("m_konfig")
        self.control("m_konfig_save_start")  # the menu is open
        # Hovering opens the submenu; the item is then listed with its own rectangle.
        self.display.run(["xdotool", "mousemove", "--sync", *self.point("m_konfig_autosave")])
        self.control(item)
        time.sleep(0.1)  # the submenu's slide-in is over before the picture and the click
        if screenshot:
            self.app.screenshot(screenshot)
        self.click(item)
        wait_until(lambda: item not in self.app.state().get("controls", {}), what="the menu closed")

    def settled_state(self):
        return self.app.settled_state()

    def copy(self, text):
        """Copies `text` in another program and waits for its history row. A fresh start
        captures what the clipboard held before, so the row is found by its content."""
        self.clipboard.put(text)
        return wait_until(lambda: (rows := self.app.history()) and rows[-1][1:3] == ["Text", text] and rows,
                          what=f"a history row of {text!r}")

    def copy_and_read_back(self, text, expected):
        self.copy(text)
        seen = []

        def arrived():
            seen.append(self.clipboard.get().decode("utf-8"))
            return seen[-1] == expected

        try:
            wait_until(arrived, what=f"the clipboard to hold {expected!r}")
        except AssertionError:
            raise AssertionError(f"the clipboard holds {seen[-1]!r}, not {expected!r}") from None
        self.assertEqual(self.app.history()[-1][1:3], ["Text", text], "the history keeps what was copied")

    def assert_same_settings(self, expected, actual):
        differences = []
        for window in sorted(set(expected) | set(actual)):
            mine, theirs = expected.get(window, {}), actual.get(window, {})
            for key in sorted(set(mine) | set(theirs)):
                if window == "Tprog" and key in DETAIL_ROWS:
                    continue
                if mine.get(key, "<missing>") != theirs.get(key, "<missing>"):
                    differences.append(f"{window}.{key}: {mine.get(key, '<missing>')!r} → "
                                       f"{theirs.get(key, '<missing>')!r}")
        self.assertFalse(differences, "settings changed:\n  " + "\n  ".join(differences))

    # --- configuration files as the test reads and writes them -------------------------------

    @staticmethod
    def read_profile(path):
        with open(path, "rb") as f:
            data = f.read()
        if not data.startswith(b"\xff\xfe"):
            raise AssertionError(f"{path} does not begin with the UTF-16 LE byte order mark: {data[:8]!r}")
        return data[2:].decode("utf-16-le")

    @staticmethod
    def write_profile(path, text):
        text = text.replace("\r\n", "\n").replace("\n", "\r\n")
        with open(path, "wb") as f:
            f.write(b"\xff\xfe" + text.encode("utf-16-le"))

    @staticmethod
    def sections(text):
        result, current = {}, None
        for line in text.splitlines():
            if line.startswith("[") and line.endswith("]"):
                current = result.setdefault(line[1:-1], {})
            elif current is not None and "=" in line:
                key, value = line.split("=", 1)
                current[key] = value
        return result

    @staticmethod
    def with_value(text, section, key, value):
        """`text` with one key of one section set, the rest of the file as it was."""
        lines, current, done = text.splitlines(), None, False
        for i, line in enumerate(lines):
            if line.startswith("["):
                current = line
            elif current == f"[{section}]" and line.split("=", 1)[0] == key:
                lines[i] = f"{key}={value}"
                done = True
        if not done:
            raise AssertionError(f"no {key} under [{section}]")
        return "\n".join(lines) + "\n"

    # --- the cases -------------------------------------------------------------------------

    def test_1_settings_made_in_the_window_survive_a_restart(self):
        folder = self.program_folder("restart")
        auto = os.path.join(folder, "Auto.tpf")
        app = self.start(folder)
        self.assertFalse(os.path.exists(auto))

        self.click("cb_suchenersetzen")
        self.click("cb_se_mehrfach")
        self.click("act_ers_casesensitive")  # off: every spelling is replaced
        self.type_into("act_ers_text_suchen", "Paris")
        self.type_into("act_ers_text_ersetzen", "Lutetia")
        self.click("act_ers_text_add")
        self.type_into("act_ers_text_suchen", "R[o]m")
        self.type_into("act_ers_text_ersetzen", "Roma")
        self.click("act_ers_text_suchen_regex")
        self.click("act_ers_text_add")
        # Adding a row empties the fields; what they hold next is a setting of its own.
        self.type_into("act_ers_text_suchen", "Lyon")
        self.type_into("act_ers_text_ersetzen", "Lugdunum")
        self.click("cb_textadd")
        self.type_into("act_textadd_vorne", "<<")
        self.choose_on_exit("m_konfig_autosave_alles", screenshot="config-menu-save-all.png")

        before = self.settled_state()
        program = before["settings"]["Tprog"]
        # The window took every edit: otherwise the restart would compare defaults with defaults.
        self.assertEqual({key: program[key] for key in (
            "cb_suchenersetzen", "cb_se_mehrfach", "act_ers_casesensitive", "act_ers_text_suchen",
            "act_ers_text_ersetzen", "act_ers_text_suchen_regex", "cb_textadd", "act_textadd_vorne")},
            {"cb_suchenersetzen": True, "cb_se_mehrfach": True, "act_ers_casesensitive": False,
             "act_ers_text_suchen": "Lyon", "act_ers_text_ersetzen": "Lugdunum",
             "act_ers_text_suchen_regex": True, "cb_textadd": True, "act_textadd_vorne": "<<"})
        table = before["replaceTable"]["rows"]
        self.assertEqual(len(table), 2, table)
        self.assertEqual([row[:2] for row in table], [["Paris", "Lutetia"], ["R[o]m", "Roma"]])
        self.copy_and_read_back("Paris, PARIS und Rom", "<<Lutetia, Lutetia und Roma")
        app.screenshot("config-before-close.png")

        app.request_close()
        self.assertEqual(app.wait_exit(), 0, app.log_text())
        self.assertTrue(os.path.isfile(auto), "Auto.tpf written on exit")
        saved = self.sections(self.read_profile(auto))
        self.assertEqual(saved.get("AS", {}).get("A"), "1", f"[AS] of Auto.tpf: {saved.get('AS')}")
        self.assertEqual(saved.get("PBME", {}).get("act_ers_text_suchen"), "Lyon")
        self.assertEqual(saved.get("PBCH", {}).get("cb_suchenersetzen"), "1")

        app = self.start(folder)
        after = self.settled_state()
        app.screenshot("config-after-restart.png")
        self.assert_same_settings(before["settings"], after["settings"])
        self.assertEqual({row: after["settings"]["Tprog"].get(row) for row in DETAIL_ROWS},
                         dict.fromkeys(DETAIL_ROWS, False), "every detail box closed after the load")
        self.assertEqual(after["replaceTable"]["rows"], table, "the replacement table is back")
        self.assertEqual(after["captureActive"], before["captureActive"])
        self.copy_and_read_back("Grüße aus paris und Rom", "<<Grüße aus Lutetia und Roma")
        # Off and on again opens the box of search and replace: the loaded fields and table
        # on screen, for the picture.
        self.click("cb_suchenersetzen")
        self.click("cb_suchenersetzen")
        self.control("act_ers_text_liste")
        self.assertEqual(self.settled_state()["settings"]["Tprog"]["cb_suchenersetzen"], True)
        app.screenshot("config-after-restart-fields.png")

        # Saved again on the next exit: Save all is itself a setting that came back.
        os.remove(auto)
        app.request_close()
        self.assertEqual(app.wait_exit(), 0, app.log_text())
        self.assertEqual(self.sections(self.read_profile(auto)).get("AS", {}).get("A"), "1")

    def test_2_a_configuration_on_the_command_line_wins_over_auto_tpf(self):
        folder = self.program_folder("named")
        auto = os.path.join(folder, "Auto.tpf")
        app = self.start(folder)
        self.click("m_konfig")
        self.click("m_konfig_save_start")
        wait_until(lambda: os.path.isfile(auto), what="Auto.tpf saved from the menu")
        app.stop()
        self.running.remove(app)

        text = self.with_value(self.read_profile(auto), "PBCH", "cb_textadd", "1")
        self.write_profile(auto, self.with_value(text, "PBME", "act_textadd_vorne", "auto:"))
        named_text = self.with_value(text, "PBME", "act_textadd_vorne", "named:")
        named = os.path.join(self.base, "named.tpf")
        self.write_profile(named, named_text)
        capitals = os.path.join(self.base, "capitals.TPF")
        self.write_profile(capitals, named_text)

        app = self.start(folder, named)
        self.assertEqual(self.settled_state()["settings"]["Tprog"]["act_textadd_vorne"], "named:")
        self.copy_and_read_back("eins", "named:eins")
        app.stop()

        # Only ".tpf" itself marks a configuration: "capitals.TPF" is passed over, and the
        # start falls back to Auto.tpf as without any.
        app = self.start(folder, capitals)
        self.assertEqual(self.settled_state()["settings"]["Tprog"]["act_textadd_vorne"], "auto:")
        self.copy_and_read_back("zwei", "auto:zwei")

    def test_3_an_unreadable_start_configuration_never_stops_the_start(self):
        folder = self.program_folder("unreadable")
        auto = os.path.join(folder, "Auto.tpf")
        app = self.start(folder)
        defaults = self.settled_state()["settings"]
        app.stop()

        garbage = random.Random(7).randbytes(6000)

        def write(data):
            with open(auto, "wb") as f:
                f.write(data)

        for name, make in (("garbage", lambda: write(garbage)),
                           ("utf16-garbage", lambda: write(b"\xff\xfe" + garbage)),
                           ("folder", lambda: os.mkdir(auto))):
            with self.subTest(name):
                make()
                app = self.start(folder)
                app.screenshot(f"config-start-{name}.png")
                self.copy(f"erfasst nach {name}")
                self.assertEqual(self.settled_state()["settings"], defaults, "nothing taken from the file")
                # A message about the file is allowed; it must not be what holds the start up.
                for box in app.message_boxes():
                    self.display.run(["xdotool", "windowfocus", "--sync", box, "key", "Return"])
                app.stop()
                self.assertTrue(os.path.isdir(auto) if name == "folder" else os.path.isfile(auto),
                                "the unreadable file is left as it was")
                if name != "folder":
                    with open(auto, "rb") as f:
                        self.assertEqual(f.read()[-len(garbage):], garbage)
                    os.remove(auto)

    def test_4_a_failing_save_on_exit_keeps_the_window_open(self):
        folder = self.program_folder("failing")
        auto = os.path.join(folder, "Auto.tpf")
        app = self.start(folder)
        self.choose_on_exit("m_konfig_autosave_alles")
        # The folder comes after the start, so any message box is the one of the save.
        os.mkdir(auto)
        self.assertEqual(app.message_boxes(), [])
        app.request_close()
        boxes = wait_until(app.message_boxes, what="an error message box")
        time.sleep(0.5)
        app.screenshot("config-save-failed.png")
        self.assertTrue(app.alive(), "the close was refused")
        self.assertIn(app.main_window, app.visible_windows(), "the main window stays visible")
        self.assertTrue(app.state().get("windowVisible"))

        self.display.run(["xdotool", "windowfocus", "--sync", boxes[0], "key", "Return"])
        wait_until(lambda: not app.message_boxes(), what="the message box dismissed")
        time.sleep(0.5)
        self.assertTrue(app.alive(), "still running after the message")
        self.assertIn(app.main_window, app.visible_windows())
        self.copy("nach dem Fehler")
        self.assertEqual(sorted(os.listdir(folder)), ["Auto.tpf", "regex-help.html", "tessaro"],
                         "nothing half-written is left beside the program")

        # With Never the same close request ends the program and leaves the folder alone.
        self.choose_on_exit("m_konfig_autosave_nie")
        app.request_close()
        self.assertEqual(app.wait_exit(), 0, app.log_text())
        self.assertTrue(os.path.isdir(auto))
        self.assertEqual(os.listdir(auto), [])


if __name__ == "__main__":
    run_tests()
