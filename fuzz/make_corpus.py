#!/usr/bin/env python3
"""Writes the seed corpus of a fuzzer: a few small, valid inputs.

    make_corpus.py OUTPUT_FOLDER [product_load | language_pack | picture | all]

product_load (the default) writes content files: ZIP archives with product.xml and tiny
attachments, so that the fuzzer starts from inputs that reach deep into the loader: pages,
documents, every element kind of the demo menu, skins shared by id, actions, music, splash,
translations and the medium listing. The largest seed is the demo menu's own product.xml with
small stand-ins for its attachments.

language_pack writes language packs of the player's application: header chunks, sections of
texts, toolkit keys, several languages.

picture writes one file for each path of the picture fuzzer: a first byte that picks the path
(0 PNG, 1 JPEG, 2 BMP, 3 ICO attachment, 4 GIF animation, 5 any type through the installed
handlers) followed by a small picture of many kinds (palettes, run-length coding, bit fields,
icons with several pictures, animations with each disposal).

all writes each corpus into a folder of that name below OUTPUT_FOLDER. Only the Python
standard library is used; the output is the same on every run.
"""

import os
import re
import struct
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
DEMO = os.path.join(HERE, "..", "examples", "demo", "product.xml")
sys.path.insert(0, os.path.join(HERE, "..", "tests", "support"))
import picturefiles as pictures  # noqa: E402 (found through the path above)


def png(width=2, height=2):
    return pictures.png(width, height)


def wav():
    samples = bytes(range(0, 256, 8))
    fmt = struct.pack("<HHIIHH", 1, 1, 8000, 8000, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(samples)) + samples
    return b"RIFF" + struct.pack("<I", len(body)) + body


RICHTEXT = (b'<?xml version="1.0" encoding="UTF-8"?>\n'
            b'<richtext version="1.0.0.0" xmlns="http://www.wxwidgets.org">\n'
            b'  <paragraphlayout textcolor="#000000" fontpointsize="9" fontfamily="70" '
            b'fontstyle="90" fontweight="90" fontunderlined="0" fontface="DejaVu Sans">\n'
            b'    <paragraph><text>Hello</text></paragraph>\n'
            b'  </paragraphlayout>\n</richtext>\n')

SKIN = """<skin type="buttonskin" id="s" unique="11"><states>
  <normal name="normal"><layers>
    <animation scaling-enabled="true"><scale-margins left="1" top="1" right="1" bottom="1"/>
      <attachment-bitmap name="face.png"/></animation>
    <text horzalign="0.5" vertalign="0.5"><color red="1" green="2" blue="3" alpha="255"/></text>
  </layers></normal>
  <hover name="hover"><layers><animation scaling-enabled="false"><attachment-bitmap name="face.png"/></animation></layers></hover>
  <down name="down"><layers><custom id="c"><shape type="shapeskin" unique="12"><states><normal name="normal"><layers/></normal></states></shape></custom></layers></down>
</states></skin>"""

