#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail
. "$(dirname "$0")/help.sh"
packages=(
  g++ cmake ninja-build pkg-config ccache
  clang libclang-rt-dev lld
  libsdl2-dev libsdl2-mixer-dev libsdl2-image-dev
  libgl-dev libegl-dev libgl1-mesa-dri
  libpng-dev libjpeg62-turbo-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libx11-dev libxext-dev
  fonts-liberation
  python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
