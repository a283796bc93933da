#!/usr/bin/env bash
# Redraws resources/images/*.png from make_artwork.cpp (our own artwork).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
g++ -std=c++20 -fPIC "$here/make_artwork.cpp" -o "$tmp/make_artwork" $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$tmp/make_artwork" "$here/../../resources/images"
