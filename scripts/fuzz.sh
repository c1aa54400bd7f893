#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz, with clang) in build/fuzz and runs each for
# RTCEVAL_FUZZ_SECONDS (default 12), as many at a time as there are processor cores. Each run
# starts from its seeds and what earlier runs kept in build/fuzz/corpus/TARGET; a crash, a broken
# property or a hang fails the script and keeps the input as build/fuzz/crash-TARGET-*.
# The targets and their longest inputs are listed once, in tests/fuzz/CMakeLists.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"

cmake -S tests/fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz -j"$jobs"

# One target: NAME MAX_LEN. Every input builds a whole main window: the entropic schedule's
# bookkeeping would cost a third of the runs. Without the allocation stacks that only a
# use-after-free report needs, a run goes about a tenth faster; a kept input replayed without
# this option reports them in full.
fuzz_one() {
  local target="$1" max_len="$2" log="build/fuzz/$1.log"
  mkdir -p "build/fuzz/corpus/$target"
  if ASAN_OPTIONS="malloc_context_size=0" "./build/fuzz/fuzz_$target" \
      "build/fuzz/corpus/$target" "build/fuzz/seeds/$target" \
      -max_total_time="${RTCEVAL_FUZZ_SECONDS:-12}" -max_len="$max_len" -entropic=0 \
      -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="build/fuzz/crash-$target-" >"$log" 2>&1; then
    echo "fuzzing $target: $(grep -m1 -o 'Done [0-9]* runs.*' "$log")"
  else
    tail -n 40 "$log"
    echo "fuzzing $target found a fault" >&2
    return 1
  fi
}
export -f fuzz_one
export RTCEVAL_FUZZ_SECONDS
# xargs runs the targets side by side and fails when any of them failed.
xargs -P "$jobs" -L 1 bash -c 'fuzz_one "$@"' fuzz_one <build/fuzz/targets.txt
