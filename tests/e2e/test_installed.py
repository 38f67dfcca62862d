#!/usr/bin/env python3
"""End-to-end tests of the installed program, driven as a user would: real windows under
the X server of $DISPLAY (with a window manager), keys through xdotool, closing through
the window manager, and the files the program leaves in its config folder.

usage: test_installed.py <install prefix> [<screenshot folder>]
"""
import hashlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

PREFIX = None
SHOTS = None
PORT = None  # of the stream zoo the program's built-in list points at
ZOO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support", "stream_zoo.py")

DEFAULT_SETTINGS = (
    b'<?xml version="1.0" encoding="UTF-8" ?>\r\n'
    b"<Settings>\r\n"
    b'    <Language name="English" />\r\n'
    b'    <MainWindowPos posx="298" posy="161" width="550" height="471" />\r\n'
    b'    <ChannelWindowPos posx="10" posy="10" width="219" height="484" />\r\n'
    b'    <VolumeSound id="100" />\r\n'
    b'    <MuteSound id="0" />\r\n'
    b'    <OriginalSize id="0" />\r\n'
    b'    <HideControl id="0" />\r\n'
    b'    <HideMenu id="0" />\r\n'
    b'    <AlwaysOnTop id="0" />\r\n'
    b"</Settings>\r\n"
)
EMPTY_FAVORITES = b'<?xml version="1.0" encoding="UTF-8" ?>\r\n<Favorites />\r\n'


