#!/usr/bin/env python3
"""Whole-program figures of Tempodial against a minimal Qt Widgets program.

  bench/figures.py startup BUILD_DIR [runs] [--journal FILE]
                                              start-up time and peak memory; with a
                                              journal (history_scale N RUNS FILE makes one),
                                              Tempodial also starts on a copy of it;
                                              ends with resident memory by library
  bench/figures.py idle BUILD_DIR [seconds] [--desktop]
                                              CPU time and wake-ups with the clock
                                              running, minimised; --desktop adds a
                                              status area and a NetworkManager (both
                                              python3-dbusmock on a private bus) and
                                              lets the connection start the clock
  bench/figures.py history BUILD_DIR [runs] --journal FILE
                        the History window's steps, each from the key press to
                        the end of the next paint: open it, a month back, the
                        year view; on FILE (history_scale N RUNS FILE makes
                        one) beside a one-session journal, alternated; needs a
                        window manager
  bench/figures.py wakeups BUILD_DIR [seconds]
                        wake-ups and CPU time against a minimal Qt clock, side by side
  bench/figures.py control BUILD_DIR [seconds] [rounds]
                        wake-ups of a stopped clock on a private session bus,
                        alternately with and without a client subscribed to
                        its PropertiesChanged

Run inside an X session (see bench/README.md: xvfb-run, and openbox for idle).
"""
import os
import queue
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

CLK_TCK = os.sysconf("SC_CLK_TCK")


def peak_rss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def rss_by_mapping(pid):
    """Resident KiB per mapped file ([heap], [anon] and the libraries), largest first."""
    sizes = {}
    name = None
    with open(f"/proc/{pid}/smaps") as smaps:
        for line in smaps:
            fields = line.split()
            if "-" in fields[0] and len(fields) >= 5 and not fields[0].endswith(":"):
                name = os.path.basename(fields[5]) if len(fields) > 5 else "[anon]"
            elif fields[0] == "Rss:":
                sizes[name] = sizes.get(name, 0) + int(fields[1])
    return sorted(sizes.items(), key=lambda item: -item[1])


def one_start(program, settle_s, home=None, breakdown=None, main=None):
    """Returns (ns from exec to first paint, peak RSS KiB after settle_s);
    `main`, a list, gets the ns from exec to the main window's first paint
    for a program that reports it."""
    env = dict(os.environ, TEMPODIAL_FIRST_PAINT="1")
    with tempfile.TemporaryDirectory() as fresh:
        env["XDG_DATA_HOME"] = home or fresh
        start = time.monotonic_ns()
        proc = subprocess.Popen([program], env=env, stderr=subprocess.PIPE, text=True)
        painted = None
        for line in proc.stderr:
            if line.startswith("first-paint "):
                painted = int(line.split()[1])
                if main is None:
                    break
            if line.startswith("main-paint "):
                main.append(int(line.split()[1]) - start)
                break
        time.sleep(max(0.0, settle_s - (time.monotonic_ns() - (painted or start)) / 1e9))
        rss = peak_rss_kib(proc.pid)
        if breakdown is not None:
            breakdown[:] = rss_by_mapping(proc.pid)
        # A clean end, as a user's: the journal is closed and marked settled.
        proc.terminate()
        proc.wait()
    if painted is None:
        raise RuntimeError(f"{program} never painted")
    return painted - start, rss


def startup(build, runs, journal=None):
    tempodial = os.path.join(build, "app", "tempodial")
    programs = {"tempodial": (tempodial, None)}
    kept = None
    if journal:
        # One home for every start on the big journal: copied once.
        kept = tempfile.TemporaryDirectory()
        os.makedirs(os.path.join(kept.name, "tempodial"))
        shutil.copy(journal, os.path.join(kept.name, "tempodial", "history.sqlite3"))
        programs["tempodial+journal"] = (tempodial, kept.name)
    programs["minimal"] = (os.path.join(build, "bench", "minimal_window"), None)
    times = {name: [] for name in programs}
    mains = {name: [] for name in programs if name != "minimal"}
    memory = {name: [] for name in programs}
    breakdowns = {name: [] for name in programs}
    for _ in range(runs):  # alternate the programs run by run
        for name, (program, home) in programs.items():
            elapsed, rss = one_start(program, 3.0, home, breakdowns[name], mains.get(name))
            times[name].append(elapsed / 1e6)
            memory[name].append(rss)
    for name in programs:
        print(f"{name:18s} first paint median {statistics.median(times[name]):7.1f} ms, "
              f"peak RSS median {statistics.median(memory[name]) / 1024:6.1f} MiB")
    for name, found in mains.items():
        print(f"{name:18s} main window's first paint median {statistics.median(found) / 1e6:7.1f} ms")
    minimal_time = statistics.median(times["minimal"])
    minimal_rss = statistics.median(memory["minimal"])
    for name in programs:
        if name != "minimal":
            print(f"{name:18s} start-up ratio {statistics.median(times[name]) / minimal_time:.2f},"
                  f" memory ratio {statistics.median(memory[name]) / minimal_rss:.3f}")
    # Where the resident memory goes, against the minimal program (last start).
    theirs = dict(breakdowns["minimal"])
    print("resident KiB by mapping, last start: tempodial / minimal")
    for mapping, kib in breakdowns["tempodial"][:16]:
        print(f"  {mapping:40s} {kib:7d} {theirs.get(mapping, 0):7d}")
    if kept:
        kept.cleanup()


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLK_TCK


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True,
                          text=True).stdout.strip()


