#!/usr/bin/env python3
"""Writes damaged and extreme pictures for the damaged-picture suite, one folder per group:

    make_damaged_pictures.py OUTPUT_FOLDER

bmp-runs     run-length coded BMPs whose runs, deltas and absolute runs write past the rows
             and past the picture
bmp-headers  BMPs whose header sizes overflow or point outside the file
ico          icon files whose directory points outside the file or lies about sizes
truncated    PNG, JPEG, GIF, BMP and ICO files cut short at several places
sizes        pictures of 1 x 1 and of 65,535 x 65,535 declared pixels in every format

Each file's extension is its format. The bytes are the same on every run.
"""

import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "support"))
import picturefiles as pf  # noqa: E402 (found through the path above)

RED, GREEN, BLUE, WHITE = (255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 255, 255)
FOUR = pf.palette([RED, GREEN, BLUE, WHITE])


def rle8(width, height, data):
    return pf.bmp(pf.info_header(width, height, 8, 1, 4), FOUR, data)


def rle4(width, height, data):
    return pf.bmp(pf.info_header(width, height, 4, 2, 4), FOUR, data)


def bmp_runs():
    far_up = bytes([0, 2, 0, 255]) * 40       # deltas up past the last row
    far_right = bytes([0, 2, 255, 0]) * 40    # deltas right past the row end
    absolute = bytes([0, 255]) + bytes([1, 2, 3] * 85) + bytes([0])  # 255 pixels, padded
    return {
        "rle8-delta-past-last-row.bmp": rle8(1024, 64, far_up + bytes([255, 1] * 64) + b"\0\1"),
        "rle8-delta-past-row-end.bmp": rle8(64, 64, far_right + bytes([255, 2] * 64) + b"\0\1"),
        "rle8-absolute-past-row-end.bmp": rle8(4, 4, absolute * 8 + b"\0\1"),
        "rle8-absolute-past-last-row.bmp": rle8(4, 2, b"\0\0\0\0" + absolute * 64 + b"\0\1"),
        "rle8-long-runs.bmp": rle8(4, 4, bytes([255, 3] * 40) + b"\0\1"),
        "rle8-no-end-mark.bmp": rle8(8, 8, bytes([8, 1, 0, 0] * 30)),
        "rle8-delta-then-absolute.bmp": rle8(16, 4, bytes([0, 2, 15, 3]) + absolute * 4),
        "rle4-delta-past-last-row.bmp": rle4(1024, 64, far_up + bytes([255, 0x12] * 64) + b"\0\1"),
        "rle4-delta-past-row-end.bmp": rle4(64, 64, far_right + bytes([255, 0x21] * 64) + b"\0\1"),
        "rle4-absolute-past-row-end.bmp": rle4(4, 4, (bytes([0, 255]) + bytes([0x12] * 128)) * 8),
        "rle4-absolute-past-last-row.bmp": rle4(3, 1, (bytes([0, 254]) + bytes([0x31] * 127)) * 64),
        "rle4-long-runs.bmp": rle4(4, 4, bytes([255, 0x23] * 40) + b"\0\1"),
    }


def with_field(data, offset, fmt, value):
    return data[:offset] + struct.pack(fmt, value) + data[offset + struct.calcsize(fmt):]


