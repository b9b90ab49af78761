#!/usr/bin/env python3
"""Generates the player's built-in RGBA images as C++ source (the build runs it).

- the music on/off icons (34 x 34): a dark disc with a white pair of beamed notes while the
  music plays, and the same disc with a greyed note struck through in red while it is
  stopped. Outside the disc every pixel is fully transparent, so a click there passes
  through to the page below the icon. The same art at twice the size (68 x 68) serves
  high-density screens and full screen.
- the window icon in 16, 32 and 48 pixels: a rounded blue-violet tile with a white disc
  and a play triangle.

Every shape is drawn with 5 x 5 samples per pixel, which gives anti-aliased edges. Pure
Python, no image library.

    tools/gen_builtin_icons.py OUTPUT.cpp [--preview FOLDER]   (also writes the images as PNG files)
    tools/gen_builtin_icons.py --ico FILE.ico     (the window icon as the Windows program's icon)
    tools/gen_builtin_icons.py --hicolor FOLDER   (the window icon in the desktop's icon sizes,
                                                   as FOLDER/NxN/apps/lumplayer.png)
"""
import math
import os
import struct
import sys
import zlib

SAMPLES = 5  # per pixel and axis


# --- shapes: each answers whether a point (in pixel units) lies inside -------------------

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry, angle_deg):
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)

    def inside(x, y):
        dx, dy = x - cx, y - cy
        u = dx * ca + dy * sa
        v = -dx * sa + dy * ca
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0
    return inside


def segment(x0, y0, x1, y1, width):
    vx, vy = x1 - x0, y1 - y0
    length2 = vx * vx + vy * vy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * vx + (y - y0) * vy) / length2))
        px, py = x0 + t * vx, y0 + t * vy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def polygon(points):
    """A convex polygon, points in clockwise or counter-clockwise order."""
    def inside(x, y):
        sign = 0
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            cross = (bx - ax) * (y - ay) - (by - ay) * (x - ax)
            if cross != 0:
                s = 1 if cross > 0 else -1
                if sign == 0:
                    sign = s
                elif s != sign:
                    return False
        return True
    return inside


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


# --- rendering ------------------------------------------------------------------------------

def render(size, layers, scale=1):
    """layers: (shape, colour) from bottom to top; colour is (r, g, b, a) or a function of
    (x, y) giving one. The art is laid out on size pixels and drawn on size * scale.
    Returns bytes R, G, B, A per pixel, rows from top to bottom."""
    out = bytearray()
    step = 1.0 / SAMPLES
    for py in range(size * scale):
        for px in range(size * scale):
            sum_r = sum_g = sum_b = sum_a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) * step) / scale
                    y = (py + (sy + 0.5) * step) / scale
                    r = g = b = a = 0.0  # premultiplied, "over" from bottom to top
                    for shape, colour in layers:
                        if not shape(x, y):
                            continue
                        cr, cg, cb, ca = colour(x, y) if callable(colour) else colour
                        ca /= 255.0
                        r = cr * ca + r * (1 - ca)
                        g = cg * ca + g * (1 - ca)
                        b = cb * ca + b * (1 - ca)
                        a = ca + a * (1 - ca)
                    sum_r += r
                    sum_g += g
                    sum_b += b
                    sum_a += a
            n = SAMPLES * SAMPLES
            alpha = sum_a / n
            if alpha <= 0:
                out += bytes((0, 0, 0, 0))
                continue
            out += bytes((
                clamp(sum_r / n / alpha),
                clamp(sum_g / n / alpha),
                clamp(sum_b / n / alpha),
                clamp(alpha * 255),
            ))
    return bytes(out)


def clamp(value):
    return max(0, min(255, int(round(value))))