def all_thread_switches(pid):
    """(voluntary, involuntary) context switches of all the process's threads.
    A voluntary switch is a thread going to sleep, so each is one wake-up;
    an involuntary one is a preemption, which other load on the machine
    causes."""
    voluntary = involuntary = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{task}/status") as status:
            for line in status:
                if line.startswith("voluntary_ctxt_switches:"):
                    voluntary += int(line.split()[1])
                elif line.startswith("nonvoluntary_ctxt_switches:"):
                    involuntary += int(line.split()[1])
    return voluntary, involuntary


NOWHERE = "unix:path=/nonexistent/bus"
# The splash window has the main window's title; the main window is the wider.
MAIN_WIDTH = 450
WATCHER = "org.kde.StatusNotifierWatcher"


def desktop_services(workdir):
    """A private bus with a StatusNotifierWatcher and a NetworkManager that is
    online (python3-dbusmock, driven with dbus-send); returns the processes
    and the bus address."""
    daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    address = daemon.stdout.readline().strip()
    env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=address, DBUS_SYSTEM_BUS_ADDRESS=address)
    python = "/usr/bin/python3"
    mocks = [subprocess.Popen([python, "-m", "dbusmock", "--system", "--template", "networkmanager"],
                              env=env, stdout=subprocess.DEVNULL),
             subprocess.Popen([python, "-m", "dbusmock", WATCHER, "/StatusNotifierWatcher", WATCHER],
                              env=env, stdout=subprocess.DEVNULL)]
    time.sleep(1.5)
    setup = (
        "import dbus\n"
        f"bus = dbus.bus.BusConnection('{address}')\n"
        f"w = dbus.Interface(bus.get_object('{WATCHER}', '/StatusNotifierWatcher'), 'org.freedesktop.DBus.Mock')\n"
        f"w.AddProperties('{WATCHER}', {{'IsStatusNotifierHostRegistered': True, 'ProtocolVersion': dbus.Int32(0),"
        " 'RegisteredStatusNotifierItems': dbus.Array([], signature='s')})\n"
        f"w.AddMethod('{WATCHER}', 'RegisterStatusNotifierItem', 's', '', '')\n")
    subprocess.run([python, "-c", setup], check=True)
    config = os.path.join(workdir, "config")
    os.makedirs(os.path.join(config, "tempodial"))
    with open(os.path.join(config, "tempodial", "tempodial.conf"), "w") as conf:
        conf.write("[timing]\nautomatic=while-online\n")
    return [*mocks, daemon], {"DBUS_SESSION_BUS_ADDRESS": address,
                              "DBUS_SYSTEM_BUS_ADDRESS": address, "XDG_CONFIG_HOME": config}


