#!/usr/bin/env bash
# Builds the release and the Debian package: build/package/tempodial_*.deb.
# Install it with: sudo apt-get install ./build/package/tempodial_*.deb
#   tools/package.sh [--no-deps]   (--no-deps: install no Debian packages first)
#
# lintian finds no error and no warning in it (the test install.PackageIsLintianClean
# checks that). Two informational tags remain, on purpose:
# - binary-has-unneeded-section .comment: CPack strips the program with plain
#   `strip`, which keeps the compiler's version note; it costs a few hundred
#   bytes and nothing else.
# - spelling-error-in-binary ment meant: four bytes of machine code that happen
#   to read "ment"; no text of the program contains the word.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ "${1:-}" != "--no-deps" ]]; then
  tools/install-deps.sh
fi
cmake --preset release
cmake --build build/release
rm -f build/package/tempodial_*.deb
cpack --config build/release/CPackConfig.cmake -B build/package
ls build/package/*.deb
