#!/usr/bin/env bash
# Runs an AT-SPI scenario in a fresh X session of the given size, with a
# private session bus where the AT-SPI bus starts on demand.
#   in_atspi_session.sh SCENARIO.py WIDTHxHEIGHT PROGRAM
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
scenario="$1"
screen="$2"
program="$3"
export XDG_RUNTIME_DIR="$(mktemp -d)"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
xvfb-run -a -s "-screen 0 ${screen}x24" \
  dbus-run-session -- /usr/bin/python3 "$here/$scenario" "$program"
