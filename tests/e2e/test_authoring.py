"""The player while a menu is being written: an unpacked folder, F5, author mode (-author),
a broken edit, the templates of lumtool new and translations that come back from a PO file."""

import os
import re
import shutil
import subprocess
import time
import unittest

from playerkit import (LUMTOOL, Display, Player, Sandbox, button, page, png_bytes, product,
                       wait_until)

DISPLAY = None


def setUpModule():
    global DISPLAY
    DISPLAY = Display()


def tearDownModule():
    DISPLAY.close()


def goto(target):
    return '<action type="change-page" change-page="goto-page" page="%s"/>' % target


def richtext(words):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<richtext version="1.0.0.0" '
            'xmlns="http://www.wxwidgets.org"><paragraphlayout textcolor="#000000" '
            'fontpointsize="20" fontface="DejaVu Sans"><paragraph><text>%s</text></paragraph>'
            '</paragraphlayout></richtext>' % words)


def text_element(name, attachment, x, y, width, height):
    return ('<text name="%s"><center x="%g" y="%g"/><size width="%g" height="%g"/>'
            '<attachment-richtextbuffer name="%s"/></text>'
            % (name, x + width / 2, y + height / 2, width, height, attachment))


def menu_pages(extra_page=True):
    """P0 with a button to P1; P1 with a text read from text/words.xml (and P2 to leave)."""
    pages = [page("P0", [button("to1", 10, 10, 120, 40, goto("P1"))]),
             page("P1", [button("to2", 10, 10, 120, 40, goto("P2")),
                         text_element("words", "text/words.xml", 20, 100, 600, 60)])]
    if extra_page:
        pages.append(page("P2", [button("to0", 10, 10, 120, 40, goto("P0"))]))
    return pages


class AuthoringTest(unittest.TestCase):
    def setUp(self):
        self.sandbox = Sandbox()
        self.players = []
        self.folder = os.path.join(self.sandbox.root, "menu")
        os.makedirs(os.path.join(self.folder, "text"))

    def tearDown(self):
        for player in self.players:
            player.stop()
        self.sandbox.close()

    def write(self, name, text):
        """Writes a file of the menu folder as an editor saves it: beside, then renamed."""
        path = os.path.join(self.folder, name)
        with open(path + ".saving", "w", encoding="utf-8") as f:
            f.write(text)
        os.replace(path + ".saving", path)

    def start(self, *args, env=None):
        player = Player(DISPLAY, self.sandbox, args, env=env)
        self.players.append(player)
        return player

    def shown(self, player):
        window = player.main_window()
        self.assertTrue(window, "no main window; stderr:\n" + player.errors())
        return window

    def lumtool(self, *args):
        return subprocess.run([LUMTOOL] + list(args), capture_output=True, text=True,
                              env=self.sandbox.env(DISPLAY), timeout=300)

    def page_pixels(self, player, window, width=640, height=480):
        """The rgb bytes of the menu's page: the top of the window, without a status line."""
        player.park_pointer()
        time.sleep(0.4)
        shown_width, _, data = player.screenshot(window)
        self.assertEqual(shown_width, width)
        return data[:width * height * 3]

    def rendered(self, *args):
        picture = os.path.join(self.sandbox.root, "render-%d.png" % time.monotonic_ns())
        result = self.lumtool("render", *(list(args) + ["-o", picture]))
        self.assertEqual(result.returncode, 0, result.stderr)
        return subprocess.run(["convert", picture, "-depth", "8", "rgb:-"], check=True,
                              capture_output=True).stdout


