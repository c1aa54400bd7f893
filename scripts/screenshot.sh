#!/usr/bin/env bash
# Refreshes docs/main_window.png: the main window under Xvfb, on the virtual evaluation board,
# with an X1226 chosen and the time read once.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/with_xvfb.sh

./scripts/install-deps.sh --desktop-tools
cmake --preset release >/dev/null
cmake --build --preset release --target rtceval >/dev/null
start_xvfb

./build/release/src/app/rtceval --simulate X1226 &
app=$!
trap 'kill "$app" 2>/dev/null || true; kill "$XVFB_PID" 2>/dev/null || true' EXIT
win=$(timeout 20 xdotool search --sync --onlyvisible --name "KESMO" | head -n 1)
sleep 1  # the board search finds the virtual board on port 1
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win" || true
# Device menu → X1226, then command menu → read time.
xdotool key --window "$win" alt+d && sleep 0.3 && xdotool key --window "$win" Return && sleep 0.3
xdotool key --window "$win" alt+c && sleep 0.3 && xdotool key --window "$win" Down Return
sleep 0.5
mkdir -p docs
import -window "$win" docs/main_window.png
echo "wrote docs/main_window.png"
