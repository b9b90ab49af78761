"""The libraries a medium takes from the computer: one list, the same in the README, and the
bundle the build makes keeps to it."""

import fnmatch
import os
import re
import subprocess
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
BUILD_DIR = os.environ.get("LUM_BUILD_DIR", "")


def system_patterns():
    with open(os.path.join(ROOT, "medium", "system-libraries.txt")) as f:
        lines = [line.strip() for line in f]
    return [line for line in lines if line and not line.startswith("#")]


def needed(path):
    dynamic = subprocess.run(["readelf", "-d", path], capture_output=True, text=True,
                             check=True).stdout
    return re.findall(r"\(NEEDED\)\s+Shared library: \[([^]]+)\]", dynamic)


class LibraryListTest(unittest.TestCase):
    def test_the_readme_lists_exactly_the_same_patterns(self):
        with open(os.path.join(ROOT, "README.md")) as f:
            readme = f.read()
        start = readme.index("**The libraries taken from the computer**")
        end = readme.index("**Everything else is bundled.**", start)
        listed = [name for name in re.findall(r"`([^`]+)`", readme[start:end]) if ".so" in name]
        self.assertEqual(sorted(listed), sorted(system_patterns()))

    def test_the_bundle_holds_what_the_player_needs_and_nothing_of_the_desktop(self):
        private = os.path.join(BUILD_DIR, "medium-runtime", ".lumplayer")
        bundled = sorted(os.listdir(os.path.join(private, "lib")))
        patterns = system_patterns()
        for name in bundled:
            self.assertFalse([p for p in patterns if fnmatch.fnmatchcase(name, p)], name)
        for name in ("libwx_baseu-3.2.so.0", "libwx_gtk3u_core-3.2.so.0", "libSDL2-2.0.so.0"):
            self.assertIn(name, bundled)
        # Each file's own needs are bundled or are the computer's.
        files = [os.path.join(private, "bin", "lumplayer")] + \
                [os.path.join(private, "lib", name) for name in bundled]
        for path in files:
            for name in needed(path):
                from_computer = any(fnmatch.fnmatchcase(name, p) for p in patterns)
                self.assertTrue(name in bundled or from_computer,
                                "%s needs %s" % (os.path.basename(path), name))


if __name__ == "__main__":
    unittest.main()
