#!/usr/bin/env bash
# Checks velnorka.exe without running it: the PE format of its architecture,
# the GUI subsystem, and imports only from DLLs that every Windows has (the
# C++ runtime is linked in, not shipped beside it).
# usage: pe_check.sh OBJDUMP PROGRAM EXPECTED_FORMAT
set -euo pipefail
objdump=$1
program=$2
format=$3

headers=$("$objdump" -p "$program")
fail() { echo "FAIL: $*" >&2; exit 1; }

grep -q "file format $format\$" <<<"$headers" || fail "not $format: $(grep 'file format' <<<"$headers")"
grep -Eq '^Subsystem[[:space:]]+0+2[[:space:]]+\(Windows GUI\)' <<<"$headers" || fail "not a GUI program"

mapfile -t dlls < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
(( ${#dlls[@]} > 0 )) || fail "no imports found"
for dll in "${dlls[@]}"; do
  case ${dll,,} in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | shell32.dll | advapi32.dll | \
    ole32.dll | msvcrt.dll | api-ms-win-crt-*.dll | ucrtbase.dll) ;;
    *) fail "imports $dll, which Windows does not bring" ;;
  esac
done
# The resources: a manifest for the themed controls and DPI awareness (one
# only: a second would make Windows refuse to start the program), the
# version information.
grep -q '\.rsrc' <<<"$headers" || fail "no resources"
texts=$(strings -a "$program")
manifest=$(grep -c '<assembly ' <<<"$texts" || true)
[[ $manifest == 1 ]] || fail "$manifest application manifests"
for wanted in Microsoft.Windows.Common-Controls PerMonitorV2 true/pm 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a \
              35138b9a-5d96-4fbd-8e2d-a2440225f93a; do
  grep -Fq "$wanted" <<<"$texts" || fail "the manifest lacks $wanted"
done
grep -Fqx "velnorka.exe" <<<"$(strings -a -el "$program")" || fail "no version information"
echo "OK: $format, Windows GUI, imports ${dlls[*]}"
