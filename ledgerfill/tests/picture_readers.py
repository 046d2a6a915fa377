"""Reads the pictures the Wine test rewrote with decoders that did not write
them, Pillow and ImageMagick, and compares each with its source: "crop" files
must hold exactly the smallest rectangle of the source that holds every pixel
which is not pure white (its top-left pixel when there is none),
"crop_over_black" files that rectangle laid over opaque black, "same" files
the source itself. The header fields are checked byte by byte.

Run by ctest after the Wine test, in the same Wine environment (drive D: is
$CAMTOOLS_DRIVE_D)."""

import os
import struct
import subprocess
import sys
import tempfile

from PIL import Image, ImageChops

failures = []


def fail(name, what):
    failures.append(f"{name}: {what}")


def expected_picture(source, mode):
    """source: RGBA, alpha 255 where the file has none."""
    rgb = source.convert("RGB")
    if mode == "same":
        return rgb
    white = Image.new("RGB", source.size, (255, 255, 255))
    box = ImageChops.difference(rgb, white).getbbox() or (0, 0, 1, 1)  # any channel below 255
    if mode == "crop_over_black":
        black = Image.new("RGBA", source.size, (0, 0, 0, 255))
        rgb = Image.alpha_composite(black, source).convert("RGB")
    return rgb.crop(box)


def check_header(name, data, width, height, bits):
    if data[:2] != b"BM":
        fail(name, "no BM signature")
        return
    size, reserved1, reserved2, offset = struct.unpack_from("<IHHI", data, 2)
    (info_size, w, h, planes, bit_count, compression, image_size, x_res, y_res, used,
     important) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    colours = 1 << bits if bits <= 8 else 0
    row_size = (bits * width + 31) // 32 * 4
    want = {
        "file size": (size, len(data)),
        "file size from the rows": (size, 54 + 4 * colours + row_size * height),
        "reserved": ((reserved1, reserved2), (0, 0)),
        "pixel offset": (offset, 54 + 4 * colours),
        "information header size": (info_size, 40),
        "width": (w, width),
        "height (positive, bottom-up)": (h, height),
        "planes": (planes, 1),
        "bit count": (bit_count, bits),
        "compression": (compression, 0),
        "image size": (image_size, 0),
        "resolutions": ((x_res, y_res), (0, 0)),
        "colours used and important": ((used, important), (0, 0)),
    }
    for field, (got, expected) in want.items():
        if got != expected:
            fail(name, f"{field} is {got}, expected {expected}")


def identify(path):
    out = subprocess.run(["identify", "-format", "%w %h %z %r", path], capture_output=True, text=True)
    if out.returncode != 0:
        return None
    w, h, depth, image_class = out.stdout.split()[:4]
    return int(w), int(h), int(depth), image_class


def magick_differing_pixels(path, expected):
    """How many pixels ImageMagick finds different between the file and the
    expected picture (written as PNG by Pillow), or None when it cannot say."""
    with tempfile.TemporaryDirectory() as scratch:
        png = os.path.join(scratch, "expected.png")
        expected.save(png)
        out = subprocess.run(["compare", "-metric", "AE", path, png, "null:"], capture_output=True, text=True)
    try:
        return int(float(out.stderr.split()[0]))
    except (IndexError, ValueError):
        return None


def check_case(directory, name, mode, bits):
    path = os.path.join(directory, name + ".bmp")
    source = Image.open(os.path.join(directory, name + ".source")).convert("RGBA")
    expected = expected_picture(source, mode)
    with open(path, "rb") as f:
        data = f.read()
    check_header(name, data, expected.width, expected.height, bits)

    with Image.open(path) as decoded:
        decoded.load()
        if decoded.size != expected.size:
            fail(name, f"Pillow reads {decoded.size}, expected {expected.size}")
            return
        if bits <= 8 and decoded.mode not in ("P", "1", "L"):
            fail(name, f"Pillow reads mode {decoded.mode} for {bits} bits")
        if bits == 24 and decoded.mode != "RGB":
            fail(name, f"Pillow reads mode {decoded.mode} for 24 bits")
        if decoded.convert("RGB").tobytes() != expected.tobytes():
            fail(name, "Pillow's pixels differ from the expected picture")

    seen = identify(path)
    if seen is None:
        fail(name, "identify cannot read it")
        return
    w, h, depth, image_class = seen
    if (w, h) != expected.size:
        fail(name, f"identify reads {w}x{h}, expected {expected.size}")
    want_class, want_depth = ("DirectClass", 8) if bits == 24 else ("PseudoClass", bits)
    if (image_class, depth) != (want_class, want_depth):
        fail(name, f"identify reads {image_class} of depth {depth}, expected {want_class} of {want_depth}")
    differing = magick_differing_pixels(path, expected)
    if differing != 0:
        fail(name, f"ImageMagick finds {differing} pixels different from the expected picture")


def main():
    drive = os.environ.get("CAMTOOLS_DRIVE_D")
    if not drive:
        print("picture_readers: no Wine environment (CAMTOOLS_DRIVE_D is not set)")
        return 1
    directory = os.path.join(drive, "t", "picture_readers")
    try:
        with open(os.path.join(directory, "cases.txt")) as f:
            cases = [line.split() for line in f if line.strip()]
    except OSError:
        print(f"picture_readers: nothing to read in {directory}; the Wine test leaves the pictures there")
        return 1
    for name, mode, bits in cases:
        check_case(directory, name, mode, int(bits))
    for failure in failures:
        print(failure)
    print(f"picture_readers: {len(cases)} pictures read by Pillow and ImageMagick, {len(failures)} problems")
    return 1 if failures or not cases else 0


if __name__ == "__main__":
    sys.exit(main())
