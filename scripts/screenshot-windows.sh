#!/usr/bin/env bash
# Takes docs/velnorka-windows.png: velnorka.exe under wine on a virtual
# display, with a worksheet generated as a user would, cropped to the window.
# Needs the windows64 build (or the windows one where 32-bit code runs),
# Xvfb, xdotool and ImageMagick.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/windows64
if "$root/scripts/host-runs-32bit"; then build=$root/build/windows; fi
program=${1:-$build/platform/win32/velnorka.exe}
probe_exe=$build/tests/win32/velnorka_probe.exe
output=${2:-$root/docs/velnorka-windows.png}
for file in "$program" "$probe_exe"; do
  [[ -f $file ]] || { echo "missing $file: build first (cmake --build --preset windows64)" >&2; exit 1; }
done
mkdir -p "$(dirname "$output")"

# The steps, run on a display and a wine server of their own.
shoot() {
  set -euo pipefail
  local emulator=$root/scripts/wine-run work
  work=$(mktemp -d)
  trap 'rm -rf "$work"' RETURN
  for setting in "sDecimal ," "sThousand  "; do
    "$emulator" reg add 'HKCU\Control Panel\International' /v "${setting%% *}" /d "${setting#* }" /f >/dev/null
  done
  "$emulator" "$program" >/dev/null 2>&1 &
  local window
  window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Velnorka$' | head -n1)
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local border=$(((WIDTH - 584) / 2))
  local left=$((X + border)) top=$((Y + HEIGHT - border - 294))
  # Mix, then Generuj (the design's pixels at 96 DPI), 16 exercises in fours.
  xdotool mousemove --sync $((left + 470)) $((top + 212)) click 1
  xdotool mousemove --sync $((left + 496)) $((top + 24)) click 1
  "$emulator" "$probe_exe" dialog "Z:$work/d.txt" 20 "(max.200)"
  xdotool type --delay 40 16
  xdotool key Return
  "$emulator" "$probe_exe" dialog "Z:$work/d.txt" 20 "kolika"
  xdotool type --delay 40 4
  xdotool key Return
  "$emulator" "$probe_exe" nodialog 20
  # Out of the way of the picture.
  xdotool mousemove 0 0
  "$emulator" "$probe_exe" text "Z:$work/t.txt"
  [[ -s $work/t.txt ]]
  import -window "$window" "$output"
  "$emulator" "$probe_exe" close 20
}
export -f shoot
export root program probe_exe output
"$root/tests/win32/with-display.sh" "$root/build/wineprefix-screenshot" 180 bash -c shoot
# Metadata without dates, so that the file changes only with the picture.
mogrify -strip "$output"
echo "wrote $output"
