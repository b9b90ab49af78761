#!/usr/bin/env python3
"""Writes the blank menu template into a folder: one page with a background, a title and two
buttons (one opens readme.txt, one quits).

usage: make_assets.py OUTPUT_FOLDER
"""

import os
import shutil
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 640, 480


def png(width, height, rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))
    raw = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def background():
    """A quiet vertical gradient, dark blue at the top to a lighter blue at the bottom."""
    top, bottom = (24, 40, 72), (62, 96, 148)
    rows = []
    for y in range(HEIGHT):
        t = y / (HEIGHT - 1)
        colour = bytes(round(a + (b - a) * t) for a, b in zip(top, bottom))
        rows.append(colour * WIDTH)
    return png(WIDTH, HEIGHT, rows)


TITLE = """<?xml version="1.0" encoding="UTF-8"?>
<richtext version="1.0.0.0" xmlns="http://www.wxwidgets.org">
  <paragraphlayout textcolor="#FFFFFF" fontpointsize="20" fontfamily="70" fontstyle="90" fontweight="700" fontunderlined="0" fontface="DejaVu Sans" alignment="2" parspacingafter="0" parspacingbefore="0" linespacing="10">
    <paragraph>
      <text>Welcome</text>
    </paragraph>
  </paragraphlayout>
</richtext>
"""

README = """This file was opened by the "Open the readme" button of the menu.

Put the files that your menu's buttons open beside content.lum on the disc (here, while you
work on the unpacked folder, inside the folder).
"""


def build(out):
    files = {
        "art/background.png": background(),
        "text/title.xml": TITLE.encode("utf-8"),
        "readme.txt": README.encode("utf-8"),
    }
    for name, data in files.items():
        path = os.path.join(out, *name.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as stream:
            stream.write(data)
    shutil.copyfile(os.path.join(HERE, "product.xml"), os.path.join(out, "product.xml"))


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    os.makedirs(argv[1], exist_ok=True)
    build(argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
