#!/usr/bin/env bash
# Installs the Debian packages Talmeko needs to build, test and run.
# Safe to run again: only missing packages are installed.
set -euo pipefail

packages=(
  build-essential g++ clang cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libcurl4-openssl-dev python3
  libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev
  fonts-liberation2 fontconfig
  xvfb xauth
  libcups2-dev
  cups-daemon cups-client printer-driver-cups-pdf poppler-utils
  dpkg-dev desktop-file-utils file  # the Debian package: its dependencies and its check
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}; run this script as root to install them." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
