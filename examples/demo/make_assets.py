#!/usr/bin/env python3
"""Builds the demo menu's assets into a folder.

    make_assets.py OUTPUT_FOLDER

Everything the demo needs besides product.xml is generated here with the Python standard
library only (PNG, ICO, WAV and the rich-text XML attachments), so that no binary file lives
in the repository. product.xml is copied next to the assets, so the output folder is the
complete menu folder: "lumtool pack" packs product.xml and its attachments into content.lum.
The icon, the "demo-docs" folder and "setup/install.sh" are files on the disc, not
attachments: they go next to the player and the content file, because the icon, the run-file
and the open-folder actions name files relative to the disc.

The output is the same on every run.
"""

import math
import os
import shutil
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# The demo's palette.
NAVY_DEEP = (11, 22, 43)
NAVY = (20, 36, 66)
NAVY_LIGHT = (38, 62, 104)
STEEL = (74, 104, 150)
AMBER = (245, 170, 60)
AMBER_DARK = (200, 128, 30)
CREAM = (244, 239, 228)
WHITE = (255, 255, 255)
TEAL = (64, 190, 176)


# --- raster helpers ----------------------------------------------------------------------

class Canvas:
    """An RGBA picture of floats 0..1, drawn with anti-aliased coverage."""

    def __init__(self, width, height, colour=(0, 0, 0), alpha=0.0):
        self.width = width
        self.height = height
        r, g, b = (c / 255.0 for c in colour)
        self.px = [[r, g, b, alpha] for _ in range(width * height)]

    def blend(self, x, y, colour, coverage):
        if coverage <= 0.0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        coverage = min(coverage, 1.0)
        p = self.px[y * self.width + x]
        r, g, b = (c / 255.0 for c in colour)
        out_a = coverage + p[3] * (1.0 - coverage)
        if out_a <= 0.0:
            return
        keep = p[3] * (1.0 - coverage)
        p[0] = (r * coverage + p[0] * keep) / out_a
        p[1] = (g * coverage + p[1] * keep) / out_a
        p[2] = (b * coverage + p[2] * keep) / out_a
        p[3] = out_a

    def shade(self, x0, y0, x1, y1, fn):
        """Calls fn(x + 0.5, y + 0.5) -> (colour, coverage) or None over a pixel box."""
        for y in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)))):
            for x in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)))):
                hit = fn(x + 0.5, y + 0.5)
                if hit:
                    self.blend(x, y, hit[0], hit[1])

    def png(self):
        rows = []
        for y in range(self.height):
            row = bytearray(b"\x00")
            for x in range(self.width):
                for c in self.px[y * self.width + x]:
                    row.append(max(0, min(255, int(round(c * 255.0)))))
            rows.append(bytes(row))
        return png_bytes(self.width, self.height, b"".join(rows))

    def bgra_rows_bottom_up(self):
        out = bytearray()
        for y in reversed(range(self.height)):
            for x in range(self.width):
                r, g, b, a = (max(0, min(255, int(round(c * 255.0))))
                              for c in self.px[y * self.width + x])
                out += bytes((b, g, r, a))
        return bytes(out)


def png_bytes(width, height, raw):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def rounded_rect_distance(px, py, x, y, w, h, r):
    """Signed distance from a point to a rounded rectangle (negative inside)."""
    cx, cy = x + w / 2.0, y + h / 2.0
    qx = abs(px - cx) - (w / 2.0 - r)
    qy = abs(py - cy) - (h / 2.0 - r)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def coverage(distance):
    return max(0.0, min(1.0, 0.5 - distance))


def fill_rounded(canvas, x, y, w, h, r, top, bottom=None, alpha=1.0):
    bottom = bottom or top

    def fn(px, py):
        c = coverage(rounded_rect_distance(px, py, x, y, w, h, r))
        if c <= 0.0:
            return None
        return mix(top, bottom, (py - y) / h), c * alpha

    canvas.shade(x - 1, y - 1, x + w + 1, y + h + 1, fn)


