#!/usr/bin/env bash
# The Windows setup program as a teacher and a school administrator use it,
# in a new wine prefix: a silent install for the current user alone, the
# program started from its Start menu shortcut and driven through one sheet,
# an update and an uninstall refused while it runs, a second install over
# the first, a move to another folder, which leaves a file the user added,
# and the silent uninstall of the uninstall entry, which removes the folders
# the setup created; a folder holding another program's file and one that
# cannot be written are refused. Nothing may land outside the user's profile
# or in HKEY_LOCAL_MACHINE.
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

if ! why=$("$root/scripts/host-runs-32bit" --why); then
  echo "This machine cannot run 32-bit Wine ($why): the setup's contents were checked, not installed."
  "$root/scripts/test-summary" add "Setup program: its contents were checked, not installed ($why)"
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
  # Everything outside the user's profile, and all of HKEY_LOCAL_MACHINE
  # but the display keys that Wine writes anew whenever its server starts:
  # HKLM\HARDWARE\DEVICEMAP\VIDEO, HKLM\System\CurrentControlSet\Control\Video
  # and its copy under Hardware Profiles\Current (new names each time), and
  # the display adapters' class Control\Class\{4d36e968-...} (the driver's
  # date).
  machine_state() {
    # Read from a server of its own, without the volatile keys (the
    # display's among them) of the programs that ran before.
    /usr/lib/wine/wineserver -w
    "$wine" regedit.exe /E "Z:$scratch/$1.reg" 'HKEY_LOCAL_MACHINE'
    iconv -f UTF-16 "$scratch/$1.reg" | tr -d '\r' | awk -v RS= -v ORS='\n\n' '
      tolower($0) !~ /^\[hkey_local_machine\\(hardware\\devicemap\\video|system\\currentcontrolset\\(hardware profiles\\current\\system\\currentcontrolset\\)?control\\(video|class\\\{4d36e968-e325-11ce-bfc1-08002be10318\}))[\\\]]/' >"$scratch/$1.machine"
    (cd "$WINEPREFIX/drive_c" && find . -path ./users -prune -o -print | LC_ALL=C sort) >"$scratch/$1.files"
  }
  unchanged_machine() {
    machine_state after
    diff "$scratch/before.files" "$scratch/after.files" >&2 || fail "$1 wrote outside the user's profile"
    diff "$scratch/before.machine" "$scratch/after.machine" >&2 || fail "$1 wrote into HKEY_LOCAL_MACHINE"
  }
  # What an update or an uninstall may change: the entry, the shortcut and
  # the installed files.
  install_state() {
    uninstall_entry
    [[ -f $shortcut ]] && python3 "$root/tests/dist/shortcut_target.py" "$shortcut"
    (cd "$folder" && sha1sum -- *)
  }
  # Expects COMMAND to fail and to change nothing.
  refused() {
    local description=$1 before
    shift
    before=$(install_state)
    ! "$@" || fail "$description succeeded"
    [[ $(install_state) == "$before" ]] || fail "$description changed the install"
  }
  # Runs QuietUninstallString: the program, then /S and _?=FOLDER, which
  # may hold blanks. Waits for every program of the prefix to end, the
  # command that deletes the uninstaller once it has ended among them.
  quiet_uninstall() {
    local program folder
    program=$(sed -n 's/^"\([^"]*\)" \/S _?=.*/\1/p' <<<"$1")
    folder=$(sed -n 's/^"[^"]*" \/S _?=//p' <<<"$1")
    [[ -n $program ]] || fail "QuietUninstallString is not a quoted program with /S _?=: $1"
    "$wine" "$(unix_path "$program")" /S "_?=$folder" || return
    /usr/lib/wine/wineserver -w
  }
  uninstall() {
    quiet_uninstall "$1" || fail "$1 failed"
    [[ -z $(uninstall_entry) ]] || fail "the uninstall entry is still there after $1"
  }

  # Wine notes the display at the first start of a program that uses it, in
  # keys that then stay: these are there before.
  "$wine" "$probe" nodialog 0
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
      "UninstallString=\"$folder_windows\\odinstalovat.exe\" _?=$folder_windows" \
      "QuietUninstallString=\"$folder_windows\\odinstalovat.exe\" /S _?=$folder_windows" "NoModify=dword:00000001" "NoRepair=dword:00000001"; do
    [[ $(value "${expected%%=*}") == "${expected#*=}" ]] ||
      fail "uninstall entry: ${expected%%=*} is \"$(value "${expected%%=*}")\", not \"${expected#*=}\""
  done
  # The three files and the uninstaller, in KiB.
  check_size() {
    size=$((16#$(value EstimatedSize | sed 's/^dword://')))
    ((size > 300 && size < 2000)) || fail "EstimatedSize is $size KiB"
  }
  check_size
  unchanged_machine "the install"

  echo "the program from its shortcut"
  bash "$root/tests/win32/end_to_end.sh" "$wine" "$(unix_path "$target")" "$probe" "$root/tests/check_sheet.py" short

  echo "an update and an uninstall while the program runs"
  "$wine" "$folder/velnorka.exe" >/dev/null 2>&1 &
  timeout 60 xdotool search --sync --onlyvisible --name '^Velnorka$' >/dev/null || fail "the program did not start"
  refused "setup.exe /S while velnorka.exe runs" "$wine" "$setup" /S
  refused "the uninstall while velnorka.exe runs" quiet_uninstall "$(value QuietUninstallString)"
  "$wine" "$probe" close 20 || fail "the program did not close"

  echo "a second install over the first"
  head -c 2000000 /dev/zero | tr '\0' x >"$folder/poznámky.txt"
  "$wine" "$setup" /S || fail "the second setup.exe /S failed"
  cmp -s "$scratch/zip/velnorka.exe" "$folder/velnorka.exe" || fail "the second install changed velnorka.exe"
  entry=$(uninstall_entry)
  check_size

  echo "a move to a folder of the administrator's choice (/D), then the silent uninstall"
  # No blank in the folder: wine would quote the argument, and /D= must
  # open it (on Windows the blank goes unquoted).
  "$wine" "$setup" /S '/D=C:\Škola\Velnorka' || fail "setup.exe /S /D= failed"
  chosen=$(unix_path 'C:\Škola\Velnorka')
  cmp -s "$scratch/zip/velnorka.exe" "$chosen/velnorka.exe" || fail "/D was not followed"
  [[ $(ls "$folder") == poznámky.txt ]] || fail "after the move, the old folder holds: $(ls "$folder")"
  [[ $(python3 "$root/tests/dist/shortcut_target.py" "$shortcut") == 'C:\Škola\Velnorka\velnorka.exe' ]] ||
    fail "the shortcut does not follow the move"
  entry=$(uninstall_entry)
  [[ $(value InstallLocation) == 'C:\Škola\Velnorka' ]] || fail "the entry does not follow the move"
  uninstall "$(value QuietUninstallString)"
  # C:\Škola too: the setup created it.
  [[ ! -e $(dirname "$chosen") ]] || fail "the emptied folders are still there: $(ls -R "$(dirname "$chosen")")"
  [[ ! -e $shortcut ]] || fail "the Start menu shortcut is still there"
  rm -r "$folder"

  echo "a folder holding another program's file, and one that cannot be written"
  other=$(unix_path 'C:\Programy\Velnorka')
  mkdir -p "$other"
  echo "cizí licence" >"$other/LICENSE.txt"
  ! "$wine" "$setup" /S '/D=C:\Programy\Velnorka' || fail "the setup installed into a folder with another program's file"
  [[ $(ls "$other") == LICENSE.txt && $(cat "$other/LICENSE.txt") == "cizí licence" ]] ||
    fail "the other program's folder holds: $(ls "$other")"
  rm -r "$(dirname "$other")"
  ! "$wine" "$setup" /S '/D=Z:\proc\Velnorka' || fail "the setup reported an install into Z:\\proc"
  [[ -z $(uninstall_entry) && ! -e $shortcut ]] || fail "a refused setup left an entry or a shortcut"
  unchanged_machine "installing and uninstalling"
}
export -f run fail
export root setup probe version scratch
prefix=$root/build/windows/wineprefix-setup
rm -rf "$prefix"
bash "$root/tests/win32/with-display.sh" "$prefix" 600 bash -c run
echo "OK: the setup installs, updates and uninstalls for the user alone"