def run(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout.strip()


def wait_for(predicate, timeout=20.0, step=0.1):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return None


class Program:
    """One run of Korvanta with its own config folder."""

    def __init__(self, config, direct_from=None, **environment):
        # A private runtime folder, as a session has: Qt warns without one.
        env = dict(os.environ, XDG_CONFIG_HOME=config, XDG_RUNTIME_DIR=config)
        env.update(environment)
        env.pop("QT_QPA_PLATFORM", None)
        if direct_from is None:
            args, cwd = [os.path.join(PREFIX, "bin", "korvanta")], None
        else:  # the program itself, started from another working directory
            args, cwd = [os.path.join(PREFIX, "libexec", "korvanta", "korvanta")], direct_from
        self.stderr_path = os.path.join(config, "stderr.txt")
        with open(self.stderr_path, "wb") as stderr:
            self.process = subprocess.Popen(args, env=env, cwd=cwd,
                                            stdout=subprocess.DEVNULL, stderr=stderr)

    def standard_error(self):
        with open(self.stderr_path, "rb") as f:
            return f.read()

    def shown(self):
        return run("xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid)).split()

    def windows(self):
        # Top-level windows only: the picture's native child window carries the title too,
        # but the window manager gives WM_STATE to top-level windows alone.
        return [w for w in self.shown() if "window state" in run("xprop", "-id", w, "WM_STATE")]

    def picture_shown(self):
        """The engine's OpenGL picture is up once its native child window is mapped."""
        return len(self.shown()) > len(self.windows())

    def window(self, title, timeout=20.0):
        """The visible window whose title is exactly title (titles settle after mapping)."""
        def find():
            named = [w for w in self.windows() if run("xdotool", "getwindowname", w) == title]
            return named[0] if named else None
        return wait_for(find, timeout)

    def main_window(self):
        # Both windows are up once start-up has finished.
        wait_for(lambda: len(self.windows()) >= 2)
        return self.window("Korvanta")

    def keys(self, window, *keys):
        """Types keys into window once it has the focus; the program reads them in order,
        so anything observed after a later event (a close, a new window) saw them all."""
        run("xdotool", "windowactivate", "--sync", window)
        wait_for(lambda: run("xdotool", "getwindowfocus") == window, 5)
        for key in keys:
            run("xdotool", "key", "--clearmodifiers", key)

    def close(self, window):
        run("wmctrl", "-i", "-c", window)
        return self.wait()

    def wait(self, timeout=20.0):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            return None

    def kill(self, sig):
        self.process.send_signal(sig)
        return self.wait()


def net_wm_state(window):
    return run("xprop", "-id", window, "_NET_WM_STATE")


def framed(window):
    """True once the window manager has put its frame around window."""
    return "=" in run("xprop", "-id", window, "_NET_FRAME_EXTENTS")


def screenshot(window, name):
    if SHOTS:
        os.makedirs(SHOTS, exist_ok=True)
        run("import", "-window", window, os.path.join(SHOTS, name))


class InstalledProgramTest(unittest.TestCase):
    def setUp(self):
        self.config = tempfile.mkdtemp(prefix="korvanta-config-")
        self.folder = os.path.join(self.config, "Korvanta")

    def tearDown(self):
        shutil.rmtree(self.config, ignore_errors=True)

    def read(self, name):
        with open(os.path.join(self.folder, name), "rb") as f:
            return f.read()

    def write(self, name, data):
        os.makedirs(self.folder, exist_ok=True)
        with open(os.path.join(self.folder, name), "wb") as f:
            f.write(data)

    def start(self, **environment):
        program = Program(self.config, **environment)
        window = program.main_window()
        self.assertIsNotNone(window, "the main window did not open")
        self.assertTrue(wait_for(lambda: framed(window)), "the window manager did not frame the window")
        return program, window

    def test_first_start_writes_defaults_and_a_restart_writes_the_same_bytes(self):
        program, window = self.start()
        self.assertEqual(len(program.windows()), 2, "the channel window is not open")
        screenshot(window, "first-start.png")
        self.assertEqual(program.close(window), 0)
        self.assertEqual(self.read("Settings.xml"), DEFAULT_SETTINGS)
        self.assertEqual(self.read("Favorites.xml"), EMPTY_FAVORITES)
        self.assertEqual(program.standard_error(), b"", "probes that found nothing stay quiet")
        for _ in range(2):
            program, window = self.start()
            self.assertEqual(program.close(window), 0)
            self.assertEqual(self.read("Settings.xml"), DEFAULT_SETTINGS)

    def test_view_mode_keys_are_saved_and_come_back(self):
        program, window = self.start()
        program.keys(window, "ctrl+h", "ctrl+m", "ctrl+t", "m", "shift+m")
        self.assertTrue(wait_for(lambda: "_NET_WM_STATE_ABOVE" in net_wm_state(window), 5))
        screenshot(window, "panels-hidden.png")
        self.assertEqual(program.close(window), 0)
        saved = self.read("Settings.xml")
        for element in (b'<HideControl id="1" />', b'<HideMenu id="1" />',
                        b'<AlwaysOnTop id="1" />', b'<MuteSound id="1" />'):
            self.assertIn(element, saved)

        program, window = self.start()
        self.assertIn("_NET_WM_STATE_ABOVE", net_wm_state(window))
        program.keys(window, "ctrl+h", "ctrl+m", "ctrl+t")
        self.assertTrue(wait_for(lambda: "_NET_WM_STATE_ABOVE" not in net_wm_state(window), 5))
        self.assertEqual(program.close(window), 0)
        saved = self.read("Settings.xml")
        for element in (b'<HideControl id="0" />', b'<HideMenu id="0" />',
                        b'<AlwaysOnTop id="0" />', b'<MuteSound id="1" />'):
            self.assertIn(element, saved)

    def test_escape_keeps_the_window_and_enter_toggles_full_screen(self):
        # Full screen moves the picture, which exists once the engine has started: seen from
        # outside as the OpenGL output's native window.
        program, window = self.start(KORVANTA_VIDEO_OUTPUT="opengl")
        self.assertTrue(wait_for(program.picture_shown), "the picture did not appear")
        program.keys(window, "Escape", "space", "Return")

        def full_screen_windows():
            shown = run("xdotool", "search", "--onlyvisible", "--pid", str(program.process.pid),
                        "--name", ".*").split()
            return [w for w in shown if "_NET_WM_STATE_FULLSCREEN" in net_wm_state(w)]
        fullscreen = wait_for(full_screen_windows, 5)
        self.assertTrue(fullscreen, "no full-screen video window")
        self.assertIsNone(program.process.poll(), "Escape closed the program")
        run("xdotool", "windowactivate", "--sync", fullscreen[0])
        run("xdotool", "key", "Return")
        self.assertTrue(wait_for(lambda: not any("_NET_WM_STATE_FULLSCREEN" in net_wm_state(w)
                                                 for w in fullscreen if run("xdotool", "getwindowname", w)), 5))
        self.assertEqual(program.close(window), 0)

    def test_termination_signal_saves_like_a_close(self):
        program, window = self.start()
        # The signal does not queue behind the keys: a window that F1 opens shows that M
        # was read before it comes.
        program.keys(window, "m", "F1")
        self.assertIsNotNone(program.window("Keyboard shortcuts"), "F1 showed no list of keys")
        self.assertEqual(program.kill(signal.SIGTERM), 0)
        self.assertIn(b'<MuteSound id="1" />', self.read("Settings.xml"))

    def test_termination_signal_also_ends_an_open_message_box(self):
        self.write("Settings.xml", DEFAULT_SETTINGS.replace(b'"English"', b'"Klingon"'))
        program = Program(self.config)
        self.assertIsNotNone(program.window("Warning"), "no warning box")
        self.assertEqual(program.kill(signal.SIGTERM), 0)

    def test_a_killed_program_leaves_the_files_as_they_were(self):
        self.write("Settings.xml", DEFAULT_SETTINGS)
        self.write("Favorites.xml", EMPTY_FAVORITES)
        program, window = self.start()
        program.keys(window, "m", "ctrl+h")
        program.kill(signal.SIGKILL)
        self.assertEqual(self.read("Settings.xml"), DEFAULT_SETTINGS)
        self.assertEqual(self.read("Favorites.xml"), EMPTY_FAVORITES)

    def test_missing_language_pack_warns_once_then_runs_in_english(self):
        self.write("Settings.xml", DEFAULT_SETTINGS.replace(b'"English"', b'"Klingon"'))
        program = Program(self.config)
        warning = program.window("Warning")
        self.assertIsNotNone(warning, "no warning box")
        screenshot(warning, "language-warning.png")
        program.keys(warning, "Return")
        window = program.main_window()
        self.assertIsNotNone(window)
        self.assertIsNone(program.window("Warning", timeout=1.0))
        self.assertEqual(program.close(window), 0)
        self.assertIn(b'<Language name="English" />', self.read("Settings.xml"))

    def test_no_languages_folder_is_fatal_and_touches_no_file(self):
        self.write("Settings.xml", b"mine")
        elsewhere = tempfile.mkdtemp(prefix="korvanta-cwd-")
        try:
            program = Program(self.config, direct_from=elsewhere)
            warning = program.window("Warning")
            self.assertIsNotNone(warning)
            program.keys(warning, "Return")
            error = program.window("Error")
            self.assertIsNotNone(error, "no error box")
            screenshot(error, "language-error.png")
            program.keys(error, "Return")
            self.assertEqual(program.wait(), 1, "a start that cannot go on fails")
        finally:
            shutil.rmtree(elsewhere, ignore_errors=True)
        self.assertEqual(self.read("Settings.xml"), b"mine")
        self.assertFalse(os.path.exists(os.path.join(self.folder, "Favorites.xml")))


    @unittest.skipUnless(os.geteuid() == 0, "acting as another user needs root")
    def test_a_socket_folder_made_by_another_user_is_not_used_and_the_window_opens(self):
        shared = tempfile.mkdtemp(prefix="korvanta-tmp-")  # as /tmp: everybody may make files in it
        os.chmod(shared, 0o1777)
        taken = os.path.join(shared, "korvanta-%d" % os.getuid())
        name = "Korvanta-" + hashlib.sha1(self.config.encode()).hexdigest()[:16]
        squatter = subprocess.Popen(
            ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "/usr/bin/python3", "-c",
             SQUATTER, taken, name], stdout=subprocess.PIPE, text=True)
        try:
            self.assertEqual(squatter.stdout.readline(), "ready\n")
            # Neither the runtime folder named (another user's) nor the fallback one is used.
            program = Program(self.config, XDG_RUNTIME_DIR=taken, TMPDIR=shared)
            window = program.main_window()
            self.assertIsNotNone(window, "the main window did not open")
            self.assertEqual(program.close(window), 0)
            self.assertIn(b"later starts cannot reach this one", program.standard_error())
        finally:
            squatter.kill()
            calls = squatter.communicate()[0]
            shutil.rmtree(shared, ignore_errors=True)
        self.assertEqual(calls, "", "the other user's socket was called")


# Another user's folder with a socket under the name a start would look for; reports any call.
SQUATTER = """
import os, socket, sys
os.mkdir(sys.argv[1])
os.chmod(sys.argv[1], 0o777)
s = socket.socket(socket.AF_UNIX)
s.bind(os.path.join(sys.argv[1], sys.argv[2]))
s.listen()
print("ready", flush=True)
c = s.accept()[0]
print("called", len(c.recv(4096)), flush=True)
"""


class InstalledCheckerTest(unittest.TestCase):
    def test_checks_the_built_in_list_from_any_folder_without_arguments(self):
        zoo = subprocess.Popen([sys.executable, ZOO, "--port", str(PORT)], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, text=True)
        elsewhere = tempfile.mkdtemp(prefix="korvanta-elsewhere-")
        try:
            self.assertIn("PORT", zoo.stdout.readline())
            while zoo.stdout.readline().strip() != "READY":
                pass
            run = subprocess.run([os.path.join(PREFIX, "bin", "korvanta-check-streams"), "--format", "tsv"],
                                 cwd=elsewhere, capture_output=True, text=True, timeout=300)
            self.assertEqual(run.returncode, 0, run.stderr)
            rows = [line for line in run.stdout.splitlines() if line and not line.startswith("#")]
            self.assertGreater(len(rows), 500)  # the header and every built-in slot
        finally:
            zoo.stdin.close()
            zoo.wait()
            shutil.rmtree(elsewhere, ignore_errors=True)


if __name__ == "__main__":
    PREFIX = os.path.abspath(sys.argv[1])
    SHOTS = sys.argv[2] if len(sys.argv) > 2 else None
    PORT = int(sys.argv[3]) if len(sys.argv) > 3 else 18731
    if not os.environ.get("DISPLAY"):
        print("DISPLAY is not set: the end-to-end tests need an X server")
        sys.exit(1)
    unittest.main(argv=sys.argv[:1], verbosity=2)
