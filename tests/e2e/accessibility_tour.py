"""A tour of the real program with the keyboard alone, as a screen reader
user makes it: every window's role, name and description on the AT-SPI bus,
the running state of Start/Stop, the status announcement, the Tab order with
the cost area hidden and shown, Enter, Escape, F10, Shift+F10 and the Menu
key, the lock against assistive technology, and the window kept on a small
screen at scale 2.

usage: accessibility_tour.py <tempodial binary>   (inside Xvfb and a private
session bus; see in_atspi_session.sh)"""

import os
import subprocess
import sys
import tempfile
import time

import pyatspi

from atspi_session import (Events, Failure, Program, descendants, find, fresh, key, pump,
                           showing, states, wait_for)

failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message, flush=True)


def expect_equal(actual, wanted, what):
    expect(actual == wanted, f"{what}: got {actual!r}, wanted {wanted!r}")


def tab_order(program, stops):
    """Presses Tab until the focus is back where it started."""
    names = [program.focused_name()]
    for _ in range(stops + 2):
        key("Tab")
        name = wait_for("the focus to move", lambda: program.focused_name() or None)
        if name == names[0]:
            break
        names.append(name)
    return names


def popup_items(program):
    """The items of the pop-up menu on screen, or None."""
    for window in program.windows():
        menu = window if window.getRoleName() == "popup menu" else find(window, "popup menu")
        if menu is None:
            continue
        items = [fresh(c).name for c in (menu.getChildAtIndex(i) for i in range(menu.childCount))
                 if c is not None and showing(c) and c.getRoleName() == "menu item"]
        if items:
            return items
    return None


def menu_open(program, first_item):
    return wait_for(f"a menu with {first_item!r}",
                    lambda: (popup_items(program) or [None])[0] == first_item)


def context_menu_items(events, count):
    """The names of the first `count` items of the pop-up menu just opened,
    as the Down key reads them out (a pop-up menu is not in the window's
    tree; a screen reader follows the focus into it)."""
    names = []
    for _ in range(count):
        events.clear()
        key("Down")
        names.append(wait_for("a menu item to take the focus", lambda: next(
            (name for kind, role, name in events.seen
             if kind == "focus:" and role == "menu item"), None)))
    return names


def window_titles(program):
    """The titles of the program's windows on screen, from the X server."""
    ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                          str(program.process.pid)], capture_output=True, text=True).stdout
    return [subprocess.run(["xdotool", "getwindowname", wid], capture_output=True,
                           text=True).stdout.rstrip("\n") for wid in ids.split()]


def move_focus_to(program, name, tries=6):
    """Presses Tab until the control named `name` has the focus."""
    for _ in range(tries):
        if program.focused_name() == name:
            return
        key("Tab")
    raise Failure(f"Tab does not reach {name!r}")


def activate(title, visible=True):
    """Gives the window with this title the keyboard, as a click on it would."""
    shown = ["--onlyvisible"] if visible else []
    subprocess.run(["xdotool", "search", *shown, "--name", title, "windowactivate", "--sync"],
                   check=False, timeout=10)
    time.sleep(0.2)


def dialog(program, role, name, description):
    window = program.window(role, name)
    expect_equal(fresh(window).description, description, f"description of {name!r}")
    return window


def check_checked(button, wanted, when):
    checked = pyatspi.STATE_CHECKED in states(button)
    expect_equal(checked, wanted, f"Start/Stop checked {when}")


