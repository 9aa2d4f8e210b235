#!/usr/bin/env bash
# Assistive actions and keyboard walks (assistive_e2e.py) on a 1024x768 X
# screen with a window manager and a private session bus, where the AT-SPI
# bus starts on demand.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program="$1"
export XDG_RUNTIME_DIR="$(mktemp -d)"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
xvfb-run -a -s "-screen 0 1024x768x24" \
  dbus-run-session -- /usr/bin/python3 "$here/assistive_e2e.py" "$program"
