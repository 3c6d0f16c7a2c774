#!/usr/bin/env bash
# The Windows release as a teacher gets it: the zip, unpacked into a new
# folder, holds the two stripped programs, the Czech text for teachers and
# the licence; from that folder the programs start under wine: the
# command-line tool prints a sheet, and the window program is driven through
# one sheet (Generuj 10/5, Kopíruj, the clipboard checked line by line).
# usage: zip_test.sh ZIP PROBE_EXE
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
zip=$(realpath "$1")
probe=$(realpath "$2")
version=$(basename "$zip" -windows-x86.zip)
version=${version#velnorka-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A folder name with Czech letters and a blank, as on a teacher's computer.
folder="$work/Stažené soubory/velnorka"
mkdir -p "$folder"
unzip -q "$zip" -d "$folder"
expected=$'LICENSE.txt\nvelnorka-cli.exe\nvelnorka.exe\nČTIMNE.txt'
[[ $(ls "$folder" | LC_ALL=C sort) == "$expected" ]] || fail "the zip holds: $(ls "$folder")"
for program in velnorka.exe velnorka-cli.exe; do
  ! i686-w64-mingw32-objdump -h "$folder/$program" | grep -q '\.debug' || fail "$program is not stripped"
done
# Notepad of every Windows version shows the Czech letters of a text with a
# byte order mark and CR LF line ends.
for text in ČTIMNE.txt LICENSE.txt; do
  [[ $(head -c3 "$folder/$text" | od -An -tx1 | tr -d ' ') == efbbbf ]] || fail "$text has no byte order mark"
  ! grep -qv $'\r$' "$folder/$text" || fail "$text has lines without CR LF"
done
for wanted in "Velnorka $version" "velnorka.exe" "Přesto spustit" "Ctrl+V" "Times New Roman"; do
  grep -Fq "$wanted" "$folder/ČTIMNE.txt" || fail "ČTIMNE.txt does not mention \"$wanted\""
done
grep -q "MIT License" "$folder/LICENSE.txt" || fail "LICENSE.txt is not the licence"

if ! why=$("$root/scripts/host-runs-32bit" --why); then
  echo "This machine cannot run 32-bit Wine ($why): the unpacked programs were checked, not started."
  "$root/scripts/test-summary" add "Windows zip: the unpacked programs were checked, not started ($why)"
  exit 0
fi

# Both programs under one display and wine server.
drive() {
  set -euo pipefail
  local emulator=$root/scripts/wine-run
  # Wine reads the folder's name in the locale's character set.
  export LC_ALL=C.UTF-8
  "$emulator" "$folder/velnorka-cli.exe" --version >"$work/version.txt"
  [[ $(tr -d '\r' <"$work/version.txt") == "velnorka-cli $version" ]] ||
    { echo "FAIL: velnorka-cli.exe --version says: $(cat "$work/version.txt")" >&2; return 1; }
  # Czech regional settings, as on a teacher's computer: a decimal comma.
  "$emulator" reg add 'HKCU\Control Panel\International' /v sDecimal /d , /f >/dev/null
  "$emulator" reg add 'HKCU\Control Panel\International' /v sThousand /d ' ' /f >/dev/null
  "$emulator" "$folder/velnorka-cli.exe" --mode 3 --count 20 --group 5 --seed 7 >"$work/cli.txt"
  python3 "$root/tests/check_sheet.py" --mode 3 --count 20 --group 5 --decimal , "$work/cli.txt"
  bash "$root/tests/win32/end_to_end.sh" "$emulator" "$folder/velnorka.exe" "$probe" \
    "$root/tests/check_sheet.py" short
}
export -f drive
export root folder probe version work
bash "$root/tests/win32/with-display.sh" "$root/build/windows/wineprefix-gui" 240 bash -c drive
echo "OK: the zip unpacks and its programs run"
