#!/usr/bin/env bash
# The Windows build of the command-line tool prints exactly the bytes of the
# Linux build for the same arguments, seed and regional settings.
# usage: same_bytes_test.sh LINUX_CLI WINDOWS_CLI [EMULATOR...]
set -uo pipefail
linux=$1
windows=("${@:3}" "$2")
if [[ ! -x $linux ]]; then
    echo "the Linux build of the tool is missing: $linux" >&2
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/locales.sh"
make_locales "$work/locales" cs_CZ en_US || exit 1
failures=0
for locale in cs_CZ.UTF-8 en_US.UTF-8; do
    for mode in 1 2 3; do
        args=(--mode "$mode" --count 200 --group 9 --seed $((mode * 7919)))
        LC_ALL=$locale "$linux" "${args[@]}" >"$work/linux" || failures=$((failures + 1))
        LC_ALL=$locale "${windows[@]}" "${args[@]}" >"$work/windows" || failures=$((failures + 1))
        if [[ ! -s $work/linux ]] || ! cmp "$work/linux" "$work/windows"; then
            echo "FAILED: mode $mode under $locale differs"
            failures=$((failures + 1))
        fi
    done
done
[[ $failures -eq 0 ]] && echo "same bytes on Linux and Windows for every mode"
[[ $failures -eq 0 ]]
