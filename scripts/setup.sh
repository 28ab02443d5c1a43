#!/usr/bin/env bash
# Installs every Debian package that building, testing, fuzzing and benchmarking Velmo need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  qt6-base-dev qt6-webengine-dev libgl-dev
  libjpeg62-turbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-apps imagemagick
  libgeographiclib-dev liblapacke-dev libeigen3-dev libpugixml-dev
  proj-bin libproj-dev gdal-bin
  fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
