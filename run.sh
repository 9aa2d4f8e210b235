#!/usr/bin/env bash
# Builds Tempodial (release) and starts it. Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh --run-only
cmake --preset release >/dev/null
cmake --build build/release
exec build/release/app/tempodial "$@"