def stroke_rounded(canvas, x, y, w, h, r, colour, width=1.0, alpha=1.0):
    def fn(px, py):
        d = abs(rounded_rect_distance(px, py, x, y, w, h, r) + width / 2.0) - width / 2.0
        c = coverage(d)
        return (colour, c * alpha) if c > 0.0 else None

    canvas.shade(x - 2, y - 2, x + w + 2, y + h + 2, fn)


def fill_circle(canvas, cx, cy, radius, colour, alpha=1.0):
    def fn(px, py):
        c = coverage(math.hypot(px - cx, py - cy) - radius)
        return (colour, c * alpha) if c > 0.0 else None

    canvas.shade(cx - radius - 1, cy - radius - 1, cx + radius + 1, cy + radius + 1, fn)


def glow(canvas, cx, cy, rx, ry, colour, strength):
    """A soft elliptic light, fading out with a Gaussian."""

    def fn(px, py):
        d = ((px - cx) / rx) ** 2 + ((py - cy) / ry) ** 2
        if d > 4.0:
            return None
        return colour, strength * math.exp(-d * 1.6)

    canvas.shade(cx - 2 * rx, cy - 2 * ry, cx + 2 * rx, cy + 2 * ry, fn)


def polyline(canvas, points, colour, width, alpha=1.0):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]

    def fn(px, py):
        d = min(segment_distance(px, py, *points[i], *points[i + 1])
                for i in range(len(points) - 1))
        c = coverage(d - width / 2.0)
        return (colour, c * alpha) if c > 0.0 else None

    canvas.shade(min(xs) - width, min(ys) - width, max(xs) + width, max(ys) + width, fn)


# --- pictures ----------------------------------------------------------------------------

def background():
    """The page background: deep navy with a soft aurora and a header band."""
    w, h = 800, 600
    canvas = Canvas(w, h, NAVY_DEEP, 1.0)
    for y in range(h):
        colour = mix(NAVY, NAVY_DEEP, y / float(h - 1))
        r, g, b = (c / 255.0 for c in colour)
        for x in range(w):
            canvas.px[y * w + x] = [r, g, b, 1.0]
    glow(canvas, 640, 150, 260, 110, TEAL, 0.16)
    glow(canvas, 760, 420, 200, 160, STEEL, 0.18)
    # Header band and its amber rule.
    canvas.shade(0, 0, w, 84, lambda px, py: (NAVY_DEEP, 0.55))
    canvas.shade(0, 84, w, 86, lambda px, py: (AMBER, 0.9))
    # Status bar.
    canvas.shade(0, 562, w, 600, lambda px, py: (NAVY_DEEP, 0.7))
    canvas.shade(0, 562, w, 563, lambda px, py: (STEEL, 0.6))
    return canvas


def cover_art():
    """The main page's picture: hills under an aurora, framed like a disc cover."""
    w, h = 300, 220
    canvas = Canvas(w, h)
    fill_rounded(canvas, 0, 0, w, h, 14, (16, 40, 78), (8, 18, 36))
    glow(canvas, 200, 60, 140, 40, TEAL, 0.55)
    glow(canvas, 90, 80, 110, 30, (120, 220, 160), 0.35)
    for i, (sx, sy) in enumerate(((30, 30), (70, 18), (150, 40), (250, 25), (270, 90), (120, 70))):
        fill_circle(canvas, sx, sy, 1.2 + (i % 3) * 0.4, WHITE, 0.8)

    def hills(base, amplitude, period, phase, colour):
        def fn(px, py):
            top = base + amplitude * math.sin(px / period + phase)
            if py < top - 1:
                return None
            if rounded_rect_distance(px, py, 0, 0, w, h, 14) > 0.5:
                return None
            return colour, coverage(top - py) if py < top + 1 else 1.0

        canvas.shade(0, base - amplitude - 2, w, h, fn)

    hills(150, 14, 40.0, 0.4, (24, 52, 90))
    hills(175, 10, 28.0, 2.0, (14, 32, 58))
    fill_circle(canvas, 235, 52, 16, CREAM, 0.95)
    stroke_rounded(canvas, 0.5, 0.5, w - 1, h - 1, 14, AMBER, 2.0, 0.9)
    return canvas


