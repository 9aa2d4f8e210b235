"""What assistive technology and the keyboard can do in the real program,
through AT-SPI: every checkable control acted on through its action does
what a click does; the lists' entries and the currency panel's menu are on
the bus; nothing cut off is reported on screen and one object at a time has
the focus; each new window is walked with Tab and closed with Escape; and
the new windows fit a 1024x768 screen at scale 2.

usage: assistive_e2e.py <tempodial binary>   (inside Xvfb at 1024x768 and a
private session bus; see in_atspi_session.sh)"""

import contextlib
import os
import subprocess
import sys
import tempfile
import time

import dbus
import pyatspi

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from accessibility_tour import activate  # noqa: E402
from atspi_session import (Failure, Program, descendants, find, fresh, key,  # noqa: E402
                           showing, states, wait_for)
from desktop_e2e import (CONNECTED_GLOBAL, MOCK, NM, NM_PATH, PrivateBus,  # noqa: E402
                         check as expect, results, running)
from xsession import value_document  # noqa: E402


def soon(predicate):
    """True once `predicate` holds within wait_for's time, else False."""
    try:
        return bool(wait_for("", predicate))
    except Failure:
        return False


def act(acc):
    """Runs the control's own action, as voice control or a switch does."""
    action = fresh(acc).queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("Press", "Toggle", "press", "click"):
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    raise Failure(f"{acc.name!r} has no press or toggle action: {names}")


def setting(home, text):
    conf = os.path.join(home, "config", "tempodial", "tempodial.conf")
    return os.path.exists(conf) and text in open(conf).read()


def open_automatic_timing():
    key("F10")  # "&Menu"
    key("a")  # "&Automatic timing..."


def start(binary, home, **extra):
    program = Program(binary, home, {"XDG_CONFIG_HOME": os.path.join(home, "config"), **extra})
    program.journal = os.path.join(home, "tempodial", "history.sqlite3")
    return program


def checkable_controls(program, main):
    """One row per checkable control: its action, then what a click does."""
    seconds = find(main, "text", "Seconds")

    def options():
        key("ctrl+o")
        window = program.window("frame", "Options")
        key("Left", "Left")  # to the first page, whichever was open
        return window

    def timing():
        if "Automatic timing" not in [w.name for w in program.windows()]:
            activate("^Tempodial$")
            open_automatic_timing()
        return program.window("dialog", "Automatic timing")

    def checked(acc):
        return pyatspi.STATE_CHECKED in states(acc)

    def saved(name):
        return os.path.exists(os.path.join(program.home, "tempodial", "wex", name))

    for window, role, name, applied in [  # where, what, and what a click does
            (lambda: main, "check box", "Start/Stop", lambda acc: checked(acc)
             and running(program) and seconds.queryText().getText(0, -1) != "0"),
            (lambda: main, "check box", "Start/Stop",
             lambda acc: not checked(acc) and not running(program)),
            (lambda: main, "check box", "Show Cost",
             lambda acc: find(main, "text", "Cost so far")),
            (options, "check box", "Start with button bar showing",
             lambda acc: saved("buttshow.opt")),
            (timing, "radio button", "While online",
             lambda acc: setting(program.home, "automatic=while-online") and running(program)),
            (timing, "radio button", "Only by hand",
             lambda acc: setting(program.home, "automatic=by-hand"))]:
        root = window()
        acc = wait_for(f"{role} {name!r}", lambda: find(root, role, name))
        act(acc)
        expect(soon(lambda: applied(acc)), f"action of {role} {name!r} does what a click does")


def focused(program):
    """Every object of the program's windows that reports the focus."""
    found = []
    for window in program.windows():
        found += [a.name for a in [window, *descendants(window)]
                  if pyatspi.STATE_FOCUSED in states(a)]
    return found


def tab_walk(program, window, expected):
    """Tab from the first stop round to it again: one focused object at each
    stop, in the expected order; then Escape closes the window."""
    names, crowded = [], []
    for _ in range(len(expected) + 2):
        now = wait_for("a focused object", lambda: focused(program))
        crowded += [now] if len(now) > 1 else []
        if names and now[0] == names[0]:
            break
        names.append(now[0])
        key("Tab")
    expect(names == expected and not crowded,
           f"{window}: Tab visits {names} (wanted {expected}), more than one focused: {crowded}")
    key("Escape")
    expect(soon(lambda: all(fresh(w).name != window for w in program.windows())),
           f"{window}: Escape closes it")


