#!/usr/bin/env bash
# Validates the desktop entry and the AppStream metainfo, builds the Debian package from a
# build folder (default build/ci) and checks that it holds the program, the documents, the desktop
# integration files, a manual page for every program, the bash completions, the Debian changelog
# and copyright, the right dependencies, stripped programs and register references whose text a
# PDF reader can search; then lintian, Debian's package checker, must report no error and no
# warning. The test command runs it on its sanitizer build: the install rules, the libraries the
# programs need and the stripping are those of any build type (such a package also depends on the
# sanitizers' runtimes).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/ci}"
id=io.github.rtceval.Rtceval

desktop-file-validate "packaging/$id.desktop"
appstreamcli validate --no-net "packaging/$id.metainfo.xml"

cmake --build "$build" --target rtceval rtceval-board rtceval-cli rtceval_docs rtceval_manual_pages \
    rtceval_changelog >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls -t "$build"/rtceval_*.deb | head -n1)"
listing="$(dpkg-deb -c "$deb" | awk '{print $NF}')"
missing=0
for f in ./usr/bin/rtceval ./usr/bin/rtceval-board ./usr/bin/rtceval-cli \
    ./usr/share/rtceval/UM.txt ./usr/share/rtceval/IIC.txt ./usr/share/rtceval/AN.txt \
    ./usr/share/rtceval/docs/index.html \
    ./usr/share/rtceval/docs/X1226.pdf ./usr/share/rtceval/docs/X1227.pdf \
    ./usr/share/rtceval/docs/X1228.pdf ./usr/share/rtceval/docs/X1205.pdf \
    ./usr/share/rtceval/docs/X1208.pdf ./usr/share/rtceval/docs/X1209.pdf \
    ./usr/share/rtceval/docs/X1226.html ./usr/share/rtceval/docs/X1209.html \
    "./usr/share/applications/$id.desktop" "./usr/share/metainfo/$id.metainfo.xml" \
    "./usr/share/icons/hicolor/scalable/apps/$id.svg" \
    "./usr/share/icons/hicolor/48x48/apps/$id.png" \
    "./usr/share/icons/hicolor/256x256/apps/$id.png" \
    ./usr/share/doc/rtceval/changelog.gz ./usr/share/doc/rtceval/copyright; do
  grep -qxF "$f" <<<"$listing" || { echo "package lacks $f" >&2; missing=1; }
done
# Every program has its manual page; every completion file in packaging/ is installed.
for program in $(sed -n 's|^\./usr/bin/||p' <<<"$listing"); do
  f="./usr/share/man/man1/$program.1.gz"
  grep -qxF "$f" <<<"$listing" || { echo "package lacks $f" >&2; missing=1; }
done
for completion in packaging/bash-completion/*; do
  [ -e "$completion" ] || continue
  f="./usr/share/bash-completion/completions/$(basename "$completion")"
  grep -qxF "$f" <<<"$listing" || { echo "package lacks $f" >&2; missing=1; }
done
depends="$(dpkg-deb -f "$deb" Depends)"
for d in libqt6widgets6 libqt6serialport6 libqt6charts6 qt6-qpa-plugins qt6-translations-l10n \
    fonts-noto-cjk; do
  grep -q "$d" <<<"$depends" || { echo "package does not depend on $d" >&2; missing=1; }
done
# The programs are shipped stripped, without debugging information.
unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
for program in rtceval rtceval-board rtceval-cli; do
  sections="$(readelf -S "$unpacked/usr/bin/$program")"
  if grep -q '\.debug_' <<<"$sections"; then
    echo "package holds $program with debugging information" >&2; missing=1
  fi
done
# Each register reference is searchable: its text layer names its model, digits and all (the
# build's test register_references_are_searchable checks every register of a fresh rendering).
for model in X1226 X1227 X1228 X1205 X1208 X1209; do
  pdf="$unpacked/usr/share/rtceval/docs/$model.pdf"
  [ -f "$pdf" ] || continue
  if ! pdftotext "$pdf" - | grep -qF "${model}寄存器说明"; then
    echo "package holds $model.pdf whose text does not name $model" >&2; missing=1
  fi
done
# Debian's checker: any error or warning fails (its informational notes are not shown). No tag is
# overridden: the sanitizer build's package, with its runtimes among the dependencies, is clean.
lintian --fail-on error,warning "$deb" >&2 || { echo "lintian does not accept $deb" >&2; missing=1; }
[ "$missing" = 0 ]
echo "package ok: $deb"
