# SPDX-License-Identifier: GPL-3.0-or-later
"""End to end: the real program saves an image another program copied, in the format and
folder chosen in its window; the file is judged by Pillow, not by our own code."""

import io
import os
import shutil
import tempfile

from PIL import Image

from harness import ProgramTest, run_tests, wait_until


def test_picture():
    """A 64 x 48 picture with four flat quarters, so that JPEG keeps the colours close."""
    image = Image.new("RGB", (64, 48))
    for x in range(64):
        for y in range(48):
            image.putpixel((x, y), ((200, 30, 30), (30, 200, 30), (30, 30, 200), (230, 230, 40))[
                (x >= 32) + 2 * (y >= 24)])
    data = io.BytesIO()
    image.save(data, "PNG")
    return image, data.getvalue()


class ImageSave(ProgramTest):
    def control(self, name):
        return wait_until(lambda: self.app.state().get("controls", {}).get(name), what=f"{name} on screen")

    def test_1_a_copied_image_is_saved_as_progressive_jpeg(self):
        folder = tempfile.mkdtemp(prefix="tessaro-images-")
        try:
            self.app.click("cb_saveimg")
            self.control("saveimg_ordner")
            self.app.click("saveimg_ordner")
            self.display.run(["xdotool", "key", "ctrl+a", "type", "--delay", "5", folder])
            picture, png = test_picture()
            self.clipboard.put(png, "image/png")
            wait_until(lambda: os.listdir(folder), what="a saved image")
            path = os.path.join(folder, "Clipboard Image 1.jpg")
            wait_until(lambda: os.path.exists(path) and os.path.getsize(path) > 0, what=path)
            self.app.screenshot("image-save.png")
            with Image.open(path) as saved:
                self.assertEqual(saved.format, "JPEG")
                self.assertEqual(saved.size, (64, 48))
                self.assertEqual(saved.mode, "RGB")
                self.assertTrue(saved.info.get("progressive") or saved.info.get("progression"),
                                "progressive is switched on by design")
                for point in ((5, 5), (60, 5), (5, 44), (60, 44)):
                    got, want = saved.getpixel(point), picture.getpixel(point)
                    self.assertTrue(all(abs(a - b) <= 12 for a, b in zip(got, want)), (point, got, want))
        finally:
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    run_tests()
