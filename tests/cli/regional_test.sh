#!/usr/bin/env bash
# The tool takes its decimal separator from the platform's regional settings,
# not from the language part of a locale name: de_CH and es_MX write a point
# although German and Spanish write a comma elsewhere, gl_ES a comma. Replies
# are read with the same separator. With QT_DECIMAL_POINT given (a program
# that prints QLocale::system()'s choice), the Linux desktop must agree.
# usage: regional_test.sh [--qt QT_DECIMAL_POINT] CLI [EMULATOR...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
qt=
if [[ ${1-} == --qt ]]; then
    qt=$2
    shift 2
fi
cli=("${@:2}" "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$here/locales.sh"
make_locales "$work/locales" cs_CZ de_CH es_MX gl_ES en_US || exit 1
failures=0

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

for entry in cs_CZ:, de_CH:. es_MX:. gl_ES:, en_US:.; do
    locale=${entry%%:*}.UTF-8
    separator=${entry#*:}
    # The first decimal number of a sheet shows the separator.
    LC_ALL=$locale "${cli[@]}" --mode 2 --count 1 --seed 1 >"$work/sheet" 2>"$work/errors"
    status=$?
    if ((status != 0)) || [[ ! -s $work/sheet ]]; then
        fail "$locale: the tool ended with status $status and wrote $(wc -c <"$work/sheet") bytes: $(head -c 500 "$work/errors")"
        continue
    fi
    shown=$(head -n 1 "$work/sheet" | sed -E 's/^a\) [0-9]+([^0-9])[0-9]+ .*/\1/')
    [[ $shown == "$separator" ]] || fail "$locale writes «$shown», expected «$separator»"
    # "12<separator>5" is 12,5: twelve exercises (halves go to even).
    LC_ALL=$locale "${cli[@]}" --count "12${separator}5" --group 0 --seed 1 >"$work/twelve"
    python3 "$here/../check_sheet.py" --mode 1 --count 12 --group 0 "$work/twelve" ||
        fail "$locale does not read 12${separator}5 as 12,5"
    if [[ -n $qt ]]; then
        desktop=$(LC_ALL=$locale "$qt")
        [[ $desktop == "$separator" ]] || fail "$locale: the desktop (QLocale) writes «$desktop»"
    fi
done

# Outside Windows LC_NUMERIC decides over LANG, and LC_ALL over both, as in
# the C library; Windows has its own regional settings.
if [[ $1 != *.exe ]]; then
    env -u LC_ALL LANG=en_US.UTF-8 LC_NUMERIC=cs_CZ.UTF-8 "${cli[@]}" --mode 2 --count 1 --seed 1 >"$work/numeric"
    grep -q '^a) [0-9]*,' "$work/numeric" || fail "LC_NUMERIC does not decide over LANG"
    LC_ALL=en_US.UTF-8 LC_NUMERIC=cs_CZ.UTF-8 "${cli[@]}" --mode 2 --count 1 --seed 1 >"$work/all"
    grep -q '^a) [0-9]*\.' "$work/all" || fail "LC_ALL does not decide over LC_NUMERIC"
fi

[[ $failures -eq 0 ]] && echo "regional settings: every locale as expected"
[[ $failures -eq 0 ]]
