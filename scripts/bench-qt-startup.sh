#!/bin/bash
# Speed of the Linux program (a measurement, not a test):
#  1. start to window shown, velnorka against a bare Qt window program built
#     in the same run (target: at most 1.3 times the bare program);
#  2. OK in the last prompt to Text1 painted with 200 exercises
#     (target: at most 50 ms).
# Both run on a private Xvfb. usage: scripts/bench-qt-startup.sh [runs]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
build=$root/build/linux
cmake --preset linux >/dev/null || exit 1
cmake --build "$build" --target velnorka velnorka_bare_window velnorka_fill_bench >/dev/null || exit 1
velnorka=$build/platform/qt/velnorka
bare=$build/platform/qt/velnorka_bare_window
fill=$build/platform/qt/velnorka_fill_bench

# shellcheck source=../tests/qt/xsession.sh
source "$root/tests/qt/xsession.sh"
xs_start_xvfb
export LANG=C.UTF-8

# Milliseconds from the launch to the window's first paint.
startup_ms() {
    local log=$xs_tmp/startup.log start pid shown i
    : >"$log"
    start=$(date +%s%N)
    VELNORKA_TIMING=1 "$1" 2>"$log" &
    pid=$!
    shown=
    for i in $(seq 1000); do
        shown=$(sed -n 's/^shown-at-ns //p' "$log")
        [ -n "$shown" ] && break
        sleep 0.01
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    [ -n "$shown" ] || xs_fail "$1 showed no window within 10 s"
    awk -v shown="$shown" -v start="$start" 'BEGIN { printf "%.2f\n", (shown - start) / 1e6 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

startup_ms "$bare" >/dev/null  # warm the caches
startup_ms "$velnorka" >/dev/null
: >"$xs_tmp/bare" && : >"$xs_tmp/velnorka"
for _ in $(seq "$runs"); do  # interleaved, so that drift hits both alike
    startup_ms "$bare" >>"$xs_tmp/bare"
    startup_ms "$velnorka" >>"$xs_tmp/velnorka"
done
bare_ms=$(median <"$xs_tmp/bare")
velnorka_ms=$(median <"$xs_tmp/velnorka")
ratio=$(awk -v v="$velnorka_ms" -v b="$bare_ms" 'BEGIN { printf "%.2f", v / b }')
echo "start-up, median of $runs: bare Qt window $bare_ms ms, velnorka $velnorka_ms ms, ratio $ratio (target <= 1.3)"

timeout 120 "$fill" "$runs" >"$xs_tmp/fill" 2>"$xs_tmp/fill.log" ||
    xs_fail "the fill measurement failed: $(cat "$xs_tmp/fill.log")"
fill_median=$(median <"$xs_tmp/fill")
fill_max=$(sort -n "$xs_tmp/fill" | tail -n 1)
echo "OK to filled box, 200 exercises, $runs runs: median $fill_median ms, max $fill_max ms (target <= 50)"
