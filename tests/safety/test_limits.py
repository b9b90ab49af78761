"""lumtool on menus and files made to take minutes or gigabytes: one long token in product.xml,
entries and inputs that declare or are larger than what is read of them. Each finishes in
bounded time, and what is too large is refused by its size before it is read, in one line that
says so. (The time bounds are generous: they stand against a hang, not for a speed.)"""

import os
import struct
import subprocess
import unittest
import zipfile

from test_writes import LUMTOOL, PRODUCT, Case, lumtool

# The old loader took 92 s on the 8 MiB comment; a minute tells a hang from a busy machine.
BOUNDED = 60


def peak_kib(*arguments):
    """The peak resident memory of lumtool run with the arguments, in KiB."""
    child = subprocess.Popen([LUMTOOL, *arguments], stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    _, _, usage = os.wait4(child.pid, 0)
    return usage.ru_maxrss


def deflated(path, entries):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name, data in entries.items():
            with archive.open(name, "w", force_zip64=True) as entry:
                if isinstance(data, bytes):
                    entry.write(data)
                    continue
                header, length = data
                entry.write(header)
                zeros = bytes(1 << 20)
                for _ in range(length >> 20):
                    entry.write(zeros)
    return path


class LongTokenTest(Case):
    def test_an_8_mib_comment_is_checked_and_packed(self):
        self.write("menu/product.xml",
                   PRODUCT.replace("<pages>", "<!--" + "c" * (8 << 20) + "--><pages>", 1))
        run = lumtool("check", self.menu, timeout=BOUNDED)
        self.assertEqual(run.returncode, 0, run.stderr)
        run = lumtool("pack", self.menu, "-o", self.path("content.lum"), timeout=BOUNDED)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertLess(os.path.getsize(self.path("content.lum")), 200000)
        run = lumtool("check", self.path("content.lum"), timeout=BOUNDED)
        self.assertEqual(run.returncode, 0, run.stderr)

    def test_a_60_mib_attribute_is_refused_by_every_reader(self):
        long = PRODUCT.replace('title="Safe"', 'title="Safe" note="%s"' % ("a" * (60 << 20)))
        self.write("menu/product.xml", long)
        content = deflated(self.path("long.lum"), {"product.xml": long.encode()})
        self.assertLess(os.path.getsize(content), 200000)
        for arguments in (["check", self.menu], ["check", content],
                          ["pack", self.menu, "-o", self.path("out.lum")],
                          ["medium", content, "-o", self.path("disc")]):
            run = lumtool(*arguments, timeout=BOUNDED)
            self.assertOneLineFailure(run, "an attribute value longer than 1 MiB")
        self.assertFalse(os.path.exists(self.path("out.lum")))
        self.assertFalse(os.path.exists(self.path("disc")))


class DeclaredSizeTest(Case):
    def test_music_declared_4_gib_and_stored_300_mib_is_refused_unread(self):
        music = ('<music filename="m.wav"><buffer format="wav">'
                 '<chunk name="m.wav" size="4294967295"/></buffer></music>')
        length = 300 << 20
        header = b"RIFF" + struct.pack("<I", 36 + length) + b"WAVE"
        header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, 22050, 44100, 2, 16)
        header += b"data" + struct.pack("<I", length)
        content = deflated(self.path("music.lum"), {
            "product.xml": PRODUCT.replace("<pages>", music + "<pages>", 1).encode(),
            "m.wav": (header, length)})
        self.assertLess(os.path.getsize(content), 2 << 20)
        run = lumtool("check", content, timeout=BOUNDED)
        self.assertNotEqual(run.returncode, 0)
        self.assertIn("sound 'm.wav' is larger than the player reads of it (128 MiB); "
                      "none of it is read", run.stdout + run.stderr)
        # Not read at all: no more memory than for a menu whose music is a few bytes.
        small = deflated(self.path("small.lum"), {
            "product.xml": PRODUCT.replace("<pages>", music + "<pages>", 1).encode(),
            "m.wav": header})
        self.assertLess(peak_kib("check", content) - peak_kib("check", small), 64 << 10)

    def test_inputs_larger_than_read_are_refused_before_reading(self):
        # Sparse: gigabytes on the disk's books, nothing on the disk.
        huge = self.path("huge.gif")
        with open(huge, "wb") as f:
            f.truncate(3 << 30)
        run = lumtool("gif", huge, "-o", self.path("frames"), timeout=BOUNDED)
        self.assertOneLineFailure(run, "huge.gif", "is larger than the player reads (257 MiB)")
        self.assertFalse(os.path.exists(self.path("frames")))
        tiny = self.write("tiny.gif", b"GIF89a")
        self.assertLess(peak_kib("gif", huge, "-o", self.path("frames")) -
                        peak_kib("gif", tiny, "-o", self.path("frames")), 64 << 10)

        with open(self.path("menu/product.xml"), "r+b") as f:
            f.truncate(100 << 20)
        run = lumtool("pack", self.menu, "-o", self.path("out.lum"), timeout=BOUNDED)
        self.assertOneLineFailure(run, "product.xml", "is larger than the player reads (64 MiB)")
        self.assertFalse(os.path.exists(self.path("out.lum")))
        self.assertLess(peak_kib("pack", self.menu, "-o", self.path("out.lum")) -
                        peak_kib("gif", tiny, "-o", self.path("frames")), 64 << 10)


if __name__ == "__main__":
    unittest.main()
