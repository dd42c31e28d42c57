# SPDX-License-Identifier: GPL-3.0-or-later
"""End to end: the real program captures what other programs copy, lists the formats,
can be switched off with F3, and writes back content that other programs can paste."""

import io
import os
import select
import shutil
import tempfile
import subprocess
import sys
import time

from PIL import Image

from harness import ProgramTest, run_tests, wait_until


class Capture(ProgramTest):
    def copy_and_wait(self, data, mime=None):
        before = len(self.app.history())
        self.clipboard.put(data, mime)
        return self.app.wait_for_rows(before + 1)

    def type_folder(self, folder):
        """Types the save folder as a user would and waits until the window holds it. A click
        made while the freshly shown fields still move, or a key a busy display drops, is
        typed again rather than saving somewhere else."""
        def holds_folder():
            return self.app.state()["settings"]["Tprog"].get("savetxt_ordner") == folder
        for _ in range(3):
            self.app.click("savetxt_ordner")
            self.display.run(["xdotool", "key", "ctrl+a", "BackSpace", "type", "--delay", "15", folder])
            try:
                return wait_until(holds_folder, timeout=3, what="the typed folder")
            except AssertionError:
                pass
        self.assertEqual(self.app.state()["settings"]["Tprog"].get("savetxt_ordner"), folder)

    def test_1_text_with_umlauts_and_euro(self):
        text = "Grüße aus Köln – 5 €"
        rows = self.copy_and_wait(text)
        time_cell, kind, content, number = rows[-1]
        self.assertEqual((kind, content), ("Text", text))
        self.assertRegex(time_cell, r"\d")
        self.assertEqual(number, str(sum(1 for r in rows if r[1] == "Text") - 1))
        details = {row[0]: row for row in self.app.details()}
        self.assertEqual(details["UNICODETEXT"][1:], ["13", text])
        # 8-bit text in Windows-1252: the en dash and the euro sign exist there; the block
        # ends with its 0 byte.
        self.assertEqual(details["TEXT"][1:], ["1", text + "\0"])
        state = self.app.state()
        self.assertEqual(state["activePage"], "tab_txt")
        self.assertEqual(state["tabs"], ["Text", "Details"])
        self.assertEqual(state["suppressCount"], 0)

    def test_2_png_image(self):
        image = Image.new("RGB", (64, 48), (200, 30, 30))
        image.putpixel((0, 0), (0, 0, 255))
        data = io.BytesIO()
        image.save(data, "PNG")
        rows = self.copy_and_wait(data.getvalue(), "image/png")
        self.assertEqual(rows[-1][1:3], ["Image", "64 x 48"])
        state = self.app.state()
        self.assertEqual(state["activePage"], "tab_img")
        self.assertEqual(state["tabs"], ["Image", "Details"])
        self.assertNotIn("BITMAP", [row[0] for row in self.app.details()], "a bitmap has no memory block")
        self.app.screenshot("capture-image.png")

    def test_3_html_fragment_is_a_registered_format(self):
        before = self.app.state()
        self.clipboard.put("<b>fett</b> &amp; klar", "text/html")
        details = wait_until(lambda: [r for r in self.app.details() if r[0] == "text/html"], what="text/html row")
        self.assertEqual(details[0][2], "<b>fett</b> &amp; klar")
        self.assertGreaterEqual(int(details[0][1]), 0xC000)
        self.assertEqual(self.app.history(), before["history"]["rows"], "no text or image row for HTML only")

    def test_4_f3_switches_capture_off_and_on(self):
        self.app.key("F3")
        wait_until(lambda: self.app.state().get("captureActive") is False, what="capture off")
        rows = len(self.app.history())
        self.clipboard.put("nicht erfasst")
        time.sleep(1.0)
        self.assertEqual(len(self.app.history()), rows)
        self.app.key("F3")
        wait_until(lambda: self.app.state().get("captureActive") is True, what="capture on")
        self.copy_and_wait("wieder erfasst")

    def test_5_write_back_is_pasteable_and_not_captured_and_the_next_copy_is(self):
        self.app.click("cb_suchenersetzen")
        wait_until(lambda: True)
        rows = len(self.app.history())
        self.clipboard.put("zurückgeschrieben")
        time.sleep(0.2)
        self.clipboard.put("200 ms danach")
        history = self.app.wait_for_rows(rows + 2)
        time.sleep(1.0)
        history = self.app.history()
        self.assertEqual([r[2] for r in history[rows:]], ["zurückgeschrieben", "200 ms danach"])
        self.assertEqual(self.app.state()["suppressCount"], 0)
        # Tessaro owns the clipboard now; another program pastes its text.
        self.assertIn("UTF8_STRING", self.clipboard.targets())
        self.assertEqual(self.clipboard.get().decode("utf-8"), "200 ms danach")
        self.app.click("cb_suchenersetzen")

    def test_6_image_write_back_is_pasteable(self):
        self.app.click("cb_cutimg")
        image = Image.new("RGB", (7, 5), (10, 200, 30))
        image.putpixel((6, 4), (250, 0, 250))
        data = io.BytesIO()
        image.save(data, "PNG")
        rows = len(self.app.history())
        self.clipboard.put(data.getvalue(), "image/png")
        self.app.wait_for_rows(rows + 1)
        # Cutting asks for the cut-out in its dialog: a click on the picture (no frame, so
        # no margins) puts the focus on OK, and Return closes the dialog.
        def cut_out_dialog():
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Choose the Cutout"],
                                   env=self.display.env, capture_output=True)
            return found.stdout.split() if found.returncode == 0 else None

        dialog = wait_until(cut_out_dialog, what="the cut-out dialog")
        geometry = self.display.run(["xdotool", "getwindowgeometry", dialog[0]]).stdout.decode()
        x, y = (int(v) for v in geometry.split("Position: ")[1].split(" ")[0].split(","))
        self.display.run(["xdotool", "mousemove", "--sync", str(x + 15), str(y + 15), "click", "1"])
        self.display.run(["xdotool", "key", "Return"])
        wait_until(lambda: not cut_out_dialog(), what="the dialog to close")
        wait_until(lambda: "image/png" in self.clipboard.targets(), what="tessaro offering image/png")
        pasted = Image.open(io.BytesIO(self.clipboard.get("image/png"))).convert("RGB")
        self.assertEqual(pasted.size, (7, 5))
        self.assertEqual(pasted.getpixel((6, 4)), (250, 0, 250))
        self.assertEqual(pasted.getpixel((0, 0)), (10, 200, 30))
        time.sleep(0.5)
        self.assertEqual(len(self.app.history()), rows + 1)
        self.app.click("cb_cutimg")

    def test_7_an_owner_that_never_answers_leaves_the_display_and_says_so(self):
        self.copy_and_wait("vorher")
        owner = subprocess.Popen([sys.executable, os.path.join(os.path.dirname(__file__), "hanging_owner.py"), "8"],
                                 env=self.display.env, stdout=subprocess.PIPE, text=True)
        self.addCleanup(owner.stdout.close)
        try:
            self.assertEqual(owner.stdout.readline().strip(), "owner")
            with self.answering() as ping:
                state = wait_until(lambda: "did not answer" in self.app.state().get("status", "") and self.app.state(),
                                   timeout=10, what="the note on the silent owner")
            self.assertAnsweredInTime(ping)
            self.assertEqual(state["displayStart"], "vorher", "the previous display stays")
            self.assertIn("vorher", [row[2] for row in state["details"]["rows"]])
            self.assertTrue(self.app.alive())
        finally:
            owner.wait(timeout=20)
        time.sleep(0.5)
        self.copy_and_wait("danach wieder da")
        self.assertEqual(self.app.history()[-1][2], "danach wieder da")
        self.assertEqual(self.app.state()["status"], "")

    def test_7b_the_last_copy_of_a_fast_burst_is_captured(self):
        time.sleep(0.3)
        rows = len(self.app.history())
        texts = [f"Eile {i}" for i in range(6)]
        started = time.monotonic()
        for text in texts:
            self.clipboard.put(text)
        burst = time.monotonic() - started
        wait_until(lambda: len(self.app.history()) > rows and self.app.history()[-1][2] == texts[-1],
                   timeout=5, what="the last copy of the burst in the history")
        details = {row[0]: row for row in self.app.details()}
        self.assertEqual(details["UNICODETEXT"][2], texts[-1], "the details list shows the last copy too")
        captured = len(self.app.history()) - rows
        # Runs start at most every 175 ms; the burst took `burst` seconds.
        self.assertLessEqual(captured, 2 + int(burst / 0.175), f"{captured} runs for a burst of {burst:.2f} s")
        time.sleep(0.5)
        self.assertEqual(len(self.app.history()) - rows, captured, "no run after the deferred one")

    def own(self, *args):
        """Another program that owns the clipboard with the given x11_owner.py arguments."""
        owner = subprocess.Popen(["/usr/bin/python3", os.path.join(os.path.dirname(__file__), "x11_owner.py"),
                                  "--exit-after", "60", *args],
                                 env=self.display.env, stdout=subprocess.PIPE, text=True)
        self.addCleanup(lambda: (owner.kill(), owner.wait(), owner.stdout.close()))
        self.assertEqual(owner.stdout.readline().strip(), "owner")
        return owner

    def file_with(self, data):
        path = os.path.join(tempfile.mkdtemp(prefix="tessaro-e2e-data-"), "data")
        with open(path, "wb") as f:
            f.write(data)
        self.addCleanup(shutil.rmtree, os.path.dirname(path))
        return path

    def test_7c_an_action_that_changes_nothing_leaves_a_rich_copy_whole(self):
        html = "<p>Gr\u00fc\u00dfe \u2014 <b>fett</b></p>".encode("utf-8")
        picture = io.BytesIO()
        Image.new("RGB", (5, 4), (1, 2, 3)).save(picture, "PNG")
        self.app.click("cb_suchenersetzen")
        self.addCleanup(self.app.click, "cb_suchenersetzen")
        rows = len(self.app.history())
        self.own("--text", "reich", "--data", "text/html=" + self.file_with(html),
                 "--data", "image/png=" + self.file_with(picture.getvalue()))
        self.app.wait_for_rows(rows + 2)
        time.sleep(0.5)
        self.assertEqual(self.clipboard.get("text/html"), html, "the formatted text is still offered")
        self.assertEqual(self.clipboard.get("image/png"), picture.getvalue())
        details = {row[0]: row for row in self.app.details()}
        self.assertEqual(details["text/html"][2], html.decode("utf-8"), "text types are read as UTF-8")

    def test_7d_a_picture_that_does_not_decode_leaves_the_text_its_run(self):
        rows = len(self.app.history())
        self.own("--text", "Text bleibt", "--data", "image/png=" + self.file_with(b"no picture at all"))
        history = self.app.wait_for_rows(rows + 1)
        self.assertEqual(history[-1][2], "Text bleibt")
        state = wait_until(lambda: "no bitmap" in self.app.state().get("status", "") and self.app.state(),
                           what="the note on the picture")
        self.assertIn("image/png", [row[0] for row in state["details"]["rows"]])

    def test_7e_a_large_text_arrives_whole(self):
        size = 20_000_000
        rows = len(self.app.history())
        self.own("--size", str(size))
        self.app.wait_for_rows(rows + 1, timeout=30)
        state = self.app.state()
        self.assertEqual(state["displayLength"], size)
        self.assertTrue(state["displayStart"].startswith("000000000\n000000001\n"))
        self.assertEqual(state["status"], "")

    def test_7f_a_secret_copy_leaves_no_trace(self):
        rows = len(self.app.history())
        self.own("--text", "Kennwort-4711", "--data", "x-kde-passwordManagerHint=" + self.file_with(b"secret"))
        state = wait_until(lambda: any(r[0] == "x-kde-passwordManagerHint" for r in self.app.details())
                           and self.app.state(), what="the secret copy's formats")
        self.assertEqual(len(state["history"]["rows"]), rows)
        self.assertEqual({row[2] for row in state["details"]["rows"]}, {"(hidden)"})
        with open(self.app.state_path, encoding="utf-8") as f:
            self.assertNotIn("Kennwort-4711", f.read())

    def test_7g_a_copy_outlives_the_program_that_made_it(self):
        html = "<i>bleibt \u2014 da</i>".encode("utf-8")
        picture = io.BytesIO()
        Image.new("RGB", (3, 2), (9, 8, 7)).save(picture, "BMP")
        rows = len(self.app.history())
        owner = self.own("--text", "bleibt da", "--data", "text/html=" + self.file_with(html),
                         "--data", "image/png=" + self.file_with(b"broken"),
                         "--data", "image/bmp=" + self.file_with(picture.getvalue()))
        self.app.wait_for_rows(rows + 2)
        owner.kill()
        owner.wait()
        wait_until(lambda: subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.display.env,
                                          capture_output=True).stdout == "bleibt da".encode("utf-8"),
                   what="the text offered by Tessaro after its owner exited")
        self.assertEqual(self.clipboard.get("text/html"), html)
        self.assertEqual(self.clipboard.get("image/bmp"), picture.getvalue(), "the picture type that decoded")
        self.assertNotIn("image/png", self.clipboard.targets())
        time.sleep(0.5)
        self.assertEqual(len(self.app.history()), rows + 2, "taking the copy over is no new copy")

    def test_7h_the_window_answers_while_an_owner_answers_late(self):
        rows = len(self.app.history())
        with self.answering() as ping:
            self.own("--text", "spät, aber da", "--answer-after", "2.5")
            time.sleep(0.6)  # the run now waits for the owner
            for wanted in (False, True):
                started = time.monotonic()
                self.app.key("F3")
                wait_until(lambda: self.app.state().get("captureActive") is wanted, timeout=5, what="F3 handled")
                # xdotool and the state file add their own delays; a window frozen until the owner
                # answers would take 1.9 s at the least.
                self.assertLess(time.monotonic() - started, 1.5, "the window answered during the transfer")
            history = self.app.wait_for_rows(rows + 1, timeout=10)
        self.assertAnsweredInTime(ping)
        self.assertEqual(history[-1][2], "spät, aber da")
        self.assertEqual(self.app.state()["status"], "")

    def test_7i_an_owner_that_exits_mid_transfer_stops_nothing(self):
        rows = len(self.app.history())
        with self.answering() as ping:
            self.own("--size", "5000000", "--chunk", "65536", "--exit-mid-transfer")
            time.sleep(1.5)
        self.assertAnsweredInTime(ping)
        self.assertTrue(self.app.alive())
        self.assertEqual(len(self.app.history()), rows, "no half text in the history")
        self.copy_and_wait("nach dem Abbruch")
        self.assertEqual(self.app.history()[-1][2], "nach dem Abbruch")

    def test_7j_formats_that_come_too_late_are_listed_empty(self):
        # Every answer takes 0.6 s: the text has 10 s, all other formats 1 s together.
        rows = len(self.app.history())
        self.own("--text", "langsam", "--targets", "x-first,x-second,x-third", "--answer-after", "0.6")
        self.app.wait_for_rows(rows + 1, timeout=15)
        details = wait_until(lambda: {r[0]: r for r in self.app.details() if r[0].startswith("x-")}, what="details")
        self.assertEqual(details["x-first"][2], "content of x-first")
        self.assertEqual(details["x-third"][2], "", "listed although its owner did not hand it over in time")
        self.assertEqual(self.app.history()[-1][2], "langsam")

    def test_7k_a_copy_made_while_a_large_one_arrives_gets_its_own_run(self):
        self.click("cb_textadd")
        self.addCleanup(self.app.click, "cb_textadd")
        self.type_into("act_textadd_vorne", "<<")
        time.sleep(0.5)
        rows = len(self.app.history())
        with self.answering() as ping:
            # 2 MB in chunks of 64 KiB, each sent 100 ms late: the transfer takes seconds.
            self.own("--size", "2000000", "--chunk", "65536", "--chunk-delay", "0.1")
            time.sleep(1.0)
            self.clipboard.put("die neuere Kopie")
            wait_until(lambda: self.clipboard.get() == "<<die neuere Kopie".encode("utf-8"), timeout=60,
                       what="the newer copy, processed")
            history = self.app.wait_for_rows(rows + 1, timeout=30)
        self.assertAnsweredInTime(ping)
        self.assertEqual(history[-1][2], "die neuere Kopie")
        time.sleep(1.0)  # nothing of the older copy comes back over it
        self.assertEqual(self.clipboard.get(), "<<die neuere Kopie".encode("utf-8"))
        self.assertFalse(any(row[2].startswith("<<") for row in self.app.history()), "no write-back captured")

    def test_7l_a_large_picture_arrives_while_the_window_answers(self):
        picture = Image.new("RGB", (6000, 6000), (20, 120, 220))
        picture.paste((250, 250, 0), (5990, 5990, 6000, 6000))
        data = io.BytesIO()
        picture.save(data, "PNG")
        rows = len(self.app.history())
        with self.answering() as ping:
            self.clipboard.put(data.getvalue(), "image/png")
            history = self.app.wait_for_rows(rows + 1, timeout=60)
        self.assertAnsweredInTime(ping)
        self.assertEqual(history[-1][2], "6000 x 6000")

    def test_8_saves_text_files_in_the_chosen_encoding(self):
        folder = tempfile.mkdtemp(prefix="tessaro-saved-")
        try:
            self.app.click("cb_savetxt")
            wait_until(lambda: "savetxt_ordner" in self.app.state()["controls"], what="the save fields")
            self.type_folder(folder)
            self.copy_and_wait("Grüße – 5 €")
            wait_until(lambda: os.listdir(folder), what="a saved file")
            name = os.listdir(folder)[0]
            self.assertEqual(name, "Grüße – 5 € 1.txt")
            with open(os.path.join(folder, name), "rb") as f:
                self.assertEqual(f.read().decode("utf-8-sig"), "Grüße – 5 €")

            # The output settings switch the encoding to UTF-16 LE.
            self.app.click("einst")
            wait_until(lambda: "einst_akt" in self.app.state()["controls"], what="the settings menu")
            self.app.click("einst_akt")
            wait_until(lambda: "rb_utf16le" in self.app.state()["controls"], what="the output settings")
            self.app.screenshot("output-settings.png")
            self.app.click("rb_utf16le")
            self.app.click("OK")
            self.copy_and_wait("zweite Datei")
            wait_until(lambda: len(os.listdir(folder)) == 2, what="the second file")
            with open(os.path.join(folder, "zweite Datei 2.txt"), "rb") as f:
                data = f.read()
            self.assertEqual(data[:2], b"\xff\xfe")
            self.assertEqual(data.decode("utf-16"), "zweite Datei")
            self.app.click("cb_savetxt")
        finally:
            shutil.rmtree(folder, ignore_errors=True)

    def test_9_screenshot(self):
        path = self.app.screenshot("main-window.png")
        self.assertGreater(os.path.getsize(path), 1000)


