#!/usr/bin/env bash
# Builds the Debian package as tools/package.sh does (the release build in
# build/release is reused, so only what changed is built again) and lets
# lintian check it: any error or warning fails.
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/package.sh --no-deps >/dev/null
lintian --fail-on error,warning --display-info build/package/tempodial_*.deb
# SQLite once in Depends (the library scan finds it), and Qt's Wayland
# platform recommended.
fields() { dpkg-deb -f build/package/tempodial_*.deb "$1"; }
[[ $(fields Depends | grep -o 'libsqlite3-0' | wc -l) -eq 1 ]] || { echo "Depends: $(fields Depends)"; exit 1; }
[[ $(fields Recommends) == *qt6-wayland* ]] || { echo "Recommends: $(fields Recommends)"; exit 1; }
