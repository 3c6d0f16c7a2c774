#!/bin/bash
# Speed of "Kopíruj" in the Linux program (a measurement, not a test): from
# the click to the clipboard set with text, HTML and RTF, for a 200-exercise
# mix sheet, on a private Xvfb (target: at most 5 ms); and the flavours' sizes.
# usage: scripts/bench-qt-copy.sh [runs]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-50}
build=$root/build/linux
cmake --preset linux >/dev/null || exit 1
cmake --build "$build" --target velnorka_copy_bench >/dev/null || exit 1
copy_bench=$build/platform/qt/velnorka_copy_bench

# shellcheck source=../tests/qt/xsession.sh
source "$root/tests/qt/xsession.sh"
xs_start_xvfb
export LANG=cs_CZ.UTF-8

timeout 120 "$copy_bench" "$runs" >"$xs_tmp/copy" 2>"$xs_tmp/copy.log" ||
    xs_fail "the copy measurement failed: $(cat "$xs_tmp/copy.log")"
grep -v "^sizes" "$xs_tmp/copy" >"$xs_tmp/runs"
echo "first run: $(head -n 1 "$xs_tmp/runs") ms (the first clipboard use of the program)"
sort -n "$xs_tmp/runs" >"$xs_tmp/times"
median=$(awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }' "$xs_tmp/times")
worst=$(tail -n 1 "$xs_tmp/times")
echo "Kopíruj, 200 exercises, $runs runs: median $median ms, worst $worst ms (target <= 5)"
grep '^sizes' "$xs_tmp/copy" | awk '{ print "flavours: text " $3 " bytes, HTML " $5 " bytes, RTF " $7 " bytes" }'
