#!/usr/bin/python3
"""The real program with the desktop's own services on private buses: a
NetworkManager (python3-dbusmock's template) that the clock follows, a status
area (a StatusNotifierWatcher from python3-dbusmock) that shows the clock,
an XEmbed tray (trayer) where there is no session bus, and neither of them.

usage: desktop_e2e.py BINARY connection
       desktop_e2e.py BINARY status-icon
       desktop_e2e.py BINARY xembed-tray
       desktop_e2e.py BINARY late-status-area
       desktop_e2e.py BINARY no-services
Prints one line per check and "N passed, N failed" at the end."""

import contextlib
import os
import shutil
import sqlite3
import subprocess
import sys
import time

import dbus

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import Program, XSession  # noqa: E402

NM = "org.freedesktop.NetworkManager"
NM_PATH = "/org/freedesktop/NetworkManager"
MOCK = "org.freedesktop.DBus.Mock"
PROPERTIES = "org.freedesktop.DBus.Properties"
WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"
NOWHERE = "unix:path=/nonexistent/bus"

CONNECTED_GLOBAL, DISCONNECTED = 70, 20
METERED_YES, METERED_NO = 1, 2

results = {"passed": 0, "failed": 0}


def check(ok, what):
    results["passed" if ok else "failed"] += 1
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    return ok


class PrivateBus:
    """A dbus-daemon of our own, and python3-dbusmock services on it."""

    def __init__(self, *listen):
        self.daemon = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1", *listen],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.address = self.daemon.stdout.readline().strip()
        self.connection = dbus.bus.BusConnection(self.address)
        self.mocks = []

    def mock(self, *args):
        """Starts `python3 -m dbusmock ARGS` on this bus (as its system bus
        too) and waits until its name is taken."""
        env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=self.address,
                   DBUS_SYSTEM_BUS_ADDRESS=self.address)
        process = subprocess.Popen([sys.executable, "-m", "dbusmock", *args], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.mocks.append(process)
        return process

    def wait_for(self, name, timeout=10.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.connection.name_has_owner(name):
                return True
            time.sleep(0.05)
        return False

    def close(self):
        for process in [*self.mocks, self.daemon]:
            process.terminate()
            process.wait()


def write_choice(home, choice):
    folder = os.path.join(home, "config", "tempodial")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "tempodial.conf"), "w") as conf:
        conf.write(f"[timing]\nautomatic={choice}\n")
    return os.path.join(home, "config")


def running(program):
    """True iff the journal holds a run that has not ended."""
    if not os.path.exists(program.journal):
        return False
    try:
        with sqlite3.connect(program.journal) as db:
            return db.execute("SELECT count(*) FROM sessions WHERE end_kind IS NULL").fetchone()[0] > 0
    except sqlite3.OperationalError:  # made by the first start of the clock, not yet laid out
        return False


def settles(program, expected, within=1.0, holds=0.0):
    """True iff the clock is (running == expected) within `within` seconds
    and stays so for `holds` seconds more."""
    deadline = time.monotonic() + within
    while running(program) != expected:
        if time.monotonic() > deadline:
            return False
        time.sleep(0.05)
    end = time.monotonic() + holds
    while time.monotonic() < end:
        if running(program) != expected:
            return False
        time.sleep(0.05)
    return True


# Each step: what happens, NetworkManager's state and metered value, and
# whether the clock runs afterwards for each choice.
STEPS = [
    ("up, not metered", CONNECTED_GLOBAL, METERED_NO, (False, True, False)),
    ("down", DISCONNECTED, METERED_NO, (False, False, False)),
    ("up, metered", CONNECTED_GLOBAL, METERED_YES, (False, True, True)),
    ("still up, no longer metered", CONNECTED_GLOBAL, METERED_NO, (False, True, False)),
    ("up, metered again", CONNECTED_GLOBAL, METERED_YES, (False, True, True)),
    ("down again", DISCONNECTED, METERED_YES, (False, False, False)),
]
CHOICES = ["by-hand", "while-online", "while-online-metered"]


def set_connection(manager, state, metered):
    # Metered first, so that the state change meets the metered value.
    manager.SetProperty(NM_PATH, NM, "Metered", dbus.UInt32(metered, variant_level=1))
    manager.SetGlobalConnectionState(dbus.UInt32(state))


