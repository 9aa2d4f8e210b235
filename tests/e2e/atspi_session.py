"""What a screen reader sees of the real program: its windows and controls on
the AT-SPI bus, the keys a user presses (through xdotool), and the events the
program sends. Runs inside an X session with a private session bus."""

import os
import subprocess
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import GLib  # noqa: E402
import pyatspi  # noqa: E402

TIMEOUT = 8.0


class Failure(Exception):
    pass


def pump():
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def wait_for(what, predicate, timeout=TIMEOUT):
    """Polls `predicate` (with the bus's events delivered) until it returns a
    true value, which is returned; fails after `timeout` seconds."""
    end = time.monotonic() + timeout
    while True:
        pump()
        try:
            value = predicate()
        except GLib.Error:
            value = None
        if value:
            return value
        if time.monotonic() > end:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.05)


def fresh(acc):
    acc.clear_cache()
    return acc


def states(acc):
    return set(fresh(acc).getState().getStates())


def showing(acc):
    return pyatspi.STATE_SHOWING in states(acc)


def descendants(acc):
    for i in range(fresh(acc).childCount):
        child = acc.getChildAtIndex(i)
        if child is None:
            continue
        yield child
        yield from descendants(child)


def find(root, role, name=None, visible=True):
    for acc in descendants(root):
        if acc.getRoleName() != role:
            continue
        if name is not None and acc.name != name:
            continue
        if visible and not showing(acc):
            continue
        return acc
    return None


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)
    time.sleep(0.15)
    pump()


class Program:
    """The program started with a fresh data folder in the current session."""

    def __init__(self, binary, home, extra_env=None):
        env = dict(os.environ)
        env.pop("QT_QPA_PLATFORM", None)
        env.update(
            {
                "XDG_DATA_HOME": home,
                "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                "QT_ACCESSIBILITY": "1",
            }
        )
        env.update(extra_env or {})
        self.home = home
        self.process = subprocess.Popen([binary], env=env)
        self.app = wait_for("the program on the accessibility bus", self._find_app)

    def _find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def windows(self):
        """The program's windows on screen, as (role, name) pairs."""
        shown = []
        for i in range(fresh(self.app).childCount):
            window = self.app.getChildAtIndex(i)
            if window is not None and showing(window):
                shown.append(window)
        return shown

    def window(self, role, name, holding=None, timeout=TIMEOUT):
        """The window on screen with this role and name (and, if given, a
        control with the role `holding`)."""

        def found():
            for window in self.windows():
                if window.getRoleName() != role or fresh(window).name != name:
                    continue
                if holding is None or find(window, holding) is not None:
                    return window
            return None

        return wait_for(f"the {role} {name!r}", found, timeout)

    def gone(self, name):
        wait_for(
            f"the window {name!r} to go",
            lambda: all(fresh(w).name != name for w in self.windows()),
        )

    def focused(self):
        for window in self.windows():
            if pyatspi.STATE_ACTIVE not in states(window):
                continue
            for acc in descendants(window):
                if pyatspi.STATE_FOCUSED in states(acc):
                    return acc
        return None

    def focused_name(self):
        acc = wait_for("a focused control", self.focused)
        return acc.name

    def end(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait(timeout=10)


class Events:
    """Collects the events of the given kinds from the bus, as (kind, role,
    name) of their source; a state change's kind ends in =1 or =0."""

    def __init__(self, *kinds):
        self.seen = []
        self.kinds = kinds
        for kind in kinds:
            pyatspi.Registry.registerEventListener(self._on_event, kind)

    def _on_event(self, event):
        try:
            kind = event.type
            if kind.startswith("object:state-changed:"):
                kind += "=%d" % event.detail1  # "...:showing=1" when it appears
            self.seen.append((kind, event.source.getRoleName(), event.source.name))
        except GLib.Error:
            pass

    def clear(self):
        pump()
        self.seen.clear()
