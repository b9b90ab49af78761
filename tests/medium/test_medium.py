"""The demo menu on a medium made by "lumtool medium": the tree, and a copy extracted from its
ISO image, play in a sandbox (bubblewrap) where the system's wxWidgets and SDL2 cannot be
read, from a read-only folder whose path holds a blank and a non-ASCII letter."""

import os
import re
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from playerkit import (BUILD_DIR, LUMTOOL, PLAYER, Display, Player, Sandbox,  # noqa: E402
                       wait_until, xdotool)

# Where the medium appears inside the sandbox.
MOUNT = "/media/Ménu disc"
DEMO_TITLE = "Lumplayer Demo Disc"
README_BUTTON = (176, 236)  # "Open the readme": a run-file of demo-docs/readme.txt

DISPLAY = None
WORK = None
TREE = None
IMAGE = None


def setUpModule():
    global DISPLAY, WORK, TREE, IMAGE
    WORK = tempfile.mkdtemp(prefix="lum-medium-")
    # The files the demo's buttons and icon name go on the medium beside the menu.
    TREE = os.path.join(WORK, "Demo medïum")
    os.makedirs(TREE)
    shutil.copytree(os.path.join(BUILD_DIR, "demo-docs"), os.path.join(TREE, "demo-docs"))
    shutil.copy(os.path.join(BUILD_DIR, "lumplayer-demo.ico"), TREE)
    IMAGE = os.path.join(WORK, "demo disc.iso")
    subprocess.run([LUMTOOL, "medium", os.path.join(BUILD_DIR, "content.lum"), "-o", TREE,
                    "--iso", IMAGE], check=True, capture_output=True, timeout=300)
    DISPLAY = Display()


def tearDownModule():
    DISPLAY.close()
    make_removable(WORK)
    shutil.rmtree(WORK, ignore_errors=True)


def make_removable(folder):
    for root, folders, _ in os.walk(folder):
        for name in folders:
            os.chmod(os.path.join(root, name), 0o755)
    if os.path.isdir(folder):
        os.chmod(folder, 0o755)


def hidden_libraries():
    """The files behind every wxWidgets and SDL2 library the dynamic loader knows."""
    listing = subprocess.run(["ldconfig", "-p"], capture_output=True, text=True, check=True).stdout
    files = set()
    for line in listing.splitlines():
        match = re.match(r"\s*(lib(wx_\S+|SDL2\S*))\s.*=>\s*(\S+)$", line)
        if match:
            files.add(os.path.realpath(match.group(3)))
    return sorted(files)


def descendants(pid):
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                parent = int(f.read().rsplit(")", 1)[1].split()[1])
        except (OSError, ValueError, IndexError):
            continue
        children.setdefault(parent, []).append(int(entry))
    found, todo = [], [pid]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