def idle(build, seconds, desktop):
    program = os.path.join(build, "app", "tempodial")
    with tempfile.TemporaryDirectory() as home:
        services, extra = [], {"DBUS_SESSION_BUS_ADDRESS": NOWHERE,
                               "DBUS_SYSTEM_BUS_ADDRESS": NOWHERE,
                               "XDG_CONFIG_HOME": os.path.join(home, "config")}
        if desktop:
            services, extra = desktop_services(home)
        proc = subprocess.Popen([program], env=dict(os.environ, XDG_DATA_HOME=home, **extra))
        time.sleep(3)
        window = window_of("^Tempodial$", min_width=MAIN_WIDTH)
        xdotool("windowactivate", "--sync", window)
        if not desktop:  # there the connection has started the clock
            xdotool("key", "--window", window, "space")  # Start/Stop has the focus
        minimise(window)
        time.sleep(2)
        before, switches = cpu_seconds(proc.pid), all_thread_switches(proc.pid)
        time.sleep(seconds)
        used = cpu_seconds(proc.pid) - before
        wakeups, preemptions = (after - earlier for after, earlier
                                in zip(all_thread_switches(proc.pid), switches))
        caption = xdotool("getwindowname", window)
        proc.kill()
        proc.wait()
        for service in services:
            service.terminate()
            service.wait()
    print(f"caption while minimised: {caption}")
    print(f"CPU over {seconds} s: {used:.2f} s = {100 * used / seconds:.3f} % of one core")
    print(f"wake-ups over {seconds} s: {wakeups} = {wakeups / seconds:.1f} per second"
          f" (and {preemptions} preemptions)")


def context_switches(pid, path):
    """Voluntary plus involuntary context switches in /proc/<pid>/<path>:
    each one is the thread waking up, or being woken, once."""
    total = 0
    try:
        with open(f"/proc/{pid}/{path}") as status:
            for line in status:
                if line.startswith(("voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:")):
                    total += int(line.split()[1])
    except FileNotFoundError:
        pass  # a thread that ended meanwhile
    return total


def switches(pid):
    """Per thread id: /proc/<pid>/status counts the main thread, where the
    program's timers and windows live; /proc/<pid>/task adds Qt's helper
    threads (the X connection's reader, D-Bus)."""
    return {int(task): context_switches(pid, f"task/{task}/status")
            for task in os.listdir(f"/proc/{pid}/task")}


def woken(pid, before, after):
    """(main thread, all threads) switches between two readings; a thread
    that came or went meanwhile counts from zero or not at all."""
    main = after.get(pid, 0) - before.get(pid, 0)
    every = sum(count - before.get(task, 0) for task, count in after.items())
    return main, every


def cpu_ns(pid):
    """Per thread id: CPU time in nanoseconds (/proc/<pid>/task/*/schedstat,
    far finer than the 10 ms ticks of /proc/<pid>/stat)."""
    times = {}
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as stat:
                times[int(task)] = int(stat.read().split()[0])
        except FileNotFoundError:
            pass  # a thread that ended meanwhile
    return times


def cpu_used_ns(before, after):
    """CPU time between two readings of cpu_ns: a thread that came meanwhile
    counts from zero, one that ended is left out, so the sum never goes
    below zero."""
    return sum(used - before.get(task, 0) for task, used in after.items())


def sample(pids, seconds):
    """Per pid: wake-ups per second of the main thread and of all threads,
    and the CPU milliseconds, all over the same span."""
    before = {pid: (switches(pid), cpu_ns(pid)) for pid in pids}
    time.sleep(seconds)
    after = {pid: (switches(pid), cpu_ns(pid)) for pid in pids}
    result = {}
    for pid in pids:
        main, every = woken(pid, before[pid][0], after[pid][0])
        result[pid] = (main / seconds, every / seconds, cpu_used_ns(before[pid][1], after[pid][1]) / 1e6)
    return result


def width(window):
    geometry = subprocess.run(["xdotool", "getwindowgeometry", window],
                              capture_output=True, text=True).stdout
    for line in geometry.splitlines():
        if "Geometry:" in line:
            return int(line.split()[-1].split("x")[0])
    return 0


def window_of(pattern, timeout_s=20, min_width=0):
    """The first visible window whose name matches and that is at least
    min_width pixels wide, waited for."""
    deadline = time.monotonic() + timeout_s
    while True:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern],
                               capture_output=True, text=True).stdout.split()
        wide = [window for window in found if width(window) >= min_width]
        if wide:
            return wide[0]
        if time.monotonic() > deadline:
            raise RuntimeError(f"no window named {pattern}")
        time.sleep(0.2)


def minimise(window, attempts=3):
    """Minimises a window; the window manager now and then misses a request
    that comes hard on the heels of a key press, so it is asked again."""
    for _ in range(attempts):
        done = subprocess.run(["xdotool", "windowminimize", "--sync", window],
                              capture_output=True).returncode == 0
        if done:
            return
        time.sleep(0.5)
    raise RuntimeError(f"window {window} would not minimise")


def press_start_stop(window):
    """Restores the main window and presses Start/Stop (it has the focus)."""
    xdotool("windowactivate", "--sync", window)
    time.sleep(0.5)
    xdotool("key", "--window", window, "space")
    time.sleep(0.5)


