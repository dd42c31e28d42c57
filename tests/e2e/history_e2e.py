# SPDX-License-Identifier: GPL-3.0-or-later
"""End to end: the history list of the real program. A double click on a row puts its
text back on the X11 clipboard without adding a row; the popup menu deletes rows; the
history is saved through the save dialog; the search above the list, reached with Ctrl+F,
shows the matching rows and Esc shows all again."""

import os
import tempfile
import shutil
import time

from harness import ProgramTest, run_tests, wait_until


class History(ProgramTest):
    def copy_and_wait(self, text):
        before = len(self.app.history())
        self.clipboard.put(text)
        self.app.wait_for_rows(before + 1)
        time.sleep(0.25)

    def row_point(self, row):
        """The screen point in the middle of the first cell of a history row."""
        controls = self.app.state()["controls"]
        x, y, w, h = controls["zuletzt/viewport"]
        height = controls["zuletzt/rowHeight"][0]
        return x + min(30, w // 2), y + row * height + height // 2

    def mouse(self, point, *actions):
        self.display.run(["xdotool", "mousemove", "--sync", str(point[0]), str(point[1])] + list(actions))

    def test_1_double_click_copies_the_row_back_without_a_new_row(self):
        for text in ("erster Text", "zweiter Text – ü", "dritter Text"):
            self.copy_and_wait(text)
        self.assertEqual([r[2] for r in self.app.history()], ["erster Text", "zweiter Text – ü", "dritter Text"])
        self.assertEqual(self.clipboard.get().decode("utf-8"), "dritter Text")
        time.sleep(0.3)
        self.mouse(self.row_point(1), "click", "--repeat", "2", "--delay", "60", "1")
        wait_until(lambda: self.clipboard.get().decode("utf-8") == "zweiter Text – ü", timeout=10,
                   what="the second text back on the clipboard")
        # The copied-back text went through the pipeline (the details list shows it) ...
        wait_until(lambda: any(r[0] == "UNICODETEXT" and r[2] == "zweiter Text – ü" for r in self.app.details()),
                   what="the details of the copied-back text")
        time.sleep(0.5)
        # ... and added no row.
        self.assertEqual(len(self.app.history()), 3)
        self.app.screenshot("history-copied-back.png")

    def test_2_popup_menu_deletes_the_selected_row(self):
        rows = self.app.history()
        self.assertEqual(len(rows), 3)
        point = self.row_point(0)
        self.mouse(point, "click", "1")
        time.sleep(0.2)
        self.mouse(point, "click", "3")
        wait_until(lambda: "pop2" in self.app.state()["controls"], what="the popup menu")
        self.app.screenshot("history-popup.png")
        self.app.click("pop2")
        wait_until(lambda: len(self.app.history()) == 2, what="the row deleted")
        self.assertEqual([r[2] for r in self.app.history()], ["zweiter Text – ü", "dritter Text"])

    def test_3_ctrl_s_saves_the_history_through_the_dialog(self):
        folder = tempfile.mkdtemp(prefix="tessaro-history-")
        try:
            target = os.path.join(folder, "verlauf")
            self.app.key("ctrl+s")
            time.sleep(1.5)  # the save dialog opens
            self.app.screenshot("history-save-dialog.png")
            self.display.run(["xdotool", "key", "ctrl+a"])
            self.display.run(["xdotool", "type", "--delay", "5", target])
            self.display.run(["xdotool", "key", "Return"])
            saved = target + ".txt"  # the dialog adds the default extension
            wait_until(lambda: os.path.exists(saved) and os.path.getsize(saved) > 0, timeout=10,
                       what="the saved history")
            with open(saved, "rb") as f:
                data = f.read()
            # A character beyond Latin-1 (the dash): UTF-8 with its start bytes.
            self.assertEqual(data, "\ufeffzweiter Text – ü\r\ndritter Text\r\n".encode("utf-8"))
        finally:
            shutil.rmtree(folder, ignore_errors=True)

    def shown(self, state):
        rows = state.get("history", {}).get("rows", [])
        return [rows[i][2] for i in state.get("historyShown", [])]

    def test_4_ctrl_f_searches_the_history_and_esc_shows_all_again(self):
        for text in ("Straße am Markt", "STRASSENBAHN fährt", "Bahnhof"):
            self.copy_and_wait(text)
        everything = [r[2] for r in self.app.history()]
        self.assertEqual(len(everything), 5)
        self.app.key("ctrl+f")
        self.display.run(["xdotool", "type", "--delay", "40", "strasse"])
        wait_until(lambda: self.app.state().get("historyFilter") == "strasse", what="the typed search")
        wait_until(lambda: self.shown(self.app.state()) == ["Straße am Markt", "STRASSENBAHN fährt"],
                   what="the matching rows, ß found as ss")
        self.app.screenshot("history-search.png")
        # A capture while searching shows when it matches and is kept either way.
        self.copy_and_wait("Bahnstrasse 5")
        self.copy_and_wait("nichts davon")
        state = self.app.settled_state()
        self.assertEqual(self.shown(state), ["Straße am Markt", "STRASSENBAHN fährt", "Bahnstrasse 5"])
        self.assertEqual(len(state["history"]["rows"]), 7)
        self.app.key("Escape")
        wait_until(lambda: self.app.state().get("historyFilter") == "", what="Esc emptied the search")
        state = self.app.settled_state()
        self.assertEqual(self.shown(state), everything + ["Bahnstrasse 5", "nichts davon"])


if __name__ == "__main__":
    run_tests()
