"""Drives the real lumplayer on a private virtual display: starts it, finds its windows,
clicks with xdotool, reads titles and pixels, and builds small content files."""

import json
import os
import pty
import shutil
import signal
import subprocess
import tempfile
import threading
import time
import zipfile

BUILD_DIR = os.environ.get("LUM_BUILD_DIR", "")
PLAYER = os.path.join(BUILD_DIR, "lumplayer")
LUMTOOL = os.path.join(BUILD_DIR, "lumtool")


class Display:
    """A private Xvfb, so that no other test moves this display's pointer."""

    def __init__(self, size="1280x1024"):
        read_end, write_end = os.pipe()
        self.width, self.height = (int(v) for v in size.split("x"))
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", size + "x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)


class WindowManager:
    """Openbox on a display: full screen needs a window manager that grants it."""

    def __init__(self, display):
        self.display = display
        env = dict(os.environ, DISPLAY=display.name)
        env.pop("WAYLAND_DISPLAY", None)
        self.process = subprocess.Popen(["openbox", "--sm-disable"], env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def running():
            out = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env,
                                 capture_output=True, text=True, timeout=20).stdout
            return "window id" in out
        if not wait_until(running, 20):
            self.close()
            raise RuntimeError("openbox did not start")

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class Sandbox:
    """A temporary folder with a recording xdg-open and a private MIME setup in front."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="lum-e2e-")
        self.bin = os.path.join(self.root, "bin")
        self.tmp = os.path.join(self.root, "tmp")
        self.record = os.path.join(self.root, "opened.jsonl")
        self.audio = os.path.join(self.root, "audio.raw")
        os.makedirs(self.bin)
        os.makedirs(self.tmp)
        # Records its arguments, and the descriptors it inherited (all but the one it lists
        # them with) before it opens anything itself.
        recorder = "#!/usr/bin/env python3\nimport json, os, sys\n" \
                   "here = '/proc/%d/fd' % os.getpid()\n" \
                   "fds = sorted(int(fd) for fd in os.listdir('/proc/self/fd')\n" \
                   "             if os.path.exists('/proc/self/fd/' + fd)\n" \
                   "             and os.readlink('/proc/self/fd/' + fd) != here)\n" \
                   "name = os.path.basename(sys.argv[0])\n" \
                   "with open(os.environ['LUM_RECORD'] + '.fds', 'a') as f:\n" \
                   "    f.write(json.dumps([name, fds]) + '\\n')\n" \
                   "with open(os.environ['LUM_RECORD'], 'a') as f:\n" \
                   "    f.write(json.dumps([name] + sys.argv[1:]) + '\\n')\n"
        for name in ("xdg-open", "lumviewer"):
            path = os.path.join(self.bin, name)
            with open(path, "w") as f:
                f.write(recorder)
            os.chmod(path, 0o755)
        # Plain texts open with "lumviewer --open PATH *", a program that needs a terminal
        # (the toolkit reads XDG_DATA_DIRS).
        apps = os.path.join(self.root, "xdg", "applications")
        os.makedirs(apps)
        with open(os.path.join(apps, "lumviewer.desktop"), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=Lum viewer\n"
                    "Exec=%s --open %%f *\nTerminal=true\nMimeType=text/plain;\n" % os.path.join(self.bin, "lumviewer"))

    def env(self, display):
        env = dict(os.environ)
        env.update({
            "DISPLAY": display.name,
            "PATH": self.bin + os.pathsep + env.get("PATH", ""),
            "LUM_RECORD": self.record,
            "TMPDIR": self.tmp,
            "XDG_DATA_DIRS": os.path.join(self.root, "xdg"),
            "SDL_AUDIODRIVER": "disk",
            "SDL_DISKAUDIOFILE": self.audio,
            "SDL_DISKAUDIODELAY": "20",
        })
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def opened(self):
        if not os.path.exists(self.record):
            return []
        with open(self.record) as f:
            return [json.loads(line) for line in f if line.strip()]

    def descriptors(self):
        """[program, inherited descriptors] of every recorded start."""
        path = self.record + ".fds"
        if not os.path.exists(path):
            return []
        with open(path) as f:
            return [json.loads(line) for line in f if line.strip()]

    def close(self):
        shutil.rmtree(self.root, ignore_errors=True)


def xdotool(display, *args, check=False):
    result = subprocess.run(["xdotool"] + [str(a) for a in args], capture_output=True, text=True,
                            env=dict(os.environ, DISPLAY=display.name), timeout=20)
    if check and result.returncode != 0:
        raise RuntimeError("xdotool %s failed: %s" % (args, result.stderr))
    return result.stdout.strip()


def wait_until(condition, timeout=20.0, step=0.05):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return condition()


class TerminalCopy:
    """A terminal for a program's stderr: what the program writes there is copied to a file
    (line ends as written, not as the terminal shows them)."""

    def __init__(self, path):
        self.master, self.slave = pty.openpty()
        self.path = path
        self.thread = threading.Thread(target=self._copy, daemon=True)
        self.thread.start()

    def _copy(self):
        with open(self.path, "wb") as out:
            while True:
                try:
                    data = os.read(self.master, 65536)
                except OSError:  # the program and every child of it closed the terminal
                    break
                if not data:
                    break
                out.write(data.replace(b"\r\n", b"\n"))
                out.flush()

    def started(self):
        """The program has its end now: only its copy of the terminal keeps it open."""
        os.close(self.slave)

    def finish(self, timeout=10):
        self.thread.join(timeout)
        if not self.thread.is_alive() and self.master is not None:
            os.close(self.master)
            self.master = None


class Player:
    """One running lumplayer. With terminal=True its stderr is a terminal (as when started from
    a shell), otherwise a file (as when started from a file manager)."""

    def __init__(self, display, sandbox, args, cwd=None, program=PLAYER, env=None,
                 terminal=False):
        self.display = display
        self.sandbox = sandbox
        self.command = [program] + list(args)
        self.cwd = cwd or sandbox.root
        self.extra_env = dict(env or {})
        self.retries = 2
        self.stderr = None
        self.terminal = None
        self.use_terminal = terminal
        self._spawn()

    def _spawn(self):
        if self.stderr:
            self.stderr.close()
        self.stderr_path = os.path.join(self.sandbox.root, "stderr-%d.txt" % time.monotonic_ns())
        self.stderr = open(self.stderr_path, "a")
        self.started = time.monotonic()
        env = self.sandbox.env(self.display)
        env.update(self.extra_env)
        if self.use_terminal:
            if self.terminal:
                self.terminal.finish()
            self.terminal = TerminalCopy(self.stderr_path)
            self.process = subprocess.Popen(self.command, cwd=self.cwd, env=env,
                                            stdout=subprocess.DEVNULL, stderr=self.terminal.slave)
            self.terminal.started()
        else:
            self.process = subprocess.Popen(self.command, cwd=self.cwd, env=env,
                                            stdout=subprocess.DEVNULL, stderr=self.stderr)

    def respawn_if_refused(self):
        """Under heavy load a client now and then fails to reach the display at all; that says
        nothing about the player, so it gets another go. True when it was started again."""
        if self.retries == 0 or self.process.poll() is None or "initialize GTK" not in self.errors():
            return False
        self.retries -= 1
        self._spawn()
        return True

    def windows(self, visible=True):
        args = ["search"] + (["--onlyvisible"] if visible else []) + ["--pid", self.process.pid]
        out = xdotool(self.display, *args)
        return [int(w) for w in out.split()] if out else []

    def title(self, window):
        return xdotool(self.display, "getwindowname", window)

    def main_window(self, timeout=30.0):
        """The visible window whose title reads "product [page]"."""
        def find():
            self.respawn_if_refused()
            for window in self.windows():
                if self.title(window).endswith("]"):
                    return window
            return None
        return wait_until(find, timeout)

    def geometry(self, window):
        out = xdotool(self.display, "getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def move(self, window, x, y):
        xdotool(self.display, "mousemove", "--window", window, x, y, check=True)
        time.sleep(0.15)

    def click(self, window, x, y, button=1):
        self.move(window, x, y)
        xdotool(self.display, "mousedown", button, check=True)
        time.sleep(0.08)
        xdotool(self.display, "mouseup", button, check=True)
        # Clicks far apart never make a double click.
        time.sleep(0.6)

    def key(self, window, name):
        """Presses a key with the window focused (no window manager gives it the focus)."""
        xdotool(self.display, "windowfocus", "--sync", window)
        time.sleep(0.1)
        xdotool(self.display, "key", name, check=True)

    def park_pointer(self):
        xdotool(self.display, "mousemove", self.display.width - 1, self.display.height - 1)
        time.sleep(0.3)

    def keys(self, window, *names, pause=0.25):
        """Presses and releases each key (xdotool's names: Tab, shift+Tab, Return, BackSpace,
        alt+Left, F11, ...) with the window focused, one after the other."""
        for name in names:
            xdotool(self.display, "windowfocus", "--sync", window)
            xdotool(self.display, "key", "--clearmodifiers", name, check=True)
            time.sleep(pause)

    def screen(self):
        """The whole screen's pixels as (width, height, rgb bytes)."""
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                              capture_output=True, env=dict(os.environ, DISPLAY=self.display.name),
                              timeout=30, check=True).stdout
        return self.display.width, self.display.height, data

    def wait_title(self, window, expected, timeout=10.0):
        wait_until(lambda: self.title(window) == expected, timeout)
        return self.title(window)

    def screenshot(self, window):
        """The window's pixels as (width, height, rgb bytes)."""
        _, _, width, height = self.geometry(window)
        data = subprocess.run(["import", "-window", str(window), "-depth", "8", "rgb:-"],
                              capture_output=True, env=dict(os.environ, DISPLAY=self.display.name),
                              timeout=30, check=True).stdout
        return width, height, data

    def cpu_seconds(self):
        with open("/proc/%d/stat" % self.process.pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        ticks = os.sysconf("SC_CLK_TCK")
        return (int(fields[11]) + int(fields[12])) / ticks

    def wait_exit(self, timeout=30.0):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def errors(self):
        self.stderr.flush()
        if self.terminal and self.process.poll() is not None:
            self.terminal.finish()  # all it wrote has been copied
        with open(self.stderr_path) as f:
            return f.read()

    def stop(self):
        if self.stderr.closed:
            return
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.stderr.close()
        if self.terminal:
            self.terminal.finish()


# ---- Content files ----

def wav_bytes(seconds=0.5, rate=22050):
    """A mono 16-bit sine tone: audible samples, never all zero."""
    import math
    import struct
    frames = int(seconds * rate)
    samples = b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / rate)))
                       for i in range(frames))
    header = b"RIFF" + struct.pack("<I", 36 + len(samples)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, rate, rate * 2, 2, 16)
    return header + b"data" + struct.pack("<I", len(samples)) + samples