HISTORY_STEPS = (("open", ("ctrl+h",)), ("month", ("alt+Left",)), ("year", ("alt+y",)))


def history_steps(tempodial, home):
    """Milliseconds of each History step in one start of the program on the
    data in `home`, as the program itself reports them."""
    env = dict(os.environ, XDG_DATA_HOME=home, XDG_CONFIG_HOME=home, TEMPODIAL_PAINT_TIMES="1")
    proc = subprocess.Popen([tempodial], env=env, stderr=subprocess.PIPE, text=True)
    lines = queue.Queue()
    threading.Thread(target=lambda: [lines.put(line) for line in proc.stderr], daemon=True).start()
    times = {}
    try:
        time.sleep(2)  # the splash window gone and the start-up's own work done
        xdotool("windowactivate", "--sync", window_of("^Tempodial$"))
        for step, keys in HISTORY_STEPS:
            for key in keys:
                time.sleep(0.3)
                xdotool("key", key)
            deadline = time.monotonic() + 10
            while step not in times and time.monotonic() < deadline:
                try:
                    line = lines.get(timeout=1)
                except queue.Empty:
                    continue
                if line.startswith(f"paint-after-input {step} "):
                    times[step] = float(line.split()[2])
            time.sleep(0.5)
    finally:
        proc.terminate()  # a clean end, so that the journal is closed settled
        proc.wait()
    return times


def history(build, runs, journal):
    tempodial = os.path.join(build, "app", "tempodial")
    big = tempfile.TemporaryDirectory()
    os.makedirs(os.path.join(big.name, "tempodial"))
    shutil.copy(journal, os.path.join(big.name, "tempodial", "history.sqlite3"))
    small = tempfile.TemporaryDirectory()
    os.makedirs(os.path.join(small.name, "tempodial"))
    # One session, stopped, in this month.
    subprocess.run([os.path.join(build, "bench", "history_scale"), "1", "1",
                    os.path.join(small.name, "tempodial", "history.sqlite3")],
                   check=True, capture_output=True)
    homes = {"1M sessions": big.name, "one session": small.name}
    found = {name: {step: [] for step, _ in HISTORY_STEPS} for name in homes}
    for _ in range(runs):  # alternate the journals run by run
        for name, home in homes.items():
            for step, ms in history_steps(tempodial, home).items():
                found[name][step].append(ms)
    print(f"{'journal':14s}" + "".join(f"{step:>16s}" for step, _ in HISTORY_STEPS))
    for name in homes:
        cells = []
        for step, _ in HISTORY_STEPS:
            values = found[name][step]
            cells.append(f"{statistics.median(values):9.1f} ms ({len(values)})" if values else
                         f"{'-':>16s}")
        print(f"{name:14s}" + "".join(f"{cell:>16s}" for cell in cells))
    big.cleanup()
    small.cleanup()


def ratio(a, b):
    return f"{a / b:7.2f}" if b else "      -"


def wakeups(build, seconds):
    """Tempodial minimised with its clock running, then stopped, against the
    minimal clock showing its time, started side by side in one X session."""
    tempodial = os.path.join(build, "app", "tempodial")
    minimal = os.path.join(build, "bench", "minimal_clock")
    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ, XDG_DATA_HOME=home, XDG_CONFIG_HOME=home)
        ours = subprocess.Popen([tempodial], env=env)
        theirs = subprocess.Popen([minimal], env=env)
        try:
            time.sleep(3)
            main = window_of("^Tempodial$", min_width=MAIN_WIDTH)
            window_of("^Minimal clock$")
            press_start_stop(main)
            minimise(main)
            time.sleep(2)
            first = xdotool("getwindowname", main)
            running = sample([ours.pid, theirs.pid], seconds)
            caption = xdotool("getwindowname", main)
            if first == caption or not caption.startswith("W.E.X. "):
                raise RuntimeError(f"the clock did not run: {first!r}, then {caption!r}")
            press_start_stop(main)
            minimise(main)
            time.sleep(2)
            first = xdotool("getwindowname", main)
            stopped = sample([ours.pid, theirs.pid], seconds)
            if xdotool("getwindowname", main) != first:
                raise RuntimeError("the clock did not stop")
        finally:
            for proc in (ours, theirs):
                proc.kill()
                proc.wait()
    ours_run = running[ours.pid]
    theirs_run = running[theirs.pid]
    print(f"caption while minimised: {caption}")
    print(f"{'over ' + str(seconds) + ' s':32s} {'Tempodial':>10s} {'minimal clock':>14s} {'ratio':>7s}")
    rows = [("wake-ups/s main thread, running", 0), ("wake-ups/s all threads, running", 1),
            ("CPU ms, running", 2)]
    for label, i in rows:
        print(f"{label:32s} {ours_run[i]:10.2f} {theirs_run[i]:14.2f} "
              f"{ratio(ours_run[i], theirs_run[i])}")
    ours_stop = stopped[ours.pid]
    theirs_stop = stopped[theirs.pid]
    rows = [("wake-ups/s main thread, stopped", 0), ("wake-ups/s all threads, stopped", 1),
            ("CPU ms, stopped", 2)]
    for label, i in rows:
        print(f"{label:32s} {ours_stop[i]:10.2f} {theirs_stop[i]:14.2f}")


