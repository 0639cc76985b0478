#!/usr/bin/env bash
# Installs the Debian 12 packages the project builds and tests with. 64-bit Wine only: the
# i386 architecture and wine32 are never added (they break `wine` on these machines).
set -eu
packages=(
  build-essential cmake g++ pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine64 xvfb xdotool x11-utils imagemagick
  libsdl2-dev libfreetype-dev fonts-liberation libpng-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
