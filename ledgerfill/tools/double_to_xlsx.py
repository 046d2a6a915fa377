#!/usr/bin/python3
"""Writes what the spreadsheet double holds after a fill as a real .xlsx.

The double keeps its workbook as a text model (see tests/double/double_model.h):
cells with their ANSI (code page 936) texts, frames drawn with BorderAround,
pictures added with AddPicture, row heights and column widths. This applies
them to a new workbook with Debian's python3-openpyxl, so that any
spreadsheet program shows the filled program sheet. Each picture is embedded
(as PNG, through python3-pil) at the place and size AddPicture gave it.

    double_to_xlsx.py MODEL OUT.xlsx [--drive D=/linux/dir]

MODEL is the double's workbook (e.g. ledgerfill_sheet.double) or its model
file. --drive maps a Windows drive of the picture paths to a Linux directory.
"""

import argparse
import io
import os
import sys

from openpyxl import Workbook
from openpyxl.styles import Border, Side
from openpyxl.utils import get_column_letter

MODEL_SIGNATURE = "ledgerfill double model"
WORKBOOK_SIGNATURE = "ledgerfill double workbook"

# BorderAround weights: xlHairline, xlThin, xlMedium, xlThick.
LINE_STYLES = {1: "hair", 2: "thin", -4138: "medium", 4: "thick"}

POINTS_PER_CHARACTER = 48 / 8.43  # the default column: 48 points, 8.43 characters
EMU_PER_POINT = 12700


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            i += 1
            c = {"n": "\n", "r": "\r", "t": "\t"}.get(text[i], text[i])
        out.append(c)
        i += 1
    return "".join(out)


def rest_after(line, words):
    parts = line.split(" ", words)
    return parts[words] if len(parts) > words else ""


def read_model(path):
    with open(path, "rb") as f:
        lines = f.read().decode("gbk", errors="replace").splitlines()
    if not lines or lines[0] not in (MODEL_SIGNATURE, WORKBOOK_SIGNATURE):
        raise ValueError(f"{path}: not a model of the spreadsheet double")
    book = {"default_row_height": 15.0, "default_column_width": 48.0, "row_heights": {},
            "column_widths": {}, "cells": {}, "frames": [], "pictures": []}
    for line in lines[1:]:
        key = line.split(" ", 1)[0]
        words = line.split(" ")
        if key == "default_row_height":
            book["default_row_height"] = float(words[1])
        elif key == "default_column_width":
            book["default_column_width"] = float(words[1])
        elif key == "row_height":
            book["row_heights"][int(words[1])] = float(words[2])
        elif key == "column_width":
            book["column_widths"][int(words[1])] = float(words[2])
        elif key == "cell":
            book["cells"][(int(words[1]), int(words[2]))] = unescape(rest_after(line, 3))
        elif key == "frame":
            first_row, first_column, last_row, last_column, _style, weight = map(int, words[1:7])
            book["frames"].append((first_row, first_column, last_row, last_column, weight))
        elif key == "picture":
            left, top, width, height = map(float, words[3:7])
            book["pictures"].append((unescape(rest_after(line, 7)), left, top, width, height))
    return book


def row_height(book, row):
    return book["row_heights"].get(row, book["default_row_height"])


def column_width(book, column):
    return book["column_widths"].get(column, book["default_column_width"])


def cell_at(book, left, top):
    """The cell whose area holds the point (left, top), in points, and the
    point's offset from that cell's top left corner."""
    row, y = 1, 0.0
    while y + row_height(book, row) <= top:
        y += row_height(book, row)
        row += 1
    column, x = 1, 0.0
    while x + column_width(book, column) <= left:
        x += column_width(book, column)
        column += 1
    return row, column, left - x, top - y


def embedded_picture(book, linux_path, left, top, width, height):
    """The picture file as a PNG image anchored at its cell, offset and sized
    in points as the sheet has it (the file may be a BMP, which a .xlsx does
    not carry)."""
    from openpyxl.drawing.image import Image  # needs python3-pil
    from openpyxl.drawing.spreadsheet_drawing import AnchorMarker, OneCellAnchor
    from openpyxl.drawing.xdr import XDRPositiveSize2D
    from PIL import Image as PILImage

    with PILImage.open(linux_path) as source:
        png = io.BytesIO()
        source.convert("RGB").save(png, format="PNG")
    png.seek(0)
    picture = Image(png)
    row, column, x, y = cell_at(book, left, top)
    picture.anchor = OneCellAnchor(
        _from=AnchorMarker(col=column - 1, colOff=round(x * EMU_PER_POINT),
                           row=row - 1, rowOff=round(y * EMU_PER_POINT)),
        ext=XDRPositiveSize2D(round(width * EMU_PER_POINT), round(height * EMU_PER_POINT)))
    return picture


def frame(sheet, first_row, first_column, last_row, last_column, weight):
    side = Side(style=LINE_STYLES.get(weight, "thin"), color="FF000000")
    for row in range(min(first_row, last_row), max(first_row, last_row) + 1):
        for column in range(min(first_column, last_column), max(first_column, last_column) + 1):
            cell = sheet.cell(row=row, column=column)
            old = cell.border
            cell.border = Border(
                left=side if column == min(first_column, last_column) else old.left,
                right=side if column == max(first_column, last_column) else old.right,
                top=side if row == min(first_row, last_row) else old.top,
                bottom=side if row == max(first_row, last_row) else old.bottom)


def windows_to_linux(path, drives):
    if len(path) > 2 and path[1] == ":" and path[0].upper() in drives:
        return os.path.join(drives[path[0].upper()], *path[3:].split("\\"))
    return path


def write_xlsx(book, out, drives):
    workbook = Workbook()
    sheet = workbook.active
    sheet.title = "Sheet1"
    for row, height in book["row_heights"].items():
        sheet.row_dimensions[row].height = height
    used_columns = {column for _, column in book["cells"]} | set(book["column_widths"])
    for column in used_columns:
        sheet.column_dimensions[get_column_letter(column)].width = column_width(book, column) / POINTS_PER_CHARACTER
    for (row, column), text in book["cells"].items():
        sheet.cell(row=row, column=column, value=text).data_type = "s"
    for first_row, first_column, last_row, last_column, weight in book["frames"]:
        frame(sheet, first_row, first_column, last_row, last_column, weight)
    missing = []
    for path, left, top, width, height in book["pictures"]:
        linux_path = windows_to_linux(path, drives)
        if not os.path.exists(linux_path):
            missing.append(path)
            continue
        sheet.add_image(embedded_picture(book, linux_path, left, top, width, height))
    workbook.save(out)
    return missing


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("model")
    parser.add_argument("out")
    parser.add_argument("--drive", action="append", default=[], help="LETTER=/linux/dir")
    arguments = parser.parse_args()
    drives = {}
    for mapping in arguments.drive:
        letter, _, directory = mapping.partition("=")
        drives[letter.upper()] = directory
    try:
        book = read_model(arguments.model)
    except (OSError, ValueError) as problem:
        print(problem, file=sys.stderr)
        return 1
    missing = write_xlsx(book, arguments.out, drives)
    print(f"{arguments.out}: {len(book['cells'])} cells, {len(book['frames'])} frames, "
          f"{len(book['pictures']) - len(missing)} pictures")
    for path in missing:
        print(f"  picture not found: {path}", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
