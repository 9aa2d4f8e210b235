#!/usr/bin/env bash
# The real program in a real X session: with a fresh data folder it shows a
# window titled "Tempodial", creates its data directory, and goes away when
# it is ended.
set -euo pipefail
program="$1"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT

inner() {
  local program="$1" home="$2"
  XDG_DATA_HOME="$home" "$program" &
  local pid=$!
  local found=""
  for _ in $(seq 1 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q '"Tempodial"'; then
      found=yes
      break
    fi
    sleep 0.1
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if [[ -z "$found" ]]; then
    echo "no window titled Tempodial appeared" >&2
    return 1
  fi
  if [[ ! -d "$home/tempodial/wex" ]]; then
    echo "the data directory was not created" >&2
    return 1
  fi
  echo "window titled Tempodial shown; data directory created"
}
export -f inner
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'inner "$0" "$1"' "$program" "$home"
