# SPDX-License-Identifier: GPL-3.0-or-later
"""End to end: cutting a copied image with the mouse. Another program copies a picture, the
cut-out dialog opens, xdotool drags a frame over the picture on screen, Return confirms,
and what a third program pastes is exactly the part inside the frame."""

import io
import subprocess

import numpy
from PIL import Image

from harness import ProgramTest, run_tests, wait_until

# Small enough to be seen whole in the dialog on any screen, without scrolling.
WIDTH, HEIGHT = 240, 160


def noise_picture(seed):
    """Random pixels: every small block of them occurs once, on the screen too."""
    pixels = numpy.random.default_rng(seed).integers(0, 256, (HEIGHT, WIDTH, 3), dtype=numpy.uint8)
    data = io.BytesIO()
    Image.fromarray(pixels, "RGB").save(data, "PNG")
    return pixels, data.getvalue()


class CutOut(ProgramTest):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # Cutting on, in its dialog mode: a frame chosen with the mouse for every copy.
        cls.app.click("cb_cutimg")
        wait_until(lambda: cls.app.state().get("controls", {}).get("rb_cutimg_auswahl"),
                   what="the cut settings on screen")
        cls.app.click("rb_cutimg_auswahl")

    def dialog(self):
        # Its title, or after a drag the position the mouse had last ("200:140 0:0 0:160"),
        # which stays until the next drag.
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                "^(Choose the Cutout|-?[0-9]+:-?[0-9]+ )"],
                               env=self.display.env, capture_output=True)
        return found.stdout.split()[0].decode() if found.returncode == 0 and found.stdout.split() else None

    def screen(self):
        png = self.display.run(["import", "-window", "root", "png:-"]).stdout
        return numpy.asarray(Image.open(io.BytesIO(png)).convert("RGB"))

    def find_in_dialog(self, dialog, pixels):
        """The screen position of the picture's top-left corner inside the dialog (the main
        window shows the same picture), found by its first 16 x 16 pixels (a frame left from
        an earlier cut runs further in), or None."""
        geometry = self.display.run(["xdotool", "getwindowgeometry", "--shell", dialog]).stdout.decode()
        values = dict(line.split("=", 1) for line in geometry.split())
        left, top, width, height = (int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        block = pixels[:16, :16]
        screen = self.screen()[top:top + height, left:left + width]
        rows, columns = numpy.nonzero(numpy.all(screen == block[0, 0], axis=2))
        for y, x in zip(rows, columns):
            if numpy.array_equal(screen[y:y + 16, x:x + 16], block):
                return left + int(x), top + int(y)
        return None

    def pasted(self):
        return numpy.asarray(Image.open(io.BytesIO(self.clipboard.get("image/png"))).convert("RGB"))

    def cut_with_drag(self, seed, start, end):
        pixels, png = noise_picture(seed)
        rows = len(self.app.history())
        self.clipboard.put(png, "image/png")
        self.app.wait_for_rows(rows + 1)
        dialog = wait_until(self.dialog, what="the cut-out dialog")
        x0, y0 = wait_until(lambda: self.find_in_dialog(dialog, pixels), what="the picture in the dialog")
        # Press, a few steps of the way, release: the frame follows the mouse.
        steps = [(start[0] + (end[0] - start[0]) * i // 4, start[1] + (end[1] - start[1]) * i // 4)
                 for i in range(1, 5)]
        self.display.run(["xdotool", "mousemove", "--sync", str(x0 + start[0]), str(y0 + start[1]),
                          "mousedown", "1"])
        for x, y in steps:
            self.display.run(["xdotool", "mousemove", "--sync", str(x0 + x), str(y0 + y)])
        self.display.run(["xdotool", "mouseup", "1"])
        # The drag leaves the keyboard focus on OK.
        self.display.run(["xdotool", "key", "Return"])
        wait_until(lambda: not self.dialog(), what="the dialog to close")
        # Tessaro writes the cut picture back; until then xclip still offers the whole one.
        wait_until(lambda: "image/png" in self.clipboard.targets() and self.pasted().shape != pixels.shape,
                   what="the cut picture on the clipboard")
        return pixels, self.pasted()

    def test_1_the_pasted_picture_is_the_dragged_frame(self):
        pixels, pasted = self.cut_with_drag(1, (30, 20), (200, 140))
        self.assertEqual(pasted.shape, (120, 170, 3))
        self.assertTrue(numpy.array_equal(pasted, pixels[20:140, 30:200]), "the pixels inside the frame")

    def test_2_a_frame_dragged_from_bottom_right_to_top_left_cuts_the_same(self):
        pixels, pasted = self.cut_with_drag(2, (200, 140), (30, 20))
        self.assertEqual(pasted.shape, (120, 170, 3))
        self.assertTrue(numpy.array_equal(pasted, pixels[20:140, 30:200]), "the pixels inside the frame")

    def test_3_another_frame_cuts_another_part(self):
        pixels, pasted = self.cut_with_drag(3, (60, 40), (230, 100))
        self.assertEqual(pasted.shape, (60, 170, 3))
        self.assertTrue(numpy.array_equal(pasted, pixels[40:100, 60:230]), "the pixels inside the frame")


if __name__ == "__main__":
    run_tests()