def main_window_tour(program):
    main = program.window("frame", "Tempodial", holding="menu bar")
    expect(find(main, "status bar", "Hello, Welcome to the Tempodial") is not None,
           "the status panel is a status bar with the welcome text")

    # Nothing nameless and editable: the hidden box of the option files is not
    # on the bus at all.
    for acc in [main] + list(descendants(main)):
        if acc.getRoleName() == "text" and not acc.name:
            failures.append("a nameless text box is on the bus")
            break

    # The Tab order with the cost area hidden: only what is in view.
    hidden_order = ["Start/Stop", "Reset to 00:0:00", "Save Current TimeLog",
                    "Load Previous TimeLog", "Show Cost", "£: Pounds", "Hours", "Minutes",
                    "Seconds"]
    expect_equal(tab_order(program, len(hidden_order)), hidden_order, "Tab order, cost hidden")

    # Start/Stop from the keyboard: Enter presses it; its state and the
    # status panel follow the clock, and the new message is announced.
    start = find(main, "check box", "Start/Stop")
    expect(start is not None, "Start/Stop is on the bus")
    check_checked(start, False, "before a press")
    events = Events("object:property-change:accessible-name", "object:state-changed:showing")
    events.clear()
    expect_equal(program.focused_name(), "Start/Stop", "focus after a round of Tab")
    key("Return")
    wait_for("Start/Stop to be checked", lambda: pyatspi.STATE_CHECKED in states(start))
    status = find(main, "status bar")
    expect_equal(fresh(status).name, "The timer has been touched", "status after Start/Stop")
    wait_for("the status announcement",
             lambda: ("object:property-change:accessible-name", "status bar",
                      "The timer has been touched") in events.seen)
    # Each message also appears afresh as a notification, which screen readers
    # speak wherever the focus is; the same words again are news again.
    wait_for("the status notification",
             lambda: ("object:state-changed:showing=1", "notification",
                      "The timer has been touched") in events.seen)
    events.clear()
    key("alt+t")
    wait_for("Start/Stop to be unchecked by Alt+T",
             lambda: pyatspi.STATE_CHECKED not in states(start))
    wait_for("the status notification after Alt+T",
             lambda: ("object:state-changed:showing=1", "notification",
                      "The timer has been touched") in events.seen)
    check_checked(start, False, "after Alt+T stops the clock")

    # Alt+A with the cost area cut off opens the Applications menu and does
    # not save the CostLog; likewise Alt+O.
    key("alt+a")
    menu_open(program, "Set Locations")
    key("Escape")
    key("Escape")
    expect(not os.path.exists(os.path.join(program.home, "tempodial/wex/cost.tme")),
           "Alt+A with the cost hidden saved the CostLog")

    # F10 opens the first menu; the arrow keys reach every other.
    key("F10")
    menu_open(program, "View")
    firsts = ["Reset", "Load previous", "Save current log", "Set Locations", "Help"]
    for first in firsts:
        key("Right")
        menu_open(program, first)
    key("Down")  # from "Help", which the keyboard's opening highlights
    key("Return")  # About
    dialog(program, "dialog", "About W.E.X.",
           "Tempodial: Online time and call cost. Version 1.0. E-mail: tempodial@example.org")
    key("Escape")
    program.gone("About W.E.X.")

    key("F10")
    menu_open(program, "View")
    for first in firsts:
        key("Right")
    menu_open(program, "Help")
    key("Return")
    dialog(program, "dialog", "Help and credits",
           "Tempodial is made by the Tempodial developers. Please do not distribute it under "
           "any other name. Distribution, or a rebuild made for you, may be possible after "
           "consulting the Tempodial developers. Thank you for using Tempodial. For (further) "
           "help refer to the documentation that comes with the program.")
    key("Escape")
    program.gone("Help and credits")

    # The reset confirmation: named by its question, its title bar empty;
    # Escape is "Aghh, no".
    key("alt+r")
    reset = dialog(program, "dialog", "Reset the clock to 0:0:0?",
                   "00:00:00 sets the hours, minutes and seconds to 0; Aghh, no leaves the "
                   "clock as it is.")
    expect(find(reset, "image", "Reset the clock to 0:0:0?") is not None,
           "the reset picture is named by the question")
    expect(any(not title.strip() for title in window_titles(program)),
           f"no window with an empty title among {window_titles(program)}")
    key("Escape")
    program.gone("Reset the clock to 0:0:0?")

    # The password window: its prompt is its description; Escape is
    # "mistake sorry.......".
    key("alt+i")
    menu_open(program, "Load previous")
    key("u")
    dialog(program, "dialog", "Password?", "Enter Password:")
    # What is typed there reaches the bus only as the mask the box shows.
    said = []

    def on_text(event):
        said.append(str(event.any_data))

    pyatspi.Registry.registerEventListener(on_text, "object:text-changed")
    key("s", "e", "c", "r", "e", "t", "BackSpace")
    wait_for("the typed text's events", lambda: len(said) >= 7)
    pyatspi.Registry.deregisterEventListener(on_text, "object:text-changed")
    expect(set("".join(said)) == {"?"}, f"typed password on the bus as {said}")
    key("Escape")
    program.gone("Password?")

    # The lock holds against assistive technology.
    seconds = find(main, "text", "Seconds")
    before = seconds.queryText().getText(0, -1)
    seconds.queryEditableText().setTextContents("59")
    pump()
    time.sleep(0.3)
    expect_equal(fresh(seconds).queryText().getText(0, -1), before,
                 "Seconds after setTextContents while locked")
    expect_equal(find(main, "text", "Minutes").queryText().getText(0, -1), "0",
                 "Minutes after setTextContents on a locked Seconds")

    # Shift+F10 on "Show Cost" and the Menu key on the currency panel.
    key("shift+Tab")  # from Start/Stop round to the last stop
    while program.focused_name() != "Show Cost":
        key("shift+Tab")
    menu_events = Events("focus:")
    key("shift+F10")
    expect_equal(context_menu_items(menu_events, 2), ["Show Now", "Show on start up"],
                 "pop-up of Show Cost by Shift+F10")
    key("Escape")
    key("Tab")
    expect_equal(program.focused_name(), "£: Pounds", "focus on the currency panel")
    key("Menu")
    expect_equal(context_menu_items(menu_events, 3), ["£", "Fr", "$"],
                 "pop-up of the currency panel by the Menu key")
    key("Escape")

    # The cost area shown: its controls come into the Tab order.
    key("shift+Tab")
    key("Menu")
    expect_equal(context_menu_items(menu_events, 1), ["Show Now"], "pop-up by the Menu key")
    key("Return")
    wait_for("the cost area", lambda: pyatspi.STATE_CHECKED in states(find(main, "check box", "Show Cost")))
    while program.focused_name() != "Start/Stop":
        key("Tab")
    shown_order = ["Start/Stop", "Reset to 00:0:00", "Save Current TimeLog",
                   "Load Previous TimeLog", "Show Cost", "£: Pounds", "Save Cost Log",
                   "Load Cost Log", "Show buttonbar", "Show options", "Exit", "Hours",
                   "Minutes", "Seconds", "Cost so far"]
    expect_equal(tab_order(program, len(shown_order)), shown_order, "Tab order, cost shown")
    return main