def button_face(state):
    """Nine-part button pictures, 48 x 48 with 14-pixel corners."""
    size = 48
    canvas = Canvas(size, size)
    if state == "normal":
        fill_rounded(canvas, 1, 1, 46, 46, 9, NAVY_LIGHT, NAVY, 0.92)
        stroke_rounded(canvas, 1, 1, 46, 46, 9, STEEL, 1.0)
    elif state == "hover":
        fill_rounded(canvas, 1, 2, 46, 46, 9, NAVY_DEEP, NAVY_DEEP, 0.5)  # shadow
        fill_rounded(canvas, 1, 0, 46, 46, 9, (255, 196, 100), AMBER)
        stroke_rounded(canvas, 1, 0, 46, 46, 9, (255, 220, 150), 1.0)
    else:
        fill_rounded(canvas, 1, 2, 46, 46, 9, AMBER_DARK, (176, 108, 20))
        stroke_rounded(canvas, 1, 2, 46, 46, 9, (150, 92, 16), 1.0)
    return canvas


def chevron(colour):
    canvas = Canvas(16, 16)
    polyline(canvas, [(5.5, 3.0), (10.5, 8.0), (5.5, 13.0)], colour, 2.2)
    return canvas


def spinner_frame(index, count=12):
    """A ring of dots; the bright dot walks round once per pass."""
    size = 96
    canvas = Canvas(size, size)
    for i in range(count):
        angle = 2 * math.pi * i / count - math.pi / 2
        age = (index - i) % count
        strength = max(0.18, 1.0 - age / 7.0)
        colour = mix(STEEL, AMBER, strength)
        fill_circle(canvas, 48 + 34 * math.cos(angle), 48 + 34 * math.sin(angle),
                    4.0 + 3.0 * strength, colour, 0.35 + 0.65 * strength)
    return canvas


EQUALIZER = [  # bar heights (0..1) per frame, with the frame's own delay in ms
    ([0.3, 0.6, 0.9, 0.5, 0.2], 120), ([0.5, 0.8, 0.6, 0.7, 0.4], 90),
    ([0.8, 0.5, 0.4, 0.9, 0.6], 90), ([0.6, 0.3, 0.7, 0.6, 0.9], 120),
    ([0.4, 0.7, 1.0, 0.4, 0.5], 90), ([0.2, 0.9, 0.6, 0.3, 0.3], 150),
    ([0.5, 0.6, 0.3, 0.6, 0.7], 90), ([0.7, 0.4, 0.5, 0.8, 0.4], 300),
]


def equalizer_frame(levels):
    w, h = 160, 96
    canvas = Canvas(w, h)
    fill_rounded(canvas, 0, 0, w, h, 10, NAVY_DEEP, NAVY_DEEP, 0.6)
    for i, level in enumerate(levels):
        bar_h = 8 + level * 70
        x = 16 + i * 27
        fill_rounded(canvas, x, 86 - bar_h, 20, bar_h, 4, AMBER, TEAL)
    return canvas


def splash():
    w, h = 480, 300
    canvas = Canvas(w, h, NAVY_DEEP, 1.0)
    for y in range(h):
        colour = mix(NAVY_LIGHT, NAVY_DEEP, y / float(h - 1))
        r, g, b = (c / 255.0 for c in colour)
        for x in range(w):
            canvas.px[y * w + x] = [r, g, b, 1.0]
    glow(canvas, 340, 90, 200, 70, TEAL, 0.3)
    # The disc emblem: an amber ring round a cream hub.
    def ring(px, py):
        d = abs(math.hypot(px - 240, py - 130) - 62) - 10
        c = coverage(d)
        return (AMBER, c) if c > 0 else None

    canvas.shade(160, 50, 320, 210, ring)
    fill_circle(canvas, 240, 130, 22, CREAM)
    fill_circle(canvas, 240, 130, 8, NAVY_DEEP)
    canvas.shade(120, 236, 360, 238, lambda px, py: (AMBER, 0.8))
    return canvas


