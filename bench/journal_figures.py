#!/usr/bin/env python3
"""What the session journal costs the real program: CPU time and bytes
written per hour of running clock, with the journal and with the journal
blocked (a read-only bind mount of history.sqlite3, so the program runs as it
did before it had one). Needs root for the mount, an X session and openbox.

  bench/journal_figures.py BUILD_DIR [seconds] [rounds]
"""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from figures import (MAIN_WIDTH, cpu_ns, cpu_used_ns, minimise, window_of,  # noqa: E402
                     xdotool)


def io_field(pid, name):
    with open(f"/proc/{pid}/io") as io:
        for line in io:
            if line.startswith(name + ":"):
                return int(line.split()[1])
    return 0


def one_run(program, seconds, blocked):
    with tempfile.TemporaryDirectory(dir="/var/tmp") as home:
        journal = os.path.join(home, "tempodial", "history.sqlite3")
        if blocked:
            os.makedirs(os.path.dirname(journal))
            open(journal, "w").close()
            subprocess.run(["mount", "--bind", journal, journal], check=True)
            subprocess.run(["mount", "-o", "remount,bind,ro", journal, journal], check=True)
        try:
            proc = subprocess.Popen([program], env=dict(os.environ, XDG_DATA_HOME=home))
            time.sleep(3)
            window = window_of("^Tempodial$", min_width=MAIN_WIDTH)
            xdotool("windowactivate", "--sync", window)
            xdotool("key", "alt+t")
            time.sleep(1)
            minimise(window)
            time.sleep(2)
            cpu, wchar, disk = cpu_ns(proc.pid), io_field(proc.pid, "wchar"), io_field(
                proc.pid, "write_bytes")
            time.sleep(seconds)
            cpu = cpu_used_ns(cpu, cpu_ns(proc.pid)) / 1e9
            wchar = io_field(proc.pid, "wchar") - wchar
            disk = io_field(proc.pid, "write_bytes") - disk
            proc.kill()
            proc.wait()
        finally:
            if blocked:
                subprocess.run(["umount", journal], check=False)
    hour = 3600 / seconds
    return cpu * hour, wchar * hour, disk * hour


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    program = os.path.join(sys.argv[1], "app", "tempodial")
    seconds = int(sys.argv[2]) if len(sys.argv) > 2 else 120
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    for round_ in range(1, rounds + 1):
        with_cpu, with_wchar, with_disk = one_run(program, seconds, blocked=False)
        without_cpu, without_wchar, _ = one_run(program, seconds, blocked=True)
        print(f"round {round_}: CPU per hour {with_cpu:.2f} s with the journal, "
              f"{without_cpu:.2f} s without, ratio {with_cpu / without_cpu:.3f}; "
              f"written per hour {with_wchar / 1e6:.2f} MB with ({with_disk / 1e6:.2f} MB to "
              f"the disk), {without_wchar / 1e6:.2f} MB without", flush=True)


if __name__ == "__main__":
    main()
