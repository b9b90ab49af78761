"""cmake --install into a temporary prefix: the programs, the medium's files, and what the
desktop needs to open content files with lumplayer, checked with the desktop's own tools."""

import os
import re
import shutil
import struct
import subprocess
import tempfile
import unittest
import zipfile

BUILD_DIR = os.environ.get("LUM_BUILD_DIR", "")
PREFIX = None
WORK = None
MIME_TYPE = "application/x-lumplayer-content"


def setUpModule():
    global PREFIX, WORK
    WORK = tempfile.mkdtemp(prefix="lum-install-")
    # No blank: xdg-mime splits XDG_DATA_DIRS at blanks.
    PREFIX = os.path.join(WORK, "prefix-ä")
    subprocess.run(["cmake", "--install", BUILD_DIR, "--prefix", PREFIX], check=True,
                   capture_output=True, timeout=300)


def tearDownModule():
    shutil.rmtree(WORK, ignore_errors=True)


def installed(*parts):
    return os.path.join(PREFIX, *parts)


def desktop_env():
    """A GNOME session whose only data folders are the prefix's and the system's."""
    home = os.path.join(WORK, "home")
    os.makedirs(home, exist_ok=True)
    env = dict(os.environ)
    env.update({"XDG_DATA_HOME": os.path.join(home, ".local", "share"),
                "XDG_DATA_DIRS": installed("share") + ":/usr/share",
                "XDG_CURRENT_DESKTOP": "GNOME", "HOME": home})
    return env


class ProgramsTest(unittest.TestCase):
    def test_programs_and_the_medium_files_are_installed(self):
        for name in ("bin/lumplayer", "bin/lumtool", "lib/lumplayer/medium/lumplayer",
                     "lib/lumplayer/medium/autorun.sh",
                     "lib/lumplayer/medium/.lumplayer/bin/lumplayer"):
            self.assertTrue(os.access(installed(name), os.X_OK), name)
        self.assertTrue(os.path.isfile(
            installed("lib/lumplayer/medium/.lumplayer/lib/libSDL2-2.0.so.0")))

    def test_the_installed_lumtool_makes_a_medium_with_the_installed_files(self):
        medium = os.path.join(WORK, "medium")
        result = subprocess.run([installed("bin/lumtool"), "medium",
                                 os.path.join(BUILD_DIR, "content.lum"), "-o", medium],
                                capture_output=True, text=True, timeout=120)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(os.path.join(medium, ".lumplayer/bin/lumplayer"), "rb") as made, \
                open(installed("lib/lumplayer/medium/.lumplayer/bin/lumplayer"), "rb") as source:
            self.assertEqual(made.read(), source.read())


class DesktopTest(unittest.TestCase):
    def test_the_desktop_file_is_valid_and_opens_content_files(self):
        desktop = installed("share/applications/lumplayer.desktop")
        result = subprocess.run(["desktop-file-validate", desktop], capture_output=True, text=True)
        self.assertEqual((result.returncode, result.stdout + result.stderr), (0, ""))
        with open(desktop) as f:
            text = f.read()
        self.assertRegex(text, re.compile(r"^Exec=lumplayer %[fFuU]$", re.M))
        self.assertRegex(text, re.compile(r"^MimeType=.*%s;" % re.escape(MIME_TYPE), re.M))
        default = subprocess.run(["xdg-mime", "query", "default", MIME_TYPE], env=desktop_env(),
                                 capture_output=True, text=True)
        self.assertEqual(default.stdout.strip(), "lumplayer.desktop", default.stderr)

    def test_packed_content_files_have_the_type_by_name_and_by_content(self):
        menu = os.path.join(WORK, "menu")
        os.makedirs(os.path.join(menu, "art"), exist_ok=True)
        with open(os.path.join(menu, "product.xml"), "w") as f:
            f.write('<product title="T"><pages/></product>')
        with open(os.path.join(menu, "art", "a.png"), "wb") as f:
            f.write(b"picture")
        packed = os.path.join(WORK, "Menü disc.lum")
        unnamed = os.path.join(WORK, "menu.bin")  # only the magic can tell
        for target in (packed, unnamed):
            subprocess.run([installed("bin/lumtool"), "pack", menu, "-o", target], check=True,
                           capture_output=True, timeout=60)
        other = os.path.join(WORK, "other.bin")
        with zipfile.ZipFile(other, "w") as archive:
            archive.writestr("art/a.png", b"picture")
            archive.writestr("product.xml", "<product/>")
        expected = {packed: MIME_TYPE, unnamed: MIME_TYPE, other: "application/zip"}
        for path, mime_type in expected.items():
            result = subprocess.run(["xdg-mime", "query", "filetype", path], env=desktop_env(),
                                    capture_output=True, text=True)
            self.assertEqual(result.stdout.strip(), mime_type, path)

    def test_the_icon_comes_in_the_hicolor_sizes(self):
        for size in (16, 22, 24, 32, 48, 64, 128, 256):
            path = installed("share/icons/hicolor/%dx%d/apps/lumplayer.png" % (size, size))
            with open(path, "rb") as f:
                head = f.read(24)
            self.assertEqual(head[:8], b"\x89PNG\r\n\x1a\n", path)
            self.assertEqual(struct.unpack(">II", head[16:24]), (size, size), path)

    def test_man_renders_both_pages_cleanly(self):
        for name, words in (("lumplayer", ("-nosplash", "content.lum")),
                            ("lumtool", ("medium CONTENT -o FOLDER", "--iso"))):
            page = installed("share/man/man1/%s.1" % name)
            result = subprocess.run(["man", "--warnings", "-l", page], capture_output=True,
                                    text=True, env=dict(os.environ, MANWIDTH="80"))
            self.assertEqual((result.returncode, result.stderr), (0, ""), name)
            text = re.sub(".\b", "", result.stdout)  # bold and underline by overstriking
            self.assertIn("NAME", text)
            self.assertIn("SYNOPSIS", text)
            for word in words:
                self.assertIn(word, text, name)


if __name__ == "__main__":
    unittest.main()
