#!/usr/bin/env python3
"""The real program keeps every counted second: killed, ended by the system,
stopped and continued, or started twice.

usage: session_e2e.py BINARY kills [COUNT] [CHAINS]
       session_e2e.py BINARY system-end
       session_e2e.py BINARY stopped-process
       session_e2e.py BINARY two-copies
Prints one line per check and "N passed, N failed" at the end."""

import os
import random
import signal
import sqlite3
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import Program, XSession, value_document  # noqa: E402

RESTORE = "Restore last session?"
results = {"passed": 0, "failed": 0}
lock = threading.Lock()


def check(ok, what):
    with lock:
        results["passed" if ok else "failed"] += 1
        print(("ok   " if ok else "FAIL ") + what, flush=True)
    return ok


def last_row(program):
    with sqlite3.connect(program.journal) as db:
        return db.execute(
            "SELECT seconds, hours, minutes, secs, cost_end, end_kind, restore_asked"
            " FROM sessions ORDER BY id DESC LIMIT 1").fetchone()


def clock_seconds(row):
    return int(row[1]) * 3600 + int(row[2]) * 60 + int(row[3])


def start_clock(session, main, program):
    """Presses Start/Stop until the journal shows a running clock; returns
    the moments just before and just after the press that started it."""
    before = row_count(program)
    for _ in range(3):
        pressed = time.monotonic()
        session.keys(main, "alt+t")
        sent = time.monotonic()
        deadline = time.monotonic() + 2
        while time.monotonic() < deadline:
            if row_count(program) > before:
                return pressed, sent
            time.sleep(0.05)
    raise RuntimeError("the clock did not start")


def row_count(program):
    if not os.path.exists(program.journal):
        return 0
    try:
        with sqlite3.connect(program.journal, timeout=5) as db:
            return db.execute("SELECT count(*) FROM sessions").fetchone()[0]
    except sqlite3.OperationalError:  # the program is still making its table
        return 0


def kill_chain(binary, count, seed, name):
    """Kills the running clock `count` times at random moments; each restart
    must offer the run back, and what it restores is within 5 s of what was
    on the clock at the kill."""
    rng = random.Random(seed)
    session = XSession()
    program = Program(binary, session)
    expected = 0  # what the clock shows once the last run is restored
    try:
        for kill in range(count):
            program.start()
            main = session.main_window()
            if not check(main is not None, f"{name} start {kill}: main window"):
                return
            if kill > 0:
                question = session.window(RESTORE)
                if not check(question is not None, f"{name} start {kill}: restore offered"):
                    return
                session.keys(question, "alt+r")
                time.sleep(0.3)
            pressed, sent = start_clock(session, main, program)
            time.sleep(rng.uniform(3, 20))
            program.kill()
            killed = time.monotonic()
            counted_at_kill = killed - pressed
            row = last_row(program)
            # At most 5 s lost, however late within [pressed, sent] it started.
            check(killed - sent - 5 - 1 < row[0] <= counted_at_kill and row[5] is None,
                  f"{name} kill {kill} after {counted_at_kill:.1f} s: journal holds {row[0]} s")
            check(clock_seconds(row) == expected + row[0],
                  f"{name} kill {kill}: clock {row[1]}:{row[2]}:{row[3]} goes on from the "
                  f"restored {expected} s")
            expected = clock_seconds(row)
    finally:
        program.remove()
        session.close()