def bmp_headers():
    base = pf.bmp24([[RED, GREEN, BLUE], [WHITE, BLUE, RED]])
    pixels = bytes(64)
    return {
        "info-size-huge.bmp": with_field(base, 14, "<I", 0xFFFFFFF0),
        "info-size-odd.bmp": with_field(base, 14, "<I", 41),
        "info-size-past-end.bmp": with_field(base, 14, "<I", 124),
        "size-overflows-32-bits.bmp": pf.bmp(pf.info_header(0x10000, 0x10001, 24), b"", pixels),
        "size-wraps-to-small.bmp": pf.bmp(pf.info_header(0x40000001, 4, 32), b"", pixels),
        "width-negative.bmp": pf.bmp(pf.info_header(-3, 2, 24), b"", pixels),
        "height-negative.bmp": pf.bmp(pf.info_header(3, -2, 24), b"", pixels),
        "height-most-negative.bmp": pf.bmp(pf.info_header(3, -0x80000000, 24), b"", pixels),
        "height-negative-rle.bmp": rle8(4, -4, bytes([4, 1] * 4) + b"\0\1"),
        "pixels-start-past-end.bmp": with_field(base, 10, "<I", 0x7FFFFFFF),
        "pixels-start-at-end.bmp": with_field(base, 10, "<I", len(base)),
        "palette-huge.bmp": pf.bmp(pf.info_header(2, 2, 8, 0, 0xFFFFFFFF), FOUR, pixels),
        "palette-past-end.bmp": pf.bmp(pf.info_header(2, 2, 8, 0, 256), FOUR, b""),
        "bits-odd.bmp": pf.bmp(pf.info_header(2, 2, 7), b"", pixels),
        "bit-fields-empty.bmp": pf.bmp(pf.info_header(2, 2, 32, 3) + bytes(12), b"", pixels),
        "compression-png.bmp": pf.bmp(pf.info_header(2, 2, 0, 5), b"", pf.png(2, 2)),
        "core-header-huge.bmp": pf.bmp(pf.core_header(0xFFFF, 0xFFFF, 24), b"", pixels),
    }


def icon(width, height, colour=(255, 0, 0, 255)):
    b, g, r = colour[2], colour[1], colour[0]
    return pf.icon_dib(width, height, [[(b, g, r, colour[3])] * width] * height)


def ico_entry(width, height, bits, size, offset):
    return struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, bits, size, offset)


def ico_raw(count, entries, data):
    return struct.pack("<HHH", 0, 1, count) + b"".join(entries) + data


def ico_pictures():
    good = icon(2, 2)
    at = 6 + 16
    # Pictures of icons are read by the same bitmap code: run-length coded ones too.
    absolute = bytes([0, 255]) + bytes([1, 2, 3] * 85) + bytes([0])
    rle8_dib = pf.info_header(4, 8, 8, 1, 4) + FOUR + absolute * 16 + b"\0\1"
    rle4_dib = pf.info_header(64, 128, 4, 2, 4) + FOUR + bytes([0, 2, 0, 255]) * 40 + \
        bytes([255, 0x12] * 64) + b"\0\1"
    mask_lie = pf.info_header(32, 64, 32) + bytes(32 * 32 * 4 + 4 * 32)
    return {
        "offset-past-end.ico": ico_raw(1, [ico_entry(2, 2, 32, len(good), 0x7FFFFF00)], good),
        "offset-far-past-end.ico": ico_raw(1, [ico_entry(2, 2, 32, len(good), 0xFFFFFFF0)], good),
        "size-larger-than-file.ico": ico_raw(1, [ico_entry(2, 2, 32, 0x10000000, at)], good),
        "offset-into-directory.ico": ico_raw(1, [ico_entry(2, 2, 32, len(good), 2)], good),
        "count-huge.ico": ico_raw(0xFFFF, [ico_entry(2, 2, 32, len(good), at)], good),
        "count-zero.ico": ico_raw(0, [], good),
        "second-entry-outside.ico": ico_raw(
            2, [ico_entry(2, 2, 32, len(good), 38), ico_entry(48, 48, 32, 9216, 38 + len(good))],
            good),
        "bitmap-contradicts-directory.ico": ico_raw(1, [ico_entry(16, 16, 32, len(mask_lie), at)],
                                                    mask_lie),
        "bitmap-huge.ico": ico_raw(1, [ico_entry(0, 0, 32, 40, at)],
                                   pf.info_header(65535, 131070, 32)),
        "bitmap-height-negative.ico": ico_raw(1, [ico_entry(2, 2, 32, len(good), at)],
                                              with_field(good, 8, "<i", -4)),
        "bitmap-info-size-huge.ico": ico_raw(1, [ico_entry(2, 2, 32, len(good), at)],
                                             with_field(good, 0, "<I", 0x7FFFFFF0)),
        "bitmap-palette-huge.ico": ico_raw(1, [ico_entry(2, 2, 8, len(good), at)],
                                           with_field(with_field(good, 14, "<H", 8), 32, "<I",
                                                      0x10000000)),
        "bitmap-compressed.ico": ico_raw(1, [ico_entry(2, 2, 32, len(good), at)],
                                         with_field(good, 16, "<I", 1)),
        "bitmap-bits-odd.ico": ico_raw(1, [ico_entry(2, 2, 32, len(good), at)],
                                       with_field(good, 14, "<H", 3)),
        "png-entry-cut.ico": ico_raw(1, [ico_entry(3, 2, 32, 30, at)], pf.png(3, 2)[:30]),
        "cursor.ico": with_field(pf.ico([(2, 2, 32, good)]), 2, "<H", 2),
        "bitmap-rle8-runs-past-end.ico": ico_raw(1, [ico_entry(4, 4, 8, len(rle8_dib), at)],
                                                 rle8_dib),
        "bitmap-rle4-deltas-past-end.ico": ico_raw(1, [ico_entry(64, 64, 4, len(rle4_dib), at)],
                                                   rle4_dib),
    }


