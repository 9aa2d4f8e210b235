#!/usr/bin/env bash
# Builds Tempodial with warnings as errors and runs every test: the pure logic,
# the windows on the offscreen platform, the real program under Xvfb, and a
# short fuzzing run of the document reader; then the same tests under the
# sanitizers. Exits non-zero when any fails.
# Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh

jobs=$(nproc)
cmake --preset dev
cmake --build build/dev -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --preset dev -j "$jobs"

# The same tests under the address and undefined-behaviour sanitizers.
cmake --preset asan
cmake --build build/asan -j "$jobs"
# The long kill soak runs once, in the ordinary build.
QT_QPA_PLATFORM=offscreen ctest --preset asan -j "$jobs" -LE soak

fuzz/run.sh "${TEMPODIAL_FUZZ_SECONDS:-60}"
