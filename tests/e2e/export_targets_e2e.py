#!/usr/bin/env python3
"""The command line's history export with the real program, without a display:
each kind of target (standard output, files, links, FIFOs, devices, folders,
sockets, the program's own files) receives the CSV as a stream, is replaced
whole, or is refused and left as it was; text that a spreadsheet would take
for a formula is quoted; a session across the clocks going forward ends in
its own local time; --from without --export-history is a usage error.
Device nodes are made in a temporary folder, never in /dev.

usage: export_targets_e2e.py BINARY
Prints one line per check and "N passed, N failed" at the end."""

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

RESULTS = {"passed": 0, "failed": 0}


def check(ok, what):
    RESULTS["passed" if ok else "failed"] += 1
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    return ok


def run(binary, home, *args):
    env = dict(os.environ, XDG_DATA_HOME=home, TZ="Europe/London", QT_QPA_PLATFORM="xcb")
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    done = subprocess.run([binary, *args], env=env, capture_output=True, timeout=20)
    return done.returncode, done.stdout, done.stderr.decode("utf-8", "replace")


# Sessions whose texts start the way formulas do. The first runs across
# 31 March 2024 01:00 UTC, when London goes from GMT to BST.
SESSIONS = [
    (1711845000, 0, 1711855800, 10800, "0", "0.5", "=HYPERLINK(\"http://x\")", 2, "@"),
    (1711900000, 3600, 1711900060, 60, "0", "0.25", "-2+3", 1.5, "+"),
    (1711910000, 3600, 1711910060, 60, "0", "1", "\tTab", 3, "\rR"),
    (1711920000, 3600, 1711920060, 60, "0", "2", "Day", 3, "£"),
]


def make_journal(root):
    os.makedirs(os.path.join(root, "wex"))
    journal = os.path.join(root, "history.sqlite3")
    with sqlite3.connect(journal) as db:
        db.execute("CREATE TABLE sessions (id INTEGER PRIMARY KEY, start_utc INTEGER NOT NULL,"
                   " utc_offset INTEGER NOT NULL, end_utc INTEGER NOT NULL,"
                   " seconds INTEGER NOT NULL, cost_start TEXT NOT NULL, cost_end TEXT NOT NULL,"
                   " tariff TEXT NOT NULL, rate REAL NOT NULL, currency TEXT NOT NULL,"
                   " hours TEXT NOT NULL, minutes TEXT NOT NULL, secs TEXT NOT NULL,"
                   " end_kind TEXT, restore_asked INTEGER NOT NULL DEFAULT 0)")
        db.executemany("INSERT INTO sessions (start_utc, utc_offset, end_utc, seconds, cost_start,"
                       " cost_end, tariff, rate, currency, hours, minutes, secs, end_kind)"
                       " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, '0', '0', '0', 'stopped')", SESSIONS)
        db.execute("PRAGMA user_version=1")
    return journal


def check_csv(data):
    rows = list(csv.reader(io.StringIO(data.decode("utf-8"), newline="")))
    check(len(rows) == 1 + len(SESSIONS), f"{len(rows) - 1} sessions in the CSV")
    for row, session in zip(rows[1:], SESSIONS):
        for got, text in ((row[4], session[6]), (row[6], session[8])):
            want = "'" + text if text[:1] in ("=", "+", "-", "@", "\t", "\r") else text
            check(got == want, f"text {text!r} written as {got!r}")
        check(row[5] == f"{session[7]:g}" and float(row[7]) == float(session[5]),
              f"numbers stay plain: rate {row[5]}, cost {row[7]}")
    check(rows[1][0:2] == ["2024-03-31T00:30:00+00:00", "2024-03-31T04:30:00+01:00"],
          f"across the change each end has its own offset: {rows[1][0:2]}")


def node(path, kind, major, minor):
    try:
        os.mknod(path, kind | 0o600, os.makedev(major, minor))
        return True
    except OSError as error:
        print(f"skip {path}: {error}")
        return False


