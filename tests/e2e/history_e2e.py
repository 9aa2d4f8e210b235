#!/usr/bin/env python3
"""The usage history with the real program: the command line's CSV export,
read back with Python's csv module and checked field by field against the
sessions that were run, while the program keeps running; and the limit
warnings and a plan's data allowance warnings as desktop notifications on a
private session bus.

usage: history_e2e.py BINARY export
       history_e2e.py BINARY notify
Prints one line per check and "N passed, N failed" at the end."""

import contextlib
import csv
import io
import os
import re
import sqlite3
import subprocess
import sys
import tempfile
import time
from datetime import datetime, timedelta, timezone
from decimal import Decimal
from zoneinfo import ZoneInfo

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import session_e2e  # noqa: E402
from session_e2e import check, row_count, start_clock  # noqa: E402
from xsession import Program, XSession  # noqa: E402

HEADER = ["start", "end", "seconds", "time", "tariff", "rate", "currency", "cost", "ended",
          "received_bytes", "sent_bytes"]
# India has no daylight saving time: every session has the same offset.
ZONE = "Asia/Kolkata"
LIMITS_ZONE = "Australia/Lord_Howe"


def export(binary, home, *args, data_home=None):
    """Runs the export without a display; returns (status, stdout, stderr)."""
    env = dict(os.environ, XDG_DATA_HOME=data_home or home, TZ=ZONE)
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    done = subprocess.run([binary, "--export-history", *args], env=env, capture_output=True,
                          timeout=20)
    return done.returncode, done.stdout.decode("utf-8"), done.stderr.decode("utf-8")


def iso(seconds, offset):
    zone = timezone(timedelta(seconds=offset))
    return datetime.fromtimestamp(seconds, zone).isoformat()


def number(value):
    """A number as the program writes it: at most 15 significant digits."""
    return f"{value:.15g}"


def read_cost(text):
    """The leading number of a cost text, as the cost box reads it."""
    match = re.match(r"[+-]?(\d+(\.\d*)?|\.\d+)([eE][+-]?\d+)?", text.replace(" ", ""))
    return Decimal(match.group(0)) if match else Decimal(0)


def amount(value):
    """An exact amount as the program writes it: to a millionth, no trailing zeros."""
    return format(value.quantize(Decimal("0.000001")).normalize(), "f")


def expected_rows(journal):
    with sqlite3.connect(journal) as db:
        rows = db.execute("SELECT start_utc, utc_offset, end_utc, seconds, tariff, rate, currency,"
                          " cost_start, cost_end, end_kind, received_bytes, sent_bytes"
                          " FROM sessions ORDER BY start_utc, id").fetchall()
    expected = []
    for (start, offset, end, seconds, tariff, rate, currency, cost_start, cost_end, kind,
         received, sent) in rows:
        cost = max(read_cost(cost_end) - read_cost(cost_start), Decimal(0))
        expected.append([iso(start, offset), iso(end, offset), str(seconds),
                         f"{seconds // 3600}:{seconds // 60 % 60:02d}:{seconds % 60:02d}", tariff,
                         number(rate), currency, amount(cost), kind or "",
                         "" if received is None else str(received), "" if sent is None else str(sent)])
    return expected


def run_clock(session, main, program, seconds):
    """Runs the clock for about `seconds` and stops it; returns the time it ran."""
    pressed, _ = start_clock(session, main, program)
    time.sleep(seconds)
    session.keys(main, "alt+t")
    stopped = time.monotonic()
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline:
        with sqlite3.connect(program.journal) as db:
            kind = db.execute("SELECT end_kind FROM sessions ORDER BY id DESC LIMIT 1").fetchone()
        if kind[0] == "stopped":
            break
        time.sleep(0.1)
    return stopped - pressed


