#!/usr/bin/env bash
# Builds the release and the Debian package: build/package/tempodial_*.deb.
# Install it with: sudo apt-get install ./build/package/tempodial_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset release
cmake --build build/release
cpack --config build/release/CPackConfig.cmake -B build/package
ls build/package/*.deb