class ReloadTest(AuthoringTest):
    def test_f5_shows_an_edited_text_on_the_same_page(self):
        self.write("product.xml", product(menu_pages()))
        self.write("text/words.xml", richtext("Before"))
        player = self.start(self.folder, "-nosplash")
        window = self.shown(player)
        player.click(window, 70, 30)
        self.assertEqual(player.wait_title(window, "T [P1]"), "T [P1]")
        before = self.page_pixels(player, window)
        self.assertEqual(before, self.rendered(self.folder, "--page", "P1"))

        self.write("text/words.xml", richtext("After the edit"))
        time.sleep(0.5)
        self.assertEqual(self.page_pixels(player, window), before, "reloaded without F5")
        player.key(window, "F5")
        expected = self.rendered(self.folder, "--page", "P1")
        self.assertNotEqual(expected, before)
        self.assertTrue(wait_until(lambda: self.page_pixels(player, window) == expected, 10),
                        "the new text is not shown; stderr:\n" + player.errors())
        self.assertEqual(player.title(window), "T [P1]")
        # The history survives: the breadcrumb and going on work as before.
        player.click(window, 70, 30)
        self.assertEqual(player.wait_title(window, "T [P2]"), "T [P2]")

    def test_a_page_that_is_gone_gives_the_main_page(self):
        self.write("product.xml", product(menu_pages()))
        self.write("text/words.xml", richtext("Words"))
        player = self.start(self.folder, "-nosplash")
        window = self.shown(player)
        player.click(window, 70, 30)
        player.click(window, 70, 30)
        self.assertEqual(player.wait_title(window, "T [P2]"), "T [P2]")
        self.write("product.xml", product(menu_pages(extra_page=False)))
        player.key(window, "F5")
        self.assertEqual(player.wait_title(window, "T [P0]"), "T [P0]")

    def test_a_broken_edit_keeps_the_old_page_and_says_why(self):
        self.write("product.xml", product(menu_pages()))
        self.write("text/words.xml", richtext("Words"))
        player = self.start(self.folder, "-nosplash")
        window = self.shown(player)
        player.click(window, 70, 30)
        self.assertEqual(player.wait_title(window, "T [P1]"), "T [P1]")
        before = self.page_pixels(player, window)
        _, _, _, height = player.geometry(window)

        self.write("product.xml", product(menu_pages()).replace("</pages>", "</page>"))
        player.key(window, "F5")
        self.assertTrue(wait_until(lambda: "Reload failed" in player.errors(), 10), player.errors())
        self.assertIn("not well-formed XML", player.errors())
        self.assertEqual(player.title(window), "T [P1]")
        self.assertEqual(self.page_pixels(player, window), before)
        # The status line that says so makes the window taller; the page keeps its size.
        self.assertTrue(wait_until(lambda: player.geometry(window)[3] > height, 5))
        self.assertIsNone(player.process.poll())

        # Fixed, the next F5 shows the menu again.
        self.write("product.xml", product(menu_pages()).replace('title="T"', 'title="Fixed"'))
        player.key(window, "F5")
        self.assertEqual(player.wait_title(window, "Fixed [P1]"), "Fixed [P1]")

    def test_a_packed_content_file_reloads_too(self):
        self.write("product.xml", product(menu_pages()))
        self.write("text/words.xml", richtext("Words"))
        packed = os.path.join(self.sandbox.root, "menu.lum")
        self.assertEqual(self.lumtool("pack", self.folder, "-o", packed).returncode, 0)
        player = self.start(packed, "-nosplash")
        window = self.shown(player)
        self.write("product.xml", product(menu_pages()).replace('title="T"', 'title="Packed"'))
        self.assertEqual(self.lumtool("pack", self.folder, "-o", packed).returncode, 0)
        player.key(window, "F5")
        self.assertEqual(player.wait_title(window, "Packed [P0]"), "Packed [P0]")


class OutwardLinkTest(AuthoringTest):
    def test_a_picture_linked_from_outside_the_folder_is_shown_as_missing(self):
        picture = ('<image name="%s"><center x="%d" y="240"/><size width="200" height="100"/>'
                   '<attachment-bitmap name="%s.png"/></image>')
        self.write("product.xml", product([page("P0", [picture % ("logo", 160, "logo"),
                                                       picture % ("inner", 480, "inner")])]))
        with open(os.path.join(self.sandbox.root, "photo.png"), "wb") as f:
            f.write(png_bytes(20, 10, (200, 30, 30)))
        with open(os.path.join(self.folder, "text", "inner.png"), "wb") as f:
            f.write(png_bytes(20, 10, (30, 30, 200)))
        os.symlink("../photo.png", os.path.join(self.folder, "logo.png"))
        os.symlink("text/inner.png", os.path.join(self.folder, "inner.png"))
        player = self.start(self.folder, "-nosplash")
        window = self.shown(player)
        shown = self.page_pixels(player, window)
        errors = player.errors()
        self.assertEqual(errors.count("Picture 'logo.png' is a link that leads out of the menu "
                                      "folder; it is shown as missing."), 1, errors)
        self.assertNotIn("inner.png", errors)
        # What the page looks like without the picture, and not with it.
        os.remove(os.path.join(self.folder, "logo.png"))
        self.assertEqual(shown, self.rendered(self.folder))
        shutil.copy(os.path.join(self.sandbox.root, "photo.png"), os.path.join(self.folder, "logo.png"))
        self.assertNotEqual(shown, self.rendered(self.folder))


