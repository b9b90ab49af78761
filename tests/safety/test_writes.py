"""lumtool's writes on a menu folder from a stranger: planted links, full disks, kills, races,
outputs named after inputs and files in other encodings. Whatever happens, no file outside the
command's output is written, an original stays byte-identical when the command fails, and the
failure is one line with the reason and a non-zero status."""

import hashlib
import os
import random
import shutil
import signal
import subprocess
import tempfile
import threading
import time
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../support"))
import picturefiles  # noqa: E402

BUILD = os.environ.get("LUM_BUILD_DIR", os.path.join(os.path.dirname(__file__), "../../build"))
LUMTOOL = os.path.join(BUILD, "lumtool")

PRODUCT = ('<?xml version="1.0" encoding="UTF-8"?>\n'
           '<product title="Safe">\n'
           '  <pages>\n'
           '    <page name="main"><document/></page>\n'
           '  </pages>\n'
           '  <clientsize width="640" height="480"/>\n'
           '  <translations>\n'
           '    <translation id="t1" language="de-de" default="Hello" translation="Hallo"/>\n'
           '  </translations>\n'
           '</product>\n')


def po(entries):
    """A PO file for de-de of (msgctxt, msgid, msgstr) triples."""
    text = ('msgid ""\nmsgstr ""\n"Content-Type: text/plain; charset=UTF-8\\n"\n'
            '"Language: de_DE\\n"\n\n')
    for context, msgid, msgstr in entries:
        text += 'msgctxt "%s"\nmsgid "%s"\nmsgstr "%s"\n\n' % (context, msgid, msgstr)
    return text


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def tree(folder):
    """Every name below folder with what it is and its bytes' digest."""
    found = {}
    for root, folders, files in os.walk(folder):
        for name in folders + files:
            path = os.path.join(root, name)
            relative = os.path.relpath(path, folder)
            if os.path.islink(path):
                found[relative] = "link:" + os.readlink(path)
            elif os.path.isfile(path):
                found[relative] = digest(path)
            else:
                found[relative] = "folder"
    return found


def lumtool(*arguments, cwd=None, timeout=240):
    return subprocess.run([LUMTOOL, *arguments], cwd=cwd, capture_output=True, text=True,
                          timeout=timeout)