def vertical_gradient(top, bottom, y0, y1):
    def colour(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour


def diagonal_gradient(start, end, size):
    def colour(x, y):
        t = max(0.0, min(1.0, (x + y) / (2 * size)))
        return tuple(a + (b - a) * t for a, b in zip(start, end))
    return colour


# --- the art --------------------------------------------------------------------------------

MUSIC_SIZE = 34


def disc_layers():
    c = MUSIC_SIZE / 2
    return [
        # a faint dark halo keeps the edge visible on dark pages
        (circle(c, c, 16.6), (0, 0, 0, 70)),
        (circle(c, c, 16.0), vertical_gradient((86, 94, 110, 255), (28, 31, 38, 255), 1, 33)),
        # light rim, then the body a little inside it
        (minus(circle(c, c, 15.9), circle(c, c, 14.9)), (255, 255, 255, 60)),
    ]


def beamed_notes():
    heads = union(ellipse(12.2, 23.6, 3.5, 2.6, -22), ellipse(22.0, 21.4, 3.5, 2.6, -22))
    stems = union(segment(15.0, 23.0, 15.0, 10.6, 1.7), segment(24.8, 20.8, 24.8, 8.4, 1.7))
    beam = polygon([(14.15, 9.1), (25.65, 6.8), (25.65, 10.2), (14.15, 12.5)])
    return union(heads, stems, beam)


def music_playing(scale=1):
    return render(MUSIC_SIZE, disc_layers() + [
        (beamed_notes(), (255, 255, 255, 255)),
    ], scale)


def music_stopped(scale=1):
    strike_from, strike_to = (8.6, 8.6), (25.4, 25.4)
    return render(MUSIC_SIZE, disc_layers() + [
        (beamed_notes(), (150, 156, 168, 255)),
        # a gap in the disc's colour parts the strike from the note
        (segment(*strike_from, *strike_to, 5.0), (44, 48, 58, 255)),
        (segment(*strike_from, *strike_to, 2.6), (235, 72, 60, 255)),
    ], scale)


def main_icon(size):
    s = size / 32.0  # the design is laid out on 32 pixels

    def p(v):
        return v * s
    tile = rounded_rect(p(1), p(1), p(31), p(31), p(6.5))
    disc = circle(p(16), p(16), p(10.5))
    play = polygon([(p(13.2), p(10.2)), (p(22.6), p(16)), (p(13.2), p(21.8))])
    return render(size, [
        (tile, diagonal_gradient((58, 123, 213, 255), (106, 63, 193, 255), size)),
        (disc, (255, 255, 255, 245)),
        (play, diagonal_gradient((58, 123, 213, 255), (106, 63, 193, 255), size)),
    ])


# --- output ---------------------------------------------------------------------------------

def c_array(name, data):
    lines = [f"const std::uint8_t {name}[{len(data)}] = {{"]
    for i in range(0, len(data), 16):
        lines.append("    " + ", ".join(f"0x{b:02x}" for b in data[i:i + 16]) + ",")
    lines.append("};")
    return "\n".join(lines)


def write_png(path, size, rgba):
    raw = b"".join(b"\0" + rgba[y * size * 4:(y + 1) * size * 4] for y in range(size))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


# The sizes desktops look for in the hicolor icon theme.
HICOLOR_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def write_hicolor(folder):
    for size in HICOLOR_SIZES:
        apps = os.path.join(folder, f"{size}x{size}", "apps")
        os.makedirs(apps, exist_ok=True)
        write_png(os.path.join(apps, "lumplayer.png"), size, main_icon(size))


# The sizes of the Windows program icon: Explorer's lists, tiles and AutoPlay.
ICO_SIZES = (16, 32, 48, 256)


def png_bytes(size, rgba):
    raw = b"".join(b"\0" + rgba[y * size * 4:(y + 1) * size * 4] for y in range(size))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_ico(path):
    """An icon file with one PNG picture a size (Windows reads those since Vista)."""
    pictures = [png_bytes(size, main_icon(size)) for size in ICO_SIZES]
    offset = 6 + 16 * len(pictures)
    header = struct.pack("<HHH", 0, 1, len(pictures))
    for size, picture in zip(ICO_SIZES, pictures):
        side = 0 if size == 256 else size  # 0 stands for 256
        header += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(picture), offset)
        offset += len(picture)
    with open(path, "wb") as f:
        f.write(header + b"".join(pictures))


def main(argv):
    if len(argv) == 3 and argv[1] == "--hicolor":
        write_hicolor(argv[2])
        return
    if len(argv) == 3 and argv[1] == "--ico":
        write_ico(argv[2])
        return
    images = [
        ("kMusicPlaying", MUSIC_SIZE, music_playing()),
        ("kMusicStopped", MUSIC_SIZE, music_stopped()),
        ("kMusicPlaying2x", 2 * MUSIC_SIZE, music_playing(2)),
        ("kMusicStopped2x", 2 * MUSIC_SIZE, music_stopped(2)),
        ("kMainIcon16", 16, main_icon(16)),
        ("kMainIcon32", 32, main_icon(32)),
        ("kMainIcon48", 48, main_icon(48)),
    ]
    parts = [
        "// Generated by tools/gen_builtin_icons.py at build time; do not edit.",
        "#include \"lum/IconData.h\"",
        "",
        "namespace lum::icondata {",
        "namespace {",
        "",
    ]
    for name, size, data in images:
        parts.append(c_array(name + "Pixels", data))
        parts.append("")
    parts.append("}  // namespace")
    parts.append("")
    for name, size, data in images:
        parts.append(f"const SRgbaImage {name}{{{size}, {size}, {name}Pixels}};")
    parts.append("")
    parts.append("}  // namespace lum::icondata")
    if len(argv) not in (2, 4) or (len(argv) == 4 and argv[2] != "--preview"):
        sys.exit("usage: gen_builtin_icons.py OUTPUT.cpp [--preview FOLDER] | --hicolor FOLDER "
                 "| --ico FILE.ico")
    text = "\n".join(parts) + "\n"
    # An unchanged file keeps its time stamp, so nothing that uses it is rebuilt.
    if not os.path.exists(argv[1]) or open(argv[1]).read() != text:
        with open(argv[1], "w") as f:
            f.write(text)

    if len(argv) == 4:
        os.makedirs(argv[3], exist_ok=True)
        for name, size, data in images:
            write_png(os.path.join(argv[3], name + ".png"), size, data)


if __name__ == "__main__":
    main(sys.argv)
