#!/usr/bin/env bash
# Builds Tempodial with warnings as errors and runs every test: the pure logic,
# the windows on the offscreen platform, the real program under Xvfb, and a
# short fuzzing run of the document reader; then the same tests under the
# sanitizers. Exits non-zero when any fails.
# Installs missing Debian packages first.
#   ./test.sh [--soak]   (--soak: also the fifty-kill soak, label soak)
set -euo pipefail
cd "$(dirname "$0")"
skip_soak=(-LE soak)
if [[ "${1:-}" == "--soak" ]]; then
  skip_soak=()
elif [[ $# -gt 0 ]]; then
  echo "usage: ./test.sh [--soak]" >&2
  exit 2
fi
tools/install-deps.sh
# The layers: no include runs against them; no file or function past its size.
python3 tools/check-layers.py
python3 tools/check-sizes.py

jobs=$(nproc)
cmake --preset dev
cmake --build build/dev -j "$jobs"
# The release build that the package test makes its package from.
cmake --preset release
cmake --build build/release -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --preset dev -j "$jobs" "${skip_soak[@]}"

# The same tests under the address and undefined-behaviour sanitizers.
cmake --preset asan
cmake --build build/asan -j "$jobs"
# The long kill soak and the package run only in the ordinary build.
QT_QPA_PLATFORM=offscreen ctest --preset asan -j "$jobs" -LE "soak|package"

fuzz/run.sh "${TEMPODIAL_FUZZ_SECONDS:-60}"
