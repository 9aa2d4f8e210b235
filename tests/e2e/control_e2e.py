#!/usr/bin/python3
"""The clock from outside: the real program on a private session bus, driven
by the command line's verbs (run without a display) and by its D-Bus
methods, while a client on the bus records the PropertiesChanged it sends.
Each step checks the clock's properties, the journal's row and the signals.

usage: control_e2e.py BINARY
Prints one line per check and "N passed, N failed" at the end."""

import json
import os
import re
import signal
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time
import xml.etree.ElementTree as ElementTree

import dbus
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import XSession  # noqa: E402

SERVICE = "io.github.tempodial.tempodial"
PATH = "/io/github/tempodial/tempodial"
INTERFACE = "io.github.tempodial.Clock"
PROPERTIES = "org.freedesktop.DBus.Properties"
XML = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "platform", "control",
                   "io.github.tempodial.Clock.xml")

results = {"passed": 0, "failed": 0}


def check(ok, what):
    results["passed" if ok else "failed"] += 1
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    return ok


def pump(seconds):
    """Runs the client's main loop for `seconds`, so that signals arrive."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if not context.iteration(False):
            time.sleep(0.02)


class Clock:
    """The program under test, its bus, its journal and what it signalled."""

    def __init__(self, binary, session):
        self.binary = binary
        self.daemon = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.address = self.daemon.stdout.readline().strip()
        self.bus = dbus.bus.BusConnection(self.address, mainloop=DBusGMainLoop())
        self.signals = []  # (monotonic time, changed properties)
        self.bus.add_signal_receiver(
            lambda interface, changed, _: self.signals.append((time.monotonic(), dict(changed))),
            signal_name="PropertiesChanged", dbus_interface=PROPERTIES, path=PATH)
        self.home = tempfile.mkdtemp(prefix="tempodial-control-")
        self.env = dict(session.env, XDG_DATA_HOME=self.home, DBUS_SESSION_BUS_ADDRESS=self.address,
                        DBUS_SYSTEM_BUS_ADDRESS="unix:path=/nonexistent/bus")
        self.pid = None

    def verb_env(self, display=False):
        env = dict(self.env)
        if not display:
            env.pop("DISPLAY")
            env["QT_QPA_PLATFORM"] = "xcb"
        return env

    def verb(self, *args, display=None):
        """The command line's verb, with no display but for --start."""
        env = self.verb_env(("--start" in args) if display is None else display)
        done = subprocess.run([self.binary, *args], env=env, capture_output=True, text=True,
                              timeout=60)
        return done.returncode, done.stdout, done.stderr

    def call(self, method):
        self.bus.call_blocking(SERVICE, PATH, INTERFACE, method, "", [])

    def properties(self):
        return self.bus.call_blocking(SERVICE, PATH, PROPERTIES, "GetAll", "s", [INTERFACE])

    def rows(self):
        """The journal's runs: (seconds, end_kind)."""
        with sqlite3.connect(os.path.join(self.home, "tempodial", "history.sqlite3")) as db:
            return db.execute("SELECT seconds, end_kind FROM sessions ORDER BY id").fetchall()

    def close(self):
        if self.pid:
            os.kill(self.pid, signal.SIGTERM)
            for _ in range(100):
                if not os.path.exists(f"/proc/{self.pid}"):
                    break
                time.sleep(0.1)
        self.daemon.terminate()
        self.daemon.wait()
        subprocess.run(["rm", "-rf", self.home])