def companion_windows_tour(program):
    # Options: a frame; its two lists are named.
    key("ctrl+o")
    options = program.window("frame", "Options")
    expect_equal(program.focused_name(), "Window Options", "focus on the tabs of Options")
    key("Right")
    wait_for("the tariff list", lambda: find(options, "combo box", "Tariff"))
    key("Right")
    wait_for("the currency list", lambda: find(options, "combo box", "Currency to be used"))
    key("Right")
    for acc in descendants(options):
        if acc.getRoleName() == "text" and showing(acc) is False and acc.name.startswith("Last"):
            failures.append("a hidden box of the Options window is on the bus")
            break
    activate("^Tempodial$")
    key("ctrl+o")
    program.gone("Options")

    # The button bar is a frame; closing it asks, and the question refuses
    # Escape.
    key("ctrl+b")
    program.window("frame", "Buttonbar")
    activate("^Buttonbar$")
    key("alt+F4")
    dialog(program, "dialog", "Buttonbar Question",
           "Do you want the buttonbar to appear when you start up the program next ?")
    key("Escape")
    program.window("dialog", "Buttonbar Question")
    key("Return")  # "Yes"
    program.gone("Buttonbar Question")

    # The program locations: a dialog.
    program.window("frame", "Tempodial")
    activate("^Tempodial$")
    key("F10")  # Alt+A is "S&ave Cost Log" now that the cost area is in view
    for _ in range(4):
        key("Right")
    menu_open(program, "Set Locations")
    key("Return")
    program.window("dialog", "Set your Program Locations")
    key("alt+F4")
    program.gone("Set your Program Locations")

    # A minimised main window is named by its caption.
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tempodial$",
                    "windowminimize", "--sync"], check=False, timeout=10)
    def minimised_name():
        for i in range(fresh(program.app).childCount):
            window = program.app.getChildAtIndex(i)
            if window is not None and window.getRoleName() == "frame":
                if fresh(window).name.startswith("W.E.X. 0:0:"):
                    return window.name
        return None

    wait_for("the minimised window named by its caption", minimised_name)
    activate("^W.E.X. ", visible=False)
    program.window("frame", "Tempodial")

    # The exit: Exit Options and the short-time question refuse Escape;
    # Enter on a focused button presses it.
    key("alt+x")
    dialog(program, "dialog", "Exit Options",
           "Exit & Save: Every File possible saved. Exit no save: No saves at all.")
    key("Escape")
    program.window("dialog", "Exit Options")
    key("Return")  # "Exit & Save", with 0 seconds on the clock
    dialog(program, "dialog", "Just a minute...",
           "You have only spent 5 seconds or less of timer time. Are you sure that you want to "
           "overwrite the existing TimeLog and exit?")
    key("Escape")
    program.window("dialog", "Just a minute...")
    key("Tab")
    expect_equal(program.focused_name(), "No Save & No Exit", "second button of the question")
    key("Return")
    program.gone("Just a minute...")
    program.gone("Exit Options")
    activate("^Tempodial$")
    key("alt+x")
    program.window("dialog", "Exit Options")
    move_focus_to(program, "Exit no save")
    key("Return")
    wait_for("the program to end", lambda: program.process.poll() is not None)


