#!/usr/bin/env bash
# Builds rtceval with warnings as errors and runs every test; fuzzes the receive path with
# libFuzzer for a while; then builds the whole test suite again with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs it. RTCEVAL_SKIP_FUZZ=1 or RTCEVAL_SKIP_ASAN=1 skip a pass.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
jobs="$(nproc)"

cmake --preset ci
cmake --build --preset ci -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --preset ci -j"$jobs"

if [ "${RTCEVAL_SKIP_FUZZ:-0}" != "1" ]; then
  cmake -S tests/fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build build/fuzz -j"$jobs"
  if ./build/fuzz/fuzz_receive_path -max_total_time="${RTCEVAL_FUZZ_SECONDS:-30}" \
      -rss_limit_mb=2048 -print_final_stats=1 >build/fuzz/fuzz.log 2>&1; then
    echo "receive-path fuzzing: $(grep -m1 -o 'Done [0-9]* runs.*' build/fuzz/fuzz.log)"
  else
    tail -n 40 build/fuzz/fuzz.log
    echo "receive-path fuzzing found a fault" >&2
    exit 1
  fi
fi

if [ "${RTCEVAL_SKIP_ASAN:-0}" != "1" ]; then
  cmake --preset asan
  cmake --build --preset asan -j"$jobs"
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 ctest --preset asan -j"$jobs" -LE "bench|lint"
fi
