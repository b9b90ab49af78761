#!/usr/bin/env python3
"""Builds the content archives the catalogue tests read, with three different writers:
Python's zipfile, a hand-made writer (Windows-1252 names, data descriptors) and Info-ZIP."""

import os
import struct
import subprocess
import sys
import zipfile
import zlib

RICH_TEXT = (
    '<?xml version="1.0" encoding="UTF-8"?>\n'
    '<richtext version="1.0.0.0" xmlns="http://www.wxwidgets.org">'
    '<paragraphlayout><paragraph><text>Hello archive</text></paragraph>'
    '</paragraphlayout></richtext>\n'
)

# Large red text, longer than the elements that show it.
RED_TEXT = (
    '<?xml version="1.0" encoding="UTF-8"?>\n'
    '<richtext version="1.0.0.0" xmlns="http://www.wxwidgets.org">'
    '<paragraphlayout textcolor="#FF0000" fontpointsize="16" fontface="DejaVu Sans" '
    'fontweight="700">'
    '<paragraph><text>MMMM WWWW MMMM WWWW MMMM WWWW MMMM WWWW MMMM</text></paragraph>'
    '</paragraphlayout></richtext>\n'
)


def png(width, height, rgb):
    """A small opaque PNG of one colour."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    rows = b"".join(b"\x00" + bytes(rgb) * width for _ in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


BLOB = bytes((i * 7) % 256 for i in range(3000))


def python_archive(path):
    with zipfile.ZipFile(path, "w") as archive:
        archive.writestr(zipfile.ZipInfo("product.xml"), "<product/>")
        archive.writestr("pics/red.png", png(4, 3, (255, 0, 0)), zipfile.ZIP_DEFLATED)
        archive.writestr("pics/Blue.PNG", png(2, 2, (0, 0, 255)), zipfile.ZIP_STORED)
        archive.writestr("pics/anim.gif", b"GIF89a", zipfile.ZIP_STORED)
        archive.writestr("pics/broken.png", b"not a picture", zipfile.ZIP_STORED)
        archive.writestr("data/blob.bin", BLOB, zipfile.ZIP_DEFLATED)
        archive.writestr("data/empty.bin", b"", zipfile.ZIP_STORED)
        archive.writestr("Case.TXT", "case", zipfile.ZIP_STORED)
        archive.writestr("text/hello.xml", RICH_TEXT, zipfile.ZIP_DEFLATED)
        archive.writestr("text/red.xml", RED_TEXT, zipfile.ZIP_DEFLATED)
        archive.writestr("text/broken.xml", "<richtext><paragraphlayout>", zipfile.ZIP_STORED)
        archive.writestr("Bild_\u00e4.png", png(1, 1, (0, 255, 0)), zipfile.ZIP_STORED)
        # zipfile warns about the duplicate but writes both.
        import warnings
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")
            archive.writestr("dup.txt", "first", zipfile.ZIP_STORED)
            archive.writestr("dup.txt", "second", zipfile.ZIP_DEFLATED)


def raw_archive(path, entries):
    """entries: (name bytes, data, deflate, data descriptor). No UTF-8 flag is ever set."""
    out = bytearray()
    central = bytearray()
    for name, data, deflate, descriptor in entries:
        if deflate:
            packer = zlib.compressobj(9, zlib.DEFLATED, -15)
            stored = packer.compress(data) + packer.flush()
        else:
            stored = data
        crc = zlib.crc32(data)
        flags = 0x08 if descriptor else 0
        method = 8 if deflate else 0
        offset = len(out)
        local_sizes = (0, 0, 0) if descriptor else (crc, len(stored), len(data))
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flags, method, 0, 0x21,
                           *local_sizes, len(name), 0) + name + stored
        if descriptor:
            out += struct.pack("<IIII", 0x08074B50, crc, len(stored), len(data))
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, flags, method, 0,
                               0x21, crc, len(stored), len(data), len(name), 0, 0, 0, 0, 0,
                               offset) + name
    start = len(out)
    out += central
    out += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(central),
                       start, 0)
    with open(path, "wb") as f:
        f.write(out)


def infozip_archives(folder, zip_program):
    source = os.path.join(folder, "infozip-src")
    os.makedirs(os.path.join(source, "pics"), exist_ok=True)
    with open(os.path.join(source, "pics", "green.png"), "wb") as f:
        f.write(png(3, 2, (0, 255, 0)))
    with open(os.path.join(source, "blob.bin"), "wb") as f:
        f.write(BLOB)
    with open(os.path.join(source, "Bild_\u00e4.png"), "wb") as f:
        f.write(png(1, 1, (0, 255, 0)))
    names = ["pics/green.png", "blob.bin", "Bild_\u00e4.png"]
    env = dict(os.environ, LC_ALL="C.UTF-8")
    for target, options in (("infozip-deflated.zip", ["-9"]), ("infozip-stored.zip", ["-0"])):
        path = os.path.join(folder, target)
        if os.path.exists(path):
            os.remove(path)
        subprocess.run([zip_program, "-q", "-X", *options, path, *names], cwd=source, env=env,
                       check=True)
    # Written to a pipe, Info-ZIP cannot seek back and appends data descriptors.
    with open(os.path.join(folder, "infozip-streamed.zip"), "wb") as out:
        piped = subprocess.run([zip_program, "-q", "-X", "-", *names], cwd=source, env=env,
                               check=True, stdout=subprocess.PIPE)
        out.write(piped.stdout)


def main():
    folder, zip_program = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    python_archive(os.path.join(folder, "python.zip"))
    raw_archive(os.path.join(folder, "windows.zip"), [
        (b"Bild_\xe4.png", png(1, 1, (0, 255, 0)), False, False),
        (b"Gr\xfc\xdfe/\x80uro.bin", b"euro", False, False),
        (b"stored-descriptor.bin", BLOB, False, True),
        (b"deflated-descriptor.bin", BLOB, True, True),
    ])
    infozip_archives(folder, zip_program)
    with open(os.path.join(folder, "garbage.zip"), "wb") as f:
        f.write(b"PK\x03\x04" + bytes(range(256)) * 4)
    with open(os.path.join(folder, "python.zip"), "rb") as f:
        whole = f.read()
    with open(os.path.join(folder, "truncated.zip"), "wb") as f:
        f.write(whole[: len(whole) // 2])


if __name__ == "__main__":
    main()
