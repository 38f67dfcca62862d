#!/usr/bin/env python3
"""Both windows as a screen reader finds them: through the accessibility bus (AT-SPI), with
the client library screen readers use, on a session bus and an X server of the test's own.

usage: test_accessibility.py <program> <data folder> [test names]
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

PROGRAM = None
DATA = None
WAIT = 20.0

# Two own favourites playing a local file the test makes.
FAVORITES = (
    '<?xml version="1.0" encoding="UTF-8" ?>\r\n<Favorites>\r\n'
    '    <Channel name="One" id="0" icon="0" address="%(media)s" />\r\n'
    '    <Channel name="Two" id="0" icon="0" address="%(media)s" />\r\n'
    "</Favorites>\r\n"
)

# What must be found, in this order, walking both windows depth first: role, the name in
# English and in German, the states the control must have and must not have.
EXPECTED = [
    ("frame", "Korvanta", "Korvanta", {"enabled"}, set()),
    ("menu bar", "", "", {"showing"}, set()),
    ("menu item", "Channels", "Sender", {"enabled"}, set()),
    ("popup menu", "", "", set(), set()),
    ("menu item", "Show Channel List", "Senderliste anzeigen", {"enabled"}, set()),
    ("menu item", "Playback", "Wiedergabe", {"enabled"}, set()),
    ("menu item", "View", "Ansicht", {"enabled"}, set()),
    ("menu item", "Help", "Hilfe", {"enabled"}, set()),
    ("animation", "Video", "Video", {"showing"}, set()),
    ("status bar", "", "", {"showing"}, set()),
    ("tool bar", "Playback controls", "Wiedergabesteuerung", {"showing"}, set()),
    ("push button", "Play", "Abspielen", {"showing"}, {"enabled"}),  # no channel started yet
    ("check box", "Mute", "Stumm", {"enabled"}, {"checked"}),
    ("slider", "Volume", "Lautstärke", {"enabled"}, set()),
    ("dialog", "Channels", "Sender", {"enabled"}, set()),
    ("page tab", "All channels", "Alle Sender", {"enabled"}, set()),
    ("page tab", "Favorites", "Favoriten", {"enabled"}, set()),
    ("tree", "All channels", "Alle Sender", {"showing"}, set()),
    ("tree", "Favorites", "Favoriten", set(), {"showing"}),
    ("text", "Description", "Beschreibung", {"showing"}, set()),
    ("push button", "Play", "Abspielen", {"showing"}, {"enabled"}),
    ("push button", "Add to favorites", "Zu Favoriten hinzufügen", set(), {"enabled"}),
    ("push button", "Remove from favorites", "Aus Favoriten entfernen", set(), {"enabled"}),
    ("push button", "Move up", "Nach oben", set(), {"enabled"}),
    ("push button", "Move down", "Nach unten", set(), {"enabled"}),
]
LANGUAGES = {"English": 1, "German": 2}

# An own playlist of two groups, whose channels the tree reads only when a group opens; the
# last is numbered 344.
PLAYLIST = (
    "#EXTM3U\n"
    '#EXTINF:-1 group-title="News",Alpha\n%(media)s\n'
    '#EXTINF:-1 group-title="News",Beta\n%(media)s\n'
    '#EXTINF:-1 tvg-chno="344" group-title="Sport",Gamma\n%(media)s\n'
)


def settings(language):
    return (
        '<?xml version="1.0" encoding="UTF-8" ?>\r\n<Settings>\r\n'
        '    <Language name="%s" />\r\n'
        '    <MainWindowPos posx="300" posy="40" width="550" height="471" />\r\n'
        '    <ChannelWindowPos posx="10" posy="10" width="219" height="484" />\r\n'
        '    <VolumeSound id="100" />\r\n    <MuteSound id="0" />\r\n    <OriginalSize id="0" />\r\n'
        '    <HideControl id="0" />\r\n    <HideMenu id="0" />\r\n    <AlwaysOnTop id="0" />\r\n'
        "</Settings>\r\n" % language
    ).encode()


class Program:
    """Korvanta with its own config folder, reached through the accessibility bus."""

    def __init__(self, config, language):
        folder = os.path.join(config, "Korvanta")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "Settings.xml"), "wb") as f:
            f.write(settings(language))
        media = os.path.join(config, "pattern.ts")
        if not os.path.exists(media):
            subprocess.run(["ffmpeg", "-v", "error", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=10",
                            "-t", "60", media], check=True)
        with open(os.path.join(folder, "Favorites.xml"), "wb") as f:
            f.write((FAVORITES % {"media": media}).encode())
        playlist = os.path.join(config, "own.m3u")
        with open(playlist, "w") as f:
            f.write(PLAYLIST % {"media": media})
        with open(os.path.join(folder, "Playlists.xml"), "w") as f:
            f.write('<Playlists><Playlist name="own" source="%s" /></Playlists>' % playlist)
        env = dict(os.environ, XDG_CONFIG_HOME=config, QT_QPA_PLATFORM="xcb")
        self.process = subprocess.Popen([PROGRAM], cwd=DATA, env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def application(self):
        """The program's accessible, once both windows are on the bus."""
        def find():
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is not None and app.get_process_id() == self.process.pid and app.childCount >= 2:
                    return app
            return None
        return wait_for(find)

    def end(self):
        self.process.terminate()
        self.process.wait(WAIT)


