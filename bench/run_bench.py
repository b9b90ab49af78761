#!/usr/bin/env python3
"""Measures lumplayer on one private virtual display, as a user sees it: exec to the first
complete frame (with -nosplash), a click to the next page until its fade has finished (and
until the screen first changes), memory after start (PSS), and `lumtool check` time.

    run_bench.py BUILD_DIR OUT_FOLDER [--runs N]

Contents: the demo menu beside the player, and 10 and 100 pages of 1 MB incompressible
pictures (made here); and the demo in full screen on a 1920 x 1080 display of its own (with
openbox, which grants full screen), where a fade blends 1440 x 1080 pictures. Runs of the contents are interleaved, so that a busy moment of the
machine does not fall on one content alone. Prints a table (median and minimum) and writes
it as JSON to OUT_FOLDER/bench.json.
"""
import argparse
import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


class Display:
    def __init__(self, width=1280, height=1024, window_manager=False):
        self.size = (width, height)
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % self.size,
             "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            self.name = ":" + pipe.readline().strip()
        self.manager = None
        if window_manager:
            self.manager = subprocess.Popen(["openbox"], env=dict(os.environ, DISPLAY=self.name),
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(1.0)

    def close(self):
        for process in (self.manager, self.process):
            if process:
                process.terminate()
                process.wait(timeout=10)


class Bench:
    def __init__(self, build, out, display, player_args=()):
        self.build = build
        self.out = out
        self.size = display.size
        self.player_args = list(player_args)
        self.env = dict(os.environ, DISPLAY=display.name, SDL_AUDIODRIVER="dummy")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.player = os.path.join(build, "lumplayer")
        self.lumtool = os.path.join(build, "lumtool")
        self.framewatch = os.path.join(build, "bench", "framewatch")
        self.decodeall = os.path.join(build, "bench", "decode_all")

    def run(self, *args, timeout=120):
        result = subprocess.run([str(a) for a in args], capture_output=True, text=True,
                                env=self.env, timeout=timeout)
        values = {}
        for line in result.stdout.splitlines():
            parts = line.split()
            if len(parts) == 2:
                values[parts[0]] = float(parts[1])
        if result.returncode != 0:
            raise RuntimeError("%s failed: %s" % (" ".join(map(str, args)), result.stderr.strip()))
        return values

    def park_pointer(self):
        subprocess.run(["xdotool", "mousemove", str(self.size[0] - 1), str(self.size[1] - 1)],
                       env=self.env, check=True)

    def start_player(self, content):
        return subprocess.Popen([self.player, content, "-nosplash"] + self.player_args, env=self.env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    @staticmethod
    def stop(pid):
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            return
        for _ in range(100):
            try:
                os.waitpid(pid, os.WNOHANG)
                os.kill(pid, 0)
            except (ProcessLookupError, ChildProcessError):
                return
            time.sleep(0.05)

    @staticmethod
    def pss_mb(pid):
        with open("/proc/%d/smaps_rollup" % pid) as f:
            for line in f:
                if line.startswith("Pss:"):
                    return int(line.split()[1]) / 1024.0
        return float("nan")

    def references(self, name, content, click):
        """The settled first page, and the settled page after the click, as the user sees them."""
        first = os.path.join(self.out, name + "-first.ref")
        after = os.path.join(self.out, name + "-click.ref")
        self.park_pointer()
        player = self.start_player(content)
        try:
            self.run(self.framewatch, "capture", player.pid, first)
            self.run(self.framewatch, "click", player.pid, click[0], click[1], "-", 5000)
            time.sleep(1.5)
            self.run(self.framewatch, "capture", player.pid, after)
        finally:
            self.stop(player.pid)
            player.wait()
        return first, after

    def measure(self, content, click, first, after):
        self.park_pointer()
        launched = subprocess.Popen([self.framewatch, "launch", first, "20000", "--", self.player,
                                     content, "-nosplash"] + self.player_args, env=self.env,
                                    stdout=subprocess.PIPE,
                                    text=True)
        pid = int(launched.stdout.readline().split()[1])
        values = {}
        try:
            for line in launched.stdout:
                parts = line.split()
                values[parts[0]] = float(parts[1])
            launched.wait()
            time.sleep(1.0)
            values["pss_mb"] = self.pss_mb(pid)
            values.update(self.run(self.framewatch, "click", pid, click[0], click[1], after, 5000))
        finally:
            self.stop(pid)
        return values

    def check_time(self, content):
        start = time.monotonic()
        subprocess.run([self.lumtool, "check", content], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=600)
        return (time.monotonic() - start) * 1000.0

    def decode_time(self, content):
        return self.run(self.decodeall, content)["decode_ms"]


def summary(samples):
    return {"median": round(statistics.median(samples), 1), "min": round(min(samples), 1),
            "runs": len(samples)}


def main(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("out")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--only", help="measure only this content (demo, 10 pages, 100 pages)")
    options = parser.parse_args(argv)
    build = os.path.abspath(options.build)
    out = os.path.abspath(options.out)
    os.makedirs(out, exist_ok=True)
    subprocess.run([sys.executable, os.path.join(HERE, "make_contents.py"), out, "10", "100"],
                   check=True)
    shutil.copy(os.path.join(build, "content.lum"), os.path.join(out, "demo.lum"))
    demo = os.path.join(out, "demo.lum")
    # Full screen scales the 800 x 600 demo by 1.8 and centres it: 240 pixels of black left.
    contents = {
        "demo": (demo, (176, 132)),  # "Read the guide"
        "10 pages": (os.path.join(out, "pages10.lum"), (110, 60)),
        "100 pages": (os.path.join(out, "pages100.lum"), (110, 60)),
        "demo, full screen": (demo, (240 + round(176 * 1.8), round(132 * 1.8))),
    }
    if options.only:
        contents = {options.only: contents[options.only]}
    window = Display()
    screen = Display(1920, 1080, window_manager=True)
    try:
        benches = {name: Bench(build, out, window) for name in contents}
        if "demo, full screen" in benches:
            benches["demo, full screen"] = Bench(build, out, screen, ["-fullscreen"])
        refs = {name: benches[name].references(name.replace(" ", "").replace(",", ""), path, click)
                for name, (path, click) in contents.items()}
        samples = {name: {} for name in contents}
        for _ in range(options.runs):
            for name, (path, click) in contents.items():
                bench = benches[name]
                for key, value in bench.measure(path, click, *refs[name]).items():
                    samples[name].setdefault(key, []).append(value)
                samples[name].setdefault("check_ms", []).append(bench.check_time(path))
                samples[name].setdefault("decode_all_ms", []).append(bench.decode_time(path))
    finally:
        screen.close()
        window.close()

    results = {name: {key: summary(values) for key, values in measured.items()}
               for name, measured in samples.items()}
    columns = [("first_frame_ms", "exec to first frame (ms)"),
               ("first_change_ms", "click to first change (ms)"),
               ("complete_ms", "click to fade finished (ms)"),
               ("pss_mb", "PSS after start (MB)"),
               ("check_ms", "lumtool check (ms)"),
               ("decode_all_ms", "decoding all pictures, one thread (ms)")]
    lines = ["| measure (median / min of %d) | %s |" % (options.runs, " | ".join(contents)),
             "|---|" + "---|" * len(contents)]
    for key, label in columns:
        cells = []
        for name in contents:
            value = results[name].get(key)
            cells.append("%.1f / %.1f" % (value["median"], value["min"]) if value else "-")
        lines.append("| %s | %s |" % (label, " | ".join(cells)))
    print("\n".join(lines))
    with open(os.path.join(out, "bench.json"), "w") as f:
        json.dump({"machine": os.uname().nodename, "date": time.strftime("%Y-%m-%d %H:%M"),
                   "runs": options.runs, "results": results}, f, indent=2)


if __name__ == "__main__":
    main(sys.argv[1:])
