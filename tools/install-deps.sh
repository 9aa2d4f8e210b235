#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Tempodial
# need, through apt-get (as root, or through sudo). Packages already present
# are left alone, so a second run does nothing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev libqt6sql6-sqlite libsqlite3-dev libx11-dev libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev clang-format
  fonts-liberation2
  xvfb xauth x11-utils imagemagick openbox xdotool trayer python3
  at-spi2-core python3-pyatspi gir1.2-atspi-2.0 orca
  locales tzdata desktop-file-utils appstream lintian man-db
  dbus dbus-daemon python3-dbus python3-dbusmock python3-gi
  libnss-wrapper
  iproute2
)
if [[ "${1:-}" == "--run-only" ]]; then
  packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev libqt6sql6-sqlite libsqlite3-dev libx11-dev libxcb1-dev fonts-liberation2)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null; then
  sudo=(sudo)
else
  sudo=(false)
fi

if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi

# The number tests check that a decimal-comma locale changes nothing.
if [[ "${1:-}" != "--run-only" ]] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "de_DE.UTF-8 not generated" >&2
fi
