#!/usr/bin/env bash
# Builds everything and runs every test (offscreen). Installs missing packages first.
# Then the core tests and the saved fuzz inputs run again under the address and undefined-behaviour
# sanitizers (ZENTROVA_SKIP_SANITIZE=1 leaves that out).
set -euo pipefail
cd "$(dirname "$0")"
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)" --timeout 300

if [ "${ZENTROVA_SKIP_SANITIZE:-0}" != 1 ]; then
  A=${BUILD_DIR:-build}-asan
  generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  if [ ! -f "$A/CMakeCache.txt" ]; then
    cmake -S . -B "$A" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTROVA_SANITIZE=ON -DZENTROVA_BENCH=OFF
  fi
  cmake --build "$A" --parallel "$(nproc)" --target core_tests ui_tests fuzz_replay_zipreader fuzz_replay_exifpatcher
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  "$A/tests/core_tests" --gtest_brief=1
  # The widget tests whose point is threads: the catalogue and the date tree changed by a worker while a view paints.
  "$A/tests/ui_tests" --gtest_brief=1 --gtest_filter='FileTableThreads.*:DateTreeThreads.*'
  "$A/tests/fuzz/fuzz_replay_zipreader" tests/fuzz/zip_reader
  "$A/tests/fuzz/fuzz_replay_exifpatcher" tests/fuzz/exif_patcher
fi
