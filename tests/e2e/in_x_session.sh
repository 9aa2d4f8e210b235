#!/usr/bin/env bash
# Runs inside the X session: starts the program with XDG_DATA_HOME=$2, waits up
# to ten seconds for its main window (titled "Tempodial", about 520 pixels
# wide, unlike the 384-pixel splash), then ends it.
set -euo pipefail
program="$1"
home="$2"
XDG_DATA_HOME="$home" env -u QT_QPA_PLATFORM "$program" &
pid=$!
found=""
for _ in $(seq 1 100); do
  if xwininfo -root -tree 2>/dev/null | grep -E -q '"Tempodial": .* 5[0-4][0-9]x[0-9]+'; then
    found=yes
    break
  fi
  sleep 0.1
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
if [[ -z "$found" ]]; then
  echo "no window titled Tempodial appeared" >&2
  exit 1
fi
if [[ ! -d "$home/tempodial/wex" ]]; then
  echo "the data directory was not created" >&2
  exit 1
fi
echo "window titled Tempodial shown; data directory created"
