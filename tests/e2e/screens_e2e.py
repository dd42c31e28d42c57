# SPDX-License-Identifier: GPL-3.0-or-later
"""The windows on three screens, in both languages: a large screen, a small one, and the large
one at twice the scale (where the windows see a screen of half its size). Each settings
dialog opens with its OK button on the screen; a picture of the main window with the cut
panel open and of every dialog goes to the artifacts folder, to be looked at by eye."""

import os
import subprocess
import tempfile
import time
import unittest

from harness import Display, ProgramTest, Tessaro, run_tests, wait_until

# The settings menu's items, the dialog each opens, its OK button, and the picture's name.
DIALOGS = (("einst_akt", "Teinstausgabe", "OK", "output-settings"),
           ("einst_regex", "Teinstregex", "Button1", "regex-settings"),
           ("einst_verl", "Teinstverlauf", "Button1", "history-settings"))


# Each top-level menu of the main window by the item that shows last in it; the help menu
# of each language.
MENUS = (("Programm1", "m_close"), ("einst", "einst_spr"), ("m_konfig", "m_konfig_start"))
HELP = {"en": ("Information1", "Information_intro", "Information_bugreport"),
        "de": ("Hilfe1", "Hilfe_intro", "Hilfe_bugreport")}


class ScaledTessaro(Tessaro):
    """The program at a Qt scale factor, started in `language`: a file of that name in its
    working directory chooses it."""

    def __init__(self, executable, display, artifacts, language, scale):
        self.display = display
        self.artifacts = artifacts
        self.scale = scale
        self.pointer = None
        self.workdir = tempfile.mkdtemp(prefix="tessaro-e2e-screen-")
        open(os.path.join(self.workdir, language), "w").close()
        self.state_path = os.path.join(self.workdir, "state.json")
        self.log = open(os.path.join(self.workdir, "tessaro.log"), "w")
        self.process = subprocess.Popen([executable, "--state-file", self.state_path], cwd=self.workdir,
                                        env=dict(display.env, QT_SCALE_FACTOR=str(scale)),
                                        stdout=self.log, stderr=subprocess.STDOUT)
        wait_until(lambda: self.state().get("windowVisible"), timeout=15, what="the main window")

    def on_screen(self, name):
        """A control's rectangle in the screen's pixels; the state file gives Qt's, which are
        larger by the scale."""
        return [side * self.scale for side in self.state()["controls"][name]]

    def click(self, control):
        x, y, w, h = self.on_screen(control)
        at = [str(x + min(8, w // 2)), str(y + h // 2)]
        # --sync waits for the pointer to move: it would wait in vain for a second click on
        # the spot where the pointer already is.
        moving = ["--sync"] if at != self.pointer else []
        self.display.run(["xdotool", "mousemove", *moving, *at, "click", "1"])
        self.pointer = at

    def shows(self, name):
        return name in self.state().get("controls", {})


class Screen(unittest.TestCase):
    """One screen size and scale; each language runs the program once on it."""

    size = "1600x1000"
    scale = 1

    @classmethod
    def setUpClass(cls):
        cls.display = Display(cls.size)

    @classmethod
    def tearDownClass(cls):
        cls.display.stop()

    def assertInside(self, app, name, outer):
        """`name` lies wholly inside `outer`, a control's name or the screen (None)."""
        x, y, w, h = app.on_screen(name)
        left, top, width, height = app.on_screen(outer) if outer else (0, 0, *self.display.size)
        self.assertTrue(x >= left and y >= top and x + w <= left + width and y + h <= top + height,
                        f"{name} at {x},{y} {w}x{h} is cut off by {outer or 'the screen'} at {left},{top} "
                        f"{width}x{height}")

    @staticmethod
    def open_menu(app, item, menu="einst"):
        """Opens `menu` until it shows `item`: on a busy machine, a click right after a
        dialog closed has been seen to leave the menu shut."""
        for _ in range(3):
            app.click(menu)
            try:
                wait_until(lambda: app.shows(item), timeout=3, what=f"the menu item {item}")
                return
            except AssertionError:
                continue
        wait_until(lambda: app.shows(item), what=f"the menu item {item}")

    def open_and_close_every_dialog(self, language):
        app = ScaledTessaro(ProgramTest.options.tessaro, self.display, ProgramTest.options.artifacts, language,
                            self.scale)
        try:
            tag = f"{self.size}-scale{self.scale}-{language}"
            app.click("cb_cutimg")
            wait_until(lambda: app.shows("act_zuschunten"), what="the cut panel")
            time.sleep(0.3)  # drawn
            app.screenshot(f"screens-{tag}-main-cut.png")
            self.assertInside(app, "act_zuschunten", "pa004b")
            app.click("cb_cutimg")
            wait_until(lambda: not app.shows("act_zuschunten"), what="the cut panel closed")
            for item, dialog, ok, picture in DIALOGS:
                self.open_menu(app, item)
                app.click(item)
                wait_until(lambda: app.shows(ok), what=f"the {picture} dialog")
                time.sleep(0.3)
                app.screenshot(f"screens-{tag}-{picture}.png")
                self.assertInside(app, dialog, None)
                self.assertInside(app, ok, dialog)
                app.click(ok)
                wait_until(lambda: not app.shows(ok), what=f"the {picture} dialog closed by {ok}")
            self.look_at_menus_and_help(app, language, tag)
            self.assertTrue(app.alive())
        finally:
            app.stop()

    def close_with_escape(self, app, shown):
        self.display.run(["xdotool", "key", "Escape"])
        wait_until(lambda: not app.shows(shown), what=f"{shown} closed")

    def look_at_menus_and_help(self, app, language, tag):
        """Every menu open, the language submenu too, and the two help windows: on the screen."""
        help_menu, intro, report = HELP[language]
        for menu, last in MENUS + ((help_menu, report),):
            self.open_menu(app, last, menu)
            if menu == "einst":
                x, y, w, h = app.on_screen("einst_spr")
                self.display.run(["xdotool", "mousemove", "--sync", str(x + w // 2), str(y + h // 2)])
                wait_until(lambda: app.shows("einst_spr_en"), what="the language submenu")
                self.assertInside(app, "einst_spr_en", None)
            time.sleep(0.2)  # drawn
            app.screenshot(f"screens-{tag}-menu-{menu}.png")
            self.assertInside(app, last, None)
            if menu == "einst":
                self.close_with_escape(app, "einst_spr_en")  # the submenu first
            self.close_with_escape(app, last)
        for item, shown in ((intro, "txt_intro"), (report, "ed_description")):
            self.open_menu(app, item, help_menu)
            app.click(item)
            wait_until(lambda: app.shows(shown), what=f"the window of {item}")
            time.sleep(0.3)
            app.screenshot(f"screens-{tag}-{item}.png")
            self.assertInside(app, shown, None)
            self.assertInside(app, "bt_close", None)
            app.click("bt_close")
            wait_until(lambda: not app.shows(shown), what=f"the window of {item} closed")

    def test_english(self):
        self.open_and_close_every_dialog("en")

    def test_german(self):
        self.open_and_close_every_dialog("de")


class SmallScreen(Screen):
    size = "800x600"


class DoubleScale(Screen):
    scale = 2


if __name__ == "__main__":
    run_tests()