def kills(binary, count, chains):
    threads = []
    per_chain = [count // chains + (1 if i < count % chains else 0) for i in range(chains)]
    for i, n in enumerate(per_chain):
        thread = threading.Thread(target=kill_chain, args=(binary, n, 1207 + i, f"chain{i}"))
        thread.start()
        threads.append(thread)
    for thread in threads:
        thread.join()


def system_end(binary):
    """SIGTERM, SIGINT and SIGHUP close the run as interrupted with no loss
    beyond the last second, end with status 0, write no classic file, and
    the next start offers the run back."""
    session = XSession()
    try:
        for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            program = Program(binary, session)
            try:
                program.start()
                main = session.main_window()
                pressed, sent = start_clock(session, main, program)
                time.sleep(4.6)
                signalled = time.monotonic()
                status = program.signal(number)
                counted = signalled - pressed
                row = last_row(program)
                name = signal.Signals(number).name
                check(status == 0, f"{name}: ends with status {status}")
                # Nothing lost but the second under way.
                check(row[5] == "interrupted" and signalled - sent - 1 < row[0] <= counted + 0.5,
                      f"{name}: run kept as {row[5]} with {row[0]} s of {counted:.1f} s")
                check(os.listdir(program.data) == [], f"{name}: no classic file written")
                program.start()
                check(session.window(RESTORE) is not None, f"{name}: the next start offers it")
                program.kill()
            finally:
                program.remove()
    finally:
        session.close()


def stopped_process(binary):
    """A process stopped for 10 s while the clock runs shows the real elapsed
    time when it goes on, and charges the minute it crossed."""
    session = XSession()
    program = Program(binary, session)
    try:
        os.makedirs(program.data, exist_ok=True)
        with open(os.path.join(program.data, "seconds.tme"), "wb") as f:
            f.write(value_document("50"))
        program.start()
        main = session.main_window()
        session.keys(main, "alt+l")  # Load Previous TimeLog: 0:0:50
        time.sleep(0.3)
        pressed, _ = start_clock(session, main, program)
        time.sleep(1.5)
        program.process.send_signal(signal.SIGSTOP)
        time.sleep(10)
        program.process.send_signal(signal.SIGCONT)
        time.sleep(1.2)
        session.keys(main, "alt+t")
        elapsed = time.monotonic() - pressed
        time.sleep(0.5)
        row = last_row(program)
        check(row[5] == "stopped", f"run closed as {row[5]}")
        check(abs(row[0] - elapsed) <= 1.0, f"counted {row[0]} s of {elapsed:.1f} s")
        check(clock_seconds(row) == 50 + row[0], f"clock shows {row[1]}:{row[2]}:{row[3]}")
        check(row[4] == "0.014", f"one minute charged: cost {row[4]}")
    finally:
        program.remove()
        session.close()


def two_copies(binary):
    """A second start brings the first copy's window to the front and ends
    with status 0; after the first copy is killed a new start takes over."""
    session = XSession()
    first = Program(binary, session)
    try:
        first.start()
        main = session.main_window()
        session.xdotool("windowminimize", "--sync", main)
        check(session.window("W.E.X. 0:0:0", timeout=3, visible=False) is not None, "first copy minimised")
        second = Program(binary, session, home=first.home)
        process = second.start()
        out, err = process.communicate(timeout=15)
        check(process.returncode == 0, f"second copy ends with status {process.returncode}")
        check(len(err.strip().splitlines()) == 1 and "already running" in err,
              f"second copy says: {err.strip()!r}")
        check(first.process.poll() is None, "first copy still runs")
        check(session.main_window(timeout=3) is not None, "first copy's window back in front")
        first.kill()
        third = Program(binary, session, home=first.home)
        third.start()
        check(session.main_window() is not None, "a new start after a kill takes over the lock")
        check(third.process.poll() is None, "and keeps running")
        third.process.kill()
        third.process.wait()
    finally:
        first.remove()
        session.close()


def main():
    binary, scenario = sys.argv[1], sys.argv[2]
    if scenario == "kills":
        count = int(sys.argv[3]) if len(sys.argv) > 3 else 50
        chains = int(sys.argv[4]) if len(sys.argv) > 4 else 5
        kills(binary, count, chains)
    elif scenario == "system-end":
        system_end(binary)
    elif scenario == "stopped-process":
        stopped_process(binary)
    elif scenario == "two-copies":
        two_copies(binary)
    else:
        sys.exit(__doc__)
    print(f"{results['passed']} passed, {results['failed']} failed")
    sys.exit(1 if results["failed"] or not results["passed"] else 0)


if __name__ == "__main__":
    main()
