"""The include check passes on this tree, and fails, naming file and line, on a copy of the
tree that breaks the layering."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
CHECK = os.path.join(HERE, "check_layers.py")


def run(root):
    result = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
    return result.returncode, result.stdout + result.stderr


class LayersTest(unittest.TestCase):
    def setUp(self):
        self.copy = tempfile.mkdtemp(prefix="lum-layers-")
        self.addCleanup(shutil.rmtree, self.copy)
        shutil.copy(os.path.join(ROOT, "README.md"), self.copy)
        for folder in ("src", "fuzz"):
            shutil.copytree(os.path.join(ROOT, folder), os.path.join(self.copy, folder))

    def add_line(self, path, line):
        """Inserts line as the first line of the copy's file; returns its line number."""
        full = os.path.join(self.copy, path)
        with open(full, encoding="utf-8") as f:
            text = f.read()
        with open(full, "w", encoding="utf-8") as f:
            f.write(line + "\n" + text)
        return 1

    def test_this_tree_keeps_its_layers(self):
        status, output = run(ROOT)
        self.assertEqual(status, 0, output)

    def test_the_tool_reaching_into_the_player_is_refused(self):
        self.add_line("src/tools/lumtool/main.cpp", '#include "app/MainFrame.h"')
        status, output = run(self.copy)
        self.assertEqual(status, 1)
        self.assertIn('src/tools/lumtool/main.cpp:1: #include "app/MainFrame.h"', output)
        self.assertIn("may not include folder app", output)

    def test_a_lower_folder_including_a_higher_one_is_refused(self):
        self.add_line("src/graphics/Geometry.h", '#include "lum/data/Page.h"')
        self.add_line("src/tarn/Text.cpp", "#include <wx/string.h>")
        status, output = run(self.copy)
        self.assertEqual(status, 1)
        self.assertIn("src/graphics/Geometry.h:1:", output)
        self.assertIn("src/tarn/Text.cpp:1: #include <wx/string.h>: src/tarn may not use wxWidgets",
                      output)

    def test_platform_headers_stay_in_the_platform_layer(self):
        self.add_line("src/lum/History.cpp", "#include <unistd.h>")
        self.add_line("src/graphics/Geometry.cpp", "#include <someone/else.h>")
        status, output = run(self.copy)
        self.assertEqual(status, 1)
        self.assertIn("src/lum/History.cpp:1: #include <unistd.h>: src/lum may not use POSIX", output)
        self.assertIn("src/graphics/Geometry.cpp:1: #include <someone/else.h>: a header of no known library",
                      output)

    def test_a_new_source_folder_needs_a_row(self):
        os.makedirs(os.path.join(self.copy, "src", "extra"))
        with open(os.path.join(self.copy, "src", "extra", "Extra.h"), "w") as f:
            f.write("#pragma once\n")
        status, output = run(self.copy)
        self.assertEqual(status, 1)
        self.assertIn("src/extra: the folder has sources but no row", output)


if __name__ == "__main__":
    unittest.main()
