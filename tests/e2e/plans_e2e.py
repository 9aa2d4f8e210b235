#!/usr/bin/env python3
"""A tariff plan with the real program: a plan whose rate changes at the
start of the next minute, half a minute after the clock starts; the cost follows the plan while the clock runs, the
journal keeps the plan's name, and the run's cost equals what --quote gives
for the same start and length.

usage: plans_e2e.py BINARY
Prints one line per check and "N passed, N failed" at the end."""

import os
import sqlite3
import subprocess
import sys
import tempfile
import time
from datetime import datetime, timedelta, timezone
from decimal import Decimal

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import session_e2e  # noqa: E402
from session_e2e import check, start_clock  # noqa: E402
from xsession import Program, XSession  # noqa: E402

PLAN = "Cheaper from the next minute"


def last_row(program):
    with sqlite3.connect(program.journal, timeout=5) as db:
        return db.execute("SELECT start_utc, seconds, cost_start, cost_end, tariff, end_kind"
                          " FROM sessions ORDER BY id DESC LIMIT 1").fetchone()


def wait_for(program, test, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        row = last_row(program)
        if row and test(row):
            return row
        time.sleep(0.2)
    return last_row(program)


def main():
    binary = sys.argv[1]
    # A zone whose offset has seconds, chosen so that the clock starts about
    # half a minute before a new minute: with steps of 30 s the first step
    # starts before the change and the second after it, without waiting for
    # the wall clock to come round.
    offset = (30 - datetime.now(timezone.utc).second) % 60
    zone = timezone(timedelta(seconds=offset))
    zone_name = f"TST-00:00:{offset:02d}"
    change = (datetime.now(zone) + timedelta(minutes=1)).replace(second=0, microsecond=0)
    until = change + timedelta(minutes=30)
    config = tempfile.mkdtemp(prefix="tempodial-config-")
    os.makedirs(os.path.join(config, "tempodial", "plans"))
    with open(os.path.join(config, "tempodial", "plans", "next.ini"), "w", encoding="utf-8") as f:
        f.write(f"[plan]\nname={PLAN}\ncurrency=£\nconnection=5\nstep=30\nrate=1.4\n"
                f"[rule1]\nfrom={change:%H:%M}\nto={until:%H:%M}\nrate=0.5\n")
    with open(os.path.join(config, "tempodial", "tempodial.conf"), "w", encoding="utf-8") as f:
        f.write(f"[Plans]\ninUse={PLAN}\n")

    session = XSession()
    session.env.update(XDG_CONFIG_HOME=config, TZ=zone_name)
    program = Program(binary, session)
    try:
        program.start()
        main_window = session.main_window()
        if not check(main_window is not None, "main window"):
            return
        start_clock(session, main_window, program)
        # The connection and the first step at the rate before the change.
        row = wait_for(program, lambda r: r[3] != r[2], 8)
        check(row[4] == PLAN and Decimal(row[3]) - Decimal(row[2]) == Decimal("0.057"),
              f"while running: tariff {row[4]!r}, cost {row[2]} -> {row[3]}")
        # The second step begins after the change, at the new rate.
        row = wait_for(program, lambda r: Decimal(r[3]) - Decimal(r[2]) != Decimal("0.057"), 45)
        check(Decimal(row[3]) - Decimal(row[2]) == Decimal("0.0595"),
              f"after the change: cost {row[2]} -> {row[3]}")
        session.keys(main_window, "alt+t")
        row = wait_for(program, lambda r: r[5] == "stopped", 5)
        start_utc, seconds, cost_start, cost_end, tariff, end = row
        check(end == "stopped" and tariff == PLAN, f"stopped run kept as {tariff!r}, {end}")
        start = datetime.fromtimestamp(start_utc, zone)
        duration = f"{seconds // 3600}:{seconds // 60 % 60:02d}:{seconds % 60:02d}"
        env = dict(os.environ, XDG_CONFIG_HOME=config, TZ=zone_name)
        env.pop("DISPLAY", None)
        quote = subprocess.run([binary, "--quote", f"{start:%Y-%m-%dT%H:%M:%S}", duration],
                               env=env, capture_output=True, text=True, timeout=20)
        print(quote.stdout, end="")
        total = quote.stdout.split()[0] if quote.stdout else ""
        cost = Decimal(cost_end) - Decimal(cost_start)
        check(quote.returncode == 0 and total.startswith("£") and Decimal(total[1:]) == cost,
              f"--quote {start:%H:%M:%S} {duration} gives {total}; the journal {cost}")
        bad = subprocess.run([binary, "--quote", "2026-02-30T10:00", "1:00:00"], env=env,
                             capture_output=True, text=True, timeout=20)
        check(bad.returncode == 1 and bad.stdout == "" and "2026-02-30" in bad.stderr,
              f"a bad date: status {bad.returncode}, {bad.stderr.strip()}")
    finally:
        program.remove()
        session.close()


if __name__ == "__main__":
    main()
    results = session_e2e.results
    print(f"{results['passed']} passed, {results['failed']} failed")
    sys.exit(1 if results["failed"] or not results["passed"] else 0)
