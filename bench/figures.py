#!/usr/bin/env python3
"""Whole-program figures of Tempodial against a minimal Qt Widgets program.

  bench/figures.py startup BUILD_DIR [runs]   start-up time and peak memory
  bench/figures.py idle BUILD_DIR [seconds]   CPU time with the clock running, minimised

Run inside an X session (see bench/README.md: xvfb-run, and openbox for idle).
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

CLK_TCK = os.sysconf("SC_CLK_TCK")


def peak_rss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def one_start(program, settle_s):
    """Returns (ns from exec to first paint, peak RSS KiB after settle_s)."""
    env = dict(os.environ, TEMPODIAL_FIRST_PAINT="1")
    with tempfile.TemporaryDirectory() as home:
        env["XDG_DATA_HOME"] = home
        start = time.monotonic_ns()
        proc = subprocess.Popen([program], env=env, stderr=subprocess.PIPE, text=True)
        painted = None
        for line in proc.stderr:
            if line.startswith("first-paint "):
                painted = int(line.split()[1])
                break
        time.sleep(settle_s)
        rss = peak_rss_kib(proc.pid)
        proc.kill()
        proc.wait()
    if painted is None:
        raise RuntimeError(f"{program} never painted")
    return painted - start, rss


def startup(build, runs):
    programs = {
        "tempodial": os.path.join(build, "app", "tempodial"),
        "minimal": os.path.join(build, "bench", "minimal_window"),
    }
    times = {name: [] for name in programs}
    memory = {name: [] for name in programs}
    for _ in range(runs):  # alternate the two programs run by run
        for name, program in programs.items():
            elapsed, rss = one_start(program, settle_s=2.5)
            times[name].append(elapsed / 1e6)
            memory[name].append(rss)
    for name in programs:
        print(f"{name:10s} first paint median {statistics.median(times[name]):7.1f} ms, "
              f"peak RSS median {statistics.median(memory[name]) / 1024:6.1f} MiB")
    print(f"start-up ratio {statistics.median(times['tempodial']) / statistics.median(times['minimal']):.2f}")
    print(f"memory ratio   {statistics.median(memory['tempodial']) / statistics.median(memory['minimal']):.2f}")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLK_TCK


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True,
                          text=True).stdout.strip()


def idle(build, seconds):
    program = os.path.join(build, "app", "tempodial")
    with tempfile.TemporaryDirectory() as home:
        proc = subprocess.Popen([program], env=dict(os.environ, XDG_DATA_HOME=home))
        time.sleep(3)
        window = xdotool("search", "--onlyvisible", "--name", "^Tempodial$").split()[0]
        xdotool("windowactivate", "--sync", window)
        xdotool("key", "--window", window, "space")  # Start/Stop has the focus
        xdotool("windowminimize", "--sync", window)
        time.sleep(2)
        before = cpu_seconds(proc.pid)
        time.sleep(seconds)
        used = cpu_seconds(proc.pid) - before
        caption = xdotool("getwindowname", window)
        proc.kill()
        proc.wait()
    print(f"caption while minimised: {caption}")
    print(f"CPU over {seconds} s: {used:.2f} s = {100 * used / seconds:.3f} % of one core")


if __name__ == "__main__":
    if len(sys.argv) < 3 or sys.argv[1] not in ("startup", "idle"):
        sys.exit(__doc__)
    if sys.argv[1] == "startup":
        startup(sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 15)
    else:
        idle(sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 60)