def closed_under_its_message(program, home, main):
    """History closed by its Close button's action while a message stands
    over it (a limit typed by hand, ignored, told at the clock's first
    tick): the program lives on, and the message is still there to be
    answered."""
    activate("^Tempodial$")
    key("ctrl+h")
    history = program.window("frame", "History")
    wait_for("History active", lambda: pyatspi.STATE_ACTIVE in states(history))
    conf = os.path.join(home, "config", "tempodial", "tempodial.conf")
    text = open(conf).read() if os.path.exists(conf) else ""
    text = (text.replace("[Limits]\n", "[Limits]\ndayTime=12 hours\n") if "[Limits]\n" in text
            else text + "\n[Limits]\ndayTime=12 hours\n")
    os.makedirs(os.path.dirname(conf), exist_ok=True)
    with open(conf, "w") as settings:
        settings.write(text)
    start_stop = find(main, "check box", "Start/Stop")
    act(start_stop)

    def message():
        return next((w for w in program.windows() if w.getRoleName() != "frame"
                     and fresh(w).name == "Tempodial"), None)

    box = wait_for("the limit's message", message)
    act(find(history, "push button", "Close", False))
    program.gone("History")
    time.sleep(1)
    expect(program.process.poll() is None and message() is not None,
           "History closed while its message is up: the program and the message live on")
    act(wait_for("the message's OK", lambda: find(box, "push button", "OK")))
    wait_for("the message answered", lambda: message() is None)
    act(start_stop)
    wait_for("the clock stopped", lambda: not running(program))
    expect(program.process.poll() is None, "the message answered after its window closed")


def held_under_a_question(program, main):
    """While the reset question stands over the main window, the actions of
    its buttons are held as clicks are: the clock does not start and the
    TimeLog is not loaded."""
    with open(os.path.join(program.home, "tempodial", "wex", "seconds.tme"), "wb") as log:
        log.write(value_document("50"))
    seconds = find(main, "text", "Seconds")
    before = seconds.queryText().getText(0, -1)
    key("alt+r")
    program.window("dialog", "Reset the clock to 0:0:0?")
    for name in ("Start/Stop", "Load Previous TimeLog"):
        act(wait_for(name, lambda: find(main, "check box", name) or find(main, "push button", name)))
    time.sleep(1)
    expect(not running(program) and fresh(seconds).queryText().getText(0, -1) == before,
           f"actions under the reset question: running {running(program)}, seconds "
           f"{fresh(seconds).queryText().getText(0, -1)!r} (were {before!r})")
    key("Escape")
    program.gone("Reset the clock to 0:0:0?")
    activate("^Tempodial$")


