#!/usr/bin/env python3
"""Writes the benchmark's content files: menus of N pages, each page with a picture of about
1 MB of incompressible pixels and a button that goes to the next page.

    make_contents.py FOLDER PAGES...      (writes FOLDER/pagesN.lum for each N)
"""
import os
import random
import struct
import sys
import zipfile
import zlib

SIDE = 592  # 592 x 592 RGB pixels: about 1 MB


def png(width, height, pixels):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\x00" + pixels[y * width * 3:(y + 1) * width * 3] for y in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 1)) + chunk(b"IEND", b""))


def page(index, count):
    following = "P%d" % ((index + 1) % count)
    return (
        '<page name="P%d"><document version="1">'
        '<content-box x="0" y="0" width="800" height="600"/>'
        '<image name="picture"><center x="400" y="300"/><size width="800" height="600"/>'
        '<attachment-bitmap name="pictures/p%d.png"/></image>'
        '<state-button type-name="lum-state-button-action" name="next" label="Next page">'
        '<center x="110" y="60"/><size width="180" height="60"/>'
        '<action type="change-page" change-page="goto-page" page="%s"/></state-button>'
        '</document></page>' % (index, index, following))


def write(path, count, generator):
    pages = "".join(page(i, count) for i in range(count))
    description = ('<?xml version="1.0" encoding="UTF-8"?>\n<product title="Bench %d">'
                   '<pages>%s</pages><clientsize width="800" height="600"/></product>'
                   % (count, pages))
    with zipfile.ZipFile(path, "w") as archive:
        archive.writestr("product.xml", description, compress_type=zipfile.ZIP_DEFLATED)
        for i in range(count):
            picture = png(SIDE, SIDE, generator.randbytes(SIDE * SIDE * 3))
            archive.writestr("pictures/p%d.png" % i, picture, compress_type=zipfile.ZIP_STORED)


def main(argv):
    if len(argv) < 3:
        sys.exit("usage: make_contents.py FOLDER PAGES...")
    os.makedirs(argv[1], exist_ok=True)
    generator = random.Random(20261209)  # the same pixels every time
    for count in argv[2:]:
        write(os.path.join(argv[1], "pages%s.lum" % count), int(count), generator)


if __name__ == "__main__":
    main(sys.argv)
