#!/bin/bash
# Takes the screenshot of the Linux program: velnorka on a private
# Xvfb with a generated sheet, cropped to the window.
# usage: scripts/screenshot-linux.sh [path/to/velnorka] [output.png]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
app=${1:-$root/build/linux/platform/qt/velnorka}
out=${2:-$root/docs/velnorka-linux.png}
if [ ! -x "$app" ]; then
    echo "$app is missing: cmake --preset linux && cmake --build --preset linux" >&2
    exit 1
fi
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (see scripts/debian-packages.txt)" >&2; exit 1; }
done
# shellcheck source=../tests/qt/xsession.sh
source "$root/tests/qt/xsession.sh"

xs_start_xvfb
xs_start_app LANG=C.UTF-8 LC_NUMERIC=cs_CZ.UTF-8 "$app"
xs_click Option3
xs_click Command1
xs_answer 12
xs_answer 4
xs_click Text1  # the caret in the sheet, as after reading it through
sleep 0.5       # let the window repaint before the capture

eval "$(timeout 5 xdotool getwindowgeometry --shell "$xs_main")"
mkdir -p "$(dirname "$out")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "$out" || xs_fail "import failed"
echo "wrote $out (${WIDTH}x$HEIGHT)"
