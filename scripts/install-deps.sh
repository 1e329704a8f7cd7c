#!/usr/bin/env bash
# Installs the Debian packages Zanti needs to build, test, run and package
# (dpkg-dev finds the package's dependencies, lintian checks it). Safe to run
# again: it does nothing when everything is there.
set -euo pipefail

# Real package names only: dpkg-query never reports a virtual one (such as
# libqt6serialport6-dev) as installed, and apt would run on every make.

packages=(
  cmake make g++
  poppler-utils
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-serialport-dev
  libgl1-mesa-dev fonts-dejavu-core
  xvfb xauth
  dpkg-dev lintian
  postgresql libqt6sql6-psql libpq-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "Please run as root or install sudo: missing ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
