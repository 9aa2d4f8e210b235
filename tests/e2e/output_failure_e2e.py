#!/usr/bin/env python3
"""Output that cannot be written, with the real program: --quote and
--export-history into a pipe nobody reads end with status 1 and the reason
on standard error.

usage: output_failure_e2e.py BINARY"""

import os
import subprocess
import sys
import tempfile


def main():
    binary = sys.argv[1]
    home = tempfile.mkdtemp(prefix="tempodial-output-")
    plans = os.path.join(home, "config", "tempodial", "plans")
    os.makedirs(plans)
    with open(os.path.join(plans, "Flat.ini"), "w", encoding="utf-8") as f:
        f.write("[plan]\nname=Flat\nrate=1.4\n")
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_DATA_HOME=os.path.join(home, "data"), TZ="UTC")
    env.pop("DISPLAY", None)
    failed = 0
    for args in (["--quote", "2026-12-07T12:00", "1:00:00", "--plan", "Flat"],
                 ["--export-history", "-"]):
        reader, writer = os.pipe()
        os.close(reader)
        run = subprocess.run([binary] + args, stdout=writer, stderr=subprocess.PIPE, env=env,
                             text=True, timeout=30)
        os.close(writer)
        ok = run.returncode == 1 and "Broken pipe" in run.stderr
        failed += not ok
        print(f"{'ok' if ok else 'FAILED'}: {args[0]} into a closed pipe: status {run.returncode},"
              f" {run.stderr.strip()!r}")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