class ClipboardManagerHandoff(ProgramTest):
    """A program of its own: it ends during the test."""

    def test_on_exit_our_content_goes_to_the_clipboard_manager(self):
        manager = subprocess.Popen(["/usr/bin/python3", os.path.join(os.path.dirname(__file__), "clipboard_manager.py")],
                                   env=self.display.env, stdout=subprocess.PIPE, text=True)
        self.addCleanup(lambda: (manager.kill(), manager.wait(), manager.stdout.close()))
        self.assertEqual(manager.stdout.readline().strip(), "manager")
        self.click("cb_textadd")
        self.type_into("act_textadd_vorne", "<<")
        time.sleep(0.5)
        self.clipboard.put("bleibt nach dem Ende")
        wait_until(lambda: self.clipboard.get() == "<<bleibt nach dem Ende".encode("utf-8"), what="the write-back")
        self.app.stop()  # SIGTERM, as a session that logs out sends it
        readable, _, _ = select.select([manager.stdout], [], [], 10)
        self.assertTrue(readable, "the manager was asked to save")
        self.assertEqual(manager.stdout.readline().strip()[:5], "saved")
        self.assertEqual(self.clipboard.get(), "<<bleibt nach dem Ende".encode("utf-8"))


if __name__ == "__main__":
    run_tests()
