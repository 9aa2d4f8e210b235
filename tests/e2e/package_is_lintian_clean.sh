#!/usr/bin/env bash
# Builds the Debian package as tools/package.sh does (the release build in
# build/release is reused, so only what changed is built again) and lets
# lintian check it: any error or warning fails.
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/package.sh --no-deps >/dev/null
lintian --fail-on error,warning --display-info build/package/tempodial_*.deb
