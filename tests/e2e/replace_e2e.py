# SPDX-License-Identifier: GPL-3.0-or-later
"""End to end: search and replace and the text additions set up through the real window;
another program's copy comes back replaced, with the texts in front and behind, while the
history keeps what was copied. The replacement table is filled and reordered by dragging."""

import time

from harness import ProgramTest, run_tests, wait_until


class Replace(ProgramTest):
    def tearDown(self):
        outcome = getattr(self, "_outcome", None)
        result = getattr(outcome, "result", None)
        if result and any(test is self for test, _ in result.failures + result.errors):
            self.app.screenshot(f"replace-failed-{self._testMethodName}.png")

    def drag(self, source, target):
        (x0, y0), (x1, y1) = source, target
        run = self.display.run
        run(["xdotool", "mousemove", "--sync", str(x0), str(y0), "mousedown", "1"])
        for step in range(1, 9):
            run(["xdotool", "mousemove", "--sync", str(x0 + (x1 - x0) * step // 8), str(y0 + (y1 - y0) * step // 8)])
            time.sleep(0.05)
        run(["xdotool", "mouseup", "1"])

    def copy_and_read_back(self, text, expected):
        before = len(self.app.history())
        self.clipboard.put(text)
        rows = self.app.wait_for_rows(before + 1)
        seen = []

        def pasted():
            seen.append(self.clipboard.get().decode("utf-8"))
            return seen[-1] == expected

        try:
            wait_until(pasted, what=f"the clipboard to hold {expected!r}")
        except AssertionError:
            raise AssertionError(f"the clipboard holds {seen[-1]!r}, not {expected!r}; "
                                 f"state {self.app.state().get('suppressCount')}") from None
        return rows, expected

    def test_1_replace_and_add_text_through_the_window(self):
        self.click("cb_suchenersetzen")
        # xdotool types characters outside the keyboard map by remapping a key on the fly,
        # which a busy display can miss: the typed texts keep to the map, the copies do not.
        self.type_into("act_ers_text_suchen", "Paris")
        self.type_into("act_ers_text_ersetzen", "Lutetia")
        self.click("cb_textadd")  # opens its own box and closes the other
        self.type_into("act_textadd_vorne", "<<")
        self.type_into("act_textadd_hinten", ">>")
        self.app.screenshot("replace-fields.png")
        copied = "Grüße aus Paris, paris und PARIS – 5 €"
        rows, _ = self.copy_and_read_back(copied, "<<Grüße aus Lutetia, paris und PARIS – 5 €>>")
        self.assertEqual(rows[-1][1:3], ["Text", copied], "the history keeps the original")
        wait_until(lambda: self.app.state()["suppressCount"] == 0, what="suppressCount 0")
        self.assertEqual(len(self.app.history()), len(rows), "own write-backs are not captured")

        # Case-insensitive: every spelling goes.
        self.click("cb_textadd")  # off: the additions stop
        self.click("cb_suchenersetzen")  # off, then on again to open its box
        self.click("cb_suchenersetzen")
        self.click("act_ers_casesensitive")
        self.copy_and_read_back("Paris, paris, PARİS, PARIS", "Lutetia, Lutetia, PARİS, Lutetia")

    def test_2_table_rows_apply_in_order_and_move_by_dragging(self):
        self.click("cb_se_mehrfach")
        self.click("act_ers_text_delete")
        for search, replacement in (("a", "b"), ("b", "c"), ("c", "d")):
            self.type_into("act_ers_text_suchen", search)
            self.type_into("act_ers_text_ersetzen", replacement)
            self.click("act_ers_text_add")
        table = wait_until(lambda: len(self.app.state().get("replaceTable", {}).get("rows", [])) == 3
                           and self.app.state()["replaceTable"]["rows"], what="three table rows")
        self.assertEqual(table, [["a", "b", "-"], ["b", "c", "-"], ["c", "d", "-"]])
        self.copy_and_read_back("a-b-c", "d-d-d")

        # Drag the last row onto the first: c→d, a→b, b→c.
        x, y, w, h = self.control("act_ers_text_liste")
        header = 20
        row_height = 18
        first = (x + 30, y + header + row_height // 2)
        last = (x + 30, y + header + 2 * row_height + row_height // 2)
        self.display.run(["xdotool", "mousemove", "--sync", str(last[0]), str(last[1]), "click", "1"])
        self.drag(last, first)
        table = wait_until(lambda: self.app.state()["replaceTable"]["rows"][0][0] == "c"
                           and self.app.state()["replaceTable"]["rows"], what="the dragged row on top")
        self.assertEqual([r[0] for r in table], ["c", "a", "b"])
        self.app.screenshot("replace-table.png")
        self.copy_and_read_back("a-b-c", "c-c-d")

    def test_3_a_regex_error_is_shown_and_the_text_passes(self):
        x, y, w, h = self.control("act_ers_text_liste")
        self.display.run(["xdotool", "mousemove", "--sync", str(x + 30), str(y + 29), "click", "1"])
        self.display.run(["xdotool", "key", "ctrl+a", "Delete"])
        wait_until(lambda: not self.app.state()["replaceTable"]["rows"], what="an empty table")
        self.click("act_ers_text_delete")  # the click on a row copied it into the fields
        self.type_into("act_ers_text_suchen", "a)")
        self.click("act_ers_text_suchen_regex")
        self.copy_and_read_back("a)b", "a)b")
        self.control("act_ers_text_suchen_regfehler")
        self.app.screenshot("replace-error.png")
        # Editing the memo clears the mark.
        self.type_into("act_ers_text_suchen", "")
        self.display.run(["xdotool", "key", "BackSpace"])
        wait_until(lambda: "act_ers_text_suchen_regfehler" not in self.app.state()["controls"],
                   what="the error mark gone")


if __name__ == "__main__":
    run_tests()
