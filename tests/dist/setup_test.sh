#!/usr/bin/env bash
# The Windows setup program as a teacher and a school administrator use it,
# in a new wine prefix: a silent install for the current user alone, the
# program started from its Start menu shortcut and driven through one sheet,
# a second install over the first, and the silent uninstall of the
# uninstall entry, which leaves a file the user added. Nothing may land
# outside the user's profile or in HKEY_LOCAL_MACHINE.
# usage: setup_test.sh SETUP_EXE ZIP PROBE_EXE
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
setup=$(realpath "$1")
zip=$(realpath "$2")
probe=$(realpath "$3")
version=$(basename "$setup" -setup.exe)
version=${version#velnorka-}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# What the setup carries, read without running it: the zip's files, byte
# for byte.
unzip -q "$zip" -d "$scratch/zip"
7z x -y -o"$scratch/payload" "$setup" >"$scratch/7z.log" || { cat "$scratch/7z.log" >&2; fail "7z cannot read the setup"; }
for file in velnorka.exe ČTIMNE.txt LICENSE.txt; do
  cmp -s "$scratch/zip/$file" "$scratch/payload/$file" || fail "the setup's $file is not the zip's"
done

if ! "$root/scripts/host-runs-32bit"; then
  echo "This machine cannot run 32-bit code: the setup's contents were checked, not installed."
  exit 0
fi

run() {
  set -euo pipefail
  local wine=$root/scripts/wine-run
  # Wine turns shortcuts into Linux menu entries; not during a test.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe,winemenubuilder.exe=d"
  export LC_ALL=C.UTF-8
  unix_path() { "$wine" winepath.exe -u "$1" | tr -d '\r'; }
  windows_value() { "$wine" cmd.exe /c echo "%$1%" | tr -d '\r'; }
  key='HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velnorka'
  # The entry's values as NAME=VALUE lines, read from an export (reg query
  # would print them in a code page without the Czech letters).
  uninstall_entry() {
    rm -f "$scratch/entry.reg"
    "$wine" regedit.exe /E "Z:$scratch/entry.reg" "$key" >/dev/null 2>&1 || true
    [[ -f $scratch/entry.reg ]] || return 0
    iconv -f UTF-16 -t UTF-8 "$scratch/entry.reg" | tr -d '\r' |
      sed -n -e 's/^"\([^"]*\)"="\(.*\)"$/\1=\2/' -e 's/\\\(.\)/\1/g' -e 's/^"\([^"]*\)"=/\1=/' -e '/^[^[]*=/p'
  }
  value() { awk -v name="$1" 'index($0, name "=") == 1 { print substr($0, length(name) + 2) }' <<<"$entry"; }
  # Everything outside the user's profile, and the machine's software keys,
  # where machine-wide settings and uninstall entries go (the 32-bit view
  # too). Wine keeps the display it finds under HKEY_LOCAL_MACHINE\System.
  machine_state() {
    "$wine" regedit.exe /E "Z:$scratch/$1.reg" 'HKEY_LOCAL_MACHINE\Software'
    (cd "$WINEPREFIX/drive_c" && find . -path ./users -prune -o -print | LC_ALL=C sort) >"$scratch/$1.files"
  }
  unchanged_machine() {
    machine_state after
    diff "$scratch/before.files" "$scratch/after.files" >&2 || fail "$1 wrote outside the user's profile"
    if ! cmp -s "$scratch/before.reg" "$scratch/after.reg"; then
      diff <(iconv -f UTF-16 "$scratch/before.reg") <(iconv -f UTF-16 "$scratch/after.reg") >&2 || true
      fail "$1 wrote into HKEY_LOCAL_MACHINE\\Software"
    fi
  }
  # The uninstaller runs from a copy of itself and returns at once: waits
  # for the copy, with every other program of the prefix, to end.
  uninstall() {
    local program arguments
    program=$(sed -n 's/^"\([^"]*\)".*/\1/p' <<<"$1")
    arguments=$(sed -n 's/^"[^"]*" *//p' <<<"$1")
    [[ -n $program ]] || fail "QuietUninstallString is not a quoted program: $1"
    # shellcheck disable=SC2086
    "$wine" "$(unix_path "$program")" $arguments || fail "$1 failed"
    /usr/lib/wine/wineserver -w
    [[ -z $(uninstall_entry) ]] || fail "the uninstall entry is still there after $1"
  }

  machine_state before
  echo "silent install"
  "$wine" "$setup" /S || fail "setup.exe /S failed"
  folder_windows="$(windows_value LOCALAPPDATA)\\Programs\\Velnorka"
  folder=$(unix_path "$folder_windows")
  cmp -s "$scratch/zip/velnorka.exe" "$folder/velnorka.exe" || fail "the installed velnorka.exe is not the zip's"
  for file in ČTIMNE.txt LICENSE.txt odinstalovat.exe; do
    [[ -f $folder/$file ]] || fail "$file is not in $folder_windows"
  done
  shortcut="$(unix_path "$(windows_value APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs")/Velnorka.lnk"
  [[ -f $shortcut ]] || fail "no Start menu shortcut"
  target=$(python3 "$root/tests/dist/shortcut_target.py" "$shortcut")
  [[ $target == "$folder_windows\\velnorka.exe" ]] || fail "the shortcut points at $target"

  entry=$(uninstall_entry)
  for expected in "DisplayName=Velnorka" "DisplayVersion=$version" "Publisher=Velnorka" \
      "DisplayIcon=$folder_windows\\velnorka.exe" "InstallLocation=$folder_windows" \
      "UninstallString=\"$folder_windows\\odinstalovat.exe\"" \
      "QuietUninstallString=\"$folder_windows\\odinstalovat.exe\" /S" "NoModify=dword:00000001" "NoRepair=dword:00000001"; do
    [[ $(value "${expected%%=*}") == "${expected#*=}" ]] ||
      fail "uninstall entry: ${expected%%=*} is \"$(value "${expected%%=*}")\", not \"${expected#*=}\""
  done
  # The three files and the uninstaller, in KiB.
  size=$((16#$(value EstimatedSize | sed 's/^dword://')))
  ((size > 300 && size < 2000)) || fail "EstimatedSize is $size KiB"
  unchanged_machine "the install"

  echo "the program from its shortcut"
  bash "$root/tests/win32/end_to_end.sh" "$wine" "$(unix_path "$target")" "$probe" "$root/tests/check_sheet.py" short

  echo "a second install over the first, then the silent uninstall"
  echo "moje poznámky" >"$folder/poznámky.txt"
  "$wine" "$setup" /S || fail "the second setup.exe /S failed"
  cmp -s "$scratch/zip/velnorka.exe" "$folder/velnorka.exe" || fail "the second install changed velnorka.exe"
  entry=$(uninstall_entry)
  uninstall "$(value QuietUninstallString)"
  [[ $(ls "$folder") == poznámky.txt ]] || fail "after uninstalling, the folder holds: $(ls "$folder")"
  [[ ! -e $shortcut ]] || fail "the Start menu shortcut is still there"

  echo "into a folder of the administrator's choice (/D), then the silent uninstall"
  rm -r "$folder"
  # No blank in the folder: wine would quote the argument, and /D= must
  # open it (on Windows the blank goes unquoted).
  "$wine" "$setup" /S '/D=C:\Škola\Velnorka' || fail "setup.exe /S /D= failed"
  chosen=$(unix_path 'C:\Škola\Velnorka')
  [[ -f $chosen/velnorka.exe ]] || fail "/D was not followed"
  entry=$(uninstall_entry)
  uninstall "$(value QuietUninstallString)"
  [[ ! -e $chosen ]] || fail "the emptied folder is still there: $(ls "$chosen")"
  [[ ! -e $shortcut ]] || fail "the Start menu shortcut is still there"
  rmdir "$(dirname "$chosen")"
  unchanged_machine "installing and uninstalling"
}
export -f run fail
export root setup probe version scratch
prefix=$root/build/windows/wineprefix-setup
rm -rf "$prefix"
bash "$root/tests/win32/with-display.sh" "$prefix" 600 bash -c run
echo "OK: the setup installs, updates and uninstalls for the user alone"