SUBSCRIBER = """
import signal, sys, dbus
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib
bus = dbus.bus.BusConnection(sys.argv[1], mainloop=DBusGMainLoop())
count = [0]
bus.add_signal_receiver(lambda *_: count.__setitem__(0, count[0] + 1),
                        signal_name="PropertiesChanged",
                        dbus_interface="org.freedesktop.DBus.Properties",
                        path="/io/github/tempodial/tempodial")
loop = GLib.MainLoop()
signal.signal(signal.SIGTERM, lambda *_: loop.quit())
print("listening", flush=True)
loop.run()
print(count[0], flush=True)
"""


def control(build, seconds, rounds):
    """A clock that ran and stopped, its window minimised, on a private
    session bus: wake-ups over `seconds` without a client, then with one
    subscribed to the clock's PropertiesChanged, `rounds` times."""
    tempodial = os.path.join(build, "app", "tempodial")
    daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    address = daemon.stdout.readline().strip()
    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ, XDG_DATA_HOME=home, XDG_CONFIG_HOME=home,
                   DBUS_SESSION_BUS_ADDRESS=address, DBUS_SYSTEM_BUS_ADDRESS=NOWHERE)
        ours = subprocess.Popen([tempodial], env=env)
        try:
            time.sleep(3)
            main = window_of("^Tempodial$", min_width=MAIN_WIDTH)
            press_start_stop(main)
            time.sleep(2)
            press_start_stop(main)
            minimise(main)
            time.sleep(2)
            status = subprocess.run([tempodial, "--status"], env=env, capture_output=True,
                                    text=True).stdout.strip()
            if not status.startswith("Stopped 0:0:"):
                raise RuntimeError(f"the clock did not run and stop: {status!r}")
            print(f"{status}; over {seconds} s, wake-ups/s (main thread, all threads), CPU ms")
            for round in range(1, rounds + 1):
                without = sample([ours.pid], seconds)[ours.pid]
                client = subprocess.Popen(["/usr/bin/python3", "-c", SUBSCRIBER, address],
                                          stdout=subprocess.PIPE, text=True)
                client.stdout.readline()
                time.sleep(1)
                subscribed = sample([ours.pid], seconds)[ours.pid]
                client.terminate()
                received = client.stdout.readline().strip()
                client.wait()
                for case, (main_s, all_s, cpu) in (("without a client", without),
                                                   ("client subscribed", subscribed)):
                    print(f"round {round} {case:18s} {main_s:6.3f} {all_s:6.3f} {cpu:7.2f}")
                print(f"round {round} signals the client received: {received}")
        finally:
            ours.kill()
            ours.wait()
            daemon.terminate()
            daemon.wait()


if __name__ == "__main__":
    modes = {"startup": (startup, 15), "idle": (idle, 60), "wakeups": (wakeups, 60),
             "control": (control, 60),
             "history": (history, 5)}
    if len(sys.argv) < 3 or sys.argv[1] not in modes:
        sys.exit(__doc__)
    run, default = modes[sys.argv[1]]
    journal = None
    if "--journal" in sys.argv:
        journal = sys.argv[sys.argv.index("--journal") + 1]
    args = [a for a in sys.argv[3:] if a not in ("--desktop", "--journal", journal)]
    seconds = int(args[0]) if args else default
    if run is startup:
        startup(sys.argv[2], seconds, journal)
    elif run is history:
        if not journal:
            sys.exit("history needs --journal FILE")
        history(sys.argv[2], seconds, journal)
    elif run is idle:
        idle(sys.argv[2], seconds, "--desktop" in sys.argv)
    elif run is control:
        control(sys.argv[2], seconds, int(args[1]) if len(args) > 1 else 3)
    else:
        run(sys.argv[2], seconds)
