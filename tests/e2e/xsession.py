"""A private X session for the real program: Xvfb with a window manager,
the program started with its own data folder, and its windows found and
typed into with xdotool."""

import os
import shutil
import signal
import subprocess
import tempfile
import time


class XSession:
    def __init__(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=[write_fd], stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as displays:
            self.display = ":" + displays.readline().strip()
        self.runtime_dir = tempfile.mkdtemp(prefix="tempodial-run-")
        self.env = dict(os.environ, DISPLAY=self.display, XDG_RUNTIME_DIR=self.runtime_dir)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.wm = subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        time.sleep(0.5)

    def close(self):
        for process in (self.wm, self.xvfb):
            process.terminate()
            process.wait()
        shutil.rmtree(self.runtime_dir, ignore_errors=True)

    def xdotool(self, *args):
        done = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True)
        return done.stdout.split()

    def window(self, title, timeout=10.0, visible=True, min_width=0):
        """The id of the (visible) window whose whole title is `title` and
        that is at least `min_width` pixels wide, or None."""
        deadline = time.monotonic() + timeout
        only = ["--onlyvisible"] if visible else []
        while time.monotonic() < deadline:
            pattern = "".join("\\" + c if c in ".^$*+?()[]{}|\\" else c for c in title)
            for found in self.xdotool("search", *only, "--name", "^" + pattern + "$"):
                if self.width(found) >= min_width:
                    return found
            time.sleep(0.1)
        return None

    def width(self, window):
        shown = subprocess.run(["xdotool", "getwindowgeometry", window], env=self.env,
                               capture_output=True, text=True).stdout
        for line in shown.splitlines():
            if "Geometry:" in line:
                return int(line.split()[-1].split("x")[0])
        return 0

    def main_window(self, timeout=10.0):
        """The program's main window: titled like the splash, but wider."""
        return self.window("Tempodial", timeout, min_width=450)

    def title(self, window):
        return subprocess.run(["xdotool", "getwindowname", window], env=self.env,
                              capture_output=True, text=True).stdout.strip()

    def keys(self, window, *keys):
        self.xdotool("windowactivate", "--sync", window)
        self.xdotool("key", *keys)


class Program:
    """The program with a data folder of its own."""

    def __init__(self, binary, session, home=None):
        self.binary = binary
        self.session = session
        self.home = home or tempfile.mkdtemp(prefix="tempodial-e2e-")
        self.process = None

    def start(self, *args, **extra_env):
        env = dict(self.session.env, XDG_DATA_HOME=self.home, **extra_env)
        self.process = subprocess.Popen([self.binary, *args], env=env, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, text=True)
        return self.process

    def signal(self, number):
        self.process.send_signal(number)
        return self.process.wait(timeout=10)

    def kill(self):
        return self.signal(signal.SIGKILL)

    @property
    def journal(self):
        return os.path.join(self.home, "tempodial", "history.sqlite3")

    @property
    def data(self):
        return os.path.join(self.home, "tempodial", "wex")

    def remove(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.home, ignore_errors=True)


def value_document(text):
    """A TimeLog file holding `text`, in the clock boxes' font."""
    lines = [
        r"{\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fnil MS Sans Serif;}{\f1\fnil\fcharset2 Symbol;}"
        r"{\f2\fswiss\fprq2 System;}{\f3\fswiss Arial;}{\f4\fnil Arial;}}",
        r"{\colortbl\red0\green0\blue0;}",
        r"\deflang2057\pard\plain\f3\fs18 " + text,
        r"\par }",
    ]
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")