def icon(size):
    canvas = Canvas(size, size)
    s = size / 32.0
    fill_rounded(canvas, 1 * s, 1 * s, 30 * s, 30 * s, 7 * s, NAVY_LIGHT, NAVY_DEEP)

    def ring(px, py):
        d = abs(math.hypot(px - 16 * s, py - 16 * s) - 9 * s) - 2.5 * s
        c = coverage(d)
        return (AMBER, c) if c > 0 else None

    canvas.shade(0, 0, size, size, ring)
    fill_circle(canvas, 16 * s, 16 * s, 3 * s, CREAM)
    return canvas


def ico_bytes(canvases):
    """A Windows icon file with one 32-bit image per canvas."""
    header = struct.pack("<HHH", 0, 1, len(canvases))
    entries, images = b"", b""
    offset = 6 + 16 * len(canvases)
    for canvas in canvases:
        w, h = canvas.width, canvas.height
        and_row = ((w + 31) // 32) * 4
        info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        image = info + canvas.bgra_rows_bottom_up() + b"\x00" * (and_row * h)
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(image), offset)
        images += image
        offset += len(image)
    return header + entries + images


# --- sound -------------------------------------------------------------------------------

def theme_wav():
    """Four seconds of a quiet, slowly breathing A-major pad that loops without a click.

    Every partial completes a whole number of periods in the loop, and the tremolo
    completes two, so the last sample runs smoothly into the first.
    """
    rate, seconds = 22050, 4
    frames = rate * seconds
    partials = [(110.0, 0.30), (165.0, 0.22), (220.0, 0.20), (277.5, 0.14), (330.0, 0.10)]
    data = bytearray()
    for n in range(frames):
        t = n / float(rate)
        swell = 0.75 + 0.25 * math.sin(2 * math.pi * 0.5 * t)
        value = sum(a * math.sin(2 * math.pi * f * t) for f, a in partials)
        data += struct.pack("<h", int(round(value * swell * 0.09 * 32767)))
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ",
                         16, 1, 1, rate, rate * 2, 2, 16, b"data", len(data))
    return header + bytes(data)


# --- rich text ---------------------------------------------------------------------------

RICHTEXT_HEAD = ('<?xml version="1.0" encoding="UTF-8"?>\n'
                 '<richtext version="1.0.0.0" xmlns="http://www.wxwidgets.org">\n')


def hexcolour(rgb):
    return "#%02X%02X%02X" % rgb


def richtext(paragraphs, colour, size, align=1, spacing_after=0):
    """A rich-text buffer in the toolkit's XML form.

    paragraphs: lists of runs (text, {extra attributes}); align: 1 left, 2 centre, 3 right.
    """
    out = [RICHTEXT_HEAD]
    out.append('  <paragraphlayout textcolor="%s" fontpointsize="%d" fontfamily="70" '
               'fontstyle="90" fontweight="400" fontunderlined="0" fontface="DejaVu Sans" '
               'alignment="%d" parspacingafter="%d" parspacingbefore="0" linespacing="10">\n'
               % (hexcolour(colour), size, align, spacing_after))
    for paragraph in paragraphs:
        attrs = ""
        runs = paragraph
        if isinstance(paragraph, tuple):
            runs, attrs = paragraph
        out.append("    <paragraph%s>\n" % attrs)
        for text, extra in runs:
            escaped = text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            if escaped != escaped.strip():
                escaped = '"' + escaped + '"'
            extra_attrs = "".join(' %s="%s"' % kv for kv in sorted(extra.items()))
            out.append("      <text%s>%s</text>\n" % (extra_attrs, escaped))
        out.append("    </paragraph>\n")
    out.append("  </paragraphlayout>\n</richtext>\n")
    return "".join(out).encode("utf-8")


BOLD = {"fontweight": "700"}
ACCENT = {"fontweight": "700", "textcolor": hexcolour((170, 100, 10))}
BULLET = (' bulletstyle="512" bulletname="standard/circle" leftindent="20" '
          'leftsubindent="40" parspacingafter="20"')


def single(text, colour, size, align=1, bold=False):
    return richtext([[(text, BOLD if bold else {})]], colour, size, align)


