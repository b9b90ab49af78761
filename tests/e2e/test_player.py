"""The real lumplayer on a virtual display, driven by xdotool: start-up, the window, every
action type, music, splash, language packs and the match with lumtool render."""

import os
import re
import struct
import subprocess
import time
import unittest
import zipfile

from playerkit import (LUMTOOL, PLAYER, Display, Player, Sandbox, button, page, png_bytes, product,
                       rectangle, wait_until, wav_bytes, write_content)

DISPLAY = None


def setUpModule():
    global DISPLAY
    DISPLAY = Display()


def tearDownModule():
    DISPLAY.close()


def goto(target):
    return '<action type="change-page" change-page="goto-page" page="%s"/>' % target


BACK = '<action type="change-page" change-page="go-back"/>'
MAIN = '<action type="change-page" change-page="goto-mainpage"/>'
QUIT = '<action type="quit-program"/>'


def navigation_page(name, text_id=None, extra=()):
    """A page with the same row of buttons everywhere: P1, P2, P3, back, main, quit."""
    return page(name, [button("to1", 10, 10, 90, 40, goto("P1")),
                       button("to2", 110, 10, 90, 40, goto("P2")),
                       button("to3", 210, 10, 90, 40, goto("P3")),
                       button("back", 310, 10, 90, 40, BACK),
                       button("main", 410, 10, 90, 40, MAIN),
                       button("quit", 510, 10, 90, 40, QUIT)] + list(extra), text_id)


class PlayerTest(unittest.TestCase):
    def setUp(self):
        self.sandbox = Sandbox()
        self.players = []

    def tearDown(self):
        for player in self.players:
            player.stop()
        self.sandbox.close()

    def start(self, *args, cwd=None, program=PLAYER, terminal=False, env=None):
        player = Player(DISPLAY, self.sandbox, args, cwd=cwd, program=program, terminal=terminal,
                        env=env)
        self.players.append(player)
        return player

    def windows_until_exit(self, player, timeout=30):
        """Every window the player showed until it ended (or timeout seconds passed)."""
        seen = set()
        while time.monotonic() - player.started < timeout:
            if player.process.poll() is not None and not player.respawn_if_refused():
                break
            seen.update(player.windows())
            time.sleep(0.01)
        return seen

    def content(self, description, attachments=None, name="menu.lum"):
        return write_content(os.path.join(self.sandbox.root, name), description, attachments)

    def shown(self, player):
        window = player.main_window()
        self.assertTrue(window, "no main window; stderr:\n" + player.errors())
        return window


