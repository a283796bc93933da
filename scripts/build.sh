#!/usr/bin/env bash
# Installs missing packages, configures build/ once (Release with assertions, Ninja when present) and builds
# the given targets (all when none).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD=${BUILD_DIR:-build}
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$BUILD" --parallel "$(nproc)" "${targets[@]}"