def small_screen_at_scale_two(binary):
    """At scale 2 the designed place would put the window past the right edge
    of a 1280-pixel screen; it opens inside it."""
    with tempfile.TemporaryDirectory() as home:
        program = Program(binary, home, {"QT_SCALE_FACTOR": "2"})
        try:
            program.window("frame", "Tempodial", holding="menu bar")
            out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                  "^Tempodial$", "getwindowgeometry", "--shell"],
                                 capture_output=True, text=True).stdout
            # One block of WINDOW, X, Y, WIDTH, HEIGHT, SCREEN per window; the
            # main window is the widest.
            blocks, block = [], {}
            for line in out.split():
                name, _, value = line.partition("=")
                block[name] = int(value)
                if name == "SCREEN":
                    blocks.append(block)
                    block = {}
            values = max(blocks, key=lambda b: b["WIDTH"])
            right = values["X"] + values["WIDTH"]
            expect(values["WIDTH"] > 1000, f"main window at scale 2 is {values['WIDTH']} wide")
            expect(right <= 1280, f"main window at scale 2 ends at x={right}, past 1280")
            expect(values["X"] >= 0, "main window at scale 2 starts left of the screen")
            print(f"scale 2: main window x={values['X']} width={values['WIDTH']}", flush=True)
        finally:
            program.end()


def main():
    binary = sys.argv[1]
    wm = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        with tempfile.TemporaryDirectory() as home:
            program = Program(binary, home)
            try:
                main_window_tour(program)
                companion_windows_tour(program)
            except Failure as failure:
                failures.append(str(failure))
                print("FAIL:", failure, flush=True)
                for window in program.windows():
                    print("on screen:", window.getRoleName(), repr(window.name), flush=True)
                print("focused:", program.focused() and program.focused().name, flush=True)
            finally:
                program.end()
        small_screen_at_scale_two(binary)
    finally:
        wm.terminate()
        wm.wait()
    if failures:
        print(f"{len(failures)} failure(s)", file=sys.stderr)
        return 1
    print("accessibility tour passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