class Follower:
    """tempodial --status --follow, its lines kept with when they came."""

    def __init__(self, clock, *args):
        self.process = subprocess.Popen([clock.binary, "--status", "--follow", *args],
                                        env=clock.verb_env(), stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, text=True)
        self.lines = []  # (monotonic time, line)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.append((time.monotonic(), line.rstrip("\n")))

    def since(self, moment):
        return [(at, line) for at, line in self.lines if at >= moment]

    def wait_for(self, pattern, since, timeout=5):
        """The first line from `since` on that matches, with its time."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for at, line in self.since(since):
                if re.fullmatch(pattern, line):
                    return at, line
            pump(0.05)
        return None, None

    def close(self):
        self.process.terminate()
        self.process.wait()
        return self.process.stderr.read()


def signalled(clock, since, key):
    return [changed[key] for at, changed in clock.signals if at >= since and key in changed]


def verbs_and_calls(binary):
    session = XSession()
    clock = Clock(binary, session)
    follower = None
    try:
        # No copy running: status 1 and the reason, for every verb but --start.
        for args in (["--status"], ["--status", "--json"], ["--toggle"], ["--stop"]):
            status, out, err = clock.verb(*args)
            check(status == 1 and out == "" and err == "tempodial: Tempodial is not running\n",
                  f"{' '.join(args)} with no copy running: status {status}, {err!r}")
        status, _, err = clock.verb("--toggle", "--stop")
        check(status == 1 and "give one of" in err, f"two verbs at once: status 1, {err!r}")
        status, _, err = clock.verb("--json")
        check(status == 1 and "--json goes with --status" in err, "--json alone: status 1")

        # --start with no copy: one is started, and the verb returns once its
        # clock runs; where it cannot start, the verb says why.
        status, _, err = clock.verb("--start", "-platform", "xcb:nodisplay")
        check(status == 1 and "--start does not go with -platform" in err,
              "a verb goes alone")
        status, _, err = clock.verb("--start", display=False)
        check(status == 1 and "cannot open a display" in err and "has ended" in err,
              f"--start where no copy can start: status {status}, {err!r}")
        # A follower started before any copy runs says so, and follows the
        # copy once it comes.
        follower = Follower(clock)
        _, line = follower.wait_for(r".*", 0, timeout=10)
        check(line == "Not running", f"--status --follow with no copy: {line!r}")
        started = time.monotonic()
        status, out, err = clock.verb("--start")
        check(status == 0 and err == "", f"--start starts a copy: status {status}, {err!r}")
        clock.pid = int(clock.bus.call_blocking("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                "org.freedesktop.DBus",
                                                "GetConnectionUnixProcessID", "s", [SERVICE]))
        check(clock.properties()["Running"] == True, "its clock runs")  # noqa: E712
        check(clock.rows() == [(0, None)], f"the journal's row is open: {clock.rows()}")
        running_from = time.monotonic()
        pump(3.5)

        status, out, _ = clock.verb("--status")
        check(status == 0 and re.fullmatch(r"Running 0:0:[34] £0\n", out) is not None,
              f"--status: {out!r}")
        status, out, _ = clock.verb("--status", "--json")
        fields = json.loads(out) if status == 0 else {}
        check(fields.get("running") is True and fields.get("class") == "running"
              and fields.get("seconds") in (3, 4) and fields.get("cost") == "0"
              and fields.get("currency") == "£" and fields.get("text", "").startswith("Running 0:0:"),
              f"--status --json: {out!r}")
        check(out.count("\n") == 1, "--status --json is one line")

        # Signals while running: the start, and nothing for the counted seconds.
        check(signalled(clock, started, "Running") == [True], "the start was signalled")
        quiet = [changed for at, changed in clock.signals if at >= running_from + 0.5]
        check(quiet == [], f"a running clock sends nothing each second: {quiet}")
        # The follower's line ticks each second by itself.
        ticks = [(at, re.fullmatch(r"Running 0:0:(\d+) £0", line))
                 for at, line in follower.since(running_from + 0.5)]
        counted = [int(match.group(1)) for _, match in ticks if match]
        gaps = [b[0] - a[0] for a, b in zip(ticks, ticks[1:])]
        check(len(counted) == len(ticks) >= 2 and
              counted == list(range(counted[0], counted[0] + len(counted))) and
              all(0.7 < gap < 1.3 for gap in gaps),
              f"the follower's line goes on each second: {follower.since(running_from)}, {gaps}")
        # Toggle stops; the row is closed with the seconds the clock shows;
        # the follower says so at once.
        asked = time.monotonic()
        status, _, _ = clock.verb("--toggle")
        told = time.monotonic()
        shown = clock.properties()
        at, line = follower.wait_for(r"Stopped .*", asked)
        late = at - told if at is not None else None
        check(line == f"Stopped 0:0:{int(shown['Seconds'])} £0" and late < 0.5,
              f"the follower tells the stop at once: {line!r}, {late} s after the verb")
        check(status == 0 and shown["Running"] == False, "--toggle stops")  # noqa: E712
        check(clock.rows() == [(int(shown["Seconds"]), "stopped")],
              f"the row is closed with {shown['Seconds']} s: {clock.rows()}")
        stopped = time.monotonic()
        pump(3.0)
        changes = [changed for at, changed in clock.signals if at >= stopped + 1.0]
        check(changes == [], f"a stopped clock signals nothing: {changes}")
        check(signalled(clock, stopped, "Running") == [False], "the stop was signalled")

        # The rest of the table: each verb or call, and the clock and the
        # journal after it (a run of no whole second leaves no row).
        for what, act, running in [
            ("--toggle starts", lambda: clock.verb("--toggle"), True),
            ("--start leaves a running clock", lambda: clock.verb("--start"), True),
            ("--stop stops", lambda: clock.verb("--stop"), False),
            ("--stop leaves a stopped clock", lambda: clock.verb("--stop"), False),
            ("Start starts", lambda: clock.call("Start"), True),
            ("Stop stops", lambda: clock.call("Stop"), False),
            ("Toggle starts", lambda: clock.call("Toggle"), True),
            ("Toggle stops", lambda: clock.call("Toggle"), False),
        ]:
            answer = act()
            open_rows = [row for row in clock.rows() if row[1] is None]
            check((answer is None or answer[0] == 0) and clock.properties()["Running"] == running
                  and len(open_rows) == (1 if running else 0),
                  f"{what}: {answer}, open rows {open_rows}")

        # Reset asks the window's question; while it is open the buttons are
        # held; its "00:00:00" puts the clock to 0:0:0, and that is signalled.
        pump(1.5)
        before = clock.properties()["Seconds"]
        asked = time.monotonic()
        clock.call("Reset")
        question = session.window(" ", timeout=5)
        check(question is not None, "Reset opens the reset question")
        status, _, err = clock.verb("--toggle")
        check(status == 1 and "waiting for an answer" in err,
              f"--toggle while it asks: status {status}, {err!r}")
        if question:
            session.keys(question, "space")  # "00:00:00" has the focus
            time.sleep(0.5)
            session.xdotool("key", "Return")  # "This will reset the time"
        pump(2.0)
        asking = signalled(clock, asked, "QuestionOpen")
        check(before > 0 and clock.properties()["Seconds"] == 0 and
              signalled(clock, asked, "Seconds")[-1:] == [0] and asking[:1] == [True] and
              asking[-1:] == [False],
              f"the answer resets the clock from {before} s; the question's opening and "
              f"closing and the reset are signalled: {asking}")

        # ShowWindow brings the minimised main window back into view. Whether
        # it also takes the focus is the window manager's choice: a request
        # without a user's key press may be refused it (focus stealing
        # prevention), as happens under load.
        main = session.main_window()
        session.xdotool("windowminimize", "--sync", main)
        in_view = lambda: main in session.xdotool("search", "--onlyvisible", "--name", "^Tempodial$")
        minimised = not in_view()
        clock.call("ShowWindow")
        # The window manager's answer takes its time, more so under the sanitizers.
        deadline = time.monotonic() + 10
        while not in_view() and time.monotonic() < deadline:
            time.sleep(0.2)
        check(minimised and in_view(), "ShowWindow brings the minimised window back into view")

        # The object says what the interface file in the project says.
        def members(interface):
            return sorted((child.tag, child.get("name"), child.get("type"), child.get("access"),
                           tuple((note.get("name"), note.get("value"))
                                 for note in child.findall("annotation")))
                          for child in interface)
        live = ElementTree.fromstring(clock.bus.call_blocking(
            SERVICE, PATH, "org.freedesktop.DBus.Introspectable", "Introspect", "", []))
        documented = ElementTree.parse(XML).getroot()
        find = f"interface[@name='{INTERFACE}']"
        check(members(live.find(find)) == members(documented.find(find)),
              "the object is as its introspection file says")

        # A frozen copy (SIGSTOP): a verb waits, fails with status 1, and is
        # never carried out, not even once the copy goes on.
        running = clock.properties()["Running"]
        os.kill(clock.pid, signal.SIGSTOP)
        try:
            began = time.monotonic()
            toggled = clock.verb("--toggle")
            waited = time.monotonic() - began
            started = clock.verb("--start")
        finally:
            os.kill(clock.pid, signal.SIGCONT)
        check(toggled[0] == 1 and "did not answer in time" in toggled[2] and waited < 20,
              f"--toggle to a frozen copy fails after {waited:.1f} s: {toggled}")
        check(started[0] == 1 and started[2] ==
              "tempodial: Tempodial did not answer in time; nothing was done\n",
              f"--start to a frozen copy fails and says only why: {started}")
        pump(3.0)
        check(clock.properties()["Running"] == running and
              not [row for row in clock.rows() if row[1] is None],
              "once the copy goes on, the verbs that failed are not carried out")

        # The copy ends: the follower says so and waits for the next one.
        ended = time.monotonic()
        os.kill(clock.pid, signal.SIGTERM)
        for _ in range(100):
            if not os.path.exists(f"/proc/{clock.pid}"):
                break
            time.sleep(0.1)
        clock.pid = None
        _, line = follower.wait_for(r".*", ended)
        check(line == "Not running" and follower.process.poll() is None,
              f"the follower tells the end of the copy and waits: {line!r}")
    finally:
        if follower:
            follower.close()
        clock.close()
        session.close()


def main():
    verbs_and_calls(sys.argv[1])
    print(f"{results['passed']} passed, {results['failed']} failed")
    sys.exit(1 if results["failed"] or not results["passed"] else 0)


if __name__ == "__main__":
    main()