SEEDS = {
    "minimal.lum": {
        "product.xml": b'<product title="M"><pages><page name="main"/></pages></product>',
    },
    "media.lum": {
        "product.xml": ("""<?xml version="1.0" encoding="UTF-8"?>
<product title="Media" splash-duration="100" icon-filename="a\\b.ico">
  <base path="C:\\disc" name="menu"/>
  <music filename="t.wav" loop="true"><buffer format="wav"><chunk name="t.wav" size="%d"/></buffer></music>
  <splash name="pic.png"/>
  <clientsize width="320,5" height="200"/>
  <volume name="disc"><folder name="docs"><file name="a.txt" size="12"/></folder></volume>
  <pages><page name="main" textid="p.main" usage="gadget-flyout"><document version="1">
    <content-box x="0" y="0" width="320" height="200"/>
    <image name="bg"><center x="160" y="100"/><size width="320" height="200"/><attachment-bitmap name="pic.png"/></image>
    <text name="t" text-id="t.1"><center x="50" y="20"/><size width="90" height="20"/><attachment-richtextbuffer name="t.xml"/></text>
    <animation type-name="animation-image" name="spin"><center x="9" y="9"/><size width="9" height="9"/>
      <animation type="animation" count="2" delay="50" loop="true"><frame0 name="pic.png"/><frame1 name="pic.png"/></animation></animation>
  </document><xdata/></page></pages>
  <translations><translation id="p.main" language="en-us" default="Main" translation="Start"/></translations>
</product>""" % len(wav())).encode(),
        "pic.png": png(),
        "t.xml": RICHTEXT,
        "t.wav": wav(),
    },
    "buttons.lum": {
        "product.xml": ("""<?xml version="1.0" encoding="UTF-8"?>
<product title="Buttons"><pages>
  <page name="main"><document version="1">
    <state-button type-name="lum-state-button-action" name="go" label="Go">%s
      <action type="change-page" change-page="goto-page" page="Second" valid="true"/></state-button>
    <state-button type-name="lum-state-button-action" name="again" label="Again"><skin type="buttonskin" unique="11"/>
      <action type="run-file" file="setup.exe"/></state-button>
    <state-button type-name="skin-button" name="plain" label="Plain"><attachment-bitmap name="face.png"/></state-button>
  </document></page>
  <page name="second"><document version="1">
    <state-button type-name="lum-state-button-action" name="back"><action type="change-page" change-page="go-back"/></state-button>
  </document></page>
</pages></product>""" % SKIN).encode(),
        "face.png": png(4, 4),
    },
}


def demo_seed():
    """The demo menu's product.xml with a tiny stand-in for each attachment it names."""
    with open(DEMO, "rb") as source:
        description = source.read()
    entries = {"product.xml": description}
    for name in set(re.findall(rb'name="([^"]+\.(?:png|xml|wav))"', description)):
        text = name.decode()
        if text.endswith(".png"):
            entries[text] = png()
        elif text.endswith(".xml"):
            entries[text] = RICHTEXT
        else:
            entries[text] = wav()
    # The music chunk names its exact size; the stand-in is shorter.
    entries["product.xml"] = re.sub(rb'(<chunk name="[^"]+" size=")\d+', b"\\g<1>%d" % len(wav()),
                                    description)
    return entries


def write(path, entries, method):
    with zipfile.ZipFile(path, "w", method) as archive:
        for name in sorted(entries, key=lambda n: (n != "product.xml", n)):
            info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))
            info.compress_type = method
            archive.writestr(info, entries[name])


def forge_size(path, name, size):
    """Makes the archive's headers of entry name declare size uncompressed bytes."""
    with open(path, "r+b") as archive:
        data = bytearray(archive.read())
        encoded = name.encode()
        # (signature, offset of the uncompressed size, of the name's length, of the name)
        for signature, size_at, length_at, name_at in ((b"PK\x03\x04", 22, 26, 30),
                                                       (b"PK\x01\x02", 24, 28, 46)):
            at = data.find(signature)
            while at >= 0:
                length = struct.unpack_from("<H", data, at + length_at)[0]
                if bytes(data[at + name_at:at + name_at + length]) == encoded:
                    struct.pack_into("<I", data, at + size_at, size)
                at = data.find(signature, at + 4)
        archive.seek(0)
        archive.write(data)


def product(body, head=""):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<product title="Bounds"%s>%s'
            '<pages><page name="main"><document version="1"/></page></pages></product>'
            % (head, body)).encode()


def bounds_seeds():
    """Texts and sizes a content file may take to extremes: long tokens, deep nesting, and
    entries that declare or store more than the player reads."""
    music = ('<music filename="m.wav"><buffer format="wav"><chunk name="m.wav" size="%s"/>'
             '</buffer></music>')
    return {
        "long-comment.lum": ({"product.xml": product("<!--" + "c" * (2 << 20) + "-->")}, None),
        "long-attribute.lum": ({"product.xml": product("", ' note="%s"' % ("a" * ((1 << 20) + 1)))},
                               None),
        "long-text.lum": ({"product.xml": product("<note>" + "t" * (2 << 20) + "</note>")}, None),
        "deep.lum": ({"product.xml": product("<x>" * 300 + "</x>" * 300)}, None),
        "music-declares-4gib.lum": ({"product.xml": product(music % 4294967295), "m.wav": wav()},
                                    None),
        "music-stored-huge.lum": ({"product.xml": product(music % 4294967295), "m.wav": wav()},
                                  ("m.wav", 0xFFFFFFF0)),
        "splash-stored-huge.lum": ({"product.xml": product('<splash name="s.png"/>'),
                                    "s.png": png()}, ("s.png", 0xFFFFFFF0)),
    }


