#!/usr/bin/env bash
# Start-up of the Windows program (a measurement, not a test): launch to
# window shown (mapped on the X display), velnorka.exe against a bare Win32
# window program built in the same run, both under the same wine, runs
# interleaved, medians and their ratio (target: at most 1.2).
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
cmake --build "$build" --target velnorka velnorka_bare_window >/dev/null
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
  "$watcher" >"$work/maps" &
  until grep -q ready "$work/maps"; do sleep 0.01; done

  # Milliseconds from the launch to the window named $2 mapped.
  startup_ms() {
    local program=$1 title=$2 seen start pid shown=
    seen=$(wc -l <"$work/maps")
    start=$(date +%s%N)
    "$emulator" "$program" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 3000); do
      shown=$(tail -n +$((seen + 1)) "$work/maps" | awk -v t="$title" '$0 ~ " " t "$" { print $1; exit }')
      [[ -n $shown ]] && break
      sleep 0.01
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null || true
    [[ -n $shown ]] || { echo "$program showed no window within 30 s" >&2; return 1; }
    awk -v shown="$shown" -v start="$start" 'BEGIN { printf "%.1f\n", (shown - start) / 1e6 }'
  }
  median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

  local bare=$build/platform/win32/velnorka_bare_window.exe velnorka=$build/platform/win32/velnorka.exe
  startup_ms "$bare" "Bare window" >/dev/null
  startup_ms "$velnorka" Velnorka >/dev/null
  : >"$work/bare"
  : >"$work/velnorka"
  for _ in $(seq "$runs"); do  # interleaved, so that drift hits both alike
    startup_ms "$bare" "Bare window" >>"$work/bare"
    startup_ms "$velnorka" Velnorka >>"$work/velnorka"
  done
  local bare_ms velnorka_ms
  bare_ms=$(median <"$work/bare")
  velnorka_ms=$(median <"$work/velnorka")
  echo "start-up under wine ($preset), median of $runs: bare Win32 window $bare_ms ms, velnorka.exe $velnorka_ms ms," \
       "ratio $(awk -v v="$velnorka_ms" -v b="$bare_ms" 'BEGIN { printf "%.2f", v / b }') (target <= 1.2)"
}
export -f measure
export root build watcher runs preset bits
"$root/tests/win32/with-display.sh" "$build/wineprefix-bench" 900 bash -c measure
