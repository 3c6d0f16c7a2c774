#!/usr/bin/env bash
# Runs a command with an X server (Xvfb) and a wine server of its own; both
# end with the command, so nothing outlives a test. The screen is 1280×1024.
# --dpi sets the prefix's DPI first (and tells the command through
# VELNORKA_TEST_DPI); a prefix keeps the DPI it was last given.
# usage: with-display.sh [--dpi N] WINEPREFIX SECONDS COMMAND [ARGS...]
set -uo pipefail
dpi=
if [[ ${1:-} == --dpi ]]; then
  dpi=$2
  shift 2
fi
export WINEPREFIX=$1
seconds=$2
shift 2
wineserver=/usr/lib/wine/wineserver
mkdir -p "$(dirname "$WINEPREFIX")"

work=$(mktemp -d)
# Xvfb chooses a free display itself and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
cleanup() {
  [[ -d $WINEPREFIX ]] && "$wineserver" -k 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do
  [[ -s $work/display ]] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.1
done
if [[ ! -s $work/display ]]; then
  echo "Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=:$(head -n1 "$work/display")

# A wine server left from an earlier run would still serve another display.
[[ -d $WINEPREFIX ]] && "$wineserver" -k 2>/dev/null
if [[ -n $dpi ]]; then
  "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-run" reg add 'HKCU\Control Panel\Desktop' \
    /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null || exit 1
  export VELNORKA_TEST_DPI=$dpi
fi
timeout --kill-after=10 "$seconds" "$@"
