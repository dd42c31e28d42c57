# SPDX-License-Identifier: GPL-3.0-or-later
"""End to end: the fields of the action rows under real typing. Editing keys stay in the
field that has the focus (Ctrl+Del deletes a word, not the history); the number lists take
digits only and say so; a list left empty gets its fallback; file-name lists refuse ":"
while folder fields take it; the image format cannot be typed; the bottom strip offers to
bring a deleted history back."""

import subprocess
import time

from harness import ProgramTest, run_tests, wait_until


class Fields(ProgramTest):
    def setting(self, name):
        return self.app.state()["settings"]["Tprog"][name]

    def message_boxes(self):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Information$"],
                               env=self.display.env, capture_output=True).stdout
        return found.split()

    def test_1_ctrl_del_in_a_field_deletes_a_word_and_keeps_the_history(self):
        for text in ("eins", "zwei"):
            before = len(self.app.history())
            self.clipboard.put(text)
            self.app.wait_for_rows(before + 1)
            time.sleep(0.3)
        self.click("cb_textadd")
        self.type_into("act_textadd_vorne", "erstes zweites")
        self.display.run(["xdotool", "key", "ctrl+Home", "ctrl+Delete"])
        wait_until(lambda: self.setting("act_textadd_vorne") == "zweites", what="the word deleted in the field")
        time.sleep(0.3)
        self.assertEqual(len(self.app.history()), 2, "the history is intact")

        # Ctrl+Del outside a text field is "Delete History"; the strip offers the undo.
        self.click("zuletzt")
        self.display.run(["xdotool", "key", "ctrl+Delete"])
        wait_until(lambda: not self.app.history(), what="the history deleted")
        self.assertIn("Undo", self.app.state()["strip"])
        self.click("lb_status")
        wait_until(lambda: len(self.app.history()) == 2, what="the history back")
        self.click("cb_textadd")

    def test_2_number_lists_take_digits_only_and_fall_back_when_left_empty(self):
        self.click("cb_resizeimg")
        self.type_into("act_sizebenutzer_y", "7x")
        wait_until(self.message_boxes, what="the digits-only message")
        self.app.screenshot("digits-only-message.png")
        self.display.run(["xdotool", "key", "Return"])  # the message box has the focus
        wait_until(lambda: not self.message_boxes(), what="the message closed")
        self.assertEqual(self.setting("act_sizebenutzer_y"), "4807", "the letter did not arrive")

        # Backspace is the one control key the list takes (Ctrl+A would type a refused
        # control character).
        self.type_into("act_sizebenutzer_y", "")
        self.display.run(["xdotool", "key", "End", "BackSpace", "BackSpace", "BackSpace", "BackSpace"])
        wait_until(lambda: self.setting("act_sizebenutzer_y") == "", what="the emptied list")
        self.click("act_sizebenutzer_x")  # leaving the list
        wait_until(lambda: self.setting("act_sizebenutzer_y") == "480", what="the fallback 480")
        self.click("cb_resizeimg")

    def test_3_names_refuse_colons_folders_take_them_and_the_image_format_is_picked_only(self):
        self.click("cb_savetxt")
        self.type_into("savetxt_name", "a:b")
        wait_until(lambda: "ab" in self.setting("savetxt_name"), what="the typed name")
        self.assertNotIn(":", self.setting("savetxt_name"))
        self.type_into("savetxt_ordner", "c:d")
        wait_until(lambda: "c:d" in self.setting("savetxt_ordner"), what="the typed folder")
        self.click("cb_saveimg")
        before = self.setting("saveimg_format")
        self.type_into("saveimg_format", "abc")
        time.sleep(0.5)
        self.assertEqual(self.setting("saveimg_format"), before)
        self.click("cb_saveimg")


if __name__ == "__main__":
    run_tests()
