#!/usr/bin/env bash
# The real program in a real X session: with a fresh data folder it shows a
# window titled "Tempodial", creates its data directory, and goes away when
# it is ended.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program="$1"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24" "$here/in_x_session.sh" "$program" "$home"
