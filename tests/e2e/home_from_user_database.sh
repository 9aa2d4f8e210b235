#!/usr/bin/env bash
# With HOME and XDG_DATA_HOME unset the real program takes the home folder
# from the user database and makes its data directory there, never under "/".
# The user database is a private one (nss_wrapper), so the test never touches
# the real home of whoever runs it.
set -euo pipefail
program="$(realpath "$1")"
wrapper="$2"  # libnss_wrapper.so
if [[ -e /.local ]]; then
  echo "/.local exists before the test; cannot tell whether the program wrote it" >&2
  exit 1
fi
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/home"
echo "$(id -un):x:$(id -u):$(id -g):Test user:$scratch/home:/bin/sh" >"$scratch/passwd"
echo "$(id -gn):x:$(id -g):" >"$scratch/group"

cat >"$scratch/start.sh" <<INNER
#!/usr/bin/env bash
env -u HOME -u XDG_DATA_HOME -u QT_QPA_PLATFORM LD_PRELOAD="$wrapper" \\
  NSS_WRAPPER_PASSWD="$scratch/passwd" NSS_WRAPPER_GROUP="$scratch/group" \\
  ASAN_OPTIONS="\${ASAN_OPTIONS:+\$ASAN_OPTIONS:}verify_asan_link_order=0" "$program" &
pid=\$!
for _ in \$(seq 1 100); do
  [[ -d "$scratch/home/.local/share/tempodial/wex" ]] && break
  sleep 0.1
done
kill "\$pid" 2>/dev/null || true
wait "\$pid" 2>/dev/null || true
INNER
chmod +x "$scratch/start.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$scratch/start.sh"

if [[ -e /.local ]]; then
  echo "the program wrote under /" >&2
  exit 1
fi
if [[ ! -d "$scratch/home/.local/share/tempodial/wex" ]]; then
  echo "no data directory in the home folder of the user database" >&2
  exit 1
fi
echo "data directory made in the home folder from the user database"
