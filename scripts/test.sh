#!/usr/bin/env bash
# Builds rtceval and every test once, with warnings as errors, AddressSanitizer and
# UndefinedBehaviorSanitizer (the ci preset), and runs the whole suite on that build; checks the
# Debian package made from it; then builds the libFuzzer targets and runs each for a while
# (scripts/fuzz.sh). RTCEVAL_SKIP_FUZZ=1 skips the fuzzing. The benchmarks' time budgets are
# held on an optimised build by scripts/bench.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

# Each phase's wall time, printed at the end.
phases=()
phase() {
  local name="$1" start=$SECONDS
  shift
  "$@"
  phases+=("$name $((SECONDS - start)) s")
}

phase install ./scripts/install-deps.sh
jobs="$(nproc)"

phase configure cmake --preset ci
phase build cmake --build --preset ci -j"$jobs"
phase test ctest --preset ci -j"$jobs"
phase package ./scripts/check_package.sh build/ci

if [ "${RTCEVAL_SKIP_FUZZ:-0}" != "1" ]; then
  phase fuzz ./scripts/fuzz.sh
fi

printf 'took: %s\n' "${phases[@]}"