class Case(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="lumsafety-")
        self.menu = os.path.join(self.root, "menu")
        os.makedirs(os.path.join(self.menu, "art"))
        self.write("menu/product.xml", PRODUCT)
        self.write("menu/art/a.bin", b"picture bytes")
        self.victim = self.write("home/.bashrc", "precious\n")
        os.chmod(self.victim, 0o600)

    def tearDown(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.root, name)

    def write(self, name, content):
        path = self.path(name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(content.encode() if isinstance(content, str) else content)
        return path

    def reference(self, *names):
        """Makes the menu's page show each file, so that pack takes it into the content file."""
        images = "".join('<image name="%s"><attachment-bitmap name="%s"/></image>' % (name, name)
                         for name in names)
        self.write("menu/product.xml", PRODUCT.replace("<document/>",
                                                       "<document>%s</document>" % images))

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def assertVictimUntouched(self):
        self.assertEqual(self.read("home/.bashrc"), b"precious\n")
        self.assertEqual(os.stat(self.victim).st_mode & 0o777, 0o600)

    def assertOneLineFailure(self, run, *words):
        self.assertNotEqual(run.returncode, 0, run.stdout)
        lines = [line for line in run.stderr.splitlines() if line.startswith("lumtool: ")
                 and not line.startswith("lumtool: warning")]
        self.assertEqual(len(lines), 1, run.stderr)
        for word in words:
            self.assertIn(word, lines[0])

    def assertNoTemporaryFiles(self, folder):
        left = [name for name in os.listdir(folder)
                if name.startswith(".") and ".lumtool-" in name]
        self.assertEqual(left, [], folder)


class PlantedLinkTest(Case):
    def test_import_never_writes_through_a_link_at_the_old_temporary_name(self):
        os.symlink(self.victim, self.path("menu/product.xml.lumtool-new"))
        self.write("de.po", po([("t1", "Hello", "Servus")]))
        run = lumtool("translations", "import", self.menu, self.path("de.po"), "--lang", "de-de")
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertVictimUntouched()
        self.assertIn(b'translation="Servus"', self.read("menu/product.xml"))
        self.assertTrue(os.path.islink(self.path("menu/product.xml.lumtool-new")))
        self.assertNoTemporaryFiles(self.menu)

    def test_outputs_that_are_links_are_refused_unless_asked(self):
        self.write("de.po", po([("t1", "Hello", "Servus")]))
        self.write("de.txt", "lum.Key=Wert\n")
        commands = {
            "pack": ["pack", self.menu, "-o"],
            "export": ["translations", "export", self.menu, "--lang", "de-de", "-o"],
            "langpack": ["langpack", "build", self.path("de.txt"), "--lang", "de-de",
                         "--app", "quellbrook", "-o"],
        }
        for name, command in commands.items():
            with self.subTest(command=name):
                link = self.path("out-" + name)
                os.symlink(self.victim, link)
                run = lumtool(*command, link)
                self.assertOneLineFailure(run, "symbolic link", "--through-link")
                self.assertVictimUntouched()
                # Asked for, the file the link leads to is replaced, the link stays.
                target = self.write("real-" + name, "old")
                os.unlink(link)
                os.symlink(target, link)
                run = lumtool(*command, link, "--through-link")
                self.assertEqual(run.returncode, 0, run.stderr)
                self.assertTrue(os.path.islink(link))
                self.assertNotEqual(self.read("real-" + name), b"old")
        self.assertVictimUntouched()
        self.assertNoTemporaryFiles(self.root)


class OutwardLinkTest(Case):
    def test_a_link_to_a_private_file_is_reported_and_never_packed(self):
        os.symlink(os.path.relpath(self.victim, self.menu), self.path("menu/readme.txt"))
        packed = self.path("content.lum")
        run = lumtool("pack", self.menu, "-o", packed)
        self.assertOneLineFailure(run, "'readme.txt'", "--allow-outside-links")
        self.assertFalse(os.path.exists(packed))
        run = lumtool("check", self.menu)
        self.assertEqual(run.returncode, 1, run.stdout + run.stderr)
        self.assertIn("folder: 'readme.txt' is a link that leads out of the menu folder",
                      run.stdout)


class GifFramesTest(Case):
    def test_frames_never_write_through_a_planted_link_nor_over_their_gif(self):
        self.write("menu/art/anim.gif", picturefiles.gif_still(4, 4))
        os.symlink(self.victim, self.path("menu/art/anim-000.png"))
        run = lumtool("gif", self.path("menu/art/anim.gif"), "-o", self.path("menu/art"))
        self.assertOneLineFailure(run, "symbolic link")
        self.assertVictimUntouched()
        gif = self.write("menu/art/x-000.png", picturefiles.gif_still(4, 4))
        run = lumtool("gif", gif, "--name", "x", "-o", self.path("menu/art"))
        self.assertOneLineFailure(run, "is the input")
        self.assertEqual(self.read("menu/art/x-000.png"), picturefiles.gif_still(4, 4))


class DescriptionLinkTest(Case):
    def test_a_description_that_links_out_of_the_folder_is_not_written(self):
        os.unlink(self.path("menu/product.xml"))
        os.symlink(self.victim, self.path("menu/product.xml"))
        self.write("de.po", po([("t1", "Hello", "Servus")]))
        run = lumtool("translations", "import", self.menu, self.path("de.po"), "--lang", "de-de")
        self.assertOneLineFailure(run, "leads out of the menu folder")
        self.assertVictimUntouched()

    def test_a_description_linked_inside_the_folder_is_edited_where_it_is(self):
        os.rename(self.path("menu/product.xml"), self.path("menu/real.xml"))
        os.symlink("real.xml", self.path("menu/product.xml"))
        self.write("de.po", po([("t1", "Hello", "Servus")]))
        run = lumtool("translations", "import", self.menu, self.path("de.po"), "--lang", "de-de")
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertTrue(os.path.islink(self.path("menu/product.xml")))
        self.assertIn(b'translation="Servus"', self.read("menu/real.xml"))

    def test_hard_links_and_read_only_descriptions_are_refused_untouched(self):
        self.write("de.po", po([("t1", "Hello", "Servus")]))
        os.link(self.path("menu/product.xml"), self.path("other-name.xml"))
        before = self.read("menu/product.xml")
        run = lumtool("translations", "import", self.menu, self.path("de.po"), "--lang", "de-de")
        self.assertOneLineFailure(run, "hard links")
        self.assertEqual(self.read("other-name.xml"), before)
        os.unlink(self.path("other-name.xml"))
        os.chmod(self.path("menu/product.xml"), 0o444)
        run = lumtool("translations", "import", self.menu, self.path("de.po"), "--lang", "de-de")
        self.assertOneLineFailure(run, "read-only")
        self.assertEqual(self.read("menu/product.xml"), before)
        self.assertNoTemporaryFiles(self.menu)


class OutputIsInputTest(Case):
    def test_no_command_writes_over_or_into_what_it_reads(self):
        before = tree(self.menu)
        for command in (["pack", self.menu, "-o", self.path("menu/product.xml")],
                        ["pack", self.menu, "-o", self.path("menu/content.lum")],
                        ["pack", self.menu, "-o", self.path("menu/art/../product.xml")],
                        ["translations", "export", self.menu, "--lang", "de-de", "-o",
                         self.path("menu/product.xml")]):
            with self.subTest(command=command):
                run = lumtool(*command)
                self.assertOneLineFailure(run)
                self.assertEqual(tree(self.menu), before)
        packed = self.path("content.lum")
        self.assertEqual(lumtool("pack", self.menu, "-o", packed).returncode, 0)
        run = lumtool("translations", "export", packed, "--lang", "de-de", "-o", packed)
        self.assertOneLineFailure(run, "is the input")
        os.link(packed, self.path("same.lum"))
        run = lumtool("translations", "export", packed, "--lang", "de-de", "-o",
                      self.path("same.lum"))
        self.assertOneLineFailure(run)


class EncodingTest(Case):
    def test_a_latin1_description_is_refused_with_how_to_convert_it(self):
        latin1 = PRODUCT.replace('encoding="UTF-8"', 'encoding="ISO-8859-1"').replace(
            "Safe", "Gr\u00fc\u00dfe").encode("latin-1")
        self.write("menu/product.xml", latin1)
        self.write("de.po", po([("t1", "Hello", "Gr\u00fc\u00dfe")]))
        run = lumtool("translations", "import", self.menu, self.path("de.po"), "--lang", "de-de")
        self.assertOneLineFailure(run, "ISO-8859-1", "iconv")
        self.assertEqual(self.read("menu/product.xml"), latin1)

    def test_utf16_is_refused_by_name_and_ascii_gets_character_references(self):
        utf16 = PRODUCT.replace('encoding="UTF-8"', 'encoding="UTF-16"').encode("utf-16")
        self.write("menu/product.xml", utf16)
        self.write("de.po", po([("t1", "Hello", "Gr\u00fc\u00dfe")]))
        run = lumtool("translations", "import", self.menu, self.path("de.po"), "--lang", "de-de")
        self.assertOneLineFailure(run, "UTF-16")
        self.assertEqual(self.read("menu/product.xml"), utf16)

        self.write("menu/product.xml", PRODUCT.replace('encoding="UTF-8"', 'encoding="US-ASCII"'))
        run = lumtool("translations", "import", self.menu, self.path("de.po"), "--lang", "de-de")
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn(b'translation="Gr&#xfc;&#xdf;e"', self.read("menu/product.xml"))


def small_disk(test, size):
    """A tmpfs of size bytes, for a full disk; skips the test where none can be mounted."""
    if os.geteuid() != 0:
        test.skipTest("mounting a small tmpfs needs root (CI runs as root)")
    mount = tempfile.mkdtemp(prefix="lumdisk-")
    done = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%d" % size, "tmpfs", mount],
                          capture_output=True, text=True)
    if done.returncode != 0:
        os.rmdir(mount)
        test.skipTest("no tmpfs could be mounted: " + done.stderr.strip())
    test.addCleanup(lambda: (subprocess.run(["umount", "-l", mount]), os.rmdir(mount)))
    return mount


