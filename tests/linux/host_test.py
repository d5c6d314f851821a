"""The velmora program on a private Xvfb: photos in turn in a test-made
window, signals, a hostile picture, the Debian package, and a run under
XScreenSaver itself. Usage: host_test.py BUILD_DIR [unittest names...]"""
import os
import pwd
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from xml.etree import ElementTree

BUILD = os.path.abspath(sys.argv.pop(1))
VELMORA = os.path.join(BUILD, "linux", "velmora")
TEST_WINDOW = os.path.join(BUILD, "tests", "velmora_test_window")
COLOURS = {"red": (255, 0, 0), "green": (0, 255, 0), "blue": (0, 0, 255)}


def start_xvfb():
    """A private Xvfb on a high display number: helpers that share this
    machine's socket namespace take the low ones, whose abstract sockets a
    client would reach first."""
    for _ in range(20):
        number = random.randint(200, 899)
        if os.path.exists("/tmp/.X11-unix/X%d" % number):
            continue
        xvfb = subprocess.Popen(["Xvfb", ":%d" % number, "-screen", "0", "640x480x24",
                                 "-nolisten", "tcp", "-noreset"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and xvfb.poll() is None:
            if os.path.exists("/tmp/.X11-unix/X%d" % number):
                return xvfb, ":%d" % number
            time.sleep(0.05)
        xvfb.kill()
        xvfb.wait()
    raise RuntimeError("Xvfb did not start")


def classify(rgb):
    for name, wanted in COLOURS.items():
        if all(abs(a - b) < 60 for a, b in zip(rgb, wanted)):
            return name
    return "other"


class Pixels:
    """The test window (or the root) and its pixels."""

    def __init__(self, env, root=False):
        self.tool = subprocess.Popen([TEST_WINDOW] + (["root"] if root else []), env=env,
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.window = self.tool.stdout.readline().strip()

    def centre(self, x=160, y=120):
        self.tool.stdin.write("PIXEL %d %d\n" % (x, y))
        self.tool.stdin.flush()
        return classify(tuple(int(v) for v in self.tool.stdout.readline().split()))

    def close(self):
        self.tool.stdin.write("QUIT\n")
        self.tool.stdin.close()
        self.tool.wait(5)
        self.tool.stdout.close()


def wait_for(pixels, wanted, seconds, x=160, y=120):
    """Seconds until the centre shows a colour in wanted, or None."""
    start = time.monotonic()
    while time.monotonic() - start < seconds:
        if pixels.centre(x, y) in wanted:
            return time.monotonic() - start
        time.sleep(0.05)
    return None


def make_pictures(folder):
    for index, name in enumerate(["red", "green", "blue"]):
        subprocess.run(["convert", "-size", "600x500", "xc:" + ("lime" if name == "green" else name),
                        os.path.join(folder, "%d%s.png" % (2 * index, name))], check=True)
    # Between red and green in name order: a PNG signature and then rubbish.
    with open(os.path.join(folder, "1hostile.png"), "wb") as hostile:
        hostile.write(b"\x89PNG\r\n\x1a\n" + b"\xff" * 64 + os.urandom(256))


class HostTest(unittest.TestCase):
    def setUp(self):
        self.xvfb, display = start_xvfb()
        self.env = dict(os.environ, DISPLAY=display)
        self.folder = tempfile.mkdtemp(prefix="velmora_host_")
        os.chmod(self.folder, 0o755)
        self.pictures = os.path.join(self.folder, "pictures")
        os.mkdir(self.pictures)
        make_pictures(self.pictures)
        self.pixels = Pixels(self.env)

    def tearDown(self):
        self.pixels.close()
        self.xvfb.terminate()
        self.xvfb.wait(10)
        shutil.rmtree(self.folder)

    def start(self, *options):
        return subprocess.Popen([VELMORA, "--window-id", self.pixels.window, "--pictures",
                                 self.pictures, "--no-shuffle", "--rotation-seconds", "0",
                                 "--background", "solid", "--glass", "none"] + list(options),
                                env=self.env)

    def end(self, hack):
        started = time.monotonic()
        hack.send_signal(signal.SIGTERM)
        status = hack.wait(5)
        return status, time.monotonic() - started

    def test_photos_in_turn_without_the_hostile_one(self):
        started = time.monotonic()
        hack = self.start("--picture-seconds", "1")
        first = wait_for(self.pixels, {"red"}, 10)
        self.assertIsNotNone(first, "no first photo")
        print("first photo on screen after %.2f s" % (time.monotonic() - started))
        seen = []
        deadline = time.monotonic() + 8
        while time.monotonic() < deadline and len(set(seen)) < 3:
            seen.append(self.pixels.centre())
            time.sleep(0.1)
        status, _ = self.end(hack)
        self.assertEqual(status, 0)
        shown = [c for i, c in enumerate(seen) if i == 0 or c != seen[i - 1]]
        self.assertEqual(shown[:3], ["red", "green", "blue"], seen)

    def test_sigusr1_advances_and_sigterm_ends_soon(self):
        hack = self.start("--picture-seconds", "60")
        self.assertIsNotNone(wait_for(self.pixels, {"red"}, 10))
        # The second picture is ready once the loader has had a moment.
        time.sleep(1)
        hack.send_signal(signal.SIGUSR1)
        self.assertIsNotNone(wait_for(self.pixels, {"green"}, 3), "SIGUSR1 did not advance")
        status, seconds = self.end(hack)
        print("SIGTERM ended the hack in %.3f s" % seconds)
        self.assertEqual(status, 0)
        self.assertLess(seconds, 0.2)


class PackageTest(unittest.TestCase):
    def test_package_installs_into_a_scratch_root(self):
        with tempfile.TemporaryDirectory() as scratch:
            subprocess.run(["cpack", "-G", "DEB", "-B", scratch, "--config",
                            os.path.join(BUILD, "CPackConfig.cmake")], check=True,
                           stdout=subprocess.DEVNULL)
            package = [f for f in os.listdir(scratch) if f.endswith(".deb")]
            self.assertEqual(len(package), 1)
            root = os.path.join(scratch, "root")
            subprocess.run(["dpkg", "-x", os.path.join(scratch, package[0]), root], check=True)
            program = os.path.join(root, "usr/libexec/xscreensaver/velmora")
            self.assertTrue(os.access(program, os.X_OK))
            # Debian ships no schema for option files: it must parse, and name its program.
            options = ElementTree.parse(os.path.join(root, "usr/share/xscreensaver/config/velmora.xml"))
            self.assertEqual(options.getroot().get("name"), "velmora")
            self.assertTrue(os.path.isfile(os.path.join(root, "usr/share/man/man6/velmora.6x.gz")))
            help_text = subprocess.run([program, "--help"], capture_output=True, text=True, check=True)
            self.assertIn("--pictures", help_text.stdout)


@unittest.skipUnless(shutil.which("xscreensaver") and shutil.which("runuser"), "no XScreenSaver")
class XScreenSaverTest(unittest.TestCase):
    """The daemon refuses root: it runs as nobody with a home of its own."""

    def setUp(self):
        self.xvfb, display = start_xvfb()
        self.env = dict(os.environ, DISPLAY=display)
        self.folder = tempfile.mkdtemp(prefix="velmora_xss_")
        os.chmod(self.folder, 0o755)
        self.daemon = None

    def tearDown(self):
        if self.daemon is not None:
            self.command("-exit")
            try:
                self.daemon.wait(5)
            except subprocess.TimeoutExpired:
                self.daemon.kill()
                self.daemon.wait(5)
        self.log.close()
        self.xvfb.terminate()
        self.xvfb.wait(10)
        shutil.rmtree(self.folder)

    def as_nobody(self, *command):
        return ["runuser", "-u", "nobody", "--", "env", "HOME=" + self.folder,
                "DISPLAY=" + self.env["DISPLAY"]] + list(command)

    def command(self, *arguments):
        return subprocess.run(self.as_nobody("xscreensaver-command", *arguments),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=10)

    def hack_pids(self, program):
        pids = []
        for entry in os.listdir("/proc"):
            try:
                if entry.isdigit() and os.readlink("/proc/%s/exe" % entry) == program:
                    pids.append(int(entry))
            except OSError:
                pass
        return pids

    def test_runs_and_deactivate_ends_it(self):
        program = os.path.join(self.folder, "velmora")
        shutil.copy(VELMORA, program)
        pictures = os.path.join(self.folder, "pictures")
        os.mkdir(pictures)
        make_pictures(pictures)
        with open(os.path.join(self.folder, ".xscreensaver"), "w") as preferences:
            preferences.write("mode: one\nselected: 0\nlock: False\nfade: False\nunfade: False\n"
                              "splash: False\ntimeout: 0:30:00\n"
                              "programs: GL: %s --root --pictures %s --no-shuffle "
                              "--background solid --glass none\n" % (program, pictures))
        nobody = pwd.getpwnam("nobody")
        for path in [self.folder, pictures] + [os.path.join(pictures, f) for f in os.listdir(pictures)]:
            os.chown(path, nobody.pw_uid, nobody.pw_gid)
        self.log = open(os.path.join(self.folder, "daemon.log"), "w")
        self.daemon = subprocess.Popen(self.as_nobody("xscreensaver", "--no-splash", "--verbose"),
                                       stdout=self.log, stderr=subprocess.STDOUT)
        # The daemon takes a moment to come up; until then -select is lost.
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline and not self.hack_pids(program):
            self.command("-select", "1")
            for _ in range(20):
                if self.hack_pids(program):
                    break
                time.sleep(0.1)
        with open(os.path.join(self.folder, "daemon.log")) as log:
            self.assertTrue(self.hack_pids(program), "XScreenSaver did not start the hack:\n" + log.read()[-1500:])
        root = Pixels(self.env, root=True)
        try:
            self.assertIsNotNone(wait_for(root, {"red"}, 10, 320, 240), "no photo on the screen")
        finally:
            root.close()
        self.command("-deactivate")
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and self.hack_pids(program):
            time.sleep(0.1)
        self.assertFalse(self.hack_pids(program), "-deactivate did not end the hack")


if __name__ == "__main__":
    unittest.main(verbosity=2)
