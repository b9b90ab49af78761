""""lumtool medium" and "lumtool new" never leave a half result: on a full disk they fail with
the system's reason and leave the old medium (or the missing or empty folder) as it was, and
killed at any moment they leave the old medium whole or the new one whole, never a mix of
half-written files. The full disks are small tmpfs mounts in a private mount namespace."""

import hashlib
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from playerkit import BUILD_DIR, LUMTOOL  # noqa: E402

DEMO = os.path.join(BUILD_DIR, "content.lum")
PAYLOAD = os.path.join(BUILD_DIR, "medium-runtime")
STAGING = ".lumtool-medium-"

WORK = None
BLANK = None  # a second content file, so that an old medium tells apart from a new one
OLD_MEDIUM = None
DEMO_FILES = None  # the files "new --template demo" writes, with their digests


def snapshot(folder):
    """Every file, folder and link below folder: relative path to digest, "dir" or link text."""
    found = {}
    for root, folders, files in os.walk(folder):
        for name in folders + files:
            path = os.path.join(root, name)
            key = os.path.relpath(path, folder)
            if os.path.islink(path):
                found[key] = "-> " + os.readlink(path)
            elif os.path.isdir(path):
                found[key] = "dir"
            else:
                with open(path, "rb") as f:
                    found[key] = hashlib.sha256(f.read()).hexdigest()
    return found


def demo_disc_files():
    """What a medium of the demo gets besides its own files: the files that the demo's buttons
    and icon name, from beside the demo's content file."""
    found = {}
    for folder in ("demo-docs", "setup"):
        found[folder] = "dir"
        for name, digest in snapshot(os.path.join(BUILD_DIR, folder)).items():
            found[folder + "/" + name] = digest
    with open(os.path.join(BUILD_DIR, "lumplayer-demo.ico"), "rb") as f:
        found["lumplayer-demo.ico"] = hashlib.sha256(f.read()).hexdigest()
    return found


def run_tool(*arguments, cwd=None):
    return subprocess.run([LUMTOOL, *arguments], capture_output=True, text=True, cwd=cwd,
                          timeout=300)


def errors(stderr):
    """The error lines (notes aside)."""
    return [line for line in stderr.splitlines() if not line.startswith("lumtool: note:")]


def setUpModule():
    global WORK, BLANK, OLD_MEDIUM, DEMO_FILES
    WORK = tempfile.mkdtemp(prefix="lum-interrupt-")
    subprocess.run([LUMTOOL, "new", os.path.join(WORK, "blank")], check=True,
                   capture_output=True, timeout=120)
    BLANK = os.path.join(WORK, "blank.lum")
    subprocess.run([LUMTOOL, "pack", os.path.join(WORK, "blank"), "-o", BLANK], check=True,
                   capture_output=True, timeout=120)
    OLD_MEDIUM = os.path.join(WORK, "old medium")
    os.makedirs(os.path.join(OLD_MEDIUM, "docs"))
    with open(os.path.join(OLD_MEDIUM, "docs", "readme.txt"), "w") as f:
        f.write("the author's own file")
    # From the folder: the readme its button opens lies there, and goes onto the medium too.
    subprocess.run([LUMTOOL, "medium", os.path.join(WORK, "blank"), "-o", OLD_MEDIUM],
                   check=True, capture_output=True, timeout=300)
    subprocess.run([LUMTOOL, "new", os.path.join(WORK, "demo"), "--template", "demo"],
                   check=True, capture_output=True, timeout=120)
    DEMO_FILES = snapshot(os.path.join(WORK, "demo"))


def tearDownModule():
    shutil.rmtree(WORK, ignore_errors=True)


# --- full disks -----------------------------------------------------------------------------