def fill(disk, leave=0):
    """Fills the disk until at most leave bytes are free."""
    with open(os.path.join(disk, "filler"), "wb") as f:
        chunk = b"\0" * 65536
        try:
            while True:
                free = os.statvfs(disk).f_bavail * os.statvfs(disk).f_frsize
                if free <= leave:
                    break
                f.write(chunk[:max(4096, min(len(chunk), free - leave))])
                f.flush()
        except OSError:
            pass


class FullDiskTest(Case):
    def test_pack_over_a_good_content_file_on_a_full_disk_keeps_it(self):
        disk = small_disk(self, 4 << 20)
        self.write("menu/art/noise.bin", random.Random(1).randbytes(1 << 20))
        self.reference("art/noise.bin", "art/more.bin")
        packed = os.path.join(disk, "content.lum")
        self.assertEqual(lumtool("pack", self.menu, "-o", packed).returncode, 0)
        before = digest(packed)
        self.write("menu/art/more.bin", random.Random(2).randbytes(1 << 20))
        fill(disk, leave=256 << 10)
        run = lumtool("pack", self.menu, "-o", packed)
        self.assertOneLineFailure(run, "No space left on device")
        self.assertEqual(digest(packed), before)
        self.assertNoTemporaryFiles(disk)

    def test_import_and_export_on_a_full_disk_keep_the_originals(self):
        disk = small_disk(self, 1 << 20)
        menu = os.path.join(disk, "menu")
        shutil.copytree(self.menu, menu)
        self.write("de.po", po([("t%d" % i, "Text %d" % i, "Text %d" % i) for i in range(200)]))
        before = tree(menu)
        fill(disk)
        run = lumtool("translations", "import", menu, self.path("de.po"), "--lang", "de-de")
        self.assertOneLineFailure(run, "No space left on device")
        self.assertEqual(tree(menu), before)
        run = lumtool("translations", "export", menu, "--lang", "de-de", "-o",
                      os.path.join(disk, "de.po"))
        self.assertOneLineFailure(run, "No space left on device")
        self.assertFalse(os.path.exists(os.path.join(disk, "de.po")))
        self.assertNoTemporaryFiles(disk)


