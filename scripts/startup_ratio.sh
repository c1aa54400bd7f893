#!/usr/bin/env bash
# Start-up to the first shown window and memory once it is up, rtceval against a bare Qt window,
# in the same run under Xvfb. Starts each RUNS times (default 15), alternating, and prints the
# median of each and their ratios. Memory is the process's resident set (VmRSS) and its peak
# (VmHWM) SETTLE_MS milliseconds (default 500) after its window appeared, so that what a program
# does right after showing its window counts too.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/with_xvfb.sh
runs=${RUNS:-15}
settle_ms=${SETTLE_MS:-500}

./scripts/install-deps.sh --desktop-tools
cmake --preset release >/dev/null
cmake --build --preset release --target rtceval bare_qt_window >/dev/null
start_xvfb

# One start: prints "milliseconds-to-window rss-kB hwm-kB".
measure_start() {
  local title=$1; shift
  local t0 t1
  t0=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  local pid=$!
  until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
    if ! kill -0 "$pid" 2>/dev/null || (($(date +%s%N) - t0 > 20000000000)); then
      echo "$* showed no window within 20 s" >&2
      kill "$pid" 2>/dev/null
      exit 1
    fi
  done
  t1=$(date +%s%N)
  sleep "$(awk -v ms="$settle_ms" 'BEGIN {print ms / 1000}')"
  local rss hwm
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
  hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status")
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || true
  echo "$(((t1 - t0) / 1000000)) $rss $hwm"
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

bare_t=(); bare_rss=(); bare_hwm=(); app_t=(); app_rss=(); app_hwm=(); label_t=(); label_rss=()
for _ in $(seq "$runs"); do
  read -r t rss hwm < <(measure_start bare-qt-window ./build/release/tests/bench/bare_qt_window)
  bare_t+=("$t"); bare_rss+=("$rss"); bare_hwm+=("$hwm")
  read -r t rss hwm < <(measure_start bare-qt-window \
    ./build/release/tests/bench/bare_qt_window --chinese-label)
  label_t+=("$t"); label_rss+=("$rss")
  read -r t rss hwm < <(measure_start KESMO ./build/release/src/app/rtceval)
  app_t+=("$t"); app_rss+=("$rss"); app_hwm+=("$hwm")
done

m() { printf '%s\n' "$@" | median; }
mbt=$(m "${bare_t[@]}"); mat=$(m "${app_t[@]}")
mbr=$(m "${bare_rss[@]}"); mar=$(m "${app_rss[@]}")
mbh=$(m "${bare_hwm[@]}"); mah=$(m "${app_hwm[@]}")
echo "time to window, bare Qt window: median ${mbt} ms over ${runs} starts (${bare_t[*]})"
echo "time to window, bare window with one Chinese label: median $(m "${label_t[@]}") ms," \
  "VmRSS $(m "${label_rss[@]}") kB (for reference: the cost of any Chinese text)"
echo "time to window, rtceval:        median ${mat} ms over ${runs} starts (${app_t[*]})"
echo "VmRSS, bare Qt window: median ${mbr} kB; rtceval: median ${mar} kB"
echo "VmHWM, bare Qt window: median ${mbh} kB; rtceval: median ${mah} kB"
awk -v a="$mat" -v b="$mbt" 'BEGIN {printf "ratio rtceval / bare, time:  %.2f (goal 1.20 at most)\n", a / b}'
awk -v a="$mar" -v b="$mbr" 'BEGIN {printf "ratio rtceval / bare, VmRSS: %.2f (goal 1.30 at most)\n", a / b}'
awk -v a="$mah" -v b="$mbh" 'BEGIN {printf "ratio rtceval / bare, VmHWM: %.2f (goal 1.30 at most)\n", a / b}'
