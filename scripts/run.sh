#!/usr/bin/env bash
# Builds rtceval and starts it. Where no serial adapter is attached, the program runs on its
# built-in virtual evaluation board (an X1226 on serial port 1). Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" --target rtceval rtceval-board

args=("$@")
if [ ${#args[@]} -eq 0 ] && ! ls /dev/ttyUSB* /dev/ttyACM* >/dev/null 2>&1; then
  echo "rtceval: no serial adapter found, starting on the virtual evaluation board (X1226)" >&2
  args=(--simulate X1226)
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "rtceval: no display; starting a virtual one (Xvfb)" >&2
  exec xvfb-run -a -s "-screen 0 1024x768x24" ./build/release/src/app/rtceval "${args[@]}"
fi
exec ./build/release/src/app/rtceval "${args[@]}"
