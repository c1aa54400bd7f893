#!/usr/bin/env bash
# Start-up to the first shown window, rtceval against a bare Qt window, in the same run under
# Xvfb. Prints the median of each over RUNS starts (default 10) and their ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/with_xvfb.sh
runs=${RUNS:-10}

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target rtceval bare_qt_window >/dev/null
start_xvfb

# Milliseconds from launch until a visible window with the title appears.
time_to_window() {
  local title=$1; shift
  local t0 t1
  t0=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  local pid=$!
  until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do :; done
  t1=$(date +%s%N)
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
  echo $(((t1 - t0) / 1000000))
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

bare=(); app=()
for _ in $(seq "$runs"); do
  bare+=("$(time_to_window bare-qt-window ./build/release/tests/bench/bare_qt_window)")
  app+=("$(time_to_window KESMO ./build/release/src/app/rtceval)")
done
mb=$(printf '%s\n' "${bare[@]}" | median)
ma=$(printf '%s\n' "${app[@]}" | median)
echo "bare Qt window: median ${mb} ms over ${runs} starts (${bare[*]})"
echo "rtceval:        median ${ma} ms over ${runs} starts (${app[*]})"
awk -v a="$ma" -v b="$mb" 'BEGIN {printf "ratio rtceval / bare: %.2f\n", a / b}'