class InterruptionTest(Case):
    def big_menu(self):
        for i in range(6):
            self.write("menu/art/big%d.bin" % i, random.Random(i).randbytes(16 << 20))
        self.reference(*["art/big%d.bin" % i for i in range(6)])

    def test_a_killed_pack_leaves_the_old_content_file_whole(self):
        self.big_menu()
        packed = self.path("content.lum")
        self.assertEqual(lumtool("pack", self.menu, "-o", packed).returncode, 0)
        before = digest(packed)
        for delay in (0.05, 0.3, 1.0):
            with self.subTest(delay=delay):
                process = subprocess.Popen([LUMTOOL, "pack", self.menu, "-o", packed],
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                time.sleep(delay)
                process.send_signal(signal.SIGKILL)
                process.wait()
                self.assertEqual(digest(packed), before)
        # What a kill leaves beside is a clearly named temporary file, never the content file.
        for name in os.listdir(self.root):
            if ".lumtool-" in name:
                self.assertTrue(name.startswith(".content.lum.lumtool-"), name)

    def test_an_interrupted_pack_removes_its_temporary_file(self):
        self.big_menu()
        packed = self.path("content.lum")
        process = subprocess.Popen([LUMTOOL, "pack", self.menu, "-o", packed],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline and not any(
                ".lumtool-" in name for name in os.listdir(self.root)):
            time.sleep(0.01)
        process.send_signal(signal.SIGTERM)
        process.wait()
        self.assertFalse(os.path.exists(packed))
        self.assertNoTemporaryFiles(self.root)

    def test_killed_imports_leave_product_xml_old_or_new_and_pack_skips_their_leftovers(self):
        self.write("de.po", po([("t%d" % i, "Text %d" % i, "Text %d" % i) for i in range(3000)]))
        self.reference("art/a.bin")
        old = self.read("menu/product.xml")
        for attempt in range(8):
            process = subprocess.Popen(
                [LUMTOOL, "translations", "import", self.menu, self.path("de.po"), "--lang",
                 "de-de"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(0.1 + attempt * 0.15)
            process.send_signal(signal.SIGKILL)
            process.wait()
            now = self.read("menu/product.xml")
            self.assertTrue(now == old or now.count(b"<translation ") == 3000, attempt)
            self.write("menu/product.xml", old)
        packed = self.path("content.lum")
        run = lumtool("pack", self.menu, "-o", packed)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn("packed 2 files", run.stdout)
        self.assertNotIn("left out", run.stdout)  # the leftovers are no files of the menu


class ListingRaceTest(Case):
    def test_a_folder_that_changes_while_it_is_packed_never_gives_an_empty_archive(self):
        self.reference("art/a.bin")
        packed = self.path("content.lum")
        self.assertEqual(lumtool("pack", self.menu, "-o", packed).returncode, 0)
        before = digest(packed)
        stop = threading.Event()

        def churn():
            churned = os.path.join(self.menu, "churn")
            while not stop.is_set():
                try:
                    os.makedirs(os.path.join(churned, "deeper"), exist_ok=True)
                    shutil.rmtree(churned, ignore_errors=True)
                except OSError:
                    pass

        thread = threading.Thread(target=churn)
        thread.start()
        try:
            for _ in range(20):
                run = lumtool("pack", self.menu, "-o", packed)
                if run.returncode == 0:
                    self.assertIn("packed 2 files", run.stdout)
                    before = digest(packed)
                else:
                    self.assertOneLineFailure(run)
                    self.assertEqual(digest(packed), before)
        finally:
            stop.set()
            thread.join()


if __name__ == "__main__":
    unittest.main()
