#!/bin/bash
# The real rtceval-cli against rtceval-board on a pseudo-terminal, one board for every step: the
# clock set and read back, an alarm seen firing by watch, a snapshot compared before and after an
# EEPROM byte changes, and a second program refused the port the first one holds.
#   check_cli_on_board.sh <rtceval-cli> <rtceval-board>
set -u
cli=$1
board=$2
dir=$(mktemp -d)
export XDG_STATE_HOME=$dir
board_pid=
watch_pid=
cleanup() {
  [ -n "$watch_pid" ] && kill -INT "$watch_pid" 2>/dev/null
  [ -n "$board_pid" ] && kill "$board_pid" 2>/dev/null
  wait
  rm -rf "$dir"
}
trap cleanup EXIT
trap "exit 1" INT TERM
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Runs rtceval-cli on the board (at most 10 s); its output in $out, its exit status in $rc.
rtc() {
  out=$(timeout 10 "$cli" --port "$dir/rtc" --model X1226 "$@" 2>"$dir/err")
  rc=$?
}
expect() { # expect STATUS WHAT: the last run ended with STATUS
  [ "$rc" -eq "$1" ] || fail "$2: exit status $rc, not $1; output '$out', errors '$(cat "$dir/err")'"
}
# Holds the last run's JSON to a Python expression on it (`j` the last line, `lines` all of them).
json() {
  python3 -c 'import json, sys
lines = [json.loads(l) for l in sys.argv[1].splitlines()]
j = lines[-1]
sys.exit(0 if eval("(" + sys.argv[2] + ")") else 1)' "$out" "$1" ||
    fail "'$1' does not hold for '$out'"
}

"$board" --model X1226 --link "$dir/rtc" >"$dir/board.out" 2>&1 </dev/null &
board_pid=$!
for _ in $(seq 100); do
  [ -e "$dir/rtc" ] && break
  sleep 0.1
done
[ -e "$dir/rtc" ] || fail "rtceval-board made no terminal: $(cat "$dir/board.out")"

# The clock set two seconds before a minute turns, and read back as it runs on.
rtc time set '2031-03-04 05:06:58'
expect 0 "time set"
rtc --json time
expect 0 "time"
json 'j["hour_format"] == 24 and j["weekday"] == 2 and
      "2031-03-04 05:06:58" <= j["time"] <= "2031-03-04 05:07:03"'

# An alarm at 05:07:00 with only its second, minute and hour taking part; the clock is set back
# to 05:06:58 just before the watch so that it starts before the alarm however slow the runs.
rtc --json alarm set 0 --second 0 --minute 7 --hour 5
expect 0 "alarm set"
json 'j["alarm"] == 0 and j["fields"] == {"second": 0, "minute": 7, "hour": 5,
                                          "date": None, "month": None, "weekday": None}'
rtc time set '2031-03-04 05:06:58'
expect 0 "time set before the watch"
start=$SECONDS
rtc --json watch --count 1
expect 0 "watch until the alarm"
[ $((SECONDS - start)) -le 6 ] || fail "the alarm took $((SECONDS - start)) s to show"
json 'len(lines) == 2 and lines[0]["alarm0"] == 0 and j["alarm0"] == 1 and
      "2031-03-04 05:07:00" <= j["time"] <= "2031-03-04 05:07:02"'

# A snapshot matches the chip it was taken from until one EEPROM byte changes.
rtc eeprom write 10 5a
expect 0 "eeprom write"
rtc --json snapshot save "$dir/chip.snapshot"
expect 0 "snapshot save"
rtc --json snapshot compare "$dir/chip.snapshot"
expect 0 "snapshot compare on the same chip"
json 'j["same"] is True and j["eeprom"] == [] and j["registers"] == []'
rtc eeprom write 0x10 a5
expect 0 "eeprom write of a changed byte"
rtc --json snapshot compare "$dir/chip.snapshot"
expect 4 "snapshot compare after the change"
json 'j["same"] is False and j["eeprom"] == [{"address": 16, "file": 90, "chip": 165}]'

# A second program is refused the port while a watch holds it.
"$cli" --port "$dir/rtc" --model X1226 --json watch >"$dir/watch.out" 2>&1 &
watch_pid=$!
for _ in $(seq 100); do
  [ -s "$dir/watch.out" ] && break
  sleep 0.1
done
grep -q '"alarm0":' "$dir/watch.out" || fail "the watch printed no line: $(cat "$dir/watch.out")"
rtc time
expect 3 "time on a port in use"
grep -q "device is busy (in use by another program)" "$dir/err" ||
  fail "no busy message: $(cat "$dir/err")"
kill -INT "$watch_pid"
timeout 10 tail --pid="$watch_pid" -f /dev/null || fail "the watch did not end on Ctrl+C"
wait "$watch_pid"
rc=$?
watch_pid=
expect 130 "watch stopped by Ctrl+C"
echo "rtceval-cli on rtceval-board: all steps passed"
