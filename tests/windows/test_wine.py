"""The cross-built lumplayer.exe and lumtool.exe under Wine on a private virtual display:
the window and its title, goto and back, a website reaching the host's xdg-open, quit,
lumtool's check and render against the Linux build's on the same files, and both players
from one medium made by the Linux lumtool.

Run by `bash scripts/windows.sh e2e`; LUM_WINDOWS_BUILD_DIR names the Windows build and
LUM_BUILD_DIR a Linux build with lumtool."""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from playerkit import (Display, button, page, product, wait_until, write_content,  # noqa: E402
                       xdotool, png_bytes)

WINDOWS_BUILD = os.environ.get("LUM_WINDOWS_BUILD_DIR", "")
LINUX_BUILD = os.environ.get("LUM_BUILD_DIR", "")
WINE = shutil.which("wine64") or shutil.which("wine") or "wine64"


def goto(target):
    return '<action type="change-page" change-page="goto-page" page="%s"/>' % target


BACK = '<action type="change-page" change-page="go-back"/>'
QUIT = '<action type="quit-program"/>'
WEBSITE = "https://www.example.com/a?b=c"


def menu_pages():
    row = [button("to1", 10, 10, 90, 40, goto("P1")),
           button("back", 110, 10, 90, 40, BACK),
           button("web", 210, 10, 90, 40, '<action type="open-website" website="%s"/>' % WEBSITE),
           button("quit", 310, 10, 90, 40, QUIT)]
    return [page("P0", row), page("P1", row)]


class WineTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.display = Display("1024x768")
        cls.root = tempfile.mkdtemp(prefix="lum-wine-")
        cls.bin = os.path.join(cls.root, "bin")
        cls.record = os.path.join(cls.root, "opened.txt")
        os.makedirs(cls.bin)
        # Wine hands web addresses to the host's xdg-open; this one records them.
        recorder = os.path.join(cls.bin, "xdg-open")
        with open(recorder, "w") as f:
            f.write("#!/bin/sh\nprintf '%%s\\n' \"$@\" >> '%s'\n" % cls.record)
        os.chmod(recorder, 0o755)
        cls.env = dict(os.environ, DISPLAY=cls.display.name,
                       PATH=cls.bin + os.pathsep + os.environ.get("PATH", ""),
                       WINEPREFIX=os.environ.get("LUM_WINEPREFIX", os.path.join(cls.root, "wine")),
                       WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        cls.env.pop("WAYLAND_DISPLAY", None)
        subprocess.run([WINE, "wineboot", "--init"], env=cls.env, timeout=300,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The player beside its content file, as on a medium.
        cls.medium = os.path.join(cls.root, "medium")
        os.makedirs(cls.medium)
        shutil.copy(os.path.join(WINDOWS_BUILD, "lumplayer.exe"), cls.medium)
        cls.content = write_content(os.path.join(cls.medium, "content.lum"),
                                    product(menu_pages(), title="Wine Menu"))

    @classmethod
    def tearDownClass(cls):
        subprocess.run([WINE, "wineserver", "-k"], env=cls.env, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        cls.display.close()
        shutil.rmtree(cls.root, ignore_errors=True)

    def window_titled(self, title, timeout=60.0):
        def find():
            out = xdotool(self.display, "search", "--onlyvisible", "--name", "^%s$" % title.replace("[", "\\[").replace("]", "\\]"))
            return int(out.split()[0]) if out else None
        return wait_until(find, timeout)

    def title(self, window):
        return xdotool(self.display, "getwindowname", window)

    def click(self, window, x, y):
        xdotool(self.display, "mousemove", "--window", window, x, y, check=True)
        time.sleep(0.2)
        xdotool(self.display, "click", 1, check=True)
        time.sleep(0.8)

    def test_the_player_shows_navigates_opens_a_website_and_quits(self):
        player = subprocess.Popen([WINE, os.path.join(self.medium, "lumplayer.exe"), "content.lum",
                                   "-nosplash"], cwd=self.medium, env=self.env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            window = self.window_titled("Wine Menu [P0]")
            self.assertIsNotNone(window, "no window titled 'Wine Menu [P0]'")
            self.click(window, 55, 30)
            self.assertTrue(wait_until(lambda: self.title(window) == "Wine Menu [P1]", 10),
                            self.title(window))
            self.click(window, 155, 30)
            self.assertTrue(wait_until(lambda: self.title(window) == "Wine Menu [P0]", 10),
                            self.title(window))
            self.click(window, 255, 30)
            self.assertTrue(wait_until(lambda: os.path.exists(self.record), 30))
            with open(self.record) as f:
                self.assertEqual(f.read().splitlines(), [WEBSITE])
            self.click(window, 355, 30)
            self.assertEqual(player.wait(timeout=60), 0)
        finally:
            if player.poll() is None:
                player.kill()
                player.wait()

    def play_and_quit(self, command, cwd):
        """Starts a player, waits for the menu's first page and quits it with its button."""
        player = subprocess.Popen(command, cwd=cwd, env=self.env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        try:
            window = self.window_titled("Wine Menu [P0]")
            self.assertIsNotNone(window, "%s shows no window titled 'Wine Menu [P0]'" % command)
            self.click(window, 355, 30)
            self.assertEqual(player.wait(timeout=60), 0, command)
        finally:
            if player.poll() is None:
                player.kill()
                player.wait()

    def test_both_players_run_from_a_medium_lumtool_made(self):
        tree = os.path.join(self.root, "both players")
        made = subprocess.run([os.path.join(LINUX_BUILD, "lumtool"), "medium", self.content,
                               "-o", tree, "--windows-player",
                               os.path.join(WINDOWS_BUILD, "lumplayer.exe")],
                              capture_output=True, text=True, timeout=300, env=self.env)
        self.assertEqual(made.returncode, 0, made.stderr)
        with open(os.path.join(tree, "autorun.inf"), "rb") as f:
            autorun = f.read().decode("utf-16")
        self.assertIn("open=lumplayer.exe\r\n", autorun)
        # Each system's player from the medium's root, without arguments, as a user starts it.
        self.play_and_quit([WINE, os.path.join(tree, "lumplayer.exe")], tree)
        self.play_and_quit([os.path.join(tree, "lumplayer")], tree)

    def run_both(self, *args):
        linux = subprocess.run([os.path.join(LINUX_BUILD, "lumtool")] + list(args),
                               capture_output=True, text=True, timeout=120, cwd=self.root,
                               env=dict(self.env, DISPLAY=self.display.name))
        windows = subprocess.run([WINE, os.path.join(WINDOWS_BUILD, "lumtool.exe")] + list(args),
                                 capture_output=True, text=True, timeout=300, cwd=self.root,
                                 env=self.env)
        return linux, windows

    def test_check_prints_what_the_linux_lumtool_prints(self):
        broken = write_content(os.path.join(self.root, "broken.lum"), product(
            [page("main", [button("b", 10, 10, 90, 40, goto("nowhere"))]),
             page("Main", [])]))
        for content in (os.path.basename(broken), os.path.relpath(self.content, self.root)):
            linux, windows = self.run_both("check", content)
            self.assertEqual(windows.returncode, linux.returncode, windows.stderr)
            self.assertEqual(windows.stdout.replace("\r\n", "\n"), linux.stdout)
        # The broken menu has something to find.
        self.assertEqual(self.run_both("check", os.path.basename(broken))[0].returncode, 1)

    def test_render_gives_the_same_picture(self):
        def image(name, attachment, x, y, width, height):
            return ('<image name="%s" coloured="true" rotation="0" visible="true">'
                    '<center x="%g" y="%g"/><size width="%g" height="%g"/>'
                    '<attachment-bitmap name="%s"/></image>'
                    % (name, x + width / 2, y + height / 2, width, height, attachment))
        # No text: the fonts of the two systems differ, the pictures must not.
        content = write_content(os.path.join(self.root, "picture.lum"), product(
            [page("P0", [image("back", "back.png", 0, 0, 320, 240),
                         image("red", "red.png", 40, 35, 120, 90)], width=320, height=240)],
            width="320", height="240"),
            {"back.png": png_bytes(320, 240, (30, 90, 160)), "red.png": png_bytes(120, 90, (200, 0, 0))})
        name = os.path.basename(content)
        linux = subprocess.run([os.path.join(LINUX_BUILD, "lumtool"), "render", name, "-o", "linux.png"],
                               capture_output=True, text=True, timeout=120, cwd=self.root, env=self.env)
        self.assertEqual(linux.returncode, 0, linux.stderr)
        windows = subprocess.run([WINE, os.path.join(WINDOWS_BUILD, "lumtool.exe"), "render", name,
                                  "-o", "windows.png"],
                                 capture_output=True, text=True, timeout=300, cwd=self.root,
                                 env=self.env)
        self.assertEqual(windows.returncode, 0, windows.stderr)

        def pixels(file):
            return subprocess.run(["convert", os.path.join(self.root, file), "-depth", "8", "rgba:-"],
                                  capture_output=True, check=True, timeout=60).stdout

        def size(file):
            with open(os.path.join(self.root, file), "rb") as f:
                header = f.read(24)
            return struct.unpack(">II", header[16:24])
        self.assertEqual(size("linux.png"), (320, 240))
        self.assertEqual(size("windows.png"), size("linux.png"))
        linux_pixels, windows_pixels = pixels("linux.png"), pixels("windows.png")
        differing = [i // 4 for i in range(0, len(linux_pixels), 4)
                     if linux_pixels[i:i + 4] != windows_pixels[i:i + 4]]
        self.assertEqual(differing[:10], [], "pixels (x + 320 y) that differ")
        # Opaque, as on the screen.
        self.assertEqual(windows_pixels[3::4], b"\xff" * (320 * 240))


if __name__ == "__main__":
    unittest.main()
