#!/bin/bash
# Installs what the builds and tests need on a Debian 12 machine, and
# nothing when everything is already there.
set -eu
packages=(
  make cmake g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine64 fonts-wine xvfb x11-apps x11-utils xdotool imagemagick python3
  socat netcat-openbsd nsis zip iproute2 util-linux
  cups printer-driver-cups-pdf poppler-utils libcups2 fonts-liberation
  postgresql unixodbc unixodbc-dev odbc-postgresql
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