def export_scenario(binary):
    session = XSession()
    session.env["TZ"] = ZONE
    program = Program(binary, session)
    empty_home = tempfile.mkdtemp(prefix="tempodial-empty-")
    try:
        # No journal yet: the header alone, a note, and nothing created.
        status, out, err = export(binary, empty_home, "-")
        check(status == 0 and out == ",".join(HEADER) + "\r\n" and "no session journal" in err,
              f"no journal: header only, status {status}, said {err.strip()!r}")
        check(os.listdir(empty_home) == [], "no journal: nothing was created")

        program.start()
        main = session.main_window()
        if not check(main is not None, "main window"):
            return
        ran = [run_clock(session, main, program, 3)]
        # Sessions from other days and currencies beside the program's own:
        # one across midnight, one with a tariff that needs quoting, one
        # whose cost box was typed down during the run.
        with sqlite3.connect(program.journal) as db:
            db.executemany(
                "INSERT INTO sessions (start_utc, utc_offset, end_utc, seconds, cost_start,"
                " cost_end, tariff, rate, currency, hours, minutes, secs, end_kind, cost)"
                " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, '0', '0', '0', ?, ?)",
                [(1773166500, 19800, 1773173700, 7200, "0", "3.6", "Night, \"late\"\nrate", 3,
                  "Fr", "stopped", 3600000),
                 (1773209700, 19800, 1773209760, 60, "0.5", "0.524", "Day", 2.4, "£", "exit",
                  24000),
                 (1773213300, 19800, 1773213360, 60, "5", "1", "Day", 2.4, "£", "interrupted",
                  0)])
        # Ctrl+H opens the History window beside the main window, which goes
        # on taking keys: the next run is started and stopped while it is open.
        session.keys(main, "ctrl+h")
        check(session.window("History") is not None, "Ctrl+H opens the History window")
        ran.append(run_clock(session, main, program, 2))
        check(session.window("History", timeout=1) is not None, "and it stays open meanwhile")
        # The clock runs while the export reads: the running session is in it.
        start_clock(session, main, program)
        time.sleep(6)
        path = os.path.join(program.home, "all.csv")
        began = time.monotonic()
        status, out, err = export(binary, program.home, path)
        took = time.monotonic() - began
        check(status == 0 and took < 10, f"export beside the running program: status {status} in"
              f" {took:.2f} s ({err.strip()})")
        with open(path, newline="", encoding="utf-8") as f:
            exported = list(csv.reader(f))
        expected = expected_rows(program.journal)
        check(exported[0] == HEADER, f"header {exported[0]}")
        check(len(exported) - 1 == len(expected) == 6,
              f"{len(exported) - 1} sessions exported of {len(expected)}")
        # The running session may have moved on between the export and the
        # look at the journal; every finished one must match to the field.
        for got, want in zip(exported[1:], expected):
            if want[8] == "":
                check(got[0] == want[0] and got[8] == "", f"running session {got}")
            else:
                check(got == want, f"row {got} == {want}")
        check(exported[1][4] == "Night, \"late\"\nrate" and exported[1][7] == "3.6"
              and exported[1][6] == "Fr", "quoted tariff and the francs kept apart")
        check(exported[1][0:2] == ["2026-03-10T23:45:00+05:30", "2026-03-11T01:45:00+05:30"],
              f"local times with their offset: {exported[1][0:2]}")
        check(exported[3][7] == "0", "a cost typed down counts as 0")
        own = [row for row in exported[1:] if row[8] == "stopped" and row[6] != "Fr"]
        for row, seconds in zip(own, ran):
            check(abs(int(row[2]) - seconds) <= 1.5 and row[3] == f"0:00:{int(row[2]):02d}",
                  f"own run of {seconds:.1f} s kept as {row[2]} s ({row[3]})")

        status, out, err = export(binary, program.home, "-", "--from", "2026-03-11", "--to",
                                  "2026-03-11")
        rows = list(csv.reader(io.StringIO(out, newline="")))
        # The session from 23:45 the day before ends on this day but counts on its own.
        check(status == 0 and len(rows) == 3 and rows[1][0] == "2026-03-11T11:45:00+05:30",
              f"--from/--to keep to the days the sessions started: {len(rows) - 1} rows")
        status, out, err = export(binary, program.home, "-", "--from", "2026-02-30")
        check(status == 1 and out == "" and "YYYY-MM-DD" in err, f"a bad date: {err.strip()}")
        # No folder, a full disk at the last write: the failure is told and
        # the old file stays, with no temporary beside it. (A folder in the
        # way: e2e.ExportTargets.)
        small = os.path.join(program.home, "small")
        targets = ["/nonexistent/folder/x.csv", os.path.join(small, "old.csv")]
        os.makedirs(small)
        full = os.geteuid() == 0 and subprocess.run(
            ["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", small]).returncode == 0
        try:
            with open(targets[1], "w") as f:
                f.write("old")
            with contextlib.suppress(OSError), open(os.path.join(small, "filler"), "wb", 0) as f:
                while full:  # until the disk is full
                    f.write(b"f" * 4096)
            for target in targets[:2 if full else 1]:
                status, out, err = export(binary, program.home, target)
                check(status == 1 and "cannot write" in err and "written" not in err,
                      f"an unwritable {target}: {err.strip()}")
            if full:
                check(open(targets[1]).read() == "old" and
                      sorted(os.listdir(small)) == ["filler", "old.csv"],
                      f"full disk: the old file stays alone: {sorted(os.listdir(small))}")
        finally:
            if full:
                subprocess.run(["umount", small])
        session.keys(main, "alt+t")
    finally:
        program.remove()
        session.close()

    # A journal that is no database: an error, and the file left as it was.
    broken_home = tempfile.mkdtemp(prefix="tempodial-broken-")
    os.makedirs(os.path.join(broken_home, "tempodial"))
    broken = os.path.join(broken_home, "tempodial", "history.sqlite3")
    with open(broken, "wb") as f:
        f.write(b"x" * 8192)
    status, out, err = export(binary, broken_home, "-")
    check(status == 1 and "cannot read the session journal" in err,
          f"broken journal: status {status}, {err.strip()}")
    check(sorted(os.listdir(os.path.dirname(broken))) == ["history.sqlite3"]
          and open(broken, "rb").read() == b"x" * 8192, "broken journal left untouched")


