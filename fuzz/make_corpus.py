#!/usr/bin/env python3
"""Writes the seed corpus of the product loader fuzzer: a few small, valid content files.

    make_corpus.py OUTPUT_FOLDER

Each seed is a ZIP archive with product.xml and tiny attachments, so that the fuzzer starts
from inputs that reach deep into the loader: pages, documents, every element kind of the demo
menu, skins shared by id, actions, music, splash, translations and the medium listing. The
largest seed is the demo menu's own product.xml with small stand-ins for its attachments.
Only the Python standard library is used; the output is the same on every run.
"""

import os
import re
import struct
import sys
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
DEMO = os.path.join(HERE, "..", "examples", "demo", "product.xml")


def png(width=2, height=2):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + bytes((200, 120, 40, 255)) * width for _ in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


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


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    # Stored entries let the fuzzer's byte changes reach the XML; one seed is compressed, so
    # that the inflating reader is fuzzed too.
    for name, entries in sorted(SEEDS.items()):
        method = zipfile.ZIP_DEFLATED if name == "media.lum" else zipfile.ZIP_STORED
        write(os.path.join(out, name), entries, method)
    write(os.path.join(out, "demo.lum"), demo_seed(), zipfile.ZIP_STORED)


if __name__ == "__main__":
    main()