def write_product_load(out):
    os.makedirs(out, exist_ok=True)
    # Stored entries let the fuzzer's byte changes reach the XML; one seed is compressed, so
    # that the inflating reader is fuzzed too.
    for name, entries in sorted(SEEDS.items()):
        method = zipfile.ZIP_DEFLATED if name == "media.lum" else zipfile.ZIP_STORED
        write(os.path.join(out, name), entries, method)
    write(os.path.join(out, "demo.lum"), demo_seed(), zipfile.ZIP_STORED)
    # Long tokens are compressed, as a hostile content file would have them.
    for name, (entries, forged) in sorted(bounds_seeds().items()):
        path = os.path.join(out, name)
        write(path, entries, zipfile.ZIP_DEFLATED if forged is None else zipfile.ZIP_STORED)
        if forged:
            forge_size(path, *forged)


def chunk(kind, data):
    return kind + struct.pack("<Q", len(data)) + data


def text(value):
    """A counted UTF-16 string with its terminator."""
    return struct.pack("<I", len(value) + 1) + value.encode("utf-16-le") + b"\0\0"


def strings(entries):
    table = struct.pack("<I", len(entries))
    for key, value in entries:
        table += struct.pack("<I", 0) + text(key) + text(value) + text("") + text("")
    return table


def language_pack(tag, sections, application="quellbrook", extra=()):
    header = chunk(b"lang", text(tag) + text("Language") + text("Country"))
    header += chunk(b"apid", text(application) + text("Quellbrook"))
    header += chunk(b"cmnt", text("seed"))
    header += chunk(b"xdid", struct.pack("<I", len(extra)) +
                    b"".join(text(n) + text(v) for n, v in extra))
    header += chunk(b"vers", struct.pack("<I", 3))
    body = header
    for language, entries in sections:
        section = chunk(b"lang", text(language)) if language else b""
        section += chunk(b"RSID", text("main")) + chunk(b"data", strings(entries))
        body += chunk(b"STMP", section)
    return b"URESFILE" + struct.pack("<Q", len(body)) + body


def write_language_pack(out):
    os.makedirs(out, exist_ok=True)
    seeds = {
        "german.zvtLang": language_pack("de-de", [("", [
            ("lum.CMainFrame.ActionNoValid", "Diese Aktion ist nicht gültig."),
            ("id:Cancel", "Abbrechen"), ("id:OK", ""), ("empty", "")])]),
        "sections.zvtLang": language_pack("fr", [
            ("fr-fr", [("greeting", "Bonjour"), ("line", "a\nb\tc\\d")]),
            ("fr-ca", [("greeting", "Allo")])], extra=[("author", "seed"), ("year", "2024")]),
        "minimal.zvtLang": b"URESFILE" + struct.pack("<Q", 0),
    }
    for name, data in sorted(seeds.items()):
        with open(os.path.join(out, name), "wb") as seed:
            seed.write(data)


