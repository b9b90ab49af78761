"""The real lumplayer on virtual displays, driven by xdotool: the keyboard (focus, its ring,
pressing buttons, going back), full screen with scaling on a 1920 x 1080 screen under a window
manager, and a high-density desktop (GDK_SCALE=2) compared with lumtool render --scale 2."""

import os
import subprocess
import time
import unittest

from playerkit import (LUMTOOL, PLAYER, Display, Player, Sandbox, WindowManager, button, page,
                       product, wait_until, wav_bytes, write_content)

DEMO = os.path.join(os.path.dirname(PLAYER), "content.lum")
DEMO_TITLE = "Lumplayer Demo Disc [%s]"


def goto(target):
    return '<action type="change-page" change-page="goto-page" page="%s"/>' % target


BACK = '<action type="change-page" change-page="go-back"/>'


def pixels(path):
    """A picture file's pixels as (width, height, rgb bytes)."""
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True, capture_output=True,
                          text=True).stdout.split()
    data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True,
                          capture_output=True).stdout
    return int(size[0]), int(size[1]), data


def differing(a, b, width):
    """The (x, y) of every pixel that differs between two rgb byte strings."""
    return [(i // 3 % width, i // 3 // width) for i in range(0, min(len(a), len(b)), 3)
            if a[i:i + 3] != b[i:i + 3]]


def crop(data, width, x, y, w, h):
    return b"".join(data[((y + row) * width + x) * 3:((y + row) * width + x + w) * 3]
                    for row in range(h))


def pixel(data, width, x, y):
    i = (y * width + x) * 3
    return tuple(data[i:i + 3])


def edge_sharpness(data, width, height):
    """How steep the steepest brightness steps are: the mean of the largest tenth of the
    horizontal neighbour differences. A blurred picture has gentler steps."""
    steps = []
    for y in range(height):
        row = data[y * width * 3:(y + 1) * width * 3]
        grey = [sum(row[i:i + 3]) // 3 for i in range(0, len(row), 3)]
        steps.extend(abs(a - b) for a, b in zip(grey, grey[1:]) if a != b)
    steps.sort(reverse=True)
    top = steps[:max(1, len(steps) // 10)]
    return sum(top) / len(top)


class KeysTest(unittest.TestCase):
    SCREEN = "1280x1024"
    WINDOW_MANAGER = False

    @classmethod
    def setUpClass(cls):
        cls.display = Display(cls.SCREEN)
        cls.wm = WindowManager(cls.display) if cls.WINDOW_MANAGER else None

    @classmethod
    def tearDownClass(cls):
        if cls.wm:
            cls.wm.close()
        cls.display.close()

    def setUp(self):
        self.sandbox = Sandbox()
        self.players = []

    def tearDown(self):
        for player in self.players:
            player.stop()
        self.sandbox.close()

    def start(self, *args, env=None):
        """Starts the player; env adds to its environment (the player keeps the sandbox's
        for a respawn, so the addition stays in place for as long as the test runs)."""
        if env:
            plain = self.sandbox.env
            self.sandbox.env = lambda display: dict(plain(display), **env)
        player = Player(self.display, self.sandbox, args)
        self.players.append(player)
        return player

    def lumtool_env(self):
        env = self.sandbox.env(self.display)
        env.pop("GDK_SCALE", None)
        return env

    def shown(self, player):
        window = player.main_window()
        self.assertTrue(window, "no main window; stderr:\n" + player.errors())
        return window

    def render(self, content, *args):
        out = os.path.join(self.sandbox.root, "render-%d.png" % time.monotonic_ns())
        subprocess.run([LUMTOOL, "render", content, "-o", out] + list(args), check=True,
                       capture_output=True, env=self.lumtool_env())
        return pixels(out)

    def content(self, description, attachments=None, name="menu.lum"):
        return write_content(os.path.join(self.sandbox.root, name), description, attachments)


class KeyboardTest(KeysTest):
    def test_on_the_demo_tab_three_times_and_return_runs_the_third_button(self):
        player = self.start(DEMO, "-nosplash")
        window = self.shown(player)
        player.park_pointer()
        # Reading order on the demo: Deutsch, English, then "Read the guide".
        player.keys(window, "Tab", "Tab", "Tab", "Return")
        self.assertEqual(player.wait_title(window, DEMO_TITLE % "Guide"), DEMO_TITLE % "Guide")
        player.keys(window, "BackSpace")
        self.assertEqual(player.wait_title(window, DEMO_TITLE % "Start"), DEMO_TITLE % "Start")
        # The page change left the focus on no button: Tab starts again at the first.
        player.keys(window, "Tab", "Tab", "Tab", "space")
        self.assertEqual(player.wait_title(window, DEMO_TITLE % "Guide"), DEMO_TITLE % "Guide")
        player.keys(window, "alt+Left")
        self.assertEqual(player.wait_title(window, DEMO_TITLE % "Start"), DEMO_TITLE % "Start")

    def test_the_ring_surrounds_the_focused_button_and_nothing_else(self):
        player = self.start(DEMO, "-nosplash")
        window = self.shown(player)
        player.park_pointer()
        player.keys(window, "Tab", "Tab", "Tab", "Tab")  # "See the animations"
        time.sleep(0.5)
        width, height, shown = player.screenshot(window)
        _, _, focused = self.render(DEMO, "--focus", "to-showcase")
        _, _, hovered = self.render(DEMO, "--hover", "to-showcase")
        # The player shows what lumtool renders with the focus there.
        self.assertEqual(differing(shown, focused, width), [])
        # Against the same hover look without a ring: only a band around that button.
        ring = differing(shown, hovered, width)
        self.assertGreater(len(ring), 500)
        left, top, right, bottom = 176 - 146, 184 - 22, 176 + 146, 184 + 22
        for x, y in ring:
            self.assertTrue(left - 10 <= x <= right + 10 and top - 10 <= y <= bottom + 10,
                            "a ring pixel at %d,%d, away from the focused button" % (x, y))
            self.assertFalse(left + 3 < x < right - 3 and top + 3 < y < bottom - 3,
                             "the ring covers the button at %d,%d" % (x, y))
        self.assertTrue(any(y < top for _, y in ring) and any(y > bottom for _, y in ring))
        self.assertTrue(any(x < left for x, _ in ring) and any(x > right for x, _ in ring))

    def test_shift_tab_from_the_first_button_goes_to_the_last(self):
        player = self.start(DEMO, "-nosplash")
        window = self.shown(player)
        player.park_pointer()
        player.keys(window, "Tab", "shift+Tab")
        time.sleep(0.5)
        width, _, shown = player.screenshot(window)
        _, _, last = self.render(DEMO, "--focus", "quit")
        self.assertEqual(differing(shown, last, width), [])
        # And Return runs it: the last button of the demo quits.
        player.keys(window, "Return")
        self.assertEqual(player.wait_exit(30), 0)

    def menu(self):
        return self.content(product([
            page("P0", [button("a", 20, 20, 120, 40, goto("P1")),
                        button("b", 200, 20, 120, 40, goto("P2")),
                        button("c", 20, 120, 120, 40, goto("P3")),
                        button("bad", 200, 120, 120, 40,
                               '<action type="change-page" change-page="goto-page" page="P2" '
                               'valid="false"/>')]),
            page("P1", [button("back", 20, 20, 120, 40, BACK)]),
            page("P2", [button("back", 20, 20, 120, 40, BACK)]),
            page("P3", [button("home", 20, 20, 120, 40,
                               '<action type="change-page" change-page="goto-mainpage"/>')])]))

    def test_arrows_mouse_and_keys_together_on_test_content(self):
        menu = self.menu()
        player = self.start(menu, "-nosplash")
        window = self.shown(player)
        player.park_pointer()
        # Down from no focus takes the first button; then right, down: "bad" is not valid.
        player.keys(window, "Down", "Right")
        width, _, shown = player.screenshot(window)
        _, _, expected = self.render(menu, "--focus", "b")
        self.assertEqual(differing(shown, expected, width), [])
        player.keys(window, "Left", "Down", "Return")
        self.assertEqual(player.wait_title(window, "T [P3]"), "T [P3]")
        player.keys(window, "alt+Home")
        self.assertEqual(player.wait_title(window, "T [P0]"), "T [P0]")
        # The pointer over "b" takes the focus there: the next Tab goes on to "c".
        player.move(window, 260, 40)
        player.park_pointer()
        player.keys(window, "Tab", "Return")
        self.assertEqual(player.wait_title(window, "T [P3]"), "T [P3]")

    def test_enter_on_a_not_valid_button_shows_the_message_then_acts(self):
        player = self.start(self.menu(), "-nosplash")
        window = self.shown(player)
        player.park_pointer()
        player.keys(window, "Tab", "Tab", "Tab", "Tab", "Return")
        dialog = wait_until(lambda: [w for w in player.windows() if w != window], 10)
        self.assertTrue(dialog, "no message box")
        self.assertEqual(player.title(window), "T [P0]")
        subprocess.run(["xdotool", "windowfocus", "--sync", str(dialog[0]), "key", "Return"],
                       env=dict(os.environ, DISPLAY=self.display.name), timeout=20)
        self.assertEqual(player.wait_title(window, "T [P2]"), "T [P2]")
        self.assertIn("The requested action is not valid in the preview:", player.errors())
        # The Return that closed the message box does not press anything on the new page.
        time.sleep(0.5)
        self.assertEqual(player.title(window), "T [P2]")

    def test_m_stops_and_restarts_the_music(self):
        sound = wav_bytes(4.0)
        music = ('<music filename="m.wav" loop="true"><buffer format="wav"><chunk name="m.wav" '
                 'size="%d"/></buffer></music>' % len(sound))
        menu = self.content(product([page("P0", [button("a", 20, 20, 120, 40, goto("P0"))])],
                                    extra=music), {"m.wav": sound})
        player = self.start(menu, "-nosplash")
        window = self.shown(player)

        def fresh(seconds=0.4):
            path = self.sandbox.audio
            before = os.path.getsize(path) if os.path.exists(path) else 0
            time.sleep(seconds)
            with open(path, "rb") as f:
                f.seek(before)
                return f.read()
        self.assertTrue(wait_until(lambda: any(fresh()), 10), "no sound")
        player.keys(window, "m")
        self.assertTrue(wait_until(lambda: not any(fresh()), 5), "still playing")
        player.keys(window, "M")
        self.assertTrue(wait_until(lambda: any(fresh()), 5), "not playing again")


class FullScreenTest(KeysTest):
    SCREEN = "1920x1080"
    WINDOW_MANAGER = True

    def wait_full_screen(self, player, window):
        def full():
            x, y, w, h = player.geometry(window)
            return (w, h) == (1920, 1080)
        self.assertTrue(wait_until(full, 15), "not full screen: %s" % (player.geometry(window),))
        time.sleep(1.0)

    def audio_flows(self, seconds=0.4):
        path = self.sandbox.audio
        before = os.path.getsize(path) if os.path.exists(path) else 0
        time.sleep(seconds)
        with open(path, "rb") as f:
            f.seek(before)
            return any(f.read())

    def test_the_demo_fills_1440_by_1080_centred_and_maps_clicks(self):
        player = self.start(DEMO, "-nosplash", "-fullscreen")
        window = self.shown(player)
        self.wait_full_screen(player, window)
        player.park_pointer()
        time.sleep(0.5)
        width, height, screen = player.screen()
        # Black on both sides of the page, the page in between.
        for x in (0, 120, 239, 1680, 1800, 1919):
            for y in (0, 540, 1079):
                self.assertEqual(pixel(screen, width, x, y), (0, 0, 0), "at %d,%d" % (x, y))
        page_area = crop(screen, width, 240, 0, 1440, 1080)
        self.assertNotIn(pixel(screen, width, 240, 540), [(0, 0, 0)])
        self.assertNotIn(pixel(screen, width, 1679, 540), [(0, 0, 0)])
        # The page painted at 1.8 times its size: texts laid out at that size, pictures
        # scaled, the music icon in the page's corner.
        w, h, scaled = self.render(DEMO, "--scale", "1.8")
        self.assertEqual((w, h), (1440, 1080))
        self.assertEqual(differing(page_area, scaled, 1440)[:20], [])
        # Scaled positions: the "Quit" button's body at 1.8 x (176, 496), the cover picture.
        for x, y in ((176, 496), (565, 330), (100, 132)):
            self.assertEqual(pixel(screen, width, 240 + round(x * 1.8), round(y * 1.8)),
                             pixel(scaled, 1440, round(x * 1.8), round(y * 1.8)))

        # A click on a scaled button acts: "Read the guide" lies at 1.8 x (176, 132).
        player.click(window, 240 + round(176 * 1.8), round(132 * 1.8))
        self.assertEqual(player.wait_title(window, DEMO_TITLE % "Guide"), DEMO_TITLE % "Guide")
        # The music icon, 1.8 times its size in the page's bottom-right corner, toggles.
        self.assertTrue(wait_until(self.audio_flows, 10), "no music")
        icon = (240 + 1440 - round(17 * 1.8), 1080 - round(17 * 1.8))
        player.click(window, *icon)
        self.assertTrue(wait_until(lambda: not self.audio_flows(), 5), "the icon did not stop it")
        self.assertEqual(player.title(window), DEMO_TITLE % "Guide")
        player.click(window, *icon)
        self.assertTrue(wait_until(self.audio_flows, 5), "the icon did not restart it")
        # Keys work the same in full screen: back, and the ring where the scaled button is.
        player.keys(window, "BackSpace")
        self.assertEqual(player.wait_title(window, DEMO_TITLE % "Start"), DEMO_TITLE % "Start")

    def test_f11_enters_and_escape_leaves_full_screen(self):
        player = self.start(DEMO, "-nosplash")
        window = self.shown(player)
        self.assertEqual(player.geometry(window)[2:], (800, 600))
        player.keys(window, "F11")
        self.wait_full_screen(player, window)
        player.keys(window, "Escape")
        self.assertTrue(wait_until(lambda: player.geometry(window)[2:] == (800, 600), 15),
                        player.geometry(window))
        player.keys(window, "F11")
        self.wait_full_screen(player, window)
        player.keys(window, "F11")
        self.assertTrue(wait_until(lambda: player.geometry(window)[2:] == (800, 600), 15),
                        player.geometry(window))
        # Escape in a window changes nothing.
        player.keys(window, "Escape")
        time.sleep(0.5)
        self.assertEqual(player.geometry(window)[2:], (800, 600))


class HighDensityTest(KeysTest):
    SCREEN = "2048x1536"

    def test_under_gdk_scale_2_the_window_is_as_sharp_as_a_render_at_twice_the_size(self):
        player = self.start(DEMO, "-nosplash", env={"GDK_SCALE": "2"})
        window = self.shown(player)
        player.park_pointer()
        time.sleep(0.5)
        width, height, shown = player.screenshot(window)
        self.assertEqual((width, height), (1600, 1200))
        w, h, sharp = self.render(DEMO, "--scale", "2")
        self.assertEqual((w, h), (1600, 1200))
        # Every pixel as lumtool paints the page at twice the size.
        self.assertEqual(differing(shown, sharp, width), [])
        # What a stretched picture would give instead: the page at its size, doubled.
        blurred = os.path.join(self.sandbox.root, "blurred.png")
        plain = os.path.join(self.sandbox.root, "plain.png")
        subprocess.run([LUMTOOL, "render", DEMO, "-o", plain], check=True, capture_output=True,
                       env=self.lumtool_env())
        subprocess.run(["convert", plain, "-filter", "Triangle", "-resize", "200%", blurred],
                       check=True)
        _, _, stretched = pixels(blurred)
        # The title text's area: the edges there are as steep as in the render, and steeper
        # than in the stretched page.
        area = (2 * 40, 2 * 28, 2 * 480, 2 * 32)
        shown_edges = edge_sharpness(crop(shown, width, *area), area[2], area[3])
        sharp_edges = edge_sharpness(crop(sharp, width, *area), area[2], area[3])
        stretched_edges = edge_sharpness(crop(stretched, width, *area), area[2], area[3])
        self.assertGreaterEqual(shown_edges, sharp_edges * 0.98)
        self.assertGreater(shown_edges, stretched_edges * 1.2)
        # The pointer works in the scaled window: "Read the guide" (xdotool counts the
        # screen's pixels, twice the window's own).
        player.click(window, 2 * 176, 2 * 132)
        self.assertEqual(player.wait_title(window, DEMO_TITLE % "Guide"), DEMO_TITLE % "Guide")


if __name__ == "__main__":
    unittest.main()
