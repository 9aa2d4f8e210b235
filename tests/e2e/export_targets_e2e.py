#!/usr/bin/env python3
"""The command line's history export with the real program, without a display:
each kind of target receives the CSV as a stream, is replaced whole, or is
refused and left as it was; formula texts are quoted (read back with the csv
module); a session across the clocks going forward ends in its own local time;
--from without --export-history is a usage error. Device nodes are made in a
temporary folder, never in /dev.  usage: export_targets_e2e.py BINARY"""

import csv
import io
import os
import socket
import sqlite3
import stat
import subprocess
import sys
import tempfile
import threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from session_e2e import check, results  # noqa: E402


def run(binary, home, *args):
    env = dict(os.environ, XDG_DATA_HOME=home, TZ="Europe/London", QT_QPA_PLATFORM="xcb")
    env.pop("DISPLAY", None)
    done = subprocess.run([binary, *args], env=env, capture_output=True, timeout=20)
    return done.returncode, done.stdout, done.stderr.decode("utf-8", "replace")


# The first runs across 31 March 2024 01:00 UTC, when London goes to BST; the
# filler makes the CSV more than a pipe holds, so a reader that goes is noticed.
SESSIONS = [(1711845000, 0, 1711855800, "0.5", "=HYPERLINK(\"x\")", 2, "@"),
            (1711900000, 3600, 1711900060, "0.25", "-2+3", 1.5, "+"),
            (1711910000, 3600, 1711910060, "1", "\tTab", 3, "\rR")] + \
           [(1712000000 + 60 * i, 3600, 1712000030 + 60 * i, "1", "Day", 3, "£")
            for i in range(2000)]


def main(binary):
    home = tempfile.mkdtemp(prefix="tempodial-targets-")
    root = os.path.join(home, "tempodial")
    os.makedirs(os.path.join(root, "wex"))
    journal = os.path.join(root, "history.sqlite3")
    with sqlite3.connect(journal) as db:
        db.execute("CREATE TABLE sessions (id INTEGER PRIMARY KEY, start_utc, utc_offset, end_utc,"
                   " seconds DEFAULT 60, cost_start DEFAULT '0', cost_end, tariff, rate, currency,"
                   " hours DEFAULT '0', minutes DEFAULT '0', secs DEFAULT '0',"
                   " end_kind DEFAULT 'stopped', restore_asked DEFAULT 0)")
        db.executemany("INSERT INTO sessions (start_utc, utc_offset, end_utc, cost_end, tariff,"
                       " rate, currency) VALUES (?, ?, ?, ?, ?, ?, ?)", SESSIONS)
        db.execute("PRAGMA user_version=1")
    status, csv_bytes, err = run(binary, home, "--export-history", "-")
    rows = list(csv.reader(io.StringIO(csv_bytes.decode("utf-8"), newline="")))[1:]
    check(status == 0 and len(rows) == len(SESSIONS), f"- : status {status} {err.strip()}")
    for row, (_, _, _, cost, tariff, rate, currency) in zip(rows, SESSIONS[:4]):
        want = ["'" + t if t[0] in "=+-@\t\r" else t for t in (tariff, currency)]
        check([row[4], row[6], row[5], row[7]] == want + [f"{rate:g}", cost],
              f"texts {row[4]!r}, {row[6]!r} quoted, numbers {row[5]}, {row[7]} plain")
    check(rows[0][0:2] == ["2024-03-31T00:30:00+00:00", "2024-03-31T04:30:00+01:00"],
          f"each end with its own offset: {rows[0][0:2]}")

    def at(name):
        return os.path.join(home, name)

    for path, text in ((at("kept.csv"), "old"), (os.path.join(root, "wex", "seconds.tme"),
                                                  "classic")):
        with open(path, "w") as f:
            f.write(text)
    os.chmod(at("kept.csv"), 0o604)
    for name, to in (("link.csv", "kept.csv"), ("to-fifo", "fifo"), ("journal-link", journal)):
        os.symlink(to, at(name))
    for name in ("fifo", "gone"):
        os.mkfifo(at(name))
    os.mkdir(at("folder"))
    listener = socket.socket(socket.AF_UNIX)
    listener.bind(at("socket"))
    own = "that is the program's own file"
    # target, what reads it ("all" or "none"), status, what is said
    cases = [(at("link.csv"), None, 0, "written"), (at("to-fifo"), "all", 0, "written"),
             (at("gone"), "none", 1, "Broken pipe"), (at("folder"), None, 1, "Is a directory"),
             (at("socket"), None, 1, "socket"), (at("journal-link"), None, 1, own),
             (os.path.join(root, "wex", "..", "history.sqlite3-wal"), None, 1, own),
             (os.path.join(root, "wex", "seconds.tme"), None, 1, own),
             (os.path.join(root, "tempodial.lock"), None, 1, own)]
    for name, kind, major, minor, said in (("full", stat.S_IFCHR, 1, 7, "No space left"),
                                           ("block", stat.S_IFBLK, 7, 0, "block device")):
        try:
            os.mknod(at(name), kind | 0o600, os.makedev(major, minor))
            cases.append((at(name), None, 1, said))
        except OSError as error:
            print(f"skip {name}: {error}")
    for target, reader, want_status, said in cases:
        before = os.lstat(target) if os.path.lexists(target) else None
        content = open(target, "rb").read() if before and stat.S_ISREG(before.st_mode) else None
        got = []
        thread = threading.Thread(target=lambda: got.append(
            open(target, "rb").read() if reader == "all" else open(target, "rb").close()),
            daemon=True)
        thread.start() if reader else None
        status, _, err = run(binary, home, "--export-history", target)
        thread.join(5) if reader else None
        check(status == want_status and said in err, f"{target}: status {status}, {err.strip()!r}")
        check(reader != "all" or got == [csv_bytes], f"{target}: the reader gets the CSV")
        after = os.lstat(target) if os.path.lexists(target) else None
        if before and (not stat.S_ISREG(before.st_mode) or want_status):
            check(after and (after.st_ino, after.st_mode) == (before.st_ino, before.st_mode)
                  and (content is None or open(target, "rb").read() == content),
                  f"{target}: left as it was")
    check(open(at("kept.csv"), "rb").read() == csv_bytes and os.path.islink(at("link.csv"))
          and stat.S_IMODE(os.stat(at("kept.csv")).st_mode) == 0o604,
          "a file is replaced whole through its link, keeping its mode")
    check(sorted(os.listdir(root)) == ["history.sqlite3", "wex"], "nothing new by the journal")
    listener.close()
    for option in ("--from", "--to"):
        status, _, err = run(binary, home, option, "2024-03-31")
        check(status == 1 and "Usage: tempodial" in err and "display" not in err,
              f"{option} alone is a usage error: status {status}, {err.strip()!r}")
    print(f"{results['passed']} passed, {results['failed']} failed")
    return 1 if results["failed"] else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
