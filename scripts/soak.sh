#!/usr/bin/env bash
# Long run: the program against the virtual board (X1208) for MINUTES (default 60) under Xvfb,
# with every tool window open, the accuracy measurement running, a sub-form open and the main
# window's monitors ticked, while the board cycles through its line faults. Samples the
# program's memory and processor time every minute, then stops it with SIGTERM and prints the
# figures, the requests sent against the replies received (from --trace) and any sanitizer
# report (a build with the sanitizers, such as build/ci, checks for leaks on that exit).
#   scripts/soak.sh [MINUTES] [BUILD_DIR]     (without BUILD_DIR: builds the release preset)
# Everything it writes goes to one folder (SOAK_OUT, or a new one under /tmp), named at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/with_xvfb.sh

minutes=${1:-60}
build=${2:-}
if [ -z "$build" ]; then
  ./scripts/install-deps.sh --desktop-tools
  cmake --preset release >/dev/null
  cmake --build --preset release --target rtceval rtceval-board >/dev/null
  build=build/release
fi
app_bin=$build/src/app/rtceval
board_bin=$build/sim/rtceval-board
if [ ! -x "$app_bin" ] || [ ! -x "$board_bin" ]; then echo "no $app_bin or $board_bin" >&2; exit 2; fi
out=${SOAK_OUT:-$(mktemp -d /tmp/rtceval-soak.XXXXXX)}
mkdir -p "$out"
out=$(cd "$out" && pwd)
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/view/x11_leaks.supp}
log() { echo "$(date +%T) $*" | tee -a "$out/soak.log"; }

app='' board='' faults=''
cleanup() {
  for p in $faults $app $board; do kill "$p" 2>/dev/null || true; done
  kill "${XVFB_PID:-}" 2>/dev/null || true
}
start_xvfb 1680x1280x24
trap cleanup EXIT

# The board, its commands read from a FIFO that this script holds open on descriptor 3.
mkfifo "$out/board.in"
"$board_bin" --model X1208 --link "$out/link" <"$out/board.in" >"$out/board.out" 2>&1 &
board=$!
exec 3>"$out/board.in"
for _ in $(seq 100); do [ -e "$out/link" ] && break; sleep 0.1; done
[ -e "$out/link" ] || { echo "the virtual board made no link" >&2; exit 1; }

# Its commands in turn, one every 25 s: a line fault lasts until the `fault off` after it.
fault_cycle=('fault drop' 'fault off' 'event' 'fault corrupt' 'fault off' 'battery on'
  'fault split 1' 'fault split 3' 'fault off' 'battery off' 'fault stall' 'fault off'
  'powerfail' 'fault split 7' 'fault off')
(
  while :; do
    for c in "${fault_cycle[@]}"; do
      sleep 25
      echo "$c" >&3
      echo "$(date +%T) $c" >>"$out/faults.log"
    done
  done
) &
faults=$!

"$app_bin" --port "1=$out/link" --trace 2>"$out/trace.log" >"$out/app.out" &
app=$!
started=$(date +%s)
log "program $app, board $board, output in $out"

# Driving the windows: focus one (there is no window manager) and type into it.
window() { timeout 60 xdotool search --sync --onlyvisible --name "$1" | head -n 1 || true; }
keys() {
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  sleep 0.3
  shift
  xdotool key --delay 150 "$@"
  sleep 1
}
main=$(window '^KESMO')
for _ in $(seq 300); do grep -q '评估板应答' "$out/trace.log" && break; sleep 0.1; done
keys "$main" alt+d Down Down Down Down Return # 器件 → X1208
keys "$main" alt+t Return                     # 工具 → 通信监视
keys "$main" alt+t Down Return                # 工具 → 走时精度测量
keys "$main" alt+t Down Down Return           # 工具 → 寄存器快照
monitor=$(window '^通信监视$') accuracy=$(window '^走时精度测量$') snapshot=$(window '^寄存器快照$')
keys "$accuracy" alt+s # 开始(&S)
keys "$main" alt+f Return # 功能 → its first sub-form
# Nothing inside the main window has had the focus yet, so Tab reaches its first two
# focusable controls: 自动读时间 and 自动监测报警或事件.
keys "$main" Tab space Tab space
# No window manager places them: side by side, for the screenshot.
place() { if [ -n "$1" ]; then xdotool windowmove "$1" "$2" "$3" || true; fi; }
place "$main" 0 0 && place "$monitor" 600 0 && place "$accuracy" 0 470 && place "$snapshot" 600 540
sleep 3
import -window root "$out/windows.png"
log "windows: main $main, monitor $monitor, accuracy $accuracy, snapshot $snapshot"

# A question on a time-out ("出错") or a notice from the program ("rtceval") is answered as a
# user who keeps the run going would: Escape (No).
dismiss_boxes() {
  local w
  for w in $(xdotool search --onlyvisible --name '^(出错|rtceval)$' 2>/dev/null); do
    log "dismissed: $(xdotool getwindowname "$w" 2>/dev/null)"
    keys "$w" Escape
  done
}

tick=$(getconf CLK_TCK)
sample() {
  local rss stat cpu
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$app/status")
  stat=$(cat "/proc/$app/stat")
  stat=${stat##*) }                                            # the fields after the name
  cpu=$(awk -v t="$tick" '{printf "%.2f", ($12 + $13) / t}' <<<"$stat") # utime, stime
  echo "$(($(date +%s) - started)) $rss $cpu" >>"$out/samples.txt"
  log "rss ${rss} kB, cpu ${cpu} s"
}

sample
end=$((started + minutes * 60)) next=$((started + 60))
while [ "$(date +%s)" -lt "$end" ]; do
  kill -0 "$app" 2>/dev/null || break
  dismiss_boxes
  sleep 5
  now=$(date +%s)
  if [ "$now" -ge "$next" ] && [ "$now" -lt $((end - 10)) ]; then sample; next=$((next + 60)); fi
done
if kill -0 "$app" 2>/dev/null; then
  sample
  log "SIGTERM"
  kill -TERM "$app"
fi
set +e
for _ in $(seq 600); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
  log "the program did not end within 60 s of SIGTERM: killed"
  kill -KILL "$app"
fi
wait "$app"
code=$?
set -e
app=''
duration=$(($(date +%s) - started))

# The figures.
sent=$(grep -Ec '^[0-9:.]{12} >' "$out/trace.log" || true)
received=$(grep -Ec '^[0-9:.]{12} <' "$out/trace.log" || true)
stray=$(grep -Ec '^[0-9:.]{12} <.*未成帧的字节' "$out/trace.log" || true)
echo
echo "soak of $build for $minutes min (output: $out)"
echo "duration: ${duration} s"
awk -v d="$duration" 'NR == 1 {first = $2} {if ($2 > max) max = $2; last = $2; cpu = $3}
  END {printf "RSS: first %d kB, max %d kB, last %d kB\n", first, max, last
       printf "CPU: %.1f s, %.1f %% of one core\n", cpu, d ? 100 * cpu / d : 0}' "$out/samples.txt"
echo "requests sent: $sent, replies received: $((received - stray)), runs of stray bytes: $stray"
echo "faults injected: $(wc -l <"$out/faults.log" 2>/dev/null || echo 0)," \
  "message boxes answered: $(grep -c 'dismissed:' "$out/soak.log" || true)"
echo "exit code: $code"
if grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$out/trace.log"; then
  echo "sanitizer report:"
  grep -E -A 40 'ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY:' "$out/trace.log" | head -n 120
  exit 1
fi
echo "sanitizer report: none"
[ "$code" -eq 0 ]
