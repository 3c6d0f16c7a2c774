#!/usr/bin/env bash
# Takes docs/velnorka-windows-setup.png: the first page of the setup program
# (make dist) under wine on a virtual display, cropped to its window. Needs a
# machine that runs 32-bit code, Xvfb, xdotool and ImageMagick.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
version=$(sed -n 's/^project(velnorka VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
setup=${1:-$root/dist/velnorka-$version-setup.exe}
output=${2:-$root/docs/velnorka-windows-setup.png}
[[ -f $setup ]] || { echo "missing $setup: make dist first" >&2; exit 1; }
"$root/scripts/host-runs-32bit" || { echo "the setup program is 32-bit: this machine cannot run it" >&2; exit 1; }
mkdir -p "$(dirname "$output")"

shoot() {
  set -euo pipefail
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe,winemenubuilder.exe=d"
  "$root/scripts/wine-run" "$setup" >/dev/null 2>&1 &
  local window
  window=$(timeout 120 xdotool search --sync --onlyvisible --name 'Velnorka' | head -n1)
  # The page draws its text and the licence after the window shows.
  sleep 3
  xdotool mousemove 0 0
  import -window "$window" "$output"
  # The wine server ends with the display, and the setup with it.
}
export -f shoot
export root setup output
prefix=$root/build/wineprefix-screenshot-setup
rm -rf "$prefix"
"$root/tests/win32/with-display.sh" "$prefix" 300 bash -c shoot
# Metadata without dates, so that the file changes only with the picture.
mogrify -strip "$output"
echo "wrote $output"
