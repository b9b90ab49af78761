"""The launcher and autorun.sh of a medium made by "lumtool medium" run the player beside
themselves, whatever their folder is called: a name that ends in a line break, starts with a
dash, holds blanks or "$(...)". Beside each medium sits a trap: a folder named as a mangled
name would come out ("menu" for "menu\\n", the OLDPWD that "cd -" goes to), whose player only
leaves a marker file."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from playerkit import BUILD_DIR, LUMTOOL, Display, Sandbox, wait_until  # noqa: E402

NAMES = ["menu\n", "menu\n\n", "-v", "-", "two  words ", "$(touch injected)", "`touch injected`"]

WORK = None
MEDIA = None
MARKER = None
DISPLAY = None


def make_trap(folder):
    """A medium-like folder whose player writes MARKER when run."""
    player = os.path.join(folder, ".lumplayer", "bin", "lumplayer")
    os.makedirs(os.path.dirname(player), exist_ok=True)
    with open(player, "w") as f:
        f.write("#!/bin/sh\necho \"$0 $*\" >> '%s'\n" % MARKER)
    os.chmod(player, 0o755)
    launcher = os.path.join(folder, "lumplayer")
    shutil.copy(player, launcher)


def setUpModule():
    global WORK, MEDIA, MARKER, DISPLAY
    WORK = tempfile.mkdtemp(prefix="lum-launcher-")
    MEDIA = os.path.join(WORK, "media")
    os.makedirs(MEDIA)
    MARKER = os.path.join(WORK, "trap-ran")
    make_trap(os.path.join(MEDIA, "menu"))
    make_trap(os.path.join(WORK, "oldpwd"))
    content = os.path.join(BUILD_DIR, "content.lum")
    for name in NAMES:
        # Relative names, as a user types them: "-v" and "-" must stay folder names.
        subprocess.run([LUMTOOL, "medium", content, "-o", name], cwd=MEDIA, check=True,
                       capture_output=True, timeout=300)
    DISPLAY = Display()


def tearDownModule():
    DISPLAY.close()
    shutil.rmtree(WORK, ignore_errors=True)


class LauncherTest(unittest.TestCase):
    def setUp(self):
        self.sandbox = Sandbox()
        if os.path.exists(MARKER):
            os.remove(MARKER)

    def tearDown(self):
        self.sandbox.close()

    def assert_runs_its_own_player(self, name, command, cwd):
        medium = os.path.join(MEDIA, name)
        env = self.sandbox.env(DISPLAY)
        env["OLDPWD"] = os.path.join(WORK, "oldpwd")
        env["CDPATH"] = WORK
        process = subprocess.Popen(command, cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.PIPE)
        player = os.path.realpath(os.path.join(medium, ".lumplayer", "bin", "lumplayer"))

        def exe():
            try:
                return os.readlink("/proc/%d/exe" % process.pid)
            except OSError:
                return None
        def cmdline():
            try:
                with open("/proc/%d/cmdline" % process.pid, "rb") as f:
                    return f.read().split(b"\0")[:-1]
            except OSError:
                return []

        try:
            # The shells exec: the process becomes the player, or ends. In the midst of the exec
            # the exe link may already name the player while its arguments still read empty.
            started = wait_until(lambda: (exe() == player and cmdline())
                                 or process.poll() is not None, 30)
            running = exe()
            arguments = cmdline() if running else []
        finally:
            process.kill()
            _, errors = process.communicate(timeout=30)
        where = "%r run as %r: %s" % (name, command, errors.decode(errors="replace")[-2000:])
        self.assertTrue(started, where)
        self.assertEqual(running, player, where)
        self.assertEqual(arguments[1:3],
                         [os.path.join(medium, "content.lum").encode(), b"-nosplash"], where)
        self.assertFalse(os.path.exists(MARKER), where)
        self.assertFalse(os.path.exists(os.path.join(cwd, "injected")), where)

    def test_the_launcher_by_its_absolute_path(self):
        for name in NAMES:
            launcher = os.path.join(MEDIA, name, "lumplayer")
            self.assert_runs_its_own_player(name, ["sh", launcher, "-nosplash"], WORK)
            self.assert_runs_its_own_player(name, [launcher, "-nosplash"], WORK)

    def test_the_launcher_by_a_relative_path(self):
        for name in NAMES:
            self.assert_runs_its_own_player(
                name, ["dash", "./" + name + "/lumplayer", "-nosplash"], MEDIA)
            self.assert_runs_its_own_player(name, ["sh", "lumplayer", "-nosplash"],
                                            os.path.join(MEDIA, name))

    def test_autorun_in_the_mediums_root_and_from_elsewhere(self):
        for name in NAMES:
            medium = os.path.join(MEDIA, name)
            self.assert_runs_its_own_player(name, ["sh", "autorun.sh", "-nosplash"], medium)
            self.assert_runs_its_own_player(
                name, ["sh", os.path.join(medium, "autorun.sh"), "-nosplash"], WORK)


if __name__ == "__main__":
    unittest.main()
