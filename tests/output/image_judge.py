# SPDX-License-Identifier: GPL-3.0-or-later
"""Judges image files written by Tessaro with decoders that are not ours: Pillow first,
ImageMagick for the formats Pillow cannot read. Prints one line per file: its name, then
OK or FAIL with the reason.

usage: image_judge.py FOLDER           (FOLDER holds reference.ppm and the files to judge)
       image_judge.py --sizes FOLDER   (files named WIDTHxHEIGHT.EXT: decoded at that size)"""

import os
import subprocess
import sys

from PIL import Image, ImageChops, ImageStat

LOSSLESS = {"png", "bmp", "dib", "psd", "pdd", "tif", "tiff", "mng", "ppm", "pam", "dds", "tga",
            "ico", "cur"}
LOSSY = {"jpg", "jpeg", "jfif", "jpe", "jif", "jng", "jp2", "j2k", "j2c", "jpx", "jpc"}
PILLOW_FORMATS = {"jpg": "JPEG", "jpeg": "JPEG", "jfif": "JPEG", "jpe": "JPEG", "jif": "JPEG",
                  "png": "PNG", "gif": "GIF", "bmp": "BMP", "dib": "BMP", "ico": "ICO", "cur": "ICO",
                  "psd": "PSD", "pdd": "PSD", "tif": "TIFF", "tiff": "TIFF", "tga": "TGA",
                  "jp2": "JPEG2000", "j2k": "JPEG2000", "j2c": "JPEG2000", "jpx": "JPEG2000",
                  "jpc": "JPEG2000", "pgm": "PPM", "ppm": "PPM", "dds": "DDS"}
MAGICK_FORMATS = {"mng": "MNG", "jng": "JNG", "pam": "PAM", "pfm": "PFM"}
JP2_SIGNATURE = b"\x00\x00\x00\x0cjP  \r\n\x87\n"


def magick_open(path):
    """The file as ImageMagick reads it, with the format it names."""
    fmt = subprocess.run(["identify", "-format", "%m\n", path], capture_output=True, check=True,
                         text=True).stdout.split()[0]
    ppm = subprocess.run(["convert", path + "[0]", "-depth", "8", "ppm:-"], capture_output=True,
                         check=True).stdout
    import io
    return fmt, Image.open(io.BytesIO(ppm)).convert("RGB")


def judge(folder, name, reference):
    path = os.path.join(folder, name)
    ext = name.rsplit(".", 1)[1].lower()
    with open(path, "rb") as f:
        head = f.read(16)
    if ext in MAGICK_FORMATS:
        fmt, image = magick_open(path)
        if fmt != MAGICK_FORMATS[ext]:
            return f"format {fmt}"
        info = {}
    else:
        opened = Image.open(path)
        fmt, info = opened.format, dict(opened.info)
        if fmt != PILLOW_FORMATS[ext]:
            return f"format {fmt}"
        if ext == "psd":
            layers = getattr(opened, "layers", [])
            if [layer[0] for layer in layers] != ["Layer 0"]:
                return f"layers {layers!r}"
        if ext in ("ico", "cur"):
            rgba = opened.convert("RGBA")
            key = reference.getpixel((0, reference.height - 1))
            for xy in ((0, reference.height - 1), (reference.width - 1, 0), (5, 5)):
                want_clear = reference.getpixel(xy) == key
                if (rgba.getpixel(xy)[3] == 0) != want_clear:
                    return f"transparency at {xy}"
            if head[2:4] != b"\x01\x00":
                return "resource type"
            image = Image.new("RGB", rgba.size)
            image.paste(rgba.convert("RGB"))
            # Transparent pixels may hold any colour: compare the opaque ones only.
            mask = Image.eval(rgba.getchannel("A"), lambda a: 255 if a else 0)
            background = reference.copy()
            image = Image.composite(image, background, mask)
        else:
            image = opened.convert("RGB")
    if image.size != reference.size:
        return f"size {image.size}"
    if ext in ("jp2", "j2k", "j2c", "jpx", "jpc") and not head.startswith(JP2_SIGNATURE):
        return "no JP2 signature box"
    if ext in ("jpg", "jpeg", "jfif", "jpe", "jif") and not info.get("progressive"):
        return "not progressive"
    if ext == "tif" and info.get("compression") != "tiff_lzw":
        return f"compression {info.get('compression')}"
    difference = ImageChops.difference(image, reference)
    worst = max(high for _, high in difference.getextrema())
    mean = sum(ImageStat.Stat(difference).mean) / 3
    if ext in LOSSLESS and worst != 0:
        return f"not lossless: largest difference {worst}"
    if ext in LOSSY and mean > 4:
        return f"mean difference {mean:.2f}"
    if ext == "gif":
        if len(image.getcolors(1 << 16) or []) > 256 or mean > 6:
            return f"gif mean difference {mean:.2f}"
    if ext == "pgm":
        grey = reference.convert("L").convert("RGB")
        if max(high for _, high in ImageChops.difference(image, grey).getextrema()) > 1:
            return "not the grey of the picture"
    if ext == "pfm" and worst > 1:
        return f"float samples off by {worst}"
    return None


def judge_size(folder, name):
    """The file decodes, as the format its extension names, to the size its name gives."""
    path = os.path.join(folder, name)
    stem, ext = name.rsplit(".", 1)
    width, height = (int(side) for side in stem.split("x"))
    ext = ext.lower()
    if ext in MAGICK_FORMATS:
        fmt, image = magick_open(path)
        expected = MAGICK_FORMATS[ext]
    else:
        Image.MAX_IMAGE_PIXELS = None
        opened = Image.open(path)
        fmt, expected = opened.format, PILLOW_FORMATS[ext]
        image = opened.convert("RGB")
    if fmt != expected:
        return f"format {fmt}"
    if image.size != (width, height):
        return f"size {image.size}"
    return None


def main():
    if sys.argv[1] == "--sizes":
        folder = sys.argv[2]
        # Debian's ImageMagick refuses sides over 16,384 pixels by its policy; a policy of
        # the judge's own lifts that for pictures such as 65,535 x 1.
        import tempfile
        policy = tempfile.mkdtemp(prefix="judge-policy-")
        with open(os.path.join(policy, "policy.xml"), "w") as f:
            f.write('<policymap><policy domain="resource" name="width" value="128KP"/>'
                    '<policy domain="resource" name="height" value="128KP"/></policymap>')
        os.environ["MAGICK_CONFIGURE_PATH"] = policy
        for name in sorted(os.listdir(folder)):
            try:
                reason = judge_size(folder, name)
            except Exception as error:  # a decoder refusing the file is a verdict too
                reason = f"{type(error).__name__}: {error}"
            print(name, "OK" if reason is None else "FAIL " + reason)
        return
    folder = sys.argv[1]
    reference = Image.open(os.path.join(folder, "reference.ppm")).convert("RGB")
    for name in sorted(os.listdir(folder)):
        if name == "reference.ppm":
            continue
        try:
            reason = judge(folder, name, reference)
        except Exception as error:  # a decoder refusing the file is a verdict too
            reason = f"{type(error).__name__}: {error}"
        print(name, "OK" if reason is None else "FAIL " + reason)


main()
