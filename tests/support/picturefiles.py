"""Small picture files of the formats the player reads, written byte by byte with the Python
standard library only, so that tests and seed corpora can also bend any field of them.

PNG, JPEG (a flat grey baseline picture), BMP (any header, palette and pixel data), ICO (any
directory) and GIF (frames written without compression: every code is one byte).
"""

import struct
import zlib


def png(width, height, rgba=(200, 120, 40, 255)):
    """An RGBA PNG of one colour."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + bytes(rgba) * width for _ in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def png_header_only(width, height):
    """The signature and image header of a PNG of any declared size, without pixels."""
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    body = b"IHDR" + header
    return (b"\x89PNG\r\n\x1a\n" + struct.pack(">I", len(header)) + body
            + struct.pack(">I", zlib.crc32(body)))


def jpeg(width=8, height=8):
    """A baseline JPEG, one grey component: every 8 x 8 block is flat mid-grey (128).

    Both Huffman tables have a single one-bit code, so a block is two zero bits: the
    difference of its DC value (none) and the end-of-block mark."""
    def segment(marker, body):
        return b"\xff" + bytes([marker]) + struct.pack(">H", len(body) + 2) + body

    quantisation = segment(0xDB, b"\x00" + bytes([1]) * 64)
    frame = segment(0xC0, struct.pack(">BHHB", 8, height, width, 1) + b"\x01\x11\x00")
    one_code = bytes([1] + [0] * 15)
    dc_table = segment(0xC4, b"\x00" + one_code + b"\x00")
    ac_table = segment(0xC4, b"\x10" + one_code + b"\x00")
    scan = segment(0xDA, b"\x01\x01\x00\x00\x3f\x00")
    blocks = ((width + 7) // 8) * ((height + 7) // 8)
    bits = "00" * blocks
    bits += "1" * (-len(bits) % 8)
    data = bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
    return (b"\xff\xd8" + quantisation + frame + dc_table + ac_table + scan + data
            + b"\xff\xd9")


def jpeg_header_only(width, height):
    """The start of a JPEG that declares any size in its frame header, without a scan."""
    frame = struct.pack(">BHHB", 8, height, width, 1) + b"\x01\x11\x00"
    return b"\xff\xd8\xff\xc0" + struct.pack(">H", len(frame) + 2) + frame


def info_header(width, height, bits, compression=0, colours=0, size=40):
    """A bitmap info header (size 40 or larger; the rest of a longer one is zero)."""
    header = struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, 0,
                         2835, 2835, colours, 0)
    return header + bytes(max(0, size - len(header)))


def core_header(width, height, bits):
    """An OS/2 core header: 16-bit sizes, no compression."""
    return struct.pack("<IHHHH", 12, width, height, 1, bits)


def palette(colours):
    """Palette entries (blue, green, red, zero) of (red, green, blue) colours."""
    return b"".join(bytes((b, g, r, 0)) for r, g, b in colours)


def bmp(header, table, data, pixels_at=None):
    """A BMP file of an info header, a palette and pixel data; pixels_at overrides where the
    file header says the pixels start."""
    start = 14 + len(header) + len(table)
    if pixels_at is None:
        pixels_at = start
    size = start + len(data)
    return b"BM" + struct.pack("<IHHI", size, 0, 0, pixels_at) + header + table + data


def rows24(rows):
    """Pixel data of 24-bit rows (lists of (red, green, blue)), given top row first."""
    data = b""
    for row in reversed(rows):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        data += line + bytes(-len(line) % 4)
    return data


def bmp24(rows):
    """A 24-bit BMP of the rows, top row first."""
    return bmp(info_header(len(rows[0]), len(rows), 24), b"", rows24(rows))


def icon_dib(width, height, bgra_rows):
    """One 32-bit picture of an icon: info header (height doubled for the mask), the
    blue-green-red-alpha rows given top row first, and an all-clear mask."""
    header = info_header(width, height * 2, 32)
    pixels = b"".join(b"".join(bytes(p) for p in row) for row in reversed(bgra_rows))
    mask_row = ((width + 31) // 32) * 4
    return header + pixels + bytes(mask_row * height)


def ico(pictures, count=None):
    """An icon file of (directory width, directory height, bits, picture bytes) entries;
    count overrides the number of pictures the header claims."""
    directory_end = 6 + 16 * len(pictures)
    header = struct.pack("<HHH", 0, 1, len(pictures) if count is None else count)
    directory = b""
    data = b""
    for width, height, bits, picture in pictures:
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, bits,
                                 len(picture), directory_end + len(data))
        data += picture
    return header + directory + data


def gif_image(left, top, width, height, indices, local=None):
    """One image of a GIF: descriptor, optional local colour table and its pixels.

    The pixels are coded with 8-bit codes and a clear code before the table would grow, so
    that no compression is needed to write them."""
    flags = 0
    table = b""
    if local:
        size_bits = max(1, (len(local) - 1).bit_length())
        flags = 0x80 | (size_bits - 1)
        table = b"".join(bytes(c) for c in local) + bytes(3 * ((1 << size_bits) - len(local)))
    clear, end = 128, 129
    codes = []
    for start in range(0, len(indices), 126):
        codes.append(clear)
        codes.extend(indices[start:start + 126])
    codes.append(end)
    stream = bytes(codes)
    blocks = b"".join(bytes([len(stream[i:i + 255])]) + stream[i:i + 255]
                      for i in range(0, len(stream), 255))
    return (b"," + struct.pack("<HHHHB", left, top, width, height, flags) + table
            + b"\x07" + blocks + b"\x00")


def gif_control(delay_hundredths, disposal=0, transparent=None):
    """A graphic control extension for the image after it."""
    flags = (disposal << 2) | (1 if transparent is not None else 0)
    return (b"!\xf9\x04" + struct.pack("<BHB", flags, delay_hundredths, transparent or 0)
            + b"\x00")


def gif(width, height, colours, body):
    """A GIF89a file: logical screen, a global colour table of up to 256 colours, the body
    (images and extensions) and the trailer."""
    size_bits = max(1, (len(colours) - 1).bit_length())
    table = b"".join(bytes(c) for c in colours) + bytes(3 * ((1 << size_bits) - len(colours)))
    screen = struct.pack("<HHBBB", width, height, 0x80 | (size_bits - 1), 0, 0)
    return b"GIF89a" + screen + table + body + b";"


def gif_still(width, height, colours=((255, 0, 0), (0, 0, 255))):
    """A one-frame GIF with alternating colours."""
    indices = [(x + y) % len(colours) for y in range(height) for x in range(width)]
    return gif(width, height, colours, gif_image(0, 0, width, height, indices))