def namespace_prefix():
    """The command that runs a program where it may mount a tmpfs of its own, or a reason."""
    if os.geteuid() == 0:
        prefix = ["unshare", "--mount", "--propagation", "private"]
    else:
        prefix = ["unshare", "--user", "--map-root-user", "--mount"]
    probe = tempfile.mkdtemp(prefix="lum-probe-")
    try:
        tried = subprocess.run(prefix + ["mount", "-t", "tmpfs", "-o", "size=1m", "tmpfs", probe],
                               capture_output=True, text=True, timeout=30)
    except (OSError, subprocess.TimeoutExpired) as error:
        return None, str(error)
    finally:
        os.rmdir(probe)
    if tried.returncode != 0:
        return None, "cannot mount a tmpfs: " + tried.stderr.strip()
    return prefix, None


def on_small_disk(scenario, size):
    """Runs this file's scenario on a fresh tmpfs of that size; returns what it reports."""
    prefix, reason = namespace_prefix()
    if prefix is None:
        raise unittest.SkipTest(reason)
    mount = tempfile.mkdtemp(prefix="lum-disk-", dir=WORK)
    script = 'mount -t tmpfs -o size="$2" tmpfs "$1" && shift 2 && exec "$@"'
    done = subprocess.run(prefix + ["sh", "-c", script, "sh", mount, size, sys.executable,
                                    os.path.abspath(__file__), scenario, mount,
                                    json.dumps({"work": WORK, "blank": BLANK, "old": OLD_MEDIUM})],
                          capture_output=True, text=True, timeout=600,
                          env=dict(os.environ, LUM_BUILD_DIR=BUILD_DIR))
    if done.returncode != 0:
        raise AssertionError("the scenario failed:\n" + done.stdout + done.stderr)
    return json.loads(done.stdout)


def fill(mount, leave):
    """A file that takes all the room but leave bytes."""
    stats = os.statvfs(mount)
    free = stats.f_bavail * stats.f_frsize
    filler = os.path.join(mount, "filler")
    left = max(free - leave, 0)
    with open(filler, "wb") as f:
        while left > 0:
            left -= f.write(b"\0" * min(left, 1 << 20))
    return filler


def scenario_medium(mount, paths):
    medium = os.path.join(mount, "medium")
    shutil.copytree(paths["old"], medium, symlinks=True)
    filler = fill(mount, 20 * 1024 * 1024)
    before = snapshot(medium)
    full = run_tool("medium", DEMO, "-o", medium, "--iso", os.path.join(mount, "disc.iso"))
    report = {"before": before, "after": snapshot(medium), "status": full.returncode,
              "stderr": full.stderr, "beside": sorted(os.listdir(mount))}
    os.remove(filler)
    again = run_tool("medium", DEMO, "-o", medium)
    report.update({"again": again.returncode, "again_stderr": again.stderr,
                   "finally": snapshot(medium)})
    return report


def scenario_new(mount, paths):
    filler = fill(mount, 100 * 1024)
    os.makedirs(os.path.join(mount, "empty"))
    report = {}
    for name in ("menu", "empty", "deep/er/menu"):
        run = run_tool("new", os.path.join(mount, name), "--template", "demo")
        report[name] = {"status": run.returncode, "stderr": run.stderr}
    report["left"] = sorted(snapshot(mount))
    os.remove(filler)
    for name in ("menu", "empty"):
        run = run_tool("new", os.path.join(mount, name), "--template", "demo")
        report[name].update({"again": run.returncode, "again_stderr": run.stderr,
                             "files": snapshot(os.path.join(mount, name))})
    return report


