#!/usr/bin/env bash
# Takes the user guide's pictures of the status icon and the automatic timing,
# under Xvfb with openbox:
#   docs/screenshots/status-icon.png: the clock started by the connection
#     (a NetworkManager from python3-dbusmock on a private bus, online), its
#     icon in an XEmbed tray (trayer: `apt-get install trayer`) and the
#     icon's tool tip;
#   docs/screenshots/automatic-timing.png: the "Automatic timing" window.
# usage: tools/status_icon_screenshot.sh BUILD_DIR
set -euo pipefail
build="$1"
shots="$(cd "$(dirname "$0")/.." && pwd)/docs/screenshots"
exec xvfb-run -a -s "-screen 0 800x600x24" bash -s "$build/app/tempodial" "$shots" <<'SH'
set -euo pipefail
program="$1"
shots="$2"
home="$(mktemp -d)"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$home"' EXIT
openbox >/dev/null 2>&1 & pids+=($!)
trayer --edge bottom --align right --widthtype request --height 28 --SetDockType true \
  --transparent false >/dev/null 2>&1 & pids+=($!)
exec 3< <(dbus-daemon --session --nofork --print-address=1 2>/dev/null)
read -r bus <&3
DBUS_SYSTEM_BUS_ADDRESS="$bus" /usr/bin/python3 -m dbusmock --system --template networkmanager \
  >/dev/null 2>&1 & pids+=($!)
mkdir -p "$home/config/tempodial"
printf '[timing]\nautomatic=while-online\n' >"$home/config/tempodial/tempodial.conf"
sleep 1.5
XDG_DATA_HOME="$home" XDG_CONFIG_HOME="$home/config" \
  DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent DBUS_SYSTEM_BUS_ADDRESS="$bus" \
  "$program" >/dev/null 2>&1 & pids+=($!)
window=""
for _ in $(seq 1 50); do
  sleep 0.2
  for found in $(xdotool search --onlyvisible --name '^Tempodial$' 2>/dev/null); do
    width=$(xdotool getwindowgeometry "$found" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
    if [[ "${width:-0}" -gt 450 ]]; then window="$found"; fi
  done
  [[ -n "$window" ]] && break
done
xdotool windowmove "$window" 180 140
xdotool windowactivate --sync "$window" key alt+h
sleep 63.4
# The icon sits at the right end of the tray; hovering shows its tool tip.
xdotool mousemove 786 586
sleep 2
import -window root "$shots/status-icon.png"
xdotool mousemove 400 300
xdotool windowactivate --sync "$window" key alt+m
sleep 0.3
xdotool key a
sleep 1
import -window "$(xdotool search --onlyvisible --name '^Automatic timing$' | head -1)" \
  "$shots/automatic-timing.png"
SH
