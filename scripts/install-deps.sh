#!/usr/bin/env bash
# Installs every Debian 12 package that the build, the tests and the benchmarks need.
# Packages already installed are skipped; runs as root or through sudo.
set -euo pipefail

PACKAGES=(
  # toolchain and build
  g++ cmake ninja-build pkg-config make
  # libraries
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  libexiv2-dev zlib1g-dev nettle-dev libjpeg62-turbo-dev libpng-dev
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  python3 libimage-exiftool-perl exiv2 unzip zip p7zip-full openssl
  # corpus generator of the benchmarks
  libvips-tools libjpeg-turbo-progs bc
  # screens for people, X resources, fonts for offscreen text
  xvfb xauth x11-apps x11-utils x11-xserver-utils xdotool openbox imagemagick fonts-dejavu-core
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#PACKAGES[@]} packages are installed"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  SUDO=sudo
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
echo "install-deps: done"
