#!/usr/bin/env python3
"""Data volume with real traffic: the real program runs in a network namespace
whose only way out is a veth pair to a second one, where an HTTP server
stands. A known amount is fetched while the clock runs; the journal's bytes
must be the kernel's counts for that interface within 1 % (the CSV's bytes
columns are the journal's: e2e.History.export). The X server and the session
bus are filesystem sockets, as abstract ones belong to their namespace.

usage: traffic_e2e.py BINARY   (status 77 where namespaces cannot be made)"""

import os
import sqlite3
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_e2e import PrivateBus, eventually  # noqa: E402
from session_e2e import check, results, start_clock  # noqa: E402
from xsession import Program, XSession  # noqa: E402

PROGRAM_NS = f"tempodial-run-{os.getpid()}"
SERVER_NS = f"tempodial-srv-{os.getpid()}"
DEVICE = "tdveth0"
PEER = "tdveth1"
# Addresses that exist only inside the two namespaces.
HERE, THERE = "10.231.7.1", "10.231.7.2"
FETCHED = 20_000_000


def ip(*args):
    return subprocess.run(["ip", *args], check=True, capture_output=True, text=True)


def in_ns(ns, *command, **kwargs):
    return subprocess.run(["ip", "netns", "exec", ns, *command], capture_output=True, text=True,
                          **kwargs)


def counters(ns):
    """rx_bytes and tx_bytes of the program's side of the veth pair."""
    done = in_ns(ns, "cat", f"/sys/class/net/{DEVICE}/statistics/rx_bytes",
                 f"/sys/class/net/{DEVICE}/statistics/tx_bytes", check=True)
    return tuple(int(count) for count in done.stdout.split())


def make_network():
    """The namespaces but PROGRAM_NS, which main() has made."""
    ip("netns", "add", SERVER_NS)
    ip("link", "add", DEVICE, "netns", PROGRAM_NS, "type", "veth", "peer", "name", PEER, "netns",
       SERVER_NS)
    for ns, device, address in ((PROGRAM_NS, DEVICE, HERE), (SERVER_NS, PEER, THERE)):
        ip("-n", ns, "addr", "add", f"{address}/24", "dev", device)
        ip("-n", ns, "link", "set", device, "up")
        ip("-n", ns, "link", "set", "lo", "up")
    ip("-n", PROGRAM_NS, "route", "add", "default", "via", THERE)


def remove_network():
    for ns in (PROGRAM_NS, SERVER_NS):
        subprocess.run(["ip", "netns", "del", ns], capture_output=True)


def fetch(name):
    """The length of what the server sends for `name`, fetched in PROGRAM_NS."""
    done = in_ns(PROGRAM_NS, "/usr/bin/python3", "-c", "import sys, urllib.request; print("
                 "len(urllib.request.urlopen(sys.argv[1], timeout=20).read()))",
                 f"http://{THERE}:8000/{name}", timeout=60)
    return done.stdout.strip() if done.returncode == 0 else None


def journal_row(program):
    with sqlite3.connect(program.journal, timeout=5) as db:
        return db.execute("SELECT received_bytes, sent_bytes, end_kind FROM sessions"
                          " ORDER BY id DESC LIMIT 1").fetchone()


def within(got, want, share=0.01):
    return got is not None and abs(got - want) <= max(want * share, 1)


def traffic_scenario(binary):
    served = tempfile.mkdtemp(prefix="tempodial-served-")
    with open(os.path.join(served, "blob"), "wb") as f:
        f.write(os.urandom(FETCHED))
    make_network()
    session = XSession()
    program = Program(binary, session)
    bus_dir = tempfile.mkdtemp(prefix="tempodial-bus-")
    bus = PrivateBus(f"--address=unix:path={bus_dir}/bus")  # reachable from the namespace
    server = None
    try:
        server = subprocess.Popen(["ip", "netns", "exec", SERVER_NS, "/usr/bin/python3", "-m",
                                   "http.server", "8000", "--bind", THERE, "--directory", served],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        env = dict(session.env, XDG_DATA_HOME=program.home, DBUS_SESSION_BUS_ADDRESS=bus.address,
                   DBUS_SYSTEM_BUS_ADDRESS="unix:path=/nonexistent/bus")
        program.process = subprocess.Popen(["ip", "netns", "exec", PROGRAM_NS, binary], env=env,
                                           stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                           text=True)
        main = session.main_window(timeout=20)
        if not check(main is not None, "the program in its own namespace shows its main window"):
            program.process.kill()
            print(program.process.communicate()[1][-2000:])
            return
        # The server answers before the clock starts, so that nothing of its
        # start is left to count.
        check(eventually(lambda: fetch(""), timeout=10), "the server in the peer namespace answers")
        time.sleep(0.5)
        before = counters(PROGRAM_NS)
        start_clock(session, main, program)
        check(fetch("blob") == str(FETCHED), f"{FETCHED} bytes fetched while the clock runs")
        row = eventually(lambda: (r := journal_row(program)) and (r[0] or 0) >= FETCHED and r,
                         timeout=12)
        check(bool(row) and row[2] is None,
              f"the running run's bytes reach the journal with its update: {row}")
        session.keys(main, "alt+t")
        row = eventually(lambda: (r := journal_row(program)) and r[2] == "stopped" and r, 10)
        after = counters(PROGRAM_NS)
        received, sent = after[0] - before[0], after[1] - before[1]
        check(received > FETCHED, f"the kernel counted {received} bytes received, {sent} sent")
        check(bool(row) and within(row[0], received) and within(row[1], sent),
              f"the journal's bytes {row and row[:2]} are the kernel's {received}, {sent}"
              " within 1 %")
    finally:
        program.remove()
        if server:
            server.terminate()
            server.wait()
        bus.close()
        session.close()
        remove_network()
        subprocess.run(["rm", "-rf", served, bus_dir])


def main():
    binary = os.path.abspath(sys.argv[1])
    probe = subprocess.run(["ip", "netns", "add", PROGRAM_NS], capture_output=True, text=True)
    if probe.returncode != 0:
        print(f"network namespaces cannot be made here: {probe.stderr.strip()}")
        sys.exit(77)
    traffic_scenario(binary)
    print(f"{results['passed']} passed, {results['failed']} failed")
    sys.exit(1 if results["failed"] or not results["passed"] else 0)


if __name__ == "__main__":
    main()