class StartUpTest(PlayerTest):
    def test_without_arguments_opens_the_content_beside_the_program(self):
        elsewhere = os.path.join(self.sandbox.root, "elsewhere")
        os.makedirs(elsewhere)
        player = self.start(cwd=elsewhere)
        window = self.shown(player)
        self.assertEqual(player.title(window), "Lumplayer Demo Disc [Start]")

    def test_a_relative_path_is_taken_from_the_current_folder(self):
        os.makedirs(os.path.join(self.sandbox.root, "disc"))
        write_content(os.path.join(self.sandbox.root, "disc", "menu.lum"),
                      product([navigation_page("P0")], title="Relative"))
        player = self.start("disc/menu.lum", "-nosplash")
        self.assertEqual(player.title(self.shown(player)), "Relative [P0]")

    def test_no_pages_or_no_file_ends_without_a_window(self):
        # Started from a terminal, the reason is written there and nothing else shows.
        empty = self.content(product([]), name="empty.lum")
        for args in ([empty, "-nosplash"], [os.path.join(self.sandbox.root, "missing.lum")]):
            player = self.start(*args, terminal=True)
            seen = self.windows_until_exit(player)
            self.assertEqual(player.wait_exit(1), 1, "status for %s" % args)
            self.assertEqual(seen, set(), "a window appeared for %s" % args)

    def test_a_content_error_is_reported_and_shows_no_window(self):
        broken = self.content(product([page("P0", [button(
            "odd", 10, 10, 90, 40, '<action type="change-page" change-page="sideways"/>')])]))
        player = self.start(broken, "-nosplash", terminal=True)
        self.assertEqual(player.wait_exit(30), 1)
        # The loader's own text, the kinds it takes and where in product.xml it stopped.
        reason = ("Unknown Change page type 'sideways' (valid: go-back, goto-mainpage, goto-page), "
                  "in page 'P0', element 1 (state-button 'odd')")
        self.assertIn("lumplayer: cannot open the menu '%s': %s\n" % (broken, reason),
                      player.errors())
        checked = subprocess.run([LUMTOOL, "check", broken], env=self.sandbox.env(DISPLAY),
                                 capture_output=True, text=True, timeout=120)
        self.assertEqual(checked.returncode, 2, checked.stderr)
        self.assertIn("the loader stops with an error: " + reason, checked.stderr)

    def failure_lines(self, player):
        return [line for line in player.errors().splitlines() if line.startswith("lumplayer")]

    def test_a_menu_that_cannot_be_opened_is_named_in_one_line_and_ends_with_status_one(self):
        missing = os.path.join(self.sandbox.root, "missing.lum")
        whole = self.content(product([navigation_page("P0")]), {"art/a.png": png_bytes(50, 50, (1, 2, 3))},
                             name="whole.lum")
        truncated = os.path.join(self.sandbox.root, "truncated.lum")
        with open(whole, "rb") as source, open(truncated, "wb") as target:
            target.write(source.read()[:os.path.getsize(whole) // 2])
        not_zip = os.path.join(self.sandbox.root, "notes.lum")
        with open(not_zip, "w") as f:
            f.write("just some text")
        for path, reason in ((missing, "the file does not exist"),
                             (truncated, "it is not a ZIP archive (or an empty one)"),
                             (not_zip, "it is not a ZIP archive (or an empty one)")):
            player = self.start(path, "-nosplash", terminal=True)
            self.assertEqual(self.windows_until_exit(player), set(), path)
            self.assertEqual(player.wait_exit(1), 1, player.errors())
            self.assertEqual(self.failure_lines(player),
                             ["lumplayer: cannot open the menu '%s': %s" % (path, reason)])

    def test_from_the_desktop_the_reason_also_shows_in_a_box_whose_closing_ends_the_player(self):
        missing = os.path.join(self.sandbox.root, "missing.lum")
        line = "lumplayer: cannot open the menu '%s': the file does not exist" % missing
        for key in ("Return", "Escape"):
            player = self.start(missing)  # stderr is a file, as from a file manager

            def boxes_shown():
                player.respawn_if_refused()
                return player.windows()
            boxes = wait_until(boxes_shown, 30)
            self.assertTrue(boxes, "no box with %s; stderr:\n%s" % (key, player.errors()))
            # The line came first: whoever reads the log after the box finds it there.
            self.assertEqual(self.failure_lines(player), [line])
            self.assertEqual(player.title(boxes[0]), "lumplayer")
            time.sleep(0.5)
            self.assertIsNone(player.process.poll(), "the box did not wait")
            player.key(boxes[0], key)
            self.assertEqual(player.wait_exit(30), 1, key)
            self.assertEqual(self.failure_lines(player), [line])

    def test_a_box_for_a_reason_quoting_a_huge_value_fits_on_the_screen(self):
        # The reason quotes the whole shape name, 900 KiB without a blank.
        description = product([page("P0", ['<shape shape="%s"/>' % ("r" * (900 << 10))])])
        menu = deflated_content(os.path.join(self.sandbox.root, "long.lum"), description, {})
        player = self.start(menu, "-nosplash")

        def boxes_shown():
            player.respawn_if_refused()
            return player.windows()
        boxes = wait_until(boxes_shown, 60)
        self.assertTrue(boxes, player.errors())
        # stderr has the line whole.
        self.assertIn("ShapeTypeFromXml. Unknwown type:" + "r" * (900 << 10) + " (valid: ",
                      player.errors())
        _, _, width, height = player.geometry(boxes[0])
        self.assertLessEqual(width, DISPLAY.width)
        self.assertLessEqual(height, DISPLAY.height)
        player.key(boxes[0], "Return")
        self.assertEqual(player.wait_exit(30), 1)

    def test_help_and_version_go_to_stdout_without_a_display(self):
        with open(os.path.join(os.path.dirname(__file__), "..", "..", "CMakeLists.txt")) as f:
            version = re.search(r"project\(lumplayer VERSION ([0-9.]+)", f.read()).group(1)
        env = self.sandbox.env(DISPLAY)
        del env["DISPLAY"]
        answers = {}
        for option in ("--help", "--version"):
            result = subprocess.run([PLAYER, option], env=env, cwd=self.sandbox.root,
                                    capture_output=True, text=True, timeout=60)
            self.assertEqual((result.returncode, result.stderr), (0, ""), option)
            answers[option] = result.stdout
        self.assertEqual(answers["--version"], "lumplayer %s\n" % version)
        usage = answers["--help"]
        self.assertTrue(usage.startswith("Usage: lumplayer [CONTENT "), usage)
        for option in ("-nosplash", "-fullscreen", "-page NAME", "-langfolder FOLDER", "-lang CODE",
                       "-author", "--help", "--version"):
            self.assertIn(option, usage)

    def test_start_page_option_shows_the_page_without_a_history_entry(self):
        menu = self.content(product([navigation_page("P0"), navigation_page("P1"),
                                     navigation_page("P2")]))
        player = self.start(menu, "-nosplash", "-page", "p2")
        window = self.shown(player)
        self.assertEqual(player.title(window), "T [P2]")
        player.click(window, 350, 30)  # back: nothing to go back to
        time.sleep(0.5)
        self.assertEqual(player.title(window), "T [P2]")

    def test_a_start_page_name_keeps_its_trailing_blanks(self):
        menu = self.content(product([navigation_page("P0"), navigation_page("P1")]))
        player = self.start(menu, "-nosplash", "-page", "P1 ")
        self.assertEqual(player.title(self.shown(player)), "T [P0]")


class WindowTest(PlayerTest):
    def test_client_size_is_truncated(self):
        menu = self.content(product([navigation_page("P0")], width="640.9", height="480.2"))
        player = self.start(menu, "-nosplash")
        window = self.shown(player)
        self.assertEqual(player.geometry(window)[2:], (640, 480))

    def test_a_page_without_animation_makes_no_wakeups(self):
        menu = self.content(product([navigation_page("P0"), navigation_page("P1")]))
        player = self.start(menu, "-nosplash")
        self.shown(player)
        time.sleep(1.5)  # the pages a click leads to are made ready first

        def wakeups():
            with open("/proc/%d/status" % player.process.pid) as f:
                for line in f:
                    if line.startswith("voluntary_ctxt_switches:"):
                        return int(line.split()[1])
            return -1

        before = wakeups()
        time.sleep(3.0)
        # The main thread sleeps until something happens: no timer ticks for nothing.
        self.assertLessEqual(wakeups() - before, 1)

    def test_title_uses_the_page_title_translation_or_the_name(self):
        translations = ('<translations><translation id="pg" language="en-us" default="P0" '
                        'translation="Home"/></translations>')
        menu = self.content(product([navigation_page("P0", "pg"), navigation_page("P1")],
                                    extra=translations))
        player = self.start(menu, "-nosplash")
        window = self.shown(player)
        self.assertEqual(player.title(window), "T [Home]")
        player.click(window, 55, 30)
        self.assertEqual(player.wait_title(window, "T [P1]"), "T [P1]")

    def test_the_product_language_follows_the_locale_variables_without_their_locales(self):
        # This machine has no German or French locale: the variables alone choose.
        translations = ('<translations>'
                        '<translation id="pg" language="en-us" default="P0" translation="Home"/>'
                        '<translation id="pg" language="de-de" default="P0" translation="Heim"/>'
                        '<translation id="pg" language="fr-fr" default="P0" translation="Accueil"/>'
                        '</translations>')
        menu = self.content(product([navigation_page("P0", "pg")], extra=translations))
        for variables, title in (
                ({"LANG": "de_DE.UTF-8"}, "T [Heim]"),
                ({"LC_ALL": "fr_FR.UTF-8", "LC_MESSAGES": "C", "LANG": "de_DE.UTF-8"}, "T [Accueil]"),
                ({"LC_MESSAGES": "POSIX", "LANG": "fr_FR@euro"}, "T [Accueil]"),
                ({"LANG": "C.UTF-8"}, "T [Home]")):
            env = dict({"LC_ALL": "", "LC_MESSAGES": "", "LANG": ""}, **variables)
            player = self.start(menu, "-nosplash", env=env)
            self.assertEqual(player.title(self.shown(player)), title, variables)
            player.stop()

    def test_history_walk_through(self):
        menu = self.content(product([navigation_page(n) for n in ("P0", "P1", "P2", "P3")]))
        player = self.start(menu, "-nosplash")
        window = self.shown(player)
        steps = [((55, 30), "T [P1]"), ((155, 30), "T [P2]"), ((350, 30), "T [P1]"),
                 ((255, 30), "T [P3]"), ((350, 30), "T [P1]"), ((350, 30), "T [P0]"),
                 ((350, 30), "T [P0]"), ((455, 30), "T [P0]"), ((350, 30), "T [P0]")]
        for (x, y), expected in steps:
            player.click(window, x, y)
            self.assertEqual(player.wait_title(window, expected), expected)


class ActionTest(PlayerTest):
    def action_menu(self, elements, extra=""):
        return self.content(product([page("P0", elements), navigation_page("P1")], extra=extra))

    def click_and_record(self, action, count=1):
        menu = self.action_menu([button("act", 100, 100, 200, 60, action)])
        player = self.start(menu, "-nosplash")
        window = self.shown(player)
        player.click(window, 200, 130)
        wait_until(lambda: len(self.sandbox.opened()) >= count, 10)
        return self.sandbox.opened()

    def installer(self, name, executable):
        """A shell script on the medium that writes its folder and arguments to a marker."""
        docs = os.path.join(self.sandbox.root, "docs")
        os.makedirs(docs, exist_ok=True)
        script = os.path.join(docs, name)
        marker = os.path.join(self.sandbox.root, name + ".marker")
        with open(script, "w") as f:
            f.write("#!/bin/sh\nprintf '%%s\\n' \"$PWD\" \"$@\" > '%s'\n" % marker)
        os.chmod(script, 0o755 if executable else 0o644)
        return marker

    def test_run_file_of_an_installer_starts_it_in_its_folder_with_its_parameters(self):
        # With its execute bit, and without (as on a medium mounted noexec): run as "sh FILE".
        for name, executable in (("install", True), ('my "setup" file.sh', False)):
            marker = self.installer(name, executable)
            file = name.replace('"', "&quot;")
            menu = self.action_menu([button("act", 100, 100, 200, 60,
                                            '<action type="run-file" file="docs\\%s" '
                                            'params="-x &quot;two words&quot; $(id) ;"/>' % file)])
            player = self.start(menu, "-nosplash")
            player.click(self.shown(player), 200, 130)
            self.assertTrue(wait_until(lambda: os.path.exists(marker), 10), name)
            time.sleep(0.2)
            with open(marker) as f:
                self.assertEqual(f.read().splitlines(),
                                 [os.path.join(self.sandbox.root, "docs"), "-x", "two words",
                                  "$(id)", ";"], name)
            self.stop_players()
        self.assertEqual(self.sandbox.opened(), [])

    def test_run_file_of_a_program_that_may_not_be_executed_says_why_in_a_box(self):
        # As on a medium mounted without execute bits: an AppImage (an ELF file) is no
        # document, and the opener would only show it in an editor.
        docs = os.path.join(self.sandbox.root, "docs")
        os.makedirs(docs)
        with open("/bin/true", "rb") as source, open(os.path.join(docs, "Tool.AppImage"), "wb") as f:
            f.write(source.read())
        menu = self.action_menu([button("act", 100, 100, 200, 60,
                                        '<action type="run-file" file="docs/Tool.AppImage"/>')])
        player = self.start(menu, "-nosplash")
        window = self.shown(player)
        player.click(window, 200, 130)
        boxes = wait_until(lambda: [w for w in player.windows() if w != window], 10)
        self.assertTrue(boxes, player.errors())
        self.assertIn("The program 'Tool.AppImage' cannot be started from here", player.errors())
        player.key(boxes[0], "Return")
        self.assertTrue(wait_until(lambda: player.windows() == [window], 10))
        self.assertIsNone(player.process.poll())  # the menu goes on
        self.assertEqual(self.sandbox.opened(), [])

    def stop_players(self):
        for player in self.players:
            player.stop()
        self.players = []

    def test_run_file_of_a_document_goes_to_the_desktop_opener(self):
        docs = os.path.join(self.sandbox.root, "Docs")
        os.makedirs(docs)
        document = os.path.join(docs, "Read me 'now'.txt")
        open(document, "w").close()
        # The toolkit knows an open command for texts, a terminal editor; only the desktop's
        # opener starts it in a terminal. Written with other letter cases, as media made on
        # Windows often are.
        opened = self.click_and_record('<action type="run-file" file="docs/Read me \'now\'.txt"/>')
        self.assertEqual(opened, [["xdg-open", document]])
        # Nothing of the player's (its content file, the display connection) stays open in
        # what it started: the disc can be ejected once the player has ended.
        self.assertEqual(self.sandbox.descriptors(), [["xdg-open", [0, 1, 2]]])

    def test_a_website_that_the_opener_would_take_for_an_option_is_refused(self):
        menu = self.action_menu([
            button("bad", 20, 100, 150, 50, '<action type="open-website" website="-x"/>'),
            button("good", 200, 100, 150, 50,
                   '<action type="open-website" website="https://example.com/"/>')])
        player = self.start(menu, "-nosplash")
        window = self.shown(player)
        player.click(window, 95, 125)
        player.click(window, 275, 125)
        wait_until(lambda: self.sandbox.opened(), 10)
        self.assertEqual(self.sandbox.opened(), [["xdg-open", "https://example.com/"]])
        self.assertIn("The website '-x' is not an address the player opens", player.errors())

    def test_website_mail_and_folder_reach_the_desktop_exactly(self):
        os.makedirs(os.path.join(self.sandbox.root, "Extras"))
        menu = self.action_menu([
            button("web", 20, 100, 150, 50, '<action type="open-website" website="www.example.com/a b"/>'),
            button("mail", 200, 100, 150, 50, '<action type="send-mail" e-mail="help@example.com"/>'),
            button("folder", 380, 100, 150, 50, '<action type="open-folder" folder="EXTRAS"/>')])
        player = self.start(menu, "-nosplash")
        window = self.shown(player)
        for x in (95, 275, 455):
            player.click(window, x, 125)
        wait_until(lambda: len(self.sandbox.opened()) >= 3, 10)
        self.assertEqual(self.sandbox.opened(), [
            ["xdg-open", "https://www.example.com/a b"],
            ["xdg-open", "mailto:help@example.com"],
            ["xdg-open", os.path.join(self.sandbox.root, "Extras")]])

    def test_change_language_changes_texts_but_not_the_history(self):
        translations = ('<translations>'
                        '<translation id="pg" language="en-us" default="P0" translation="Home"/>'
                        '<translation id="pg" language="de-de" default="P0" translation="Heim"/>'
                        '</translations>')
        menu = self.content(product([page("P0", [
            button("de", 20, 100, 150, 50, '<action type="change-language" language="de-de"/>'),
            button("back", 200, 100, 150, 50, BACK)], "pg")], extra=translations))
        player = self.start(menu, "-nosplash")
        window = self.shown(player)
        self.assertEqual(player.title(window), "T [Home]")
        player.click(window, 95, 125)
        self.assertEqual(player.wait_title(window, "T [Heim]"), "T [Heim]")
        player.click(window, 275, 125)
        time.sleep(0.5)
        self.assertEqual(player.title(window), "T [Heim]")

    def test_quit_ends_the_process_with_status_zero(self):
        menu = self.content(product([navigation_page("P0")]))
        player = self.start(menu, "-nosplash")
        window = self.shown(player)
        player.click(window, 555, 30)
        self.assertEqual(player.wait_exit(30), 0)

    def invalid_goto(self, player):
        window = self.shown(player)
        player.click(window, 200, 130)
        dialog = wait_until(lambda: [w for w in player.windows() if w != window], 10)
        self.assertTrue(dialog, "no message box")
        time.sleep(0.3)
        self.assertEqual(player.title(window), "T [P0]")
        subprocess.run(["xdotool", "windowfocus", "--sync", str(dialog[0]), "key", "Return"],
                       env=dict(os.environ, DISPLAY=DISPLAY.name), timeout=20)
        self.assertEqual(player.wait_title(window, "T [P1]"), "T [P1]")
        return player.errors()

    def test_a_not_valid_action_shows_its_description_then_runs(self):
        menu = self.action_menu([button("act", 100, 100, 200, 60,
                                        '<action type="change-page" change-page="goto-page" '
                                        'page="P1" valid="false"/>')])
        errors = self.invalid_goto(self.start(menu, "-nosplash"))
        self.assertIn("The requested action is not valid in the preview:", errors)
        self.assertIn("P1", errors)

    def test_the_not_valid_message_comes_from_the_language_pack(self):
        packs = os.path.join(self.sandbox.root, "packs")
        os.makedirs(packs)
        source = os.path.join(self.sandbox.root, "de.txt")
        with open(source, "w", encoding="utf-8") as f:
            f.write("lum.CMainFrame.ActionNoValid=In der Vorschau nicht möglich:\\n\n")
        subprocess.run([LUMTOOL, "langpack", "build", source, "-o",
                        os.path.join(packs, "quellbrook-de.zvtLang"), "--lang", "de-de",
                        "--app", "quellbrook"], check=True, capture_output=True,
                       env=self.sandbox.env(DISPLAY))
        menu = self.action_menu([button("act", 100, 100, 200, 60,
                                        '<action type="change-page" change-page="goto-page" '
                                        'page="P1" valid="false"/>')])
        # Trailing blanks after both values are dropped.
        errors = self.invalid_goto(self.start(menu, "-nosplash", "-langfolder", packs + "  ",
                                              "-lang", "de-de "))
        self.assertIn("In der Vorschau nicht möglich:", errors)
        self.assertNotIn("The requested action is not valid", errors)
        # A language without the folder picks no pack.
        for player in self.players:
            player.stop()
        errors = self.invalid_goto(self.start(menu, "-nosplash", "-lang", "de-de"))
        self.assertIn("The requested action is not valid", errors)


class MusicTest(PlayerTest):
    def music_menu(self, music_format="wav", loop="true", seconds=4.0):
        # Long enough to be still playing when a click restarts it once, without looping.
        sound = wav_bytes(seconds)
        music = ('<music filename="m.wav" loop="%s"><buffer format="%s"><chunk name="m.wav" '
                 'size="%d"/></buffer></music>' % (loop, music_format, len(sound)))
        below = button("below", 560, 400, 80, 80, goto("P1"))
        return self.content(product([page("P0", [below]), navigation_page("P1")], extra=music),
                            {"m.wav": sound}, name="music-%s.lum" % music_format)

    def audio(self):
        path = self.sandbox.audio
        return open(path, "rb").read() if os.path.exists(path) else b""

    def fresh_audio(self, seconds=0.6):
        before = len(self.audio())
        time.sleep(seconds)
        return self.audio()[before:]

    def test_plays_toggles_on_the_icon_and_removes_its_file(self):
        player = self.start(self.music_menu(), "-nosplash")
        window = self.shown(player)
        self.assertTrue(wait_until(lambda: any(self.fresh_audio(0.3)), 10), "no sound written")
        self.assertEqual(len([n for n in os.listdir(self.sandbox.tmp) if n.startswith("lum")]), 1)
        player.click(window, 622, 462)
        self.assertTrue(wait_until(lambda: not any(self.fresh_audio(0.3)), 5), "still playing")
        self.assertEqual(player.title(window), "T [P0]")
        player.click(window, 622, 462, button=3)
        self.assertTrue(wait_until(lambda: any(self.fresh_audio(0.3)), 5), "did not play again")
        # A transparent corner of the icon passes the click to the button beneath.
        player.click(window, 606, 446)
        self.assertEqual(player.wait_title(window, "T [P1]"), "T [P1]")
        player.click(window, 555, 30)
        self.assertEqual(player.wait_exit(30), 0)
        self.assertEqual([n for n in os.listdir(self.sandbox.tmp) if n.startswith("lum")], [])

    def test_looping_music_switched_off_and_on_loops_again(self):
        player = self.start(self.music_menu(seconds=0.4), "-nosplash")
        window = self.shown(player)
        self.assertTrue(wait_until(lambda: any(self.fresh_audio(0.3)), 10), "no sound written")
        player.click(window, 622, 462)
        self.assertTrue(wait_until(lambda: not any(self.fresh_audio(0.3)), 5), "still playing")
        player.click(window, 622, 462)
        self.assertTrue(wait_until(lambda: any(self.fresh_audio(0.3)), 5), "did not play again")
        # Well past the clip's own length, it still sounds.
        time.sleep(1.5)
        self.assertTrue(any(self.fresh_audio(0.5)), "played once, did not loop")

    def test_the_icon_sits_in_the_bottom_right_corner(self):
        shots = []
        # One after the other: both windows open at the same place on the screen.
        for music_format in ("wav", "WAV"):
            player = self.start(self.music_menu(music_format), "-nosplash")
            window = self.shown(player)
            player.park_pointer()
            shots.append(player.screenshot(window))
            player.stop()
        (width, height, a), (_, _, b) = shots
        differing = [(i // 3 % width, i // 3 // width) for i in range(0, len(a), 3) if a[i:i + 3] != b[i:i + 3]]
        self.assertTrue(differing)
        xs = [x for x, _ in differing]
        ys = [y for _, y in differing]
        self.assertGreaterEqual(min(xs), 606)
        self.assertGreaterEqual(min(ys), 446)
        self.assertLessEqual(max(xs), 639)
        self.assertLessEqual(max(ys), 479)
        self.assertLess(min(xs), 612)
        self.assertGreater(max(xs), 633)

    def test_ends_on_sigterm_while_playing(self):
        player = self.start(self.music_menu(), "-nosplash")
        self.shown(player)
        self.assertTrue(wait_until(lambda: any(self.fresh_audio(0.3)), 10), "no sound written")
        self.assertEqual(len([n for n in os.listdir(self.sandbox.tmp) if n.startswith("lum")]), 1)
        player.process.terminate()
        self.assertIsNotNone(player.wait_exit(5))
        # A desktop logout ends the player so: its copy of the music goes all the same.
        self.assertEqual([n for n in os.listdir(self.sandbox.tmp) if n.startswith("lum")], [])

    def test_wav_in_capitals_is_not_played(self):
        player = self.start(self.music_menu("WAV"), "-nosplash")
        self.shown(player)
        time.sleep(1.0)
        self.assertFalse(any(self.audio()))
        self.assertEqual(os.listdir(self.sandbox.tmp), [])


def deflated_content(path, description, attachments):
    """A content file whose entries are compressed: a small file that holds long ones. An
    attachment given as (length, byte) is written in pieces, never held whole."""
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        archive.writestr("product.xml", description)
        for name, data in attachments.items():
            with archive.open(name, "w", force_zip64=True) as entry:
                if isinstance(data, bytes):
                    entry.write(data)
                    continue
                header, length, fill = data
                entry.write(header)
                piece = fill * (1 << 20)
                for _ in range(length >> 20):
                    entry.write(piece)
    return path


def peak_memory_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


class BoundsTest(PlayerTest):
    """Small content files that hold what would take the player minutes or gigabytes."""

    def test_a_long_comment_shows_the_menu_and_a_long_attribute_ends_the_player_at_once(self):
        comment = product([navigation_page("P0")]).replace(
            "<pages>", "<!--" + "c" * (8 << 20) + "--><pages>", 1)
        menu = deflated_content(os.path.join(self.sandbox.root, "comment.lum"), comment, {})
        self.assertLess(os.path.getsize(menu), 100000)
        player = self.start(menu, "-nosplash")
        self.assertEqual(player.title(self.shown(player)), "T [P0]")
        player.stop()

        attribute = product([navigation_page("P0")]).replace(
            "<pages>", '<pages note="%s">' % ("a" * (60 << 20)), 1)
        menu = deflated_content(os.path.join(self.sandbox.root, "attribute.lum"), attribute, {})
        player = self.start(menu, "-nosplash", terminal=True)
        seen = self.windows_until_exit(player)
        self.assertEqual(player.wait_exit(1), 1, "still running after 30 s, or another status")
        self.assertEqual(seen, set(), "a window appeared")
        self.assertIn("lumplayer: cannot open the menu '%s': its product.xml is not well-formed "
                      "XML (XML parsing error: 'an attribute value longer than 1 MiB'" % menu,
                      player.errors())
        self.assertNotIn("Sanitizer", player.errors())

    def test_music_declared_larger_than_the_player_plays_is_not_read(self):
        extra = ('<music filename="m.wav" loop="true"><buffer format="wav">'
                 '<chunk name="m.wav" size="4294967295"/></buffer></music>')
        description = product([navigation_page("P0")], extra=extra)
        length = 300 << 20  # past the 128 MiB the player plays
        header = b"RIFF" + struct.pack("<I", 36 + length) + b"WAVE"
        header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, 22050, 44100, 2, 16)
        header += b"data" + struct.pack("<I", length)
        menu = deflated_content(os.path.join(self.sandbox.root, "music.lum"), description,
                                {"m.wav": (header, length, b"\0")})
        self.assertLess(os.path.getsize(menu), 2 << 20)
        quiet = self.content(product([navigation_page("P0")]), name="quiet.lum")

        peaks = []
        for content in (quiet, menu):
            player = self.start(content, "-nosplash")
            self.shown(player)
            time.sleep(0.5)
            peaks.append(peak_memory_kib(player.process.pid))
            self.assertEqual(os.listdir(self.sandbox.tmp), [], "the music was copied out")
            errors = player.errors()
            player.stop()
        self.assertIn("Entry 'm.wav' is larger than the 128 MiB read of it", errors)
        self.assertLess(peaks[1] - peaks[0], 64 << 10, "peak memory (KiB) %s" % peaks)


class SplashTest(PlayerTest):
    def splash_times(self, duration, *args):
        attributes = ' splash-duration="%s"' % duration if duration is not None else ""
        menu = self.content(product([navigation_page("P0")], attributes=attributes,
                                    extra='<splash name="s.png"/>'),
                            {"s.png": png_bytes(300, 200, (30, 60, 120))})
        player = self.start(menu, *args)
        main = None
        seen = {}
        cpu = []
        while time.monotonic() - player.started < 30 and main is None:
            if player.respawn_if_refused():
                seen, cpu = {}, []
            visible = player.windows()
            now = time.monotonic()
            for window in visible:
                seen.setdefault(window, [now, now])[1] = now
            if len(visible) == 1 and player.title(visible[0]).endswith("]"):
                main = visible[0]
            elif visible:
                cpu.append((now, player.cpu_seconds()))
            time.sleep(0.01)
        splash = [times for window, times in seen.items() if window != main]
        first, last = splash[0] if splash else (None, None)
        return first, last, cpu, main, player.started

    def test_nosplash_given_as_a_page_name_does_not_skip_the_splash(self):
        first, _, _, main, _ = self.splash_times("0", "-page", "-nosplash")
        self.assertTrue(main, "no main window")
        self.assertIsNotNone(first, "no splash although -nosplash was the page's name")
        first, _, _, main, _ = self.splash_times("0", "-nosplash")
        self.assertTrue(main, "no main window")
        self.assertIsNone(first, "a splash although -nosplash was given")

    def assert_on_screen(self, duration, low, high):
        first, last, cpu, main, started = self.splash_times(duration)
        self.assertTrue(main, "no main window")
        self.assertIsNotNone(first, "no splash")
        # The time counts from before the window is made, which a loaded machine maps late:
        # the least is measured from the start, the most from the first sight of the window.
        self.assertGreaterEqual(last - started, low - 0.1)
        self.assertLessEqual(last - first, high)
        return cpu

    def test_short_durations_still_show_the_fade_period(self):
        self.assert_on_screen("0", 2.0, 3.5)
        self.assert_on_screen("1500", 2.0, 3.5)

    def test_default_duration_and_a_quiet_processor(self):
        # About four seconds: the duration counts from before the window is made.
        cpu = self.assert_on_screen(None, 3.7, 5.5)
        # Measured after the first half second (start-up itself may use the processor).
        settled = [(t, c) for t, c in cpu if t - cpu[0][0] > 0.5]
        (t0, c0), (t1, c1) = settled[0], settled[-1]
        self.assertLess((c1 - c0) / (t1 - t0), 0.10)

    def test_nosplash_skips_it(self):
        first, _, _, main, _ = self.splash_times("4000", "-nosplash")
        self.assertTrue(main)
        self.assertIsNone(first)


class RenderMatchTest(PlayerTest):
    def test_the_player_shows_what_lumtool_renders(self):
        content = os.path.join(os.path.dirname(PLAYER), "content.lum")
        player = self.start(content, "-nosplash")
        window = self.shown(player)
        player.park_pointer()
        time.sleep(0.5)
        width, height, shown = player.screenshot(window)
        picture = os.path.join(self.sandbox.root, "main.png")
        subprocess.run([LUMTOOL, "render", content, "-o", picture], check=True,
                       capture_output=True, env=self.sandbox.env(DISPLAY))
        rendered = subprocess.run(["convert", picture, "-depth", "8", "rgb:-"], check=True,
                                  capture_output=True).stdout
        self.assertEqual((width, height), (800, 600))
        self.assertEqual(len(rendered), len(shown))
        differing = sum(1 for i in range(0, len(shown), 3) if shown[i:i + 3] != rendered[i:i + 3])
        self.assertEqual(differing, 0)


if __name__ == "__main__":
    unittest.main()
