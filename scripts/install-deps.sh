#!/usr/bin/env bash
# Installs every Debian 12 package that building, testing and CI need.
# Idempotent: packages already present are skipped, and `apt-get update`
# runs once, only when something is missing.
set -euo pipefail

PACKAGES=(
  build-essential g++ cmake ninja-build pkg-config git ccache
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  libqrencode-dev zbar-tools zint poppler-utils
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-dejavu-core fontconfig
  clang libclang-rt-14-dev
  python3-xlrd
  xvfb xauth
  cups printer-driver-cups-pdf
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
