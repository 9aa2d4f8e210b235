#!/usr/bin/env bash
# The accessibility tour (accessibility_tour.py) in a fresh X session with a
# window manager and a private session bus, where the AT-SPI bus starts on
# demand.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program="$1"
export XDG_RUNTIME_DIR="$(mktemp -d)"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24" \
  dbus-run-session -- /usr/bin/python3 "$here/accessibility_tour.py" "$program"
