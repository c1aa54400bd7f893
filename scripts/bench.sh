#!/usr/bin/env bash
# Builds the benchmarks on the optimised build (build/release) and holds each to its budget: the
# receive path under 50 µs a reply, the line monitor under 2 µs a frame. The test command runs
# them only briefly, under the sanitizers, where times mean nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" --target bench_reply_dispatch bench_line_monitor
ctest --preset release -L bench
