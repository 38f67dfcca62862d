#!/usr/bin/python3
"""A stand-in for the session's screensaver service, for tests: records Inhibit and
UnInhibit, and drops an inhibition when its caller leaves the bus, as a real one does.
Tests read the record through the extra methods Calls and Active. Prints "ready" once
the name is owned."""
import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.ScreenSaver"


class ScreenSaver(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/org/freedesktop/ScreenSaver")
        self.bus = bus
        self.next_cookie = 1
        self.active = {}  # cookie -> caller's unique name
        self.calls = []
        bus.add_signal_receiver(self.owner_changed, "NameOwnerChanged",
                                "org.freedesktop.DBus", "org.freedesktop.DBus")

    @dbus.service.method(NAME, in_signature="ss", out_signature="u", sender_keyword="sender")
    def Inhibit(self, application, reason, sender=None):
        cookie = self.next_cookie
        self.next_cookie += 1
        self.active[cookie] = sender
        self.calls.append("Inhibit")
        return cookie

    @dbus.service.method(NAME, in_signature="u")
    def UnInhibit(self, cookie):
        self.calls.append("UnInhibit" if self.active.pop(int(cookie), None) else "UnInhibit?")

    @dbus.service.method(NAME, out_signature="as")
    def Calls(self):
        return self.calls

    @dbus.service.method(NAME, out_signature="u")
    def Active(self):
        return len(self.active)

    def owner_changed(self, name, old, new):
        if new == "" and name.startswith(":"):
            for cookie in [c for c, s in self.active.items() if s == name]:
                del self.active[cookie]
                self.calls.append("Dropped")


DBusGMainLoop(set_as_default=True)
session = dbus.SessionBus()
service = ScreenSaver(session)
keep = dbus.service.BusName(NAME, session)
print("ready", flush=True)
GLib.MainLoop().run()