class FullDiskTest(unittest.TestCase):
    def assert_one_error_naming_the_full_disk(self, status, stderr):
        self.assertEqual(status, 2, stderr)
        lines = errors(stderr)
        self.assertEqual(len(lines), 1, stderr)
        self.assertIn("No space left on device", lines[0])

    def test_medium_over_an_old_one_leaves_it_byte_for_byte(self):
        report = on_small_disk("medium", "300m")
        self.assert_one_error_naming_the_full_disk(report["status"], report["stderr"])
        self.assertEqual(report["after"], report["before"])
        self.assertEqual(report["beside"], ["filler", "medium"])  # no image, not even a part
        # With room, the same command makes the new medium, and the author's file stays.
        self.assertEqual(report["again"], 0, report["again_stderr"])
        with open(DEMO, "rb") as f:
            self.assertEqual(report["finally"]["content.lum"], hashlib.sha256(f.read()).hexdigest())
        self.assertEqual(report["finally"]["docs/readme.txt"], report["before"]["docs/readme.txt"])
        self.assertFalse([name for name in report["finally"] if STAGING in name])

    def test_new_leaves_no_files_and_a_retry_works(self):
        report = on_small_disk("new", "16m")
        for name in ("menu", "empty", "deep/er/menu"):
            self.assert_one_error_naming_the_full_disk(report[name]["status"],
                                                       report[name]["stderr"])
        # The missing folders are still missing, the empty one is still empty.
        self.assertEqual(report["left"], ["empty", "filler"])
        for name in ("menu", "empty"):
            self.assertEqual(report[name]["again"], 0, report[name]["again_stderr"])
            self.assertEqual(report[name]["files"], DEMO_FILES)


# --- kills ------------------------------------------------------------------------------------

def wait_for_staging(folder, process, timeout=60):
    """Until a staging folder shows in folder (or the process ended)."""
    end = time.monotonic() + timeout
    while time.monotonic() < end and process.poll() is None:
        try:
            if any(STAGING in name or ".lumtool-new-" in name for name in os.listdir(folder)):
                return True
        except FileNotFoundError:
            pass
        time.sleep(0.002)
    return False


def start_and_kill(arguments, moment, watched, sig=signal.SIGKILL):
    """Starts lumtool, sends sig after moment seconds (or once a staging folder shows in
    watched, for moment None); returns the process after it ended."""
    process = subprocess.Popen([LUMTOOL, *arguments], stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE)
    if moment is None:
        wait_for_staging(watched, process)
    else:
        time.sleep(moment)
    if process.poll() is None:
        process.send_signal(sig)
    process.communicate(timeout=120)
    return process


# A run of new takes about 0.1 s here: kills every few milliseconds through it, and once as
# soon as the staging folder shows.
NEW_MOMENTS = [0.003 * i for i in range(30)] + [None]