def connection(binary):
    """For each choice the clock follows NetworkManager's connection within a
    second; a press by hand holds until the connection changes again."""
    session = XSession()
    try:
        for column, choice in enumerate(CHOICES):
            bus = PrivateBus()
            program = Program(binary, session)
            try:
                bus.mock("--system", "--template", "networkmanager")
                if not check(bus.wait_for(NM), f"{choice}: NetworkManager on the private bus"):
                    continue
                manager = dbus.Interface(bus.connection.get_object(NM, NM_PATH), MOCK)
                manager.AddProperty(NM, "Metered", dbus.UInt32(METERED_NO))
                manager.SetGlobalConnectionState(dbus.UInt32(DISCONNECTED))
                config = write_choice(program.home, choice)
                environment = {"XDG_CONFIG_HOME": config, "DBUS_SYSTEM_BUS_ADDRESS": bus.address,
                               "DBUS_SESSION_BUS_ADDRESS": NOWHERE}
                program.start(**environment)
                main = session.main_window()
                check(main is not None and settles(program, False, holds=0.5),
                      f"{choice}: starts stopped while the connection is down")
                for what, state, metered, expected in STEPS:
                    set_connection(manager, state, metered)
                    want = expected[column]
                    check(settles(program, want, holds=0.3),
                          f"{choice}: {what}: clock {'runs' if want else 'stands'}")
                    if choice == "while-online" and what == "up, not metered":
                        session.keys(main, "alt+t")
                        check(settles(program, False, holds=1.5),
                              f"{choice}: a stop by hand holds while the connection stays up")
                if choice == "while-online":
                    restart_while_online(session, program, manager, environment)
                program.process.terminate()
                program.process.wait(timeout=10)
            finally:
                program.remove()
                bus.close()
    finally:
        session.close()


def restart_while_online(session, program, manager, environment):
    """Killed while the clock runs and started again while online: the run
    that was cut short is still offered back, and the connection starts a
    new run."""
    set_connection(manager, CONNECTED_GLOBAL, METERED_NO)
    check(settles(program, True), "while-online: up before the kill: clock runs")
    program.kill()
    program.start(**environment)
    check(session.window("Restore last session?") is not None,
          "while-online: after a kill the run is offered back")
    def last_two():
        with sqlite3.connect(program.journal) as db:
            return db.execute("SELECT end_kind FROM sessions ORDER BY id DESC LIMIT 2").fetchall()

    expected = [(None,), ("interrupted",)]
    deadline = time.monotonic() + 2
    while last_two() != expected and time.monotonic() < deadline:
        time.sleep(0.05)
    check(last_two() == expected, f"while-online: and a new run started: {last_two()}")


def item_of(bus):
    watcher = bus.connection.get_object(WATCHER, "/StatusNotifierWatcher")
    items = watcher.Get(WATCHER, "RegisteredStatusNotifierItems", dbus_interface=PROPERTIES)
    if not items:
        return None
    name = str(items[0])
    path = "/StatusNotifierItem"
    if "/" in name:
        name, path = name.split("/", 1)
        path = "/" + path
    return bus.connection.get_object(name, path)


def tooltip(item):
    return str(item.Get(ITEM, "ToolTip", dbus_interface=PROPERTIES)[2])


def picture(item):
    return bytes(item.Get(ITEM, "IconPixmap", dbus_interface=PROPERTIES)[0][2])


def menu_items(item):
    menu = item.bus_name, str(item.Get(ITEM, "Menu", dbus_interface=PROPERTIES))
    menu = dbus.Interface(item._bus.get_object(*menu), MENU)
    _, layout = menu.GetLayout(0, -1, [])
    return menu, {str(props.get("label", "")): int(number) for number, props, _ in layout[2]}


SERVICE = "io.github.tempodial.tempodial"
CONTROL = "io.github.tempodial.Clock"
CONTROL_PATH = "/io/github/tempodial/tempodial"


def clock_property(bus, name):
    clock = bus.connection.get_object(SERVICE, CONTROL_PATH)
    return int(clock.Get(CONTROL, name, dbus_interface=PROPERTIES))