def cuts(name, data, places):
    return {"%s-cut-%d.%s" % (name[0], place, name[1]): data[:place] for place in places}


def truncated():
    png = pf.png(16, 16, (10, 200, 30, 255))
    jpeg = pf.jpeg(32, 16)
    frames = (pf.gif_control(10, 2) + pf.gif_image(0, 0, 8, 8, [1] * 64)
              + pf.gif_control(20, 1) + pf.gif_image(2, 2, 4, 4, [2] * 16))
    gif = pf.gif(8, 8, [RED, GREEN, BLUE, WHITE], frames)
    bmp = pf.bmp24([[RED, GREEN, BLUE, WHITE]] * 4)
    ico = pf.ico([(4, 4, 32, icon(4, 4))])
    pictures = {}
    # In the header, in the pixels, just before the end.
    pictures.update(cuts(("png", "png"), png, [20, 50, len(png) - 13, len(png) - 1]))
    pictures.update(cuts(("jpeg", "jpg"), jpeg, [10, 100, len(jpeg) - 3]))
    pictures.update(cuts(("gif", "gif"), gif, [13, 40, 60, len(gif) - 1]))
    pictures.update(cuts(("bmp", "bmp"), bmp, [30, 70, len(bmp) - 1]))
    pictures.update(cuts(("ico", "ico"), ico, [20, 70, len(ico) - 1]))
    return pictures


def sizes():
    huge = 65535
    return {
        "one-pixel.png": pf.png(1, 1),
        "one-pixel.jpg": pf.jpeg(1, 1),
        "one-pixel.bmp": pf.bmp24([[RED]]),
        "one-pixel.ico": pf.ico([(1, 1, 32, icon(1, 1))]),
        "one-pixel.gif": pf.gif_still(1, 1),
        "huge.png": pf.png_header_only(huge, huge) + pf.png(1, 1)[33:],
        "huge.jpg": pf.jpeg_header_only(huge, huge) + pf.jpeg(8, 8)[2:],
        "huge-rle.bmp": rle8(huge, huge, b"\0\1"),
        "huge-plain.bmp": pf.bmp(pf.info_header(huge, huge, 24), b"", bytes(256)),
        "huge-bitmap.ico": pf.ico([(0, 0, 32, pf.info_header(huge, 2 * huge, 32) + bytes(64))]),
        "huge-png.ico": pf.ico([(0, 0, 32, pf.png_header_only(huge, huge))]),
        "huge.gif": pf.gif(huge, huge, [RED, BLUE], pf.gif_image(0, 0, 1, 1, [1])),
        "huge-frame.gif": pf.gif(1, 1, [RED, BLUE], pf.gif_image(0, 0, huge, huge, [1])),
    }


GROUPS = {"bmp-runs": bmp_runs, "bmp-headers": bmp_headers, "ico": ico_pictures,
          "truncated": truncated, "sizes": sizes}


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    for group, make in GROUPS.items():
        folder = os.path.join(sys.argv[1], group)
        os.makedirs(folder, exist_ok=True)
        for name, data in sorted(make().items()):
            with open(os.path.join(folder, name), "wb") as picture:
                picture.write(data)


if __name__ == "__main__":
    main()
