#!/usr/bin/env python3
"""Runs pagebinder on job files and JPEGs made here and checks what it leaves
with tools that did not write it: qpdf --check, pikepdf for the structure,
pdftoppm for the pixels.

  check_pagebinder.py --native PAGEBINDER_NATIVE      the core, a work dir in /tmp
  check_pagebinder.py --wine PAGEBINDER_EXE --winerun WINERUN
                                                      the real program, D:\\tq_conf\\temp\\
"""
import argparse
import io
import os
import resource
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest

import pikepdf
from PIL import Image, ImageChops, ImageDraw, ImageStat

OPEN_JOB_FAILED = "\n打开 PDF 的临时文件错误!".encode("gbk")
HEADER_SHORT = "\n读头信息错误!".encode("gbk")
RECORD_SHORT = "\n读表体信息错误!".encode("gbk")
SIZE_REFUSED = b"ERROR: error_no=1054, detail_no=0\n"
FILE_MISSING = b"ERROR: error_no=1017, detail_no=2\n"

args = None


class NativeRunner:
    """The core as a Linux program; work and output directories under /tmp."""

    def __init__(self, program):
        self.program = program
        self.root = tempfile.mkdtemp(prefix="pagebinder_check.")
        self.work = os.path.join(self.root, "work") + "/"

    def reset(self):
        shutil.rmtree(self.root)
        os.makedirs(self.work)
        os.makedirs(os.path.join(self.root, "out"))

    def image_file(self, name):
        return os.fsencode(self.work) + name + b".jpg"

    def out_file(self, name):
        return os.path.join(os.fsencode(self.root), b"out", name)

    def out_path_field(self, name):
        return self.out_file(name)

    def start(self, preexec_fn=None):
        return subprocess.Popen([self.program, self.work], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                preexec_fn=preexec_fn)

    def console(self, text):
        return text

    def close(self):
        shutil.rmtree(self.root, ignore_errors=True)


