"""What the real Orca says of the program: Orca runs without a speech
server (speech-dispatcher can hang on a machine without audio) and its debug
log records each utterance it would speak. The clock's state on focus, at
each press and on where-am-I; the History chart's choice with its label and
value, and the chart's summary when the choice changes.

usage: orca_e2e.py <tempodial binary>   (inside Xvfb and a private session
bus; see in_atspi_session.sh)"""

import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from accessibility_tour import activate  # noqa: E402
from atspi_session import Failure, Program, key, wait_for  # noqa: E402

from desktop_e2e import check as expect, results  # noqa: E402

# "SPEECH OUTPUT: 'words'" and the voice, or "'words' " and the voice for a key.
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)' ?\{")


class Orca:
    """Orca with speech turned off and its preferences in a fresh folder."""

    def __init__(self):
        self.folder = tempfile.mkdtemp()
        self.log = os.path.join(self.folder, "orca.log")
        self.process = subprocess.Popen(
            ["orca", "--user-prefs", self.folder, "--disable", "speech", "--disable",
             "splash-window", "--debug-file", self.log],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for("Orca's log", lambda: os.path.exists(self.log), timeout=20)
        self.heard = 0

    def utterances(self):
        with open(self.log, errors="replace") as log:
            return [found.group(1) for found in map(SPOKEN.search, log) if found]

    def says(self, *keys, wanted, timeout=10.0):
        """Presses `keys` and waits until Orca says an utterance that matches
        the pattern `wanted` whole; returns what it said since the keys."""
        if keys:
            self.heard = len(self.utterances())
            for each in keys:  # one at a time: a key may open a window
                key(each)
                time.sleep(0.3)
        start = time.monotonic()
        while True:
            said = self.utterances()[self.heard:]
            if any(re.fullmatch(wanted, line) for line in said):
                return said
            waited = time.monotonic() - start
            if waited > timeout:
                return said
            # Orca writes its log through a buffer: a key it hears (Shift,
            # which does nothing here) makes it write the rest.
            if waited > 2:
                key("shift")
            time.sleep(0.5)

    def end(self):
        self.process.terminate()
        self.process.wait(timeout=10)


def main():
    wm = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    orca = Orca()
    time.sleep(2)  # Orca listens to the bus before the program appears
    program = Program(sys.argv[1], tempfile.mkdtemp())
    try:
        program.window("frame", "Tempodial", holding="menu bar")
        wait_for("the focus on Start/Stop", lambda: program.focused_name() == "Start/Stop")
        # Each row: the keys, then what Orca must say (one utterance, whole).
        for keys, wanted, when in [
                (("Tab", "shift+Tab"), r"Start/Stop check box not checked\.", "Start/Stop on focus"),
                (("space",), r"checked", "Start/Stop when Space starts the clock"),
                (("KP_Enter",), r".*Start/Stop check box checked\.", "Start/Stop on where-am-I, running"),
                (("space",), r"not checked", "Start/Stop when Space stops the clock"),
                (("Return",), r"checked", "Start/Stop when Enter starts the clock"),
                (("Return",), r"not checked", "Start/Stop when Enter stops it"),
                (("KP_Enter",), r".*Start/Stop check box not checked\.", "Start/Stop on where-am-I, stopped"),
                (("Tab",) * 5, r"Shift\+F10 chooses the currency\.", "the currency panel's "
                 "description on focus"),
                (("ctrl+o", "Right", "Right", "Tab"), r"Currency to be used editable combo box\.",
                 "the Options' editable list on focus")]:
            said = orca.says(*keys, wanted=wanted)
            expect(any(re.fullmatch(wanted, line) for line in said), f"{when}: Orca says {said}")
        activate("^Tempodial$")
        key("ctrl+o")

        heard = len(orca.utterances())
        key("ctrl+h")
        program.window("frame", "History")
        for _ in range(15):
            if program.focused_name() == "Chart":
                break
            key("Tab")
            time.sleep(0.3)
        orca.heard = heard
        said = orca.says(wanted=r"Chart combo box\.", timeout=5)
        expect("Chart combo box." in said and "Time per day." in said,
               f"the chart's choice by its label and value: {said}")
        said = orca.says("Down", wanted=r"notification Data per day: .* in all, .* days with data.*")
        expect(any(re.fullmatch(r"notification Data per day: .* in all, .*", line) for line in said),
               f"a new chart choice is told with what the chart shows: {said}")
    except Failure as failure:
        expect(False, str(failure))
    finally:
        program.end()
        orca.end()
        wm.terminate()
    print(f"{results['passed']} passed, {results['failed']} failed")
    return 1 if results["failed"] else 0


if __name__ == "__main__":
    sys.exit(main())