def medium_moments(count=20):
    """Kill moments through a run of medium, and once as soon as the staging folder shows. A
    run starts the GUI toolkit and reads the menu before it writes anything (a second or more
    in a sanitizer build), so the moments are spread over the writing, timed on one run."""
    folder = tempfile.mkdtemp(prefix="timing-", dir=WORK)
    try:
        medium = os.path.join(folder, "medium")
        shutil.copytree(OLD_MEDIUM, medium, symlinks=True)
        start = time.monotonic()
        process = subprocess.Popen([LUMTOOL, "medium", DEMO, "-o", medium],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for_staging(medium, process)
        writing = time.monotonic() - start
        process.wait(timeout=300)
        end = time.monotonic() - start
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    first = writing * 0.9
    return [first + (end - first) * i / count for i in range(count)] + [None]


class KillTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="kill-", dir=WORK)

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def assert_old_or_new_medium(self, medium, moment):
        old = snapshot(OLD_MEDIUM)
        now = {name: digest for name, digest in snapshot(medium).items()
               if not name.startswith(STAGING)}
        payload = snapshot(PAYLOAD)
        with open(DEMO, "rb") as f:
            new_content = hashlib.sha256(f.read()).hexdigest()
        self.assertIn(now.get("content.lum"), (old["content.lum"], new_content), moment)
        for name, digest in payload.items():
            self.assertEqual(now.get(name), digest, (moment, name))
        self.assertEqual(now.get("docs/readme.txt"), old["docs/readme.txt"], moment)
        # Nothing of the old medium goes; what comes is the demo's disc files, each whole.
        self.assertLessEqual(set(old), set(now), moment)
        disc = demo_disc_files()
        for name in set(now) - set(old):
            self.assertEqual(now[name], disc.get(name), (moment, name))

    def test_a_killed_medium_leaves_the_old_or_the_new_one_whole(self):
        for moment in medium_moments():
            medium = os.path.join(self.folder, "medium %s" % moment)
            shutil.copytree(OLD_MEDIUM, medium, symlinks=True)
            start_and_kill(["medium", DEMO, "-o", medium], moment, medium)
            self.assert_old_or_new_medium(medium, moment)
            leftovers = [name for name in os.listdir(medium) if name.startswith(STAGING)]
            # A later run makes the medium, says what the leftover is, and leaves it out of
            # the image.
            image = os.path.join(self.folder, "disc %s.iso" % moment)
            again = run_tool("medium", DEMO, "-o", medium, "--iso", image)
            self.assertEqual(again.returncode, 0, again.stderr)
            for leftover in leftovers:
                self.assertIn("%s' is left from an interrupted run and can be removed" % leftover,
                              again.stderr)
            listing = subprocess.run(["xorriso", "-indev", image, "-find", "/"],
                                     capture_output=True, text=True, check=True).stdout
            self.assertIn("'/content.lum'", listing)
            self.assertNotIn(STAGING, listing)
            self.assertNotIn(".part", " ".join(os.listdir(self.folder)))

    def test_a_killed_new_leaves_no_folder_or_a_whole_one(self):
        for moment in NEW_MOMENTS:
            folder = os.path.join(self.folder, "menu %s" % moment)
            start_and_kill(["new", folder, "--template", "demo"], moment, self.folder)
            if os.path.exists(folder):
                self.assertEqual(snapshot(folder), DEMO_FILES, moment)
            for name in os.listdir(self.folder):
                self.assertTrue(name.startswith(("menu ", ".menu ", "empty ")), name)
            empty = os.path.join(self.folder, "empty %s" % moment)
            os.makedirs(empty)
            start_and_kill(["new", empty, "--template", "demo"], moment, empty)
            made = {name: digest for name, digest in snapshot(empty).items()
                    if not name.startswith(".lumtool-new-")}
            self.assertIn(made, ({}, DEMO_FILES), moment)
            if not made:  # what a killed run left does not make the folder count as busy
                again = run_tool("new", empty, "--template", "demo")
                self.assertEqual(again.returncode, 0, again.stderr)
                self.assertEqual(snapshot(empty), DEMO_FILES, moment)

    def test_sigterm_removes_what_was_written_and_ends_the_process_by_it(self):
        medium = os.path.join(self.folder, "medium")
        shutil.copytree(OLD_MEDIUM, medium, symlinks=True)
        before = snapshot(medium)
        process = start_and_kill(["medium", DEMO, "-o", medium], None, medium, signal.SIGTERM)
        self.assertEqual(process.returncode, -signal.SIGTERM)
        self.assertEqual(snapshot(medium), before)
        fresh = os.path.join(self.folder, "fresh")
        process = start_and_kill(["medium", DEMO, "-o", fresh], None, fresh, signal.SIGINT)
        # Started in the background, the process may ignore SIGINT; then it simply finishes.
        if process.returncode == -signal.SIGINT:
            self.assertFalse(os.path.exists(fresh))


def main():
    scenario, mount, paths = sys.argv[1], sys.argv[2], json.loads(sys.argv[3])
    global WORK
    WORK = paths["work"]
    report = {"medium": scenario_medium, "new": scenario_new}[scenario](mount, paths)
    print(json.dumps(report))


if __name__ == "__main__" and len(sys.argv) == 4 and sys.argv[1] in ("medium", "new"):
    main()
elif __name__ == "__main__":
    unittest.main()