def png_bytes(width, height, colour):
    import struct
    import zlib
    raw = b"".join(b"\x00" + bytes(colour) * width for _ in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def button(name, x, y, width, height, action, label=None, text_id=None):
    """An action button (plain look) whose top-left corner is (x, y)."""
    text = ' text-id="%s"' % text_id if text_id else ""
    return ('<state-button type-name="lum-state-button-action" name="%s" label="%s"%s>'
            '<center x="%g" y="%g"/><size width="%g" height="%g"/>%s</state-button>'
            % (name, label or name, text, x + width / 2, y + height / 2, width, height, action))


def rectangle(x, y, width, height):
    return ('<rectangle name="plate"><center x="%g" y="%g"/><size width="%g" height="%g"/>'
            '</rectangle>' % (x + width / 2, y + height / 2, width, height))


def page(name, elements, text_id=None, width=640, height=480):
    text = ' textid="%s"' % text_id if text_id else ""
    return ('<page name="%s"%s><document version="1"><content-box x="0" y="0" width="%g" height="%g"/>'
            '%s</document></page>' % (name, text, width, height, "".join(elements)))


def product(pages, title="T", width="640", height="480", extra="", attributes=""):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<product title="%s"%s>%s<pages>%s</pages>'
            '<clientsize width="%s" height="%s"/></product>'
            % (title, attributes, extra, "".join(pages), width, height))


def write_content(path, description, attachments=None):
    with zipfile.ZipFile(path, "w") as archive:
        archive.writestr("product.xml", description)
        for name, data in (attachments or {}).items():
            archive.writestr(name, data)
    return path
