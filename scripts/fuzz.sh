#!/usr/bin/env bash
# Fuzzes a target with libFuzzer (clang, address and undefined sanitizers) for SECONDS (default 60).
# New crash inputs land in tests/fuzz/<target>/, where the replay tests pick them up.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:-zip_reader}; seconds=${2:-60}
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  echo "fuzz: installing clang and its fuzzer runtime"
  ${SUDO:-$([ "$(id -u)" -ne 0 ] && echo sudo)} apt-get install -y -qq clang libclang-rt-14-dev
fi
B=build-fuzz
if [ ! -f "$B/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$B" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTROVA_FUZZ=ON \
    -DZENTROVA_SANITIZE=ON -DZENTROVA_BENCH=OFF
fi
cmake --build "$B" --target "fuzz_${target//_/}"
mkdir -p "$B/corpus-$target"
"$B/tests/fuzz/fuzz_${target//_/}" -max_total_time="$seconds" -max_len=65536 \
  -artifact_prefix="tests/fuzz/$target/crash-" "$B/corpus-$target" "tests/fuzz/$target"
