#!/usr/bin/env bash
# Takes docs/screenshots/status-icon.png: Tempodial with its clock running,
# its icon in an XEmbed tray (trayer, `apt-get install trayer`) and the icon's
# tool tip, under Xvfb with openbox.
# usage: tools/status_icon_screenshot.sh BUILD_DIR
set -euo pipefail
build="$1"
out="$(cd "$(dirname "$0")/.." && pwd)/docs/screenshots/status-icon.png"
exec xvfb-run -a -s "-screen 0 800x600x24" bash -s "$build/app/tempodial" "$out" <<'SH'
set -euo pipefail
program="$1"
out="$2"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
openbox >/dev/null 2>&1 &
trayer --edge bottom --align right --widthtype request --height 28 --SetDockType true \
  --transparent false --tint 0xd8d8d8 >/dev/null 2>&1 &
sleep 1.5
XDG_DATA_HOME="$home" XDG_CONFIG_HOME="$home/config" \
  DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent \
  "$program" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 1 50); do
  window=$(xdotool search --onlyvisible --name '^Tempodial$' 2>/dev/null | tail -1) || true
  [[ -n "$window" ]] && [[ $(xdotool getwindowgeometry "$window" | grep -o '[0-9]*x[0-9]*$' | cut -dx -f1) -gt 450 ]] && break
  sleep 0.2
done
xdotool windowmove "$window" 180 140
xdotool windowactivate --sync "$window" key alt+h alt+t
sleep 65.4
# The icon sits at the right end of the tray; hovering shows its tool tip.
xdotool mousemove 786 586
sleep 2
import -window root "$out"
kill "$pid"
SH