def click(item, label):
    menu, items = menu_items(item)
    menu.Event(items[label], "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0))


def eventually(probe, timeout=2.0):
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(0.05)


def start_watcher(bus):
    """A panel's StatusNotifierWatcher: its name, then its host registers and
    says so."""
    template = os.path.join(os.path.dirname(os.path.abspath(__file__)), "status_notifier_watcher.py")
    process = bus.mock("--template", template)
    check(bus.wait_for(WATCHER), "status notifier watcher on the private bus")
    watcher = dbus.Interface(bus.connection.get_object(WATCHER, "/StatusNotifierWatcher"), MOCK)
    watcher.EmitSignal(WATCHER, "StatusNotifierHostRegistered", "", [])
    return process


@contextlib.contextmanager
def desktop(binary):
    """An X session, a private session bus and the program, removed after."""
    session, bus = XSession(), PrivateBus()
    program = Program(binary, session)
    try:
        yield session, bus, program
    finally:
        program.remove()
        bus.close()
        session.close()


def late_status_area(binary):
    """Started before the panel, as at login: the icon appears within 2 s of
    the status area (a StatusNotifierWatcher, or an XEmbed tray where there
    is no session bus), and comes back when the panel restarts."""
    for area in ["watcher"] + (["tray"] if shutil.which("trayer") else []):
        with desktop(binary) as (session, bus, program):
            program.start(DBUS_SESSION_BUS_ADDRESS=bus.address if area == "watcher" else NOWHERE,
                          DBUS_SYSTEM_BUS_ADDRESS=NOWHERE)
            check(session.main_window() is not None, f"{area}: the main window appears")
            time.sleep(1)  # the program has settled without a status area
            started = time.monotonic()
            if area == "watcher":
                start_watcher(bus)
                icon = eventually(lambda: item_of(bus), timeout=5)
            else:
                bus.mocks.append(subprocess.Popen(
                    ["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request",
                     "--height", "28", "--SetDockType", "true"],
                    env=session.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
                icon = eventually(lambda: tray_icon(session), timeout=5)
            took = time.monotonic() - started
            check(icon is not None and took <= 2.0,
                  f"{area}: the icon is there {took:.2f} s after the panel starts")
            if area == "watcher":
                watcher = bus.mocks.pop()
                watcher.terminate()
                watcher.wait()
                start_watcher(bus)
                check(eventually(lambda: item_of(bus) is not None, timeout=2),
                      "and again when the panel restarts")
    # Started at login (the autostart entry's --login) with a status area
    # there: the main window waits behind the icon, which shows it.
    with desktop(binary) as (session, bus, program):
        start_watcher(bus)
        program.start("--login", DBUS_SESSION_BUS_ADDRESS=bus.address,
                      DBUS_SYSTEM_BUS_ADDRESS=NOWHERE)
        item = eventually(lambda: item_of(bus), timeout=10)
        check(item is not None, "at login the icon is registered")
        check(session.main_window(timeout=3) is None, "and the main window waits behind it")
        if item is not None:
            # The session runs on its own: the icon's menu starts the clock,
            # the journal keeps the run, D-Bus answers and stops it, and no
            # main window comes up for any of it.
            click(item, "Start/Stop")
            check(eventually(lambda: running(program), timeout=5),
                  "at login the icon's menu starts the clock and the journal keeps the run")
            clock = dbus.Interface(bus.connection.get_object(SERVICE, CONTROL_PATH), CONTROL)
            check(eventually(lambda: clock_property(bus, "Seconds") >= 2, timeout=5),
                  "and D-Bus tells its seconds")
            clock.Stop()
            check(eventually(lambda: not running(program), timeout=5), "D-Bus stops it")
            with sqlite3.connect(program.journal) as db:
                kept = db.execute("SELECT end_kind, seconds FROM sessions").fetchall()
            check(len(kept) == 1 and kept[0][0] == "stopped" and kept[0][1] >= 2,
                  f"the run is kept as stopped: {kept}")
            check(session.main_window(timeout=1) is None, "with no main window shown")
            # A second start shows the window waiting behind the icon, the
            # first time as started at login, then hidden by a click on the
            # icon; it says so only when it did: six times in a row.
            shown = []
            for attempt in range(6):
                if attempt > 0:
                    dbus.Interface(item, ITEM).Activate(dbus.Int32(0), dbus.Int32(0))
                    eventually(lambda: session.main_window(timeout=0.2) is None, timeout=3)
                second = Program(binary, session, home=program.home)
                _, said = second.start(DBUS_SESSION_BUS_ADDRESS=bus.address,
                                       DBUS_SYSTEM_BUS_ADDRESS=NOWHERE).communicate(timeout=15)
                shown.append((session.main_window(timeout=3) is not None,
                               "brought to the front" in said))
            check(shown == [(True, True)] * 6,
                  f"a second start shows the hidden window and says so (shown, said): {shown}")
            dbus.Interface(item, ITEM).Activate(dbus.Int32(0), dbus.Int32(0))
            eventually(lambda: session.main_window(timeout=0.2) is None, timeout=3)
            dbus.Interface(item, ITEM).Activate(dbus.Int32(0), dbus.Int32(0))
            check(session.main_window(timeout=3) is not None, "a click on the icon shows it")


def status_icon(binary):
    """The icon is registered with the status area; its tool tip and picture
    follow the clock; its menu starts and stops the clock; a click shows and
    hides the main window."""
    session = XSession()
    bus = PrivateBus()
    program = Program(binary, session)
    try:
        start_watcher(bus)
        program.start(DBUS_SESSION_BUS_ADDRESS=bus.address, DBUS_SYSTEM_BUS_ADDRESS=NOWHERE)
        main = session.main_window()
        item = eventually(lambda: item_of(bus), timeout=10)
        if not check(item is not None, "the icon is registered with the status area"):
            return
        check(tooltip(item) == "Stopped 0:0:0", f"tool tip at the start: {tooltip(item)!r}")
        stopped_picture = picture(item)
        _, items = menu_items(item)
        check(list(items) == ["Start/Stop", "Hide Tempodial", "History...", "Automatic timing...", "",
                                "Exit"],
              f"menu: {list(items)}")

        click(item, "Start/Stop")
        check(settles(program, True), "the menu's Start/Stop starts the clock")
        check(eventually(lambda: tooltip(item).startswith("Running 0:0:")),
              f"tool tip says running: {tooltip(item)!r}")
        check(picture(item) != stopped_picture, "the picture shows the clock running")
        check(eventually(lambda: tooltip(item).startswith("Running 0:0:2, "), timeout=3.5),
              f"tool tip follows the clock: {tooltip(item)!r}")
        session.keys(main, "alt+h")  # S&how Cost
        check(eventually(lambda: tooltip(item).startswith("Running 0:0:")
                         and tooltip(item).endswith(", cost £ 0")),
              f"with the cost shown it says the cost: {tooltip(item)!r}")
        click(item, "Start/Stop")
        check(settles(program, False), "the menu's Start/Stop stops the clock")
        check(eventually(lambda: tooltip(item).startswith("Stopped 0:0:")),
              f"tool tip says stopped: {tooltip(item)!r}")
        check(picture(item) == stopped_picture, "the picture shows the clock stopped")

        activate = dbus.Interface(item, ITEM)
        activate.Activate(dbus.Int32(0), dbus.Int32(0))
        check(eventually(lambda: session.main_window(timeout=0.2) is None, timeout=3),
              "a click hides the main window")
        check(eventually(lambda: "Show Tempodial" in menu_items(item)[1]),
              "and the menu offers to show it")
        click(item, "Show Tempodial")
        main = session.main_window(timeout=3)
        check(main is not None, "the menu shows it again")
        # Minimised, the main window is out of view: a click brings it back.
        session.xdotool("windowminimize", "--sync", main)
        check(eventually(lambda: "Show Tempodial" in menu_items(item)[1], timeout=3),
              "minimised, the menu offers to show it")
        activate.Activate(dbus.Int32(0), dbus.Int32(0))
        check(session.main_window(timeout=3) is not None, "a click shows the minimised window")
        check(eventually(lambda: "Hide Tempodial" in menu_items(item)[1], timeout=3),
              "and the menu offers to hide it again")
        click(item, "Exit")
        check(session.window("Exit Options", timeout=3) is not None,
              "the menu's Exit opens the exit options")
    finally:
        program.remove()
        bus.close()
        session.close()


def tray_icon(session):
    """The program's icon window inside trayer's panel, or None."""
    for panel in session.xdotool("search", "--classname", "^panel$"):
        tree = subprocess.run(["xwininfo", "-tree", "-id", panel], env=session.env,
                              capture_output=True, text=True).stdout
        for line in tree.splitlines():
            fields = line.split()
            if len(fields) > 1 and fields[1] == '"Tempodial":':
                return fields[0]
    return None


def xembed_tray(binary):
    """Without a session bus the icon goes into an XEmbed tray (trayer): it
    is embedded there, a click hides and shows the main window, and its
    menu's Start/Stop starts the clock while the window is hidden."""
    session = XSession()
    program = Program(binary, session)
    tray = subprocess.Popen(["trayer", "--edge", "bottom", "--align", "right", "--widthtype",
                             "request", "--height", "28", "--SetDockType", "true"],
                            env=session.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(1)
        program.start(DBUS_SESSION_BUS_ADDRESS=NOWHERE, DBUS_SYSTEM_BUS_ADDRESS=NOWHERE)
        main = session.main_window()
        check(main is not None, "the main window appears")
        icon = eventually(lambda: tray_icon(session), timeout=10)
        if not check(icon is not None, "the icon is embedded in the tray"):
            return
        session.xdotool("mousemove", "--window", icon, "8", "8", "click", "1")
        check(eventually(lambda: session.main_window(timeout=0.2) is None, timeout=3),
              "a click on the icon hides the main window")
        # With the main window hidden, the keys can only reach the menu.
        session.xdotool("mousemove", "--window", icon, "8", "8", "click", "3")
        time.sleep(0.5)
        session.xdotool("key", "Down", "Return")  # the menu's first item
        check(settles(program, True, within=2.0), "the menu's Start/Stop starts the clock")
        time.sleep(1)  # past the double-click time, so that this is a click of its own
        session.xdotool("mousemove", "--window", icon, "8", "8", "click", "1")
        check(session.main_window(timeout=3) is not None, "another click shows it again")
        time.sleep(1)
        session.xdotool("mousemove", "--window", icon, "8", "8", "click", "--repeat", "2",
                        "--delay", "80", "1")
        time.sleep(1)
        check(session.main_window(timeout=1) is not None,
              "a double click leaves the main window shown")
    finally:
        tray.terminate()
        tray.wait()
        program.remove()
        session.close()


def no_services(binary):
    """Without a status area and without NetworkManager, with automatic
    timing chosen: the program starts, its clock works by hand, and it says
    nothing."""
    session = XSession()
    program = Program(binary, session)
    try:
        config = write_choice(program.home, "while-online")
        program.start(XDG_CONFIG_HOME=config, DBUS_SESSION_BUS_ADDRESS=NOWHERE,
                      DBUS_SYSTEM_BUS_ADDRESS=NOWHERE)
        main = session.main_window()
        check(main is not None, "the main window appears")
        check(settles(program, False, holds=1.0), "the clock stands")
        session.keys(main, "alt+t")
        check(settles(program, True), "Start/Stop starts it")
        session.keys(main, "alt+t")
        check(settles(program, False), "and stops it")
        windows = session.xdotool("search", "--onlyvisible", "--name", ".")
        titles = sorted(session.title(window) for window in windows)
        check(titles == ["Tempodial"], f"no other window: {titles}")
        program.process.terminate()
        _, err = program.process.communicate(timeout=10)
        check(err == "", f"nothing on standard error: {err!r}")
        with open(os.path.join(config, "tempodial", "tempodial.conf")) as conf:
            check("automatic=while-online" in conf.read(), "the stored choice is kept")
    finally:
        program.remove()
        session.close()


def main():
    binary, scenario = sys.argv[1], sys.argv[2]
    scenarios = {"connection": connection, "status-icon": status_icon, "xembed-tray": xembed_tray,
                 "late-status-area": late_status_area,
                 "no-services": no_services}
    if scenario not in scenarios:
        sys.exit(__doc__)
    scenarios[scenario](binary)
    print(f"{results['passed']} passed, {results['failed']} failed")
    sys.exit(1 if results["failed"] or not results["passed"] else 0)


if __name__ == "__main__":
    main()
