#!/usr/bin/env bash
# Measures the Windows setup program (a script, not a test): its size
# against the zip's (target: at most 1.3 times), and the time a silent
# install (setup.exe /S) takes under wine, as the median of RUNS installs
# into a new prefix, each undone before the next. Needs make dist first, and
# a machine that runs 32-bit code.
# usage: bench-windows-setup.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-7}
version=$(sed -n 's/^project(velnorka VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
setup=$root/dist/velnorka-$version-setup.exe
zip=$root/dist/velnorka-$version-windows-x86.zip
for file in "$setup" "$zip"; do
  [[ -f $file ]] || { echo "missing $file: make dist first" >&2; exit 1; }
done
setup_size=$(stat -c %s "$setup")
zip_size=$(stat -c %s "$zip")
echo "setup: $setup_size bytes, zip: $zip_size bytes, ratio $(python3 -c "print(f'{$setup_size / $zip_size:.2f}')") (target: at most 1.30)"
"$root/scripts/host-runs-32bit" || { echo "This machine cannot run 32-bit code: no install time."; exit 0; }

measure() {
  set -euo pipefail
  local wine=$root/scripts/wine-run uninstaller times=()
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe,winemenubuilder.exe=d"
  # One server for all the runs: the installs, not wine's start, are timed.
  "$wine" --serve 32
  uninstaller=$("$wine" winepath.exe -u 'C:\Velnorka\odinstalovat.exe' | tr -d '\r')
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$wine" "$setup" /S '/D=C:\Velnorka'
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
    "$wine" "$uninstaller" /S '_?=C:\Velnorka'
    # Its file and folder go a few seconds after it has ended.
    while [[ -e ${uninstaller%/*} ]]; do sleep 0.2; done
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END {
    printf "silent install: median of %d: %d ms (fastest %d ms, slowest %d ms)\n", NR, t[int((NR + 1) / 2)], t[1], t[NR] }'
}
export -f measure
export root setup runs
prefix=$root/build/wineprefix-bench-setup
rm -rf "$prefix"
"$root/tests/win32/with-display.sh" "$prefix" 900 bash -c measure
