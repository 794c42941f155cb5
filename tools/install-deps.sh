#!/usr/bin/env bash
# Installs the Debian 12 packages that Ledgerly needs to build, run and test,
# asking apt only when one of them is missing.
set -euo pipefail
packages=(
  make cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-qpa-plugins
  qt6-charts-dev qt6-svg-dev libqt6opengl6-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libsodium-dev libgsf-1-dev libsqlite3-dev sqlite3 libxlsxwriter-dev
  libbenchmark-dev
  xvfb xauth fonts-dejavu-core
  python3-xlrd python3-openpyxl poppler-utils
  desktop-file-utils appstream
  clang-format
  dpkg-dev file
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
