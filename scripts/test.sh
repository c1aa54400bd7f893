#!/usr/bin/env bash
# Builds rtceval with warnings as errors and runs every test; then builds the whole test suite
# again with AddressSanitizer and UndefinedBehaviorSanitizer and runs it. Set RTCEVAL_SKIP_ASAN=1
# to skip the second pass.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
jobs="$(nproc)"

cmake --preset ci
cmake --build --preset ci -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --preset ci -j"$jobs"

if [ "${RTCEVAL_SKIP_ASAN:-0}" != "1" ]; then
  cmake --preset asan
  cmake --build --preset asan -j"$jobs"
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 ctest --preset asan -j"$jobs" -LE bench
fi
