#!/usr/bin/env bash
# Builds rtceval with warnings as errors and runs every test; runs the libFuzzer targets for a
# while; then builds the whole test suite again with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs it. RTCEVAL_SKIP_FUZZ=1 or RTCEVAL_SKIP_ASAN=1 skip a pass.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
jobs="$(nproc)"

cmake --preset ci
cmake --build --preset ci -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --preset ci -j"$jobs"
./scripts/check_package.sh build/ci

if [ "${RTCEVAL_SKIP_FUZZ:-0}" != "1" ]; then
  cmake -S tests/fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build build/fuzz -j"$jobs"
  # Each target for a few seconds (about a minute in all), from its seeds and what earlier runs
  # kept in build/fuzz/corpus/; a crash, a broken property or a hang fails the script and keeps
  # the input as build/fuzz/crash-TARGET-*. Every input builds a whole main window: the entropic
  # schedule's bookkeeping would cost a third of the runs.
  for entry in receive_path:64 set_time:128 request_assembler:256 control_channel:128 \
      board_session:64 snapshot_file:4096; do
    target="${entry%%:*}"
    mkdir -p "build/fuzz/corpus/$target"
    log="build/fuzz/$target.log"
    # Without the allocation stacks that only a use-after-free report needs, a run goes about a
    # tenth faster; a kept input replayed without this option reports them in full.
    if ASAN_OPTIONS="malloc_context_size=0" "./build/fuzz/fuzz_$target" "build/fuzz/corpus/$target" "build/fuzz/seeds/$target" \
        -max_total_time="${RTCEVAL_FUZZ_SECONDS:-12}" -max_len="${entry#*:}" -entropic=0 \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="build/fuzz/crash-$target-" >"$log" 2>&1; then
      echo "fuzzing $target: $(grep -m1 -o 'Done [0-9]* runs.*' "$log")"
    else
      tail -n 40 "$log"
      echo "fuzzing $target found a fault" >&2
      exit 1
    fi
  done
fi

if [ "${RTCEVAL_SKIP_ASAN:-0}" != "1" ]; then
  cmake --preset asan
  cmake --build --preset asan -j"$jobs"
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 ctest --preset asan -j"$jobs" -LE "bench|lint|x11"
fi