class SandboxedPlayer(Player):
    """A player started inside bubblewrap: its windows belong to a process below bwrap."""

    def windows(self, visible=True):
        found = []
        for pid in descendants(self.process.pid):
            only_visible = ["--onlyvisible"] if visible else []
            out = xdotool(self.display, "search", *only_visible, "--pid", pid)
            found += [int(window) for window in out.split()]
        return found

    def stop(self):
        for pid in descendants(self.process.pid):
            try:
                os.kill(pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        super().stop()


class DesktopWithoutViewers(Sandbox):
    """No program is registered for any file type: the player hands documents to xdg-open."""

    def env(self, display):
        env = super().env(display)
        nothing = os.path.join(self.root, "no-applications")
        os.makedirs(nothing, exist_ok=True)
        env.update({"XDG_DATA_DIRS": nothing, "XDG_DATA_HOME": nothing})
        return env


class MediumTest(unittest.TestCase):
    def setUp(self):
        self.sandbox = DesktopWithoutViewers()
        self.players = []

    def tearDown(self):
        for player in self.players:
            player.stop()
        self.sandbox.close()

    def start(self, medium, command, cwd=MOUNT):
        """Runs command in the sandbox, with medium bound read-only at MOUNT."""
        hide = []
        for library in hidden_libraries():
            hide += ["--ro-bind", "/dev/null", library]
        wrapped = ["--ro-bind", "/", "/", "--dev", "/dev", "--proc", "/proc",
                   # the recording desktop programs and the temporary folder
                   "--bind", self.sandbox.root, self.sandbox.root,
                   *hide,
                   "--tmpfs", "/media", "--ro-bind", medium, MOUNT,
                   "--chdir", cwd, "--die-with-parent", "--"] + command
        player = SandboxedPlayer(DISPLAY, self.sandbox, wrapped, program="bwrap")
        self.players.append(player)
        return player

    def shown(self, player):
        window = player.main_window()
        self.assertTrue(window, "no main window; stderr:\n" + player.errors())
        return window

    def assert_plays_the_demo(self, medium):
        """autorun.sh, run in the medium's root as desktops do, shows the demo's first page as
        lumtool renders it, and its run-file button names the file on the medium."""
        player = self.start(medium, ["/bin/sh", "autorun.sh"])
        window = self.shown(player)
        self.assertEqual(player.title(window), DEMO_TITLE + " [Start]")
        # The medium is read-only: the music's copy goes to the temporary folder.
        music = lambda: [name for name in os.listdir(self.sandbox.tmp) if name.endswith(".wav")]
        self.assertTrue(wait_until(music, 10), player.errors())

        player.park_pointer()
        time.sleep(0.5)
        width, height, shown = player.screenshot(window)
        picture = os.path.join(self.sandbox.root, "main.png")
        subprocess.run([LUMTOOL, "render", os.path.join(medium, "content.lum"), "-o", picture],
                       check=True, capture_output=True, env=self.sandbox.env(DISPLAY), timeout=120)
        rendered = subprocess.run(["convert", picture, "-depth", "8", "rgb:-"], check=True,
                                  capture_output=True).stdout
        self.assertEqual((width, height), (800, 600))
        self.assertEqual(len(rendered), len(shown))
        differing = sum(1 for i in range(0, len(shown), 3) if shown[i:i + 3] != rendered[i:i + 3])
        self.assertEqual(differing, 0)

        player.click(window, *README_BUTTON)
        self.assertTrue(wait_until(lambda: self.sandbox.opened(), 10), player.errors())
        self.assertEqual(self.sandbox.opened(),
                         [["xdg-open", os.path.join(MOUNT, "demo-docs", "readme.txt")]])


class TreeTest(MediumTest):
    def test_the_tree_plays_the_demo(self):
        self.assert_plays_the_demo(TREE)

    def test_the_launcher_starts_from_another_folder_with_arguments(self):
        player = self.start(TREE, [os.path.join(MOUNT, "lumplayer"), "-nosplash", "-page", "guide"],
                            cwd=self.sandbox.root)
        window = self.shown(player)
        self.assertRegex(player.title(window), r"^%s \[.+\]$" % DEMO_TITLE)
        self.assertNotEqual(player.title(window), DEMO_TITLE + " [Start]")

    def test_a_medium_without_execute_bits_still_plays(self):
        # FAT file systems are often mounted so that no file is executable.
        plain = os.path.join(self.sandbox.root, "plain copy")
        shutil.copytree(TREE, plain)
        for root, _, files in os.walk(plain):
            for name in files:
                path = os.path.join(root, name)
                executable = stat.S_IXUSR | stat.S_IXGRP | stat.S_IXOTH
                os.chmod(path, os.stat(path).st_mode & ~executable)
        player = self.start(plain, ["/bin/sh", "autorun.sh"])
        self.assertEqual(player.title(self.shown(player)), DEMO_TITLE + " [Start]")

    def test_the_systems_toolkit_and_sdl_are_out_of_reach(self):
        libraries = [os.path.basename(path) for path in hidden_libraries()]
        self.assertTrue(any(name.startswith("libwx_baseu-3.2") for name in libraries), libraries)
        self.assertTrue(any(name.startswith("libSDL2-2.0") for name in libraries), libraries)
        # The player of the build, which uses them, cannot start in the sandbox.
        player = self.start(TREE, [PLAYER, os.path.join(MOUNT, "content.lum")])
        self.assertIsNotNone(player.wait_exit(60))
        self.assertNotEqual(player.process.returncode, 0)
        self.assertIn("error while loading shared libraries", player.errors())


class ImageTest(MediumTest):
    def test_the_listing_keeps_the_execute_bits_and_the_label(self):
        listing = subprocess.run(["xorriso", "-indev", IMAGE, "-find", "/", "-exec", "lsdl"],
                                 capture_output=True, text=True, check=True).stdout
        modes = {}
        for line in listing.splitlines():
            match = re.match(r"^(\S{10})\s.*'(/[^']*)'$", line)
            if match:
                modes[match.group(2)] = match.group(1)
        for name in ("/autorun.sh", "/lumplayer", "/.lumplayer/bin/lumplayer"):
            self.assertRegex(modes.get(name, ""), r"^-..x..x..x$", name)
        self.assertRegex(modes.get("/content.lum", ""), r"^-r..r..r..$")
        self.assertIn("/demo-docs/readme.txt", modes)
        info = subprocess.run(["xorriso", "-indev", IMAGE, "-pvd_info"],
                              capture_output=True, text=True, check=True).stdout
        self.assertRegex(info, re.compile(r"^Volume Id\s*:\s*%s\s*$" % re.escape(DEMO_TITLE), re.M))

    def test_a_copy_extracted_from_the_image_plays_the_demo(self):
        copy = os.path.join(self.sandbox.root, "from image")
        subprocess.run(["xorriso", "-osirrox", "on", "-indev", IMAGE, "-extract", "/", copy],
                       check=True, capture_output=True, timeout=120)
        try:
            self.assert_plays_the_demo(copy)
        finally:
            make_removable(copy)


if __name__ == "__main__":
    unittest.main()