def notify_scenario(binary):
    import dbus

    bus_daemon = subprocess.Popen(["dbus-daemon", "--session", "--print-address", "--nofork"],
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    address = bus_daemon.stdout.readline().strip()
    env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=address)
    mock = subprocess.Popen([sys.executable, "-m", "dbusmock", "--template",
                             "notification_daemon"], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    session = XSession()
    session.env["DBUS_SESSION_BUS_ADDRESS"] = address
    # A zone whose day is not UTC's for half of every day: the warning is
    # kept for the local day.
    session.env["TZ"] = LIMITS_ZONE
    config = tempfile.mkdtemp(prefix="tempodial-config-")
    session.env["XDG_CONFIG_HOME"] = config
    os.makedirs(os.path.join(config, "tempodial"))
    with open(os.path.join(config, "tempodial", "tempodial.conf"), "w") as f:
        f.write("[Limits]\ndayTime=5\n")
    program = Program(binary, session)
    try:
        bus = dbus.bus.BusConnection(address)
        deadline = time.monotonic() + 10
        while not bus.name_has_owner("org.freedesktop.Notifications"):
            if time.monotonic() > deadline:
                raise RuntimeError("the notification service did not start")
            time.sleep(0.1)
        daemon = bus.get_object("org.freedesktop.Notifications", "/org/freedesktop/Notifications")

        def notes():
            """(summary, body, application, replaces_id, hints) of each Notify."""
            calls = daemon.GetCalls(dbus_interface="org.freedesktop.DBus.Mock")
            return [(str(args[3]), str(args[4]), str(args[0]), int(args[1]),
                     {str(k): str(v) for k, v in args[6].items()})
                    for _, method, args in calls if method == "Notify"]

        program.start()
        main = session.main_window()
        if not check(main is not None, "main window"):
            return
        start_clock(session, main, program)
        deadline = time.monotonic() + 15
        while len(notes()) < 2 and time.monotonic() < deadline:
            time.sleep(0.2)
        got = notes()
        # The daemon numbers its notifications from 1: the 100 % notice
        # replaces the 80 % one.
        hints = {"desktop-entry": "tempodial"}
        check(got == [("80 % of today's time limit used", "Used 0:00:04 of 0:00:05", "Tempodial",
                       0, hints),
                      ("100 % of today's time limit used", "Used 0:00:05 of 0:00:05", "Tempodial",
                       1, hints)],
              f"notifications at 80 % and 100 %: {got}")
        # The clock goes on, and nothing is repeated.
        with sqlite3.connect(program.journal) as db:
            before = db.execute("SELECT seconds FROM sessions ORDER BY id DESC").fetchone()[0]
        time.sleep(6)
        with sqlite3.connect(program.journal) as db:
            after = db.execute("SELECT seconds FROM sessions ORDER BY id DESC").fetchone()[0]
        check(after > before, f"the clock goes on after the warning: {before} s, then {after} s")
        check(len(notes()) == 2, "each warning once")
        with open(os.path.join(config, "tempodial", "tempodial.conf")) as f:
            kept = f.read()
        today = datetime.now(ZoneInfo(LIMITS_ZONE)).date().isoformat()
        check(f"dayTime={today} 100" in kept, f"the warnings given are kept for {today}: {kept!r}")
        allowance_scenario(session, main, program, config, notes)
    finally:
        program.remove()
        session.close()
        mock.terminate()
        mock.wait()
        bus_daemon.terminate()
        bus_daemon.wait()


def stop_clock(session, main, program):
    session.keys(main, "alt+t")
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline:
        with sqlite3.connect(program.journal, timeout=5) as db:
            kind = db.execute("SELECT end_kind FROM sessions ORDER BY id DESC LIMIT 1").fetchone()
        if kind[0] == "stopped":
            return
        time.sleep(0.1)
    raise RuntimeError("the clock did not stop")


def allowance_scenario(session, main, program, config, notes):
    """A plan of 100 MB a month comes into use, its months from the 2nd (on the
    1st, from the 1st); the runs kept in the journal (their bytes set by hand,
    as a test has no traffic of its own) reach 80 % and then 100 % of it, each
    told once as the next run starts."""
    stop_clock(session, main, program)
    now = datetime.now(ZoneInfo(LIMITS_ZONE))
    billing_day = 2 if now.day >= 2 else 1
    plans = os.path.join(config, "tempodial", "plans")
    os.makedirs(plans, exist_ok=True)
    with open(os.path.join(plans, "Mobile.ini"), "w") as f:
        f.write("[plan]\nrate=0\nallowance_mb=100\n")
    with open(os.path.join(config, "tempodial", "tempodial.conf"), "a") as f:
        f.write(f"\n[Plans]\ninUse=Mobile\n\n[Billing]\nday={billing_day}\n")
    month = now.date().replace(day=billing_day).isoformat()
    if billing_day == 1:
        month = month[:7]
    first = len(notes())

    def run_with(megabytes):
        """The kept runs hold `megabytes` in all; a run starts and stops."""
        with sqlite3.connect(program.journal, timeout=5) as db:
            db.execute("UPDATE sessions SET received_bytes = 0, sent_bytes = 0")
            db.execute("UPDATE sessions SET received_bytes = ? WHERE id ="
                       " (SELECT MAX(id) FROM sessions)", (megabytes * 1_000_000,))
        start_clock(session, main, program)
        time.sleep(2.5)
        stop_clock(session, main, program)

    run_with(85)
    run_with(90)  # 80 % is not told again
    run_with(100)
    got = notes()[first:]
    # Each run's own bytes are the machine's, a few kB at most.
    wanted = [("80 % of this month's data allowance used", r"Used 85(\.\d)? MB of 100 MB"),
              ("100 % of this month's data allowance used", r"Used 10\d(\.\d)? MB of 100 MB")]
    check(len(got) == 2 and all(note[0] == summary and re.fullmatch(body, note[1])
                                for note, (summary, body) in zip(got, wanted)),
          f"the allowance told at 80 % and 100 %, once each: {got}")
    check(len(got) == 2 and got[1][3] != 0, "the 100 % notice replaces the 80 % one")
    with open(os.path.join(config, "tempodial", "tempodial.conf")) as f:
        kept = f.read()
    check(f"allowance={month} 100" in kept,
          f"the allowance's warnings are kept for the billing month {month}: {kept!r}")


def main():
    binary, scenario = sys.argv[1], sys.argv[2]
    if scenario == "export":
        export_scenario(binary)
    elif scenario == "notify":
        notify_scenario(binary)
    else:
        sys.exit(__doc__)
    results = session_e2e.results
    print(f"{results['passed']} passed, {results['failed']} failed")
    sys.exit(1 if results["failed"] or not results["passed"] else 0)


if __name__ == "__main__":
    main()
