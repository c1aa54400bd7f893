#!/usr/bin/env bash
# Installs what building, running and testing rtceval needs, from Debian 12's packages.
# Run as root (or through sudo). Safe to run again: packages already present are kept. Without
# the packages merely recommended (desktop services, GTK, fonts for X clients, ...) a fresh
# system fetches about a third less; llvm-14 is named for llvm-symbolizer, which puts file and
# line into a fuzz target's crash report, and for llvm-cov; poppler-utils for pdftotext, which
# reads the register references' text back in the tests; CLI11 parses rtceval-cli's command line;
# help2man makes the manual pages from the programs' --help; lintian checks the Debian package.
# With --desktop-tools it adds what the scripts that drive the program on a virtual display use
# (xdotool, ImageMagick's import, xdpyinfo); building and testing do not need them.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev qt6-charts-dev qt6-translations-l10n libgl-dev libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev clang clang-format clang-tidy
  libclang-rt-14-dev llvm-14
  fonts-noto-cjk fonts-liberation
  xvfb xauth
  desktop-file-utils appstream dpkg-dev poppler-utils help2man lintian
)
if [ "${1:-}" = "--desktop-tools" ]; then
  packages+=(xdotool x11-utils imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  # A package's files are written without syncing each one to the disk: an install cut short is
  # run again, and on a fresh machine it is the larger part of the time.
  $SUDO apt-get install -y -qq --no-install-recommends -o Dpkg::Options::=--force-unsafe-io \
    "${missing[@]}" >/dev/null
fi