class WineRunner:
    """The real program under Wine: job file and images in D:\\tq_conf\\temp\\,
    PDFs under D:\\t\\pagebinder\\; Wine names the Linux files in UTF-8."""

    def __init__(self, exe, winerun):
        self.exe, self.winerun = exe, winerun
        drive = os.environ.get("CAMTOOLS_DRIVE_D")
        if not drive:
            sys.exit("check_pagebinder: CAMTOOLS_DRIVE_D is not set (run inside the Wine test environment)")
        self.work = os.path.join(drive, "tq_conf", "temp") + "/"
        self.out = os.path.join(drive, "t", "pagebinder")

    def reset(self):
        # The work directory is shared with the other modules' files: clear
        # only the job file and the page images.
        os.makedirs(self.work, exist_ok=True)
        for name in os.listdir(self.work):
            if name == "pagebinder_temp.dat" or name.endswith(".jpg"):
                os.remove(os.path.join(self.work, name))
        shutil.rmtree(self.out, ignore_errors=True)
        os.makedirs(self.out)

    def image_file(self, name):
        return os.fsencode(self.work + name.decode("gbk") + ".jpg")

    def out_file(self, name):
        return os.fsencode(os.path.join(self.out, name.decode("gbk")))

    def out_path_field(self, name):
        return b"D:\\t\\pagebinder\\" + name

    def start(self, preexec_fn=None):
        return subprocess.Popen([self.winerun, self.exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                preexec_fn=preexec_fn)

    def console(self, text):
        # Standard output is in text mode, as for every Windows C program.
        return text.replace(b"\n", b"\r\n")

    def close(self):
        pass


# ---------------------------------------------------------------- inputs

def job_bytes(pdf_path, names, page_count=None, fixed=None, header_size=552, tail=b""):
    """A job file; fixed is (width, height) for use_fixed_size 1."""
    count = len(names) if page_count is None else page_count
    width, height = fixed or (0, 0)
    header = struct.pack("<iiii", width, height, count, 1 if fixed else 0) + pdf_path
    header = header.ljust(552, b"\0")[:header_size]
    records = b"".join(name.ljust(88, b"\0") for name in names)
    return header + records + tail


def picture(size, mode="RGB"):
    """Smooth shapes that survive JPEG well, different at every corner."""
    w, h = size
    img = Image.new("RGB", size)
    draw = ImageDraw.Draw(img)
    for x in range(0, w, max(1, w // 64)):
        draw.rectangle([x, 0, x + w // 64, h], fill=(255 * x // w, 128, 255 - 255 * x // w))
    draw.ellipse([w // 8, h // 8, w // 2, h // 2], fill=(250, 250, 40))
    draw.rectangle([w * 5 // 8, h * 5 // 8, w * 7 // 8, h * 7 // 8], fill=(20, 20, 20))
    return img.convert(mode)


def jpeg(size, kind="baseline"):
    mode = {"grayscale": "L", "cmyk": "CMYK"}.get(kind, "RGB")
    out = io.BytesIO()
    picture(size, mode).save(out, "JPEG", quality=92, progressive=(kind == "progressive"))
    return out.getvalue()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- checks

class Binding(unittest.TestCase):
    def setUp(self):
        self.runner = RUNNER
        self.runner.reset()

    def put_image(self, name, data):
        write(self.runner.image_file(name), data)
        return data

    def put_job(self, data):
        write(self.runner.work + "pagebinder_temp.dat", data)

    def run_binder(self, stdin=b"\n", file_size_limit=None):
        def limit_file_size():
            # Writes past the limit fail (EFBIG) as on a full disk.
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (file_size_limit, file_size_limit))
        process = self.runner.start(limit_file_size if file_size_limit else None)
        out, _ = process.communicate(stdin, timeout=120)
        return process.returncode, out

    def console(self, text):
        return self.runner.console(text)

    def assert_images(self, names, present):
        for name in names:
            self.assertEqual(present, os.path.exists(self.runner.image_file(name)), name)

    def check_pdf(self, path, pages):
        """pages: list of (title bytes, jpeg bytes, (width, height), stretched)."""
        check = subprocess.run(["qpdf", "--check", path], capture_output=True)
        self.assertEqual(0, check.returncode, check.stdout + check.stderr)
        with pikepdf.open(path) as pdf:
            self.assertEqual("/UseOutlines", str(pdf.Root.PageMode))
            self.assertEqual(len(pages), len(pdf.pages))
            titles = []
            item = pdf.Root.Outlines.get("/First") if "/Outlines" in pdf.Root else None
            while item is not None:
                self.assertEqual(pdf.Root.Outlines.objgen, item.Parent.objgen, "top level")
                self.assertNotIn("/First", item)
                titles.append(item)
                item = item.get("/Next")
            self.assertEqual(len(pages), len(titles))
            for index, ((title, data, (width, height), _), page, outline) in enumerate(
                    zip(pages, pdf.pages, titles)):
                with self.subTest(page=index):
                    self.assertEqual([0, 0, width, height], [float(v) for v in page.MediaBox])
                    raw_title = bytes(outline.Title)
                    if all(b < 0x80 for b in title):
                        self.assertEqual(title, raw_title)
                    else:
                        self.assertTrue(raw_title.startswith(b"\xfe\xff"), raw_title)
                        self.assertEqual(title.decode("gbk"), raw_title[2:].decode("utf-16-be"))
                    dest = outline.Dest
                    self.assertEqual(page.obj.objgen, dest[0].objgen)
                    self.assertEqual("/XYZ", str(dest[1]))
                    self.assertEqual([0, height, 1], [float(v) for v in list(dest)[2:5]])
                    fonts = [str(page.Resources.Font[key].BaseFont) for key in page.Resources.Font.keys()]
                    self.assertIn("/Helvetica", fonts)
                    images = [page.Resources.XObject[key] for key in page.Resources.XObject.keys()]
                    self.assertEqual(1, len(images))
                    filters = images[0].Filter
                    filters = list(filters) if isinstance(filters, pikepdf.Array) else [filters]
                    self.assertEqual(["/DCTDecode"], [str(f) for f in filters])
                    self.assertTrue(images[0].read_raw_bytes() == data, "image stream is the JPEG file")

    def check_pixels(self, path, index, data, size):
        """The rendered page at 72 dpi against the JPEG stretched to the page;
        CMYK ones compared in CMYK, since renderers turn CMYK to RGB each their own way."""
        original = Image.open(io.BytesIO(data))
        cmyk = original.mode == "CMYK"
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run(["pdftoppm", "-r", "72", "-f", str(index + 1), "-l", str(index + 1),
                            "-jpegcmyk" if cmyk else "-png", path, os.path.join(tmp, "p")], check=True)
            rendered = Image.open(os.path.join(tmp, os.listdir(tmp)[0]))
            mode = "CMYK" if cmyk else "RGB"
            rendered = rendered.convert(mode)
            expected = original.convert(mode).resize(rendered.size, Image.BILINEAR)
            self.assertEqual(size, rendered.size)
            diff = ImageStat.Stat(ImageChops.difference(rendered, expected)).mean
            self.assertLess(max(diff), 12, "mean difference per channel %s" % diff)

    # ------------------------------------------------------------ cases

    def test_every_jpeg_kind_gets_its_page_and_bookmark(self):
        pages = [
            (b"baseline", jpeg((800, 600)), (800, 600)),
            (b"progressive", jpeg((640, 480), "progressive"), (640, 480)),
            ("灰度".encode("gbk"), jpeg((300, 400), "grayscale"), (300, 400)),
            (b"cmyk", jpeg((400, 300), "cmyk"), (400, 300)),
            (b"", jpeg((64, 32)), (64, 32)),
            ("第二页".encode("gbk"), jpeg((200, 100)), (200, 100)),
            (b"page (2) of 3", jpeg((100, 200), "progressive"), (100, 200)),
        ]
        for name, data, _ in pages:
            self.put_image(name, data)
        pdf_name = "程序单.pdf".encode("gbk")
        self.put_job(job_bytes(self.runner.out_path_field(pdf_name), [p[0] for p in pages]))
        status, out = self.run_binder()
        self.assertEqual((0, b""), (status, out))
        pdf = self.runner.out_file(pdf_name)
        self.check_pdf(pdf, [(n, d, s, False) for n, d, s in pages])
        for index, (_, data, size) in enumerate(pages):
            with self.subTest(render=index):
                self.check_pixels(pdf, index, data, size)
        self.assert_images([p[0] for p in pages], present=False)
        self.assertFalse(os.path.exists(pdf + b".part"))

    def test_fixed_size_turns_to_the_image(self):
        pages = [(b"wide", (1000, 700), (842, 595)), (b"tall", (700, 1000), (595, 842)),
                 (b"square", (500, 500), (842, 595))]
        datas = [self.put_image(name, jpeg(size)) for name, size, _ in pages]
        self.put_job(job_bytes(self.runner.out_path_field(b"fixed.pdf"), [p[0] for p in pages],
                               fixed=(842, 595)))
        self.assertEqual((0, b""), self.run_binder())
        pdf = self.runner.out_file(b"fixed.pdf")
        self.check_pdf(pdf, [(n, d, page, True) for (n, _, page), d in zip(pages, datas)])
        for index, ((_, _, page), data) in enumerate(zip(pages, datas)):
            with self.subTest(render=index):
                self.check_pixels(pdf, index, data, page)

    def test_page_counts_and_records(self):
        names = [b"one", b"two", b"three"]
        out_field = self.runner.out_path_field(b"count.pdf")
        pdf = self.runner.out_file(b"count.pdf")
        cases = [
            # what, job file, status, console, pages built, images deleted
            ("zero pages", job_bytes(out_field, names, page_count=0), 0, b"", 0),
            ("negative count", job_bytes(out_field, names, page_count=-3), 0, b"", 0),
            ("more records than page_count", job_bytes(out_field, names, page_count=2), 0, b"", 2),
            ("fewer records than page_count", job_bytes(out_field, names, page_count=4), 1, RECORD_SHORT, None),
            ("trailing partial record", job_bytes(out_field, names[:2], page_count=3, tail=b"three"), 1,
             RECORD_SHORT, None),
            ("short header", job_bytes(out_field, [], header_size=551), 1, HEADER_SHORT, None),
        ]
        for what, data, status, console, built in cases:
            with self.subTest(what):
                self.runner.reset()
                datas = [self.put_image(name, jpeg((120, 90))) for name in names]
                self.put_job(data)
                self.assertEqual((status, self.console(console)), self.run_binder())
                if built is None:
                    self.assertFalse(os.path.exists(pdf))
                    self.assert_images(names, present=True)
                    continue
                self.check_pdf(pdf, [(n, d, (120, 90), False) for n, d in zip(names[:built], datas)])
                self.assert_images(names[:built], present=False)
                self.assert_images(names[built:], present=True)

    def test_library_errors_keep_images_and_the_old_pdf(self):
        out_field = self.runner.out_path_field(b"kept.pdf")
        pdf = self.runner.out_file(b"kept.pdf")
        cases = [
            # what, images (name, jpeg), job records, fixed size, console
            ("missing image", [(b"first", jpeg((50, 40)))], [b"first", b"gone"], None, FILE_MISSING),
            ("image too wide", [(b"first", jpeg((50, 40))), (b"wide", jpeg((14401, 8)))],
             [b"first", b"wide"], None, SIZE_REFUSED),
            ("image too narrow", [(b"thin", jpeg((2, 40)))], [b"thin"], None, SIZE_REFUSED),
            ("fixed size too large", [(b"first", jpeg((50, 40)))], [b"first"], (14401, 595), SIZE_REFUSED),
            ("fixed size too small", [(b"first", jpeg((40, 50)))], [b"first"], (842, 2), SIZE_REFUSED),
        ]
        for what, images, records, fixed, console in cases:
            with self.subTest(what):
                self.runner.reset()
                write(pdf, b"old pdf")
                for name, data in images:
                    self.put_image(name, data)
                self.put_job(job_bytes(out_field, records, fixed=fixed))
                self.assertEqual((1, self.console(console)), self.run_binder())
                with open(pdf, "rb") as f:
                    self.assertEqual(b"old pdf", f.read())
                self.assertFalse(os.path.exists(pdf + b".part"))
                self.assert_images([name for name, _ in images], present=True)

        with self.subTest("largest sizes the library takes"):
            self.runner.reset()
            edge = [(b"longest", jpeg((14400, 3))), (b"smallest", jpeg((3, 3)))]
            for name, data in edge:
                self.put_image(name, data)
            self.put_job(job_bytes(out_field, [n for n, _ in edge]))
            self.assertEqual((0, b""), self.run_binder())
            self.check_pdf(pdf, [(b"longest", edge[0][1], (14400, 3), False),
                                 (b"smallest", edge[1][1], (3, 3), False)])

    def test_unwritable_pdf_paths_keep_everything(self):
        separator = b"\\" if isinstance(self.runner, WineRunner) else b"/"
        with self.subTest("directory that does not exist"):
            self.put_image(b"page", jpeg((60, 60)))
            self.put_job(job_bytes(self.runner.out_path_field(b"no_such_dir" + separator + b"out.pdf"), [b"page"]))
            status, out = self.run_binder()
            self.assertEqual(1, status)
            self.assertTrue(out.startswith(b"ERROR: error_no=1017, detail_no="), out)
            self.assertTrue(out.endswith(self.console(b"\n")) and out.count(b"\n") == 1, out)
            self.assert_images([b"page"], present=True)
        with self.subTest("directory in the way"):
            self.runner.reset()
            self.put_image(b"page", jpeg((60, 60)))
            taken = self.runner.out_file(b"taken.pdf")
            os.makedirs(os.path.join(taken, b"inside"))
            self.put_job(job_bytes(self.runner.out_path_field(b"taken.pdf"), [b"page"]))
            status, out = self.run_binder()
            self.assertEqual(1, status)
            self.assertTrue(out.startswith(b"ERROR: error_no=1017, detail_no="), out)
            self.assertEqual([b"inside"], os.listdir(taken))
            self.assertFalse(os.path.exists(taken + b".part"))
            self.assert_images([b"page"], present=True)
        with self.subTest("disk full when the file is closed"):
            # The whole small PDF waits in the stream's buffer; its write fails
            # only when the library closes the file.
            self.runner.reset()
            self.put_image(b"page", jpeg((60, 60)))
            self.put_job(job_bytes(self.runner.out_path_field(b"full.pdf"), [b"page"]))
            self.assertEqual((1, self.console(b"ERROR: error_no=1016, detail_no=0\n")),
                             self.run_binder(file_size_limit=1024))
            full = self.runner.out_file(b"full.pdf")
            self.assertFalse(os.path.exists(full))
            self.assertFalse(os.path.exists(full + b".part"))
            self.assert_images([b"page"], present=True)

    def test_the_same_image_twice_gives_two_pages(self):
        data = self.put_image(b"again", jpeg((90, 60)))
        self.put_job(job_bytes(self.runner.out_path_field(b"twice.pdf"), [b"again", b"again"]))
        self.assertEqual((0, b""), self.run_binder())
        self.check_pdf(self.runner.out_file(b"twice.pdf"),
                       [(b"again", data, (90, 60), False), (b"again", data, (90, 60), False)])
        self.assert_images([b"again"], present=False)

    def test_job_file_failures_wait_for_one_character(self):
        process = self.runner.start()  # no job file at all
        time.sleep(1.5)
        self.assertIsNone(process.poll(), "waits for a character")
        out, _ = process.communicate(b"\n", timeout=60)
        self.assertEqual((1, self.console(OPEN_JOB_FAILED)), (process.returncode, out))
        # An input that is already at its end ends the wait too.
        self.assertEqual((1, self.console(OPEN_JOB_FAILED)), self.run_binder(stdin=b""))


def main():
    global RUNNER
    parser = argparse.ArgumentParser()
    parser.add_argument("--native")
    parser.add_argument("--wine")
    parser.add_argument("--winerun")
    options, rest = parser.parse_known_args()
    RUNNER = NativeRunner(options.native) if options.native else WineRunner(options.wine, options.winerun)
    try:
        result = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2).result
    finally:
        RUNNER.close()
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