def walks_and_actions(binary):
    """What is showing and what is focused, the lists and the currency
    panel, each new window walked with Tab and closed with Escape, and the
    checkable controls' actions."""
    bus = PrivateBus()
    bus.mock("--system", "--template", "networkmanager")
    if not bus.wait_for(NM):
        raise Failure("no NetworkManager on the private bus")
    dbus.Interface(bus.connection.get_object(NM, NM_PATH), MOCK).SetGlobalConnectionState(
        dbus.UInt32(CONNECTED_GLOBAL))
    home = tempfile.mkdtemp()
    program = start(binary, home, DBUS_SYSTEM_BUS_ADDRESS=bus.address)
    try:
        main = program.window("frame", "Tempodial", holding="menu bar")
        # Cost area cut off: none of it is reported on screen.
        for role, name in [("text", "Cost so far"), ("push button", "Save Cost Log"),
                           ("push button", "Exit")]:
            expect(find(main, role, name) is None, f"cut-off {name!r} is not showing")

        # F10: the menu alone has the focus; Escape twice gives it back.
        key("F10")
        wait_for("the menu", lambda: focused(program) != ["Start/Stop"])
        expect(len(focused(program)) == 1, f"after F10 one object is focused: {focused(program)}")
        key("Escape", "Escape")
        wait_for("the focus back on Start/Stop", lambda: focused(program) == ["Start/Stop"])

        panel = fresh(find(main, "panel", "£: Pounds"))
        said = (panel.description, [panel.queryAction().getName(i)
                                    for i in range(panel.queryAction().nActions)])
        expect(said == ("Shift+F10 chooses the currency", ["ShowMenu"]),
               f"currency panel's description and actions: {said}")

        key("ctrl+o")
        options = program.window("frame", "Options")
        key("Right", "Right")
        for list_name, entry in [("Tariff", "Weekday"), ("Currency to be used", "$")]:
            combo = wait_for(list_name, lambda: find(options, "combo box", list_name, False))
            dollar = next((a for a in descendants(combo)
                           if a.getRoleName() == "list item" and a.name == entry), None)
            expect(dollar is not None, f"{list_name} lists {entry!r}")
        act(dollar)
        wait_for("the dollar chosen", lambda: find(main, "panel", "$: Dollars"))
        expect(pyatspi.STATE_SELECTED in states(dollar), "the chosen entry is selected")
        # While a list is open each entry reports its own row: a click at the
        # place the last one reports chooses it.
        for list_name in ("Tariff", "Currency to be used"):
            combo = find(options, "combo box", list_name, False)
            fresh(combo).queryAction().doAction(0)  # ShowMenu
            entries = wait_for(f"{list_name}'s open list", lambda: [
                a for a in descendants(combo) if a.getRoleName() == "list item" and showing(a)])
            places = [a.queryComponent().getExtents(pyatspi.DESKTOP_COORDS) for a in entries]
            last, place = entries[-1], places[-1]
            subprocess.run(["xdotool", "mousemove", str(place.x + place.width // 2),
                            str(place.y + place.height // 2), "click", "1"], check=True)
            chosen = soon(lambda: pyatspi.STATE_SELECTED in states(last)
                          and not showing(last))
            expect(len({p.y for p in places}) == len(places) and chosen,
                   f"{list_name}: open entries report their own rows "
                   f"{[(p.x, p.y, p.width, p.height) for p in places]}; a click at the last "
                   f"one's chooses {last.name!r}: {chosen}")
        activate("^Tempodial$")
        key("ctrl+o")
        program.gone("Options")

        key("ctrl+h")
        history = program.window("frame", "History")
        period = find(history, "spin button", "Month")
        shown = period.queryText().getText(0, -1)
        key("alt+Left")
        wait_for("Alt+Left: a month back",
                 lambda: period.queryText().getText(0, -1) not in ("", shown) or None)
        key("alt+l")
        wait_for("the limits page", lambda: find(history, "check box", "Daily time"))
        expect([t.name for t in descendants(history) if pyatspi.STATE_SELECTED in states(t)
                and t.getRoleName() == "page tab"] == ["Limits"], "the current tab is selected")
        expect(find(history, "table", "Days") is None and
               not any(showing(a) for a in descendants(history)
                       if a.getRoleName() in ("table cell", "table column header", "list item")),
               "the hidden page's tables and the closed chart list's entries are not showing")
        key("alt+m")
        for _ in range(20):
            if focused(program) == ["Close"]:
                break
            key("Tab")
        # The month and the year of the date are two stops; the days table's
        # current row is its totals.
        tab_walk(program, "History", ["Close", "Previous", "Month", "Month", "Next", "Month",
                                      "Total", "Chart", "Sessions",
                                      "Export CSV..."])
        closed_under_its_message(program, home, main)
        open_automatic_timing()
        program.window("dialog", "Automatic timing")
        tab_walk(program, "Automatic timing", ["Only by hand", "OK"])
        activate("^Tempodial$")
        held_under_a_question(program, main)
        checkable_controls(program, main)

        # A run cut short is offered back.
        if not running(program):
            act(find(main, "check box", "Start/Stop"))
        wait_for("the clock", lambda: running(program))
        program.process.kill()
        program.process.wait()
        program = start(binary, home, DBUS_SYSTEM_BUS_ADDRESS=bus.address)
        program.window("dialog", "Restore last session?")
        tab_walk(program, "Restore last session?", ["Restore", "Discard"])
    finally:
        program.end()
        bus.close()


def overlap(a, b):
    return (a.x < b.x + b.width and b.x < a.x + a.width and a.y < b.y + b.height
            and b.y < a.y + a.height)


def inside(outer, b):
    return (outer.x <= b.x and outer.y <= b.y and b.x + b.width <= outer.x + outer.width
            and b.y + b.height <= outer.y + outer.height)


def inside_at_scale_two(binary):
    """At scale 2 on 1024x768 each new window is on the screen, nothing
    wholly outside it is showing, and Tab brings each control into view. The
    bus gives places in the program's own coordinates: the screen's pixels
    divided by the scale."""
    scale = 2
    width, height = map(int, subprocess.run(["xdotool", "getdisplaygeometry"], check=True,
                                            capture_output=True, text=True).stdout.split())
    screen = pyatspi.utils.BoundingBox(0, 0, width // scale, height // scale)
    home = tempfile.mkdtemp()
    program = start(binary, home, QT_SCALE_FACTOR=str(scale))
    try:
        program.window("frame", "Tempodial", holding="menu bar")
        for opener, role, name, last in [
                (lambda: key("ctrl+h"), "frame", "History", "Close"),
                (open_automatic_timing, "dialog", "Automatic timing", "OK"),
                (lambda: (key("F10"), key("p")), "frame", "Tariff plans", "Close")]:
            opener()
            window = program.window(role, name)
            time.sleep(0.5)
            frame = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            outside = [] if inside(screen, frame) else [(name, frame)]
            for acc in descendants(window):
                if showing(acc):
                    with contextlib.suppress(NotImplementedError):
                        b = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                        # In part in view (a scrolled form, a table's last
                        # column) is showing; wholly outside the window is not.
                        if not overlap(frame, b):
                            outside.append((acc.getRoleName(), acc.name, b))
            expect(not outside, f"{name} at scale 2 on {width}x{height}: off the screen or "
                   f"outside the window {outside}")
            stops, unseen = [], []
            while last not in stops and len(stops) < 30:
                key("Tab")
                acc = wait_for("a focused control", program.focused)
                stops.append(acc.name)
                if not overlap(frame, acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)):
                    unseen.append(acc.name)
            expect(last in stops and not unseen,
                   f"{name} at scale 2: Tab reaches {stops}, out of view: {unseen}")
            key("Escape")
            program.gone(name)
    finally:
        program.end()


def main():
    wm = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for scenario in (walks_and_actions, inside_at_scale_two):
        try:
            scenario(sys.argv[1])
        except Failure as failure:
            expect(False, f"{scenario.__name__}: {failure}")
    wm.terminate()
    print(f"{results['passed']} passed, {results['failed']} failed")
    return 1 if results["failed"] else 0


if __name__ == "__main__":
    sys.exit(main())