def wait_for(predicate, timeout=WAIT):
    """Polls predicate while serving the bus's events; its first true value, or None."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        while GLib.MainContext.default().iteration(False):
            pass
        time.sleep(0.05)
    return None


def states(accessible):
    return {pyatspi.stateToString(s) for s in accessible.getState().getStates()}


def walk(accessible):
    """Every accessible below accessible, depth first."""
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            yield child
            yield from walk(child)


def find(root, role, name):
    return next((a for a in walk(root) if a.getRoleName() == role and a.name == name), None)


class ProgramTest(unittest.TestCase):
    def setUp(self):
        self.config = tempfile.mkdtemp(prefix="korvanta-access-")
        self.program = None

    def tearDown(self):
        if self.program is not None:
            self.program.end()
        shutil.rmtree(self.config, ignore_errors=True)

    def start(self, language):
        self.program = Program(self.config, language)
        app = self.program.application()
        self.assertIsNotNone(app, "the program did not appear on the accessibility bus")
        return app


class AccessibilityTest(ProgramTest):
    def test_both_windows_show_their_controls_by_role_name_and_state_in_the_language(self):
        for language, column in LANGUAGES.items():
            with self.subTest(language=language):
                app = self.start(language)
                found = [(a.getRoleName(), a.name, states(a)) for a in walk(app)]
                self.program.end()
                self.program = None
                at = 0
                for row in EXPECTED:
                    role, name, have, lack = row[0], row[column], row[3], row[4]
                    while at < len(found) and (found[at][0], found[at][1]) != (role, name):
                        at += 1
                    self.assertLess(at, len(found), "%s: no %s %r in its place" % (language, role, name))
                    self.assertTrue(have <= found[at][2], "%s: %s %r lacks %s" % (language, role, name, have - found[at][2]))
                    self.assertFalse(lack & found[at][2], "%s: %s %r is %s" % (language, role, name, lack & found[at][2]))

    def test_the_play_action_starts_the_selected_channel_and_the_status_line_announces_it(self):
        app = self.start("English")
        announced = []
        listener = lambda event: announced.append((event.source.getRoleName(), event.source.name))
        pyatspi.Registry.registerEventListener(listener, "object:property-change:accessible-name")
        try:
            channels = next(w for w in walk(app) if w.getRoleName() == "dialog")
            find(channels, "page tab", "Favorites").queryAction().doAction(0)
            favorites = find(channels, "tree", "Favorites")
            self.assertTrue(wait_for(lambda: "showing" in states(favorites)))
            favorites.queryTable().addRowSelection(1)
            play = find(channels, "push button", "Play")
            self.assertTrue(wait_for(lambda: "enabled" in states(play)), "selecting did not enable Play")
            play.queryAction().doAction(0)
            # A local file plays as a film: its clock may follow the name at once.
            self.assertTrue(wait_for(lambda: any(role == "status bar" and name.split("  ")[0] == "Two"
                                                 for role, name in announced)),
                            "the status line did not announce the channel: %s" % announced)
            main = app.getChildAtIndex(0)
            self.assertIsNotNone(find(main, "animation", "Video: Two"))
            panel = find(main, "tool bar", "Playback controls")
            self.assertEqual(panel.getChildAtIndex(0).name, "Stop")
            mute = find(panel, "check box", "Mute")
            mute.queryAction().doAction(0)
            self.assertTrue(wait_for(lambda: "checked" in states(mute)), "the sound did not go off")
        finally:
            pyatspi.Registry.deregisterEventListener(listener, "object:property-change:accessible-name")


class Announcements:
    """What a screen reader hears: the names of the accessibles that take the focus or the
    selection, and the checked and value changes, as (event, name) pairs."""

    EVENTS = ("object:state-changed:focused", "object:state-changed:selected", "object:active-descendant-changed",
              "object:state-changed:checked", "object:property-change:accessible-value")

    def __init__(self):
        self.heard = []
        for event in self.EVENTS:
            pyatspi.Registry.registerEventListener(self.hear, event)

    def hear(self, event):
        source = event.source
        if event.type.startswith("object:active-descendant-changed"):
            source = event.any_data
        if event.type.startswith("object:state-changed") and not event.detail1:
            return
        self.heard.append((event.type, source.name if source is not None else None))

    def heard_name(self, name):
        return wait_for(lambda: any(n == name for _, n in self.heard))

    def end(self):
        for event in self.EVENTS:
            pyatspi.Registry.deregisterEventListener(self.hear, event)


def press(*keys):
    """Keys as the keyboard gives them, to the window that has the focus."""
    for key in keys:
        subprocess.run(["xdotool", "key", key], check=True)


class KeyboardTest(ProgramTest):
    """What the keyboard does, heard as a screen reader hears it."""

    def click(self, accessible):
        """A click at the top left of accessible, inside it."""
        x, y = accessible.queryComponent().getPosition(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", "--sync", str(x + 8), str(y + 8), "click", "1"], check=True)

    def cell(self, tree, name):
        return wait_for(lambda: find(tree, "table cell", name) or find(tree, "tree item", name))

    def test_rows_a_group_opens_are_announced_and_selected_as_the_keys_move(self):
        app = self.start("English")
        heard = Announcements()
        try:
            channels = next(w for w in walk(app) if w.getRoleName() == "dialog")
            tree = find(channels, "tree", "All channels")
            self.click(tree)
            self.assertTrue(wait_for(lambda: "focused" in states(tree)))
            press("End", "Right", "Down")  # the playlist opens; its first group
            self.assertTrue(heard.heard_name("News"), heard.heard)
            press("Right", "Down")  # the group opens; its first channel
            self.assertTrue(heard.heard_name("Alpha"), heard.heard)
            press("Down")
            self.assertTrue(heard.heard_name("Beta"), heard.heard)
            beta = self.cell(tree, "Beta")
            self.assertTrue(wait_for(lambda: "selected" in states(beta)), states(beta))
            selected = [c.name for c in walk(tree) if "selected" in states(c)]
            self.assertEqual(selected, ["Beta"])
        finally:
            heard.end()

    def test_m_toggles_the_mute_button_keys_move_the_volume_and_digits_pick_a_channel(self):
        app = self.start("English")
        heard = Announcements()
        try:
            main = app.getChildAtIndex(0)
            panel = find(main, "tool bar", "Playback controls")
            # The toolkit's bridge has no toggle-button role: a check box is the toggle readers announce.
            mute = find(panel, "check box", "Mute")
            video = find(main, "animation", "Video")
            self.click(video)  # the keyboard goes to the main window
            self.assertTrue(wait_for(lambda: "active" in states(main)))
            press("m")
            self.assertTrue(wait_for(lambda: "checked" in states(mute)), "M did not check the mute button")
            press("m")
            self.assertTrue(wait_for(lambda: "checked" not in states(mute)), "M did not uncheck it")

            volume = find(panel, "slider", "Volume")
            press("Tab", "Tab")  # the mute button, the slider: Play is off before a channel
            self.assertTrue(wait_for(lambda: "focused" in states(volume)), heard.heard)
            press("Left")
            self.assertTrue(wait_for(lambda: volume.queryValue().currentValue < 100), "the value stayed")
            self.assertEqual(volume.queryValue().currentValue, 95)

            channels = next(w for w in walk(app) if w.getRoleName() == "dialog")
            self.click(find(channels, "tree", "All channels"))
            press("End", "Right", "Down", "Down")  # the group Sport, selected
            self.assertTrue(heard.heard_name("Sport"), heard.heard)
            self.click(video)
            press("3", "4", "4")
            self.assertTrue(wait_for(lambda: find(main, "animation", "Video: Gamma")), "344 did not play")
        finally:
            heard.end()


def own_session(argv):
    """Runs this test again inside a private session bus and X server; its exit code."""
    runtime = tempfile.mkdtemp(prefix="korvanta-runtime-")
    os.chmod(runtime, 0o700)
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-noreset"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        display = ":" + xvfb.stdout.readline().decode().strip()
        env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime, KORVANTA_OWN_SESSION="1")
        env.pop("WAYLAND_DISPLAY", None)
        return subprocess.run(["dbus-run-session", "--", sys.executable] + argv, env=env).returncode
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(runtime, ignore_errors=True)


def enable_accessibility():
    """What a screen reader does when it starts: the toolkits then join the bus."""
    import dbus
    bus = dbus.SessionBus().get_object("org.a11y.Bus", "/org/a11y/bus")
    dbus.Interface(bus, "org.freedesktop.DBus.Properties").Set("org.a11y.Status", "IsEnabled", dbus.Boolean(True))


if __name__ == "__main__":
    if not os.environ.get("KORVANTA_OWN_SESSION"):
        sys.exit(own_session(sys.argv))
    PROGRAM, DATA = sys.argv[1], sys.argv[2]
    enable_accessibility()
    import pyatspi
    from gi.repository import GLib
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)  # names after the two: those tests only
