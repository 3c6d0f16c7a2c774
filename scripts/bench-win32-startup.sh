#!/usr/bin/env bash
# Start-up of the Windows program (a measurement, not a test): launch to
# window shown (mapped on the X display), under the same wine, for
# velnorka.exe and two programs built in the same run: a bare Win32 window,
# and the floor, a window like velnorka.exe's with only a text box and a
# button. Runs interleaved; medians, and the medians of the per-round ratios
# (targets: at most 1.2 to the bare window, 1.05 to the floor).
# The 32-bit build where this machine runs 32-bit code, else the 64-bit one.
# usage: scripts/bench-win32-startup.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-15}
preset=windows64
bits=64
if "$root/scripts/host-runs-32bit"; then
  preset=windows
  bits=32
fi
build=$root/build/$preset
cmake --preset "$preset" >/dev/null
cmake --build "$build" --target velnorka velnorka_bare_window velnorka_floor_window >/dev/null
watcher=$build/map-watch
cc -O2 -o "$watcher" "$root/platform/win32/bench/MapWatch.c" -lX11

measure() {
  set -euo pipefail
  local emulator=$root/scripts/wine-run
  work=$(mktemp -d)
  trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
  # One wine server with its system processes already up, as on a running
  # Windows desktop; the first start of each program warms the caches.
  "$emulator" --serve "$bits"
  # The watcher's lines are read as they come: waiting on the pipe costs
  # nothing, where polling would compete with the program for the cores.
  coproc watch { "$watcher" 2>/dev/null; }
  local line
  read -r -u "${watch[0]}" line
  [[ $line == ready ]]

  # Milliseconds from the launch to the window named $2 mapped.
  startup_ms() {
    local program=$1 title=$2 start pid ns name shown=
    start=${EPOCHREALTIME/./}  # microseconds
    "$emulator" "$program" >/dev/null 2>&1 &
    pid=$!
    # Maps of an earlier launch may still be queued.
    while read -r -t 30 -u "${watch[0]}" ns name; do
      if [[ $name == "$title" ]] && ((ns / 1000 >= start)); then
        shown=$ns
        break
      fi
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null || true
    [[ -n $shown ]] || { echo "$program showed no window within 30 s" >&2; return 1; }
    awk -v shown="$shown" -v start="$start" 'BEGIN { printf "%.1f\n", (shown / 1e3 - start) / 1e3 }'
  }
  median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
  column() { awk -v c="$1" '{ print $c }' "$work/rounds"; }
  ratios() { awk -v a="$1" -v b="$2" '{ printf "%.4f\n", $a / $b }' "$work/rounds"; }

  local programs=$build/platform/win32
  # Each program with its window's title, in the columns of the rounds.
  local -a contenders=("velnorka_bare_window.exe:Bare window" "velnorka_floor_window.exe:Floor window"
                       "velnorka.exe:Velnorka")
  local contender round
  for contender in "${contenders[@]}"; do startup_ms "$programs/${contender%%:*}" "${contender#*:}" >/dev/null; done
  : >"$work/rounds"
  for _ in $(seq "$runs"); do  # interleaved, so that drift hits all alike
    round=
    for contender in "${contenders[@]}"; do
      round+="$(startup_ms "$programs/${contender%%:*}" "${contender#*:}") "
    done
    echo "$round" >>"$work/rounds"
  done
  echo "start-up under wine ($preset), medians of $runs rounds:" \
       "bare Win32 window $(column 1 | median) ms, floor $(column 2 | median) ms, velnorka.exe $(column 3 | median) ms"
  echo "velnorka.exe per round: $(ratios 3 1 | median) x the bare window (target <= 1.2)," \
       "$(ratios 3 2 | median) x the floor (target <= 1.05)"
}
export -f measure
export root build watcher runs preset bits
"$root/tests/win32/with-display.sh" "$build/wineprefix-bench" 900 bash -c measure