def main(binary):
    home = tempfile.mkdtemp(prefix="tempodial-targets-")
    root = os.path.join(home, "tempodial")
    journal = make_journal(root)
    out = os.path.join(home, "out")
    os.makedirs(out)

    def at(name):
        return os.path.join(out, name)

    status, data, err = run(binary, home, "--export-history", "-")
    check(status == 0, f"- : status {status} {err.strip()}")
    check_csv(data)
    expected = data

    with open(at("kept.csv"), "w") as f:
        f.write("old")
    os.chmod(at("kept.csv"), 0o604)
    os.symlink("kept.csv", at("link.csv"))
    os.mkfifo(at("fifo"))
    os.symlink("fifo", at("to-fifo"))
    os.mkfifo(at("gone"))
    os.mkdir(at("folder"))
    listener = socket.socket(socket.AF_UNIX)
    listener.bind(at("socket"))
    has_full = node(at("full"), stat.S_IFCHR, 1, 7)
    has_block = node(at("block"), stat.S_IFBLK, 7, 0)
    with open(os.path.join(root, "wex", "seconds.tme"), "w") as f:
        f.write("classic")
    os.symlink(journal, at("journal-link"))

    # name, target, reader ("all", "none" or "close"), status, said
    own = "that is the program's own file"
    cases = [
        ("new file", at("new.csv"), None, 0, "sessions written"),
        ("ordinary file", at("kept.csv"), None, 0, "sessions written"),
        ("link to a file", at("link.csv"), None, 0, "sessions written"),
        ("FIFO", at("fifo"), "all", 0, "sessions written"),
        ("link to a FIFO", at("to-fifo"), "all", 0, "sessions written"),
        ("FIFO whose reader goes", at("gone"), "close", 1, "Broken pipe"),
        ("folder", at("folder"), None, 1, "Is a directory"),
        ("socket", at("socket"), None, 1, "socket"),
        ("journal", journal, None, 1, own),
        ("journal through a link", at("journal-link"), None, 1, own),
        ("journal's -wal by another path", os.path.join(root, "wex", "..", "history.sqlite3-wal"),
         None, 1, own),
        ("journal's -shm", journal + "-shm", None, 1, own),
        ("classic file", os.path.join(root, "wex", "seconds.tme"), None, 1, own),
    ]
    if has_full:
        cases.append(("full device", at("full"), None, 1, "No space left on device"))
    if has_block:
        cases.append(("block device", at("block"), None, 1, "block device"))
    for name, target, reader, want_status, said in cases:
        before = os.lstat(target) if os.path.lexists(target) else None
        content = open(target, "rb").read() if before and stat.S_ISREG(before.st_mode) else None
        got = {}

        def read(target=target, reader=reader):
            with open(target, "rb") as fifo:
                got["data"] = fifo.read() if reader == "all" else b""

        thread = threading.Thread(target=read) if reader else None
        if thread:
            thread.start()
        status, _, err = run(binary, home, "--export-history", target)
        if thread:
            thread.join(5)
        check(status == want_status and said in err, f"{name}: status {status}, {err.strip()!r}")
        if reader == "all":
            check(got.get("data") == expected, f"{name}: the reader gets the CSV")
        after = os.lstat(target) if os.path.lexists(target) else None
        if before and (not stat.S_ISREG(before.st_mode) or want_status != 0):
            check(after is not None and (after.st_ino, after.st_mode) ==
                  (before.st_ino, before.st_mode), f"{name}: left as it was")
        if content is not None and want_status != 0:
            check(open(target, "rb").read() == content, f"{name}: its bytes untouched")
    check(open(at("kept.csv"), "rb").read() == expected and os.path.islink(at("link.csv"))
          and stat.S_IMODE(os.stat(at("kept.csv")).st_mode) == 0o604,
          "a file is replaced whole through its link, keeping its mode")
    check(sorted(os.listdir(root)) == ["history.sqlite3", "wex"]
          and os.listdir(os.path.join(root, "wex")) == ["seconds.tme"],
          f"nothing new beside the journal: {sorted(os.listdir(root))}")
    listener.close()

    for option in ("--from", "--to"):
        status, data, err = run(binary, home, option, "2024-03-31")
        check(status == 1 and "Usage: tempodial" in err and "display" not in err,
              f"{option} alone is a usage error: status {status}, {err.strip()!r}")

    print(f"{RESULTS['passed']} passed, {RESULTS['failed']} failed")
    return 1 if RESULTS["failed"] else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