def texts():
    dark = (28, 38, 58)
    files = {
        # One run each, so that a translation can replace the whole text.
        "text/title-main.xml": single("Welcome to the demo disc", WHITE, 20, bold=True),
        "text/title-guide.xml": single("Guide", WHITE, 20, bold=True),
        "text/title-showcase.xml": single("Animations", WHITE, 20, bold=True),
        "text/breadcrumb.xml": single("$breadcrumb", (170, 190, 220), 9, align=3),
        "text/hint.xml": single("...", (200, 210, 228), 10),
        "text/intro.xml": single(
            "Pick a topic on the left. Everything on this disc also works without "
            "installing anything.", (214, 224, 240), 11),
        "text/caption-spinner.xml": single("Frame animation: twelve pictures, one delay",
                                           (214, 224, 240), 10, align=2),
        "text/caption-equalizer.xml": single("GIF animation: eight frames, each with its "
                                             "own delay", (214, 224, 240), 10, align=2),
        "text/showcase-intro.xml": single(
            "Animations start when their page is shown and stop when you leave it.",
            (214, 224, 240), 11),
        "text/table-title.xml": single("What is on this disc", dark, 12, bold=True),
        "text/article.xml": richtext([
            [("Getting started", {"fontweight": "700", "fontpointsize": "15"})],
            [("This menu starts by itself when the disc is inserted. Move the pointer "
              "over a button to see what it does; the status line at the bottom of the "
              "window repeats the button's description.", {})],
            [("Every page of the menu is one ", {}), ("picture", BOLD),
             (" made of images, texts, tables and buttons. Buttons change colour while "
              "the pointer rests on them and look ", {}), ("pressed", ACCENT),
             (" while you hold the mouse button.", {})],
            ([("Use Back to return to the page you came from.", {})], BULLET),
            ([("Use Home to jump to the start page.", {})], BULLET),
            ([("Deutsch switches the menu texts to German.", {})], BULLET),
            [("The music plays in a loop; the speaker icon in the corner turns it off.",
              {"fontstyle": "93"})],
        ], dark, 11, spacing_after=30),
    }
    table = [
        [("Item", True), ("Where", True), ("Size", True)],
        [("Readme", False), ("demo-docs", False), ("1 KB", False)],
        [("Theme music", False), ("menu", False), ("170 KB", False)],
        [("Animations", False), ("menu", False), ("60 KB", False)],
    ]
    for r, row in enumerate(table):
        for c, (text, bold) in enumerate(row):
            files["text/table-%d-%d.xml" % (r, c)] = single(
                text, (120, 74, 8) if bold else dark, 10, bold=bold)
    return files


README = """Lumplayer demo disc
===================

This file was opened by the "Open the readme" button of the demo menu: a run-file
action that names a document next to the player. Files are resolved against the
folder that holds the player, so the same menu works from any drive letter or
mount point.

The demo menu shows:
  * skinned buttons with normal, hover and pressed looks,
  * rich text and a table,
  * a frame animation and a GIF animation,
  * background music in a loop,
  * English and German texts.
"""

# What the "Install (full version only)" button runs: the demo has nothing to install.
INSTALLER = """#!/bin/sh
# The demo disc's stand-in for an installer.
echo "Lumplayer demo: nothing to install; a full version's disc starts its setup here."
"""


# --- output ------------------------------------------------------------------------------

def build(out):
    files = {
        "splash.png": splash().png(),
        "art/background.png": background().png(),
        "art/cover.png": cover_art().png(),
        "skin/button-normal.png": button_face("normal").png(),
        "skin/button-hover.png": button_face("hover").png(),
        "skin/button-down.png": button_face("down").png(),
        "skin/chevron-light.png": chevron(CREAM).png(),
        "skin/chevron-dark.png": chevron(NAVY_DEEP).png(),
        "music/theme.wav": theme_wav(),
        "lumplayer-demo.ico": ico_bytes([icon(16), icon(32)]),
        "demo-docs/readme.txt": README.encode("utf-8"),
        "setup/install.sh": INSTALLER.encode("utf-8"),
    }
    for i in range(12):
        files["anim/spinner-%02d.png" % i] = spinner_frame(i).png()
    for i, (levels, _delay) in enumerate(EQUALIZER):
        files["anim/equalizer-%02d.png" % i] = equalizer_frame(levels).png()
    files.update(texts())

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