def picture_seeds():
    red, green, blue, white = (255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 255, 255)
    rows = [[red, green, blue], [white, blue, red]]
    four_colours = pictures.palette([red, green, blue, white])
    # Runs, an absolute run with its pad byte, line ends, a delta and the end mark.
    rle8 = bytes([1, 1, 0, 3, 0, 1, 2, 0, 0, 0, 0, 2, 1, 0, 3, 2, 0, 0, 4, 3, 0, 1])
    rle4 = bytes([4, 0x12, 0, 0, 0, 2, 1, 1, 3, 0x30, 0, 0, 0, 4, 0x30, 0x12, 0, 1])
    dib32 = pictures.icon_dib(2, 2, [[(0, 0, 255, 255), (0, 255, 0, 128)],
                                     [(255, 0, 0, 0), (255, 255, 255, 255)]])
    dib4 = (pictures.info_header(2, 4, 4) + four_colours + bytes(12)
            + bytes([0x12, 0, 0, 0, 0x30, 0, 0, 0]) + bytes(8))
    frames = (pictures.gif_control(10, 1) + pictures.gif_image(0, 0, 4, 3, [0] * 12)
              + pictures.gif_control(0, 2, transparent=3)
              + pictures.gif_image(1, 1, 2, 2, [1, 3, 2, 1])
              + pictures.gif_control(20, 3) + pictures.gif_image(2, 0, 2, 2, [2, 2, 2, 2],
                                                                  local=[green, white]))
    return {
        "png-rgba": (0, pictures.png(3, 2)),
        "jpeg-grey": (1, pictures.jpeg(16, 8)),
        "bmp-24": (2, pictures.bmp24(rows)),
        "bmp-8-palette": (2, pictures.bmp(pictures.info_header(3, 2, 8, colours=4),
                                          four_colours, bytes([0, 1, 2, 0, 3, 2, 1, 0]))),
        "bmp-rle8": (2, pictures.bmp(pictures.info_header(4, 3, 8, 1, 4), four_colours, rle8)),
        "bmp-rle4": (2, pictures.bmp(pictures.info_header(4, 3, 4, 2, 4), four_colours, rle4)),
        "bmp-1": (2, pictures.bmp(pictures.info_header(9, 2, 1), pictures.palette([red, blue]),
                                  bytes([0xA5, 0x80, 0, 0, 0x5A, 0x00, 0, 0]))),
        "bmp-32-bitfields": (2, pictures.bmp(
            pictures.info_header(2, -2, 32, 3, size=56)[:40]
            + struct.pack("<IIII", 0xFF0000, 0xFF00, 0xFF, 0xFF000000), b"",
            bytes([1, 2, 3, 255, 4, 5, 6, 128, 7, 8, 9, 0, 10, 11, 12, 255]))),
        "bmp-core": (2, pictures.bmp(pictures.core_header(2, 2, 24), b"",
                                     bytes([0, 0, 255, 0, 255, 0, 0, 0,
                                            255, 0, 0, 255, 255, 255, 0, 0]))),
        "ico-32": (3, pictures.ico([(2, 2, 32, dib32)])),
        "ico-two": (3, pictures.ico([(2, 2, 4, dib4), (2, 2, 32, dib32)])),
        "ico-png": (3, pictures.ico([(3, 2, 32, pictures.png(3, 2))])),
        "gif-still": (4, pictures.gif_still(5, 3)),
        "gif-frames": (4, pictures.gif(4, 3, [red, green, blue, white], frames)),
        "any-bmp": (5, pictures.bmp24(rows)),
        "any-ico": (5, pictures.ico([(2, 2, 32, dib32)])),
        "any-gif": (5, pictures.gif_still(2, 2)),
        "any-png": (5, pictures.png(1, 1)),
    }


def write_picture(out):
    os.makedirs(out, exist_ok=True)
    for name, (path, data) in sorted(picture_seeds().items()):
        with open(os.path.join(out, name), "wb") as seed:
            seed.write(bytes([path]) + data)


WRITERS = {"product_load": write_product_load, "language_pack": write_language_pack,
           "picture": write_picture}


def main():
    if len(sys.argv) not in (2, 3) or (len(sys.argv) == 3 and
                                       sys.argv[2] not in list(WRITERS) + ["all"]):
        sys.exit(__doc__)
    out = sys.argv[1]
    which = sys.argv[2] if len(sys.argv) == 3 else "product_load"
    if which == "all":
        for name, writer in WRITERS.items():
            writer(os.path.join(out, name))
    else:
        WRITERS[which](out)


if __name__ == "__main__":
    main()