class AuthorModeTest(AuthoringTest):
    def test_saving_product_xml_reloads_within_a_second(self):
        self.write("product.xml", product(menu_pages()))
        self.write("text/words.xml", richtext("Words"))
        player = self.start(self.folder, "-nosplash", "-author")
        window = self.shown(player)
        player.click(window, 70, 30)
        self.assertEqual(player.wait_title(window, "T [P1]"), "T [P1]")
        time.sleep(0.5)
        for title in ("Second", "Third"):
            self.write("product.xml", product(menu_pages()).replace('title="T"', 'title="%s"' % title))
            saved = time.monotonic()
            expected = "%s [P1]" % title
            self.assertTrue(wait_until(lambda: player.title(window) == expected, 5, 0.02),
                            player.errors())
            self.assertLess(time.monotonic() - saved, 1.0)
            time.sleep(0.3)

    def test_a_file_it_names_is_watched_too(self):
        self.write("product.xml", product(menu_pages()))
        self.write("text/words.xml", richtext("Before"))
        player = self.start(self.folder, "-nosplash", "-author")
        window = self.shown(player)
        player.click(window, 70, 30)
        self.assertEqual(player.wait_title(window, "T [P1]"), "T [P1]")
        before = self.page_pixels(player, window, height=480)
        self.write("text/words.xml", richtext("After"))
        expected = self.rendered(self.folder, "--page", "P1")
        self.assertTrue(wait_until(lambda: self.page_pixels(player, window) == expected, 10))
        self.assertNotEqual(expected, before)

    def test_a_broken_save_keeps_the_page_and_the_fix_reloads(self):
        self.write("product.xml", product(menu_pages()))
        self.write("text/words.xml", richtext("Words"))
        player = self.start(self.folder, "-nosplash", "-author")
        window = self.shown(player)
        player.click(window, 70, 30)
        self.assertEqual(player.wait_title(window, "T [P1]"), "T [P1]")
        before = self.page_pixels(player, window)
        self.write("product.xml", "<product><pages>")
        self.assertTrue(wait_until(lambda: "Reload failed" in player.errors(), 5), player.errors())
        self.assertEqual(player.title(window), "T [P1]")
        self.assertEqual(self.page_pixels(player, window), before)
        self.write("product.xml", product(menu_pages()).replace('title="T"', 'title="Fixed"'))
        self.assertEqual(player.wait_title(window, "Fixed [P1]", 5), "Fixed [P1]")


class TemplateTest(AuthoringTest):
    def test_the_blank_template_opens_its_readme_and_quits(self):
        shutil.rmtree(self.folder)
        result = self.lumtool("new", self.folder)
        self.assertEqual(result.returncode, 0, result.stderr)
        player = self.start(self.folder, "-nosplash")
        window = self.shown(player)
        self.assertEqual(player.title(window), "My Disc [main]")
        self.assertEqual(player.geometry(window)[2:], (640, 480))
        player.click(window, 320, 250)
        self.assertTrue(wait_until(lambda: self.sandbox.opened(), 10), player.errors())
        # The desktop's opener, which starts a terminal editor in a terminal.
        self.assertEqual(self.sandbox.opened()[0], ["xdg-open", os.path.join(self.folder, "readme.txt")])
        player.click(window, 320, 314)
        self.assertEqual(player.wait_exit(30), 0)


class TranslationTest(AuthoringTest):
    def test_the_player_in_german_shows_the_imported_texts(self):
        shutil.rmtree(self.folder)
        self.assertEqual(self.lumtool("new", self.folder, "--template", "demo").returncode, 0)
        po = os.path.join(self.sandbox.root, "de.po")
        result = self.lumtool("translations", "export", self.folder, "--lang", "de-de", "-o", po)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(po, encoding="utf-8") as f:
            text = f.read()
        for context, translation in (("page.guide", "Leitfaden"), ("head.guide", "Der Leitfaden"),
                                     ("btn.back", "Noch einmal")):
            text = re.sub(r'(msgctxt "%s"\nmsgid "[^"]*"\nmsgstr )"[^"]*"' % re.escape(context),
                          r'\1"%s"' % translation, text)
        with open(po, "w", encoding="utf-8") as f:
            f.write(text)
        result = self.lumtool("translations", "import", self.folder, po, "--lang", "de-de")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("3 translations written", result.stdout)

        # German through the menu's own language button (the machine may have no German
        # locale for LANG), then to the guide.
        player = self.start(self.folder, "-nosplash")
        window = self.shown(player)
        player.click(window, 650, 28)
        time.sleep(0.5)
        player.click(window, 176, 132)
        self.assertEqual(player.wait_title(window, "Lumplayer Demo Disc [Leitfaden]"),
                         "Lumplayer Demo Disc [Leitfaden]", player.errors())
        shown = self.page_pixels(player, window, 800, 600)
        # What lumtool renders in German for the page: the new title and button texts.
        self.assertEqual(shown, self.rendered(self.folder, "--page", "guide", "--language", "de-de"))
        self.assertNotEqual(shown, self.rendered(self.folder, "--page", "guide"))


if __name__ == "__main__":
    unittest.main()
