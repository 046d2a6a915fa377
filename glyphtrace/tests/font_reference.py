#!/usr/bin/env python3
"""Prepares the Wine test's font data with fontTools, a reader of font files
independent of the system's rasteriser.

usage: font_reference.py REFERENCE_FILE TEST_FONT_FILE

REFERENCE_FILE: one line per glyph the Wine test traces, with its number of
contours and its bounds scaled to the cell height the library reads outlines
at:  face name|UTF-16 code (hex)|contours|xmin|ymin|xmax|ymax

TEST_FONT_FILE: a font whose face name fills LOGFONTW's field (31 units), with
a Simplified Chinese family name beside it, its
"A" a star of so many points that its outline does not fit the library's
16000-byte buffer, its "B" a star whose outline only just fits it.
"""
import math
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

CELL_HEIGHT = 500
TEST_FONT_NAME = "Glyphtrace Test Font Name Of 31"
TEST_FONT_CHINESE_NAME = "\u5b57\u5f62\u6d4b\u8bd5"  # 字形测试

# Face name as the library is given it, the font file Debian installs, the
# font's index in a collection, and the characters traced.
FONTS = [
    ("DejaVu Sans", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 0, "A.:g,"),
    ("WenQuanYi Zen Hei", "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", 0, "\u4e2d\u6587\uff0cA"),
]


def mul_div(a, b, c):
    """Windows' MulDiv: a * b / c rounded half away from zero."""
    q, r = divmod(abs(a * b), abs(c))
    if 2 * r >= abs(c):
        q += 1
    return q if (a * b < 0) == (c < 0) else -q


def cell_scale(font):
    """Outline units per font unit for a cell (ascent plus descent) of CELL_HEIGHT:
    the em is made a whole number of pixels, as the system's rasteriser does."""
    os2 = font["OS/2"]
    units = os2.usWinAscent + os2.usWinDescent
    if units == 0:
        units = font["hhea"].ascent - font["hhea"].descent
    upem = font["head"].unitsPerEm
    return mul_div(upem, CELL_HEIGHT, units) / upem


def star(points):
    """One contour of straight lines: a header and one line record of
    16 + 4 + 8 * points bytes in the system's outline layout."""
    pen = TTGlyphPen(None)
    for i in range(points):
        radius = 900 if i % 2 else 1000
        angle = 2 * math.pi * i / points
        point = (round(1024 + radius * math.cos(angle)), round(1024 + radius * math.sin(angle)))
        if i == 0:
            pen.moveTo(point)
        else:
            pen.lineTo(point)
    pen.closePath()
    return pen.glyph()


def write_test_font(path):
    empty = TTGlyphPen(None).glyph()

    builder = FontBuilder(2048, isTTF=True)
    builder.setupGlyphOrder([".notdef", "A", "B"])
    builder.setupCharacterMap({ord("A"): "A", ord("B"): "B"})
    builder.setupGlyf({".notdef": empty, "A": star(2400), "B": star(1980)})
    builder.setupHorizontalMetrics({".notdef": (1024, 0), "A": (2048, 24), "B": (2048, 24)})
    builder.setupHorizontalHeader(ascent=1900, descent=-148)
    builder.setupNameTable({"familyName": {"en": TEST_FONT_NAME, "zh": TEST_FONT_CHINESE_NAME},
                            "styleName": "Regular"})
    # Latin 1 in the code page ranges: the system then offers the font for ANSI_CHARSET.
    builder.setupOS2(usWinAscent=1900, usWinDescent=148, sTypoAscender=1900, sTypoDescender=-148,
                     ulUnicodeRange1=1, ulCodePageRange1=1)
    builder.setupPost()
    builder.save(path)


def main():
    lines = []
    for face, path, index, characters in FONTS:
        font = TTFont(path, fontNumber=index)
        glyf = font["glyf"]
        cmap = font.getBestCmap()
        scale = cell_scale(font)
        for ch in characters:
            name = cmap[ord(ch)]
            glyph = glyf[name]
            _, ends, _ = glyph.getCoordinates(glyf)
            glyph.recalcBounds(glyf)
            bounds = [round(v * scale, 3) for v in (glyph.xMin, glyph.yMin, glyph.xMax, glyph.yMax)]
            lines.append("|".join([face, "%04X" % ord(ch), str(len(ends))] + [str(b) for b in bounds]))
    with open(sys.argv[1], "w", encoding="utf-8", newline="\n") as out:
        out.write("\n".join(lines) + "\n")
    write_test_font(sys.argv[2])


if __name__ == "__main__":
    main()
