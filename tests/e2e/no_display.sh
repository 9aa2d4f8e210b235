#!/usr/bin/env bash
# Without a display the real program says "tempodial: cannot open a display"
# on standard error and exits with status 1: no abort, no core dump, and no
# file written. Both when no display is named at all and when the display
# named cannot be opened.
set -uo pipefail
program="$(realpath "$1")"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT

# A display number with no X server behind it.
unused=""
for n in $(seq 97 199); do
  if [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then
    unused=":$n"
    break
  fi
done

failed=0
# expect_no_display WHAT ENVIRONMENT... [-- PROGRAM-ARGUMENTS...]
expect_no_display() {
  local what="$1"
  shift
  local environment=() arguments=()
  while [[ $# -gt 0 && "$1" != "--" ]]; do
    environment+=("$1")
    shift
  done
  [[ $# -gt 0 ]] && shift
  arguments=("$@")
  local err status
  err="$(cd "$home" && env "${environment[@]}" XDG_DATA_HOME="$home/data" \
    timeout 20 "$program" "${arguments[@]}" 2>&1 >/dev/null)"
  status=$?
  if [[ $status -ne 1 ]]; then
    echo "$what: exit status $status, not 1" >&2
    failed=1
  fi
  if ! grep -qx "tempodial: cannot open a display" <<<"$err"; then
    echo "$what: standard error was: $err" >&2
    failed=1
  fi
}

expect_no_display "no display, default window system" \
  -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM
expect_no_display "no display, xcb" -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb
expect_no_display "no display, wayland" -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=wayland
expect_no_display "no display, -platform xcb" -u DISPLAY -u WAYLAND_DISPLAY \
  QT_QPA_PLATFORM=offscreen -- -platform xcb
expect_no_display "display $unused with no server" -u WAYLAND_DISPLAY DISPLAY="$unused" \
  QT_QPA_PLATFORM=xcb

if [[ -n "$(ls -A "$home")" ]]; then
  echo "files were written: $(ls -A "$home")" >&2
  failed=1
fi
if ls "$home"/core* >/dev/null 2>&1; then
  echo "a core dump was left" >&2
  failed=1
fi
[[ $failed -eq 0 ]] && echo "every start without a display ended with the one message and status 1"
exit $failed
