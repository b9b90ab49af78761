#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need (skipped when present).
set -euo pipefail

PACKAGES=(
  cmake g++ ninja-build ccache pkg-config
  libgtest-dev libgmock-dev
  libwxgtk3.2-dev libsdl2-dev libgdk-pixbuf-2.0-dev libcairo2-dev
  xvfb xauth xdotool imagemagick libxext-dev libxtst-dev
  openbox x11-utils
  fonts-dejavu-core fonts-liberation2 iso-codes
  zip python3
  clang libclang-rt-14-dev
  patchelf xorriso bubblewrap
  desktop-file-utils shared-mime-info xdg-utils libglib2.0-bin man-db groff-base
  gettext libexpat1-dev libxml2-dev
)

missing=()
for package in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
    || missing+=("$package")
done

if ((${#missing[@]})); then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
