#!/usr/bin/env bash
# The command-line tool's contract: exact, reproducible sheets, the regional
# decimal separator, exit statuses and messages.
# usage: cli_test.sh CLI [EMULATOR...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=("${@:2}" "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passes=0

check() {  # check NAME COMMAND...: the command must succeed
    local name=$1
    shift
    if "$@"; then
        passes=$((passes + 1))
    else
        echo "FAILED: $name"
        failures=$((failures + 1))
    fi
}

run() {  # run NAME LOCALE ARGS...: stdout, stderr and status into $work/NAME.*
    local name=$1 locale=$2
    shift 2
    env -u LC_ALL -u LC_NUMERIC LANG="$locale" "${cli[@]}" "$@" >"$work/$name.out" 2>"$work/$name.err"
    echo $? >"$work/$name.status"
}
status() { cat "$work/$1.status"; }
empty_stdout() { [[ ! -s $work/$1.out ]]; }
stderr_has() { grep -qF -- "$2" "$work/$1.err"; }
sheet_ok() {  # sheet_ok NAME MODE COUNT GROUP SEPARATOR
    python3 "$here/../check_sheet.py" --mode "$2" --count "$3" --group "$4" --decimal-separator "$5" "$work/$1.out"
}

# Every mode, Czech and English separators: structure and every answer.
for mode in 1 2 3; do
    run "cs$mode" cs_CZ.UTF-8 --mode "$mode" --count 200 --group 7 --seed "$mode"
    check "mode $mode Czech exits 0" [ "$(status "cs$mode")" = 0 ]
    check "mode $mode Czech sheet" sheet_ok "cs$mode" "$mode" 200 7 ,
    run "en$mode" en_US.UTF-8 --mode "$mode" --count 30 --group 4 --seed "$mode"
    check "mode $mode English sheet" sheet_ok "en$mode" "$mode" 30 4 .
done
check "Czech decimal numbers use a comma" grep -qE '^[a-z]\) [0-9]+,[0-9]+ na ' "$work/cs2.out"
check "English decimal numbers use a point" grep -qE '^[a-z]\) [0-9]+\.[0-9]+ na ' "$work/en2.out"

# LC_ALL wins over LANG, LC_NUMERIC over LANG.
LC_ALL=en_US.UTF-8 LANG=cs_CZ.UTF-8 "${cli[@]}" --mode 2 --count 30 --seed 5 >"$work/lcall.out"
check "LC_ALL decides" sheet_ok lcall 2 30 10 .
env -u LC_ALL LC_NUMERIC=cs_CZ.UTF-8 LANG=en_US.UTF-8 "${cli[@]}" --mode 2 --count 30 --seed 5 >"$work/lcnum.out"
check "LC_NUMERIC decides" sheet_ok lcnum 2 30 10 ,

# A seed makes the sheet reproducible; another seed gives another sheet.
run again1 cs_CZ.UTF-8 --mode 1 --count 200 --group 7 --seed 1
check "same seed, same bytes" cmp -s "$work/cs1.out" "$work/again1.out"
run other1 cs_CZ.UTF-8 --mode 1 --count 200 --group 7 --seed 2
differ() { ! cmp -s "$1" "$2"; }
check "other seed, other sheet" differ "$work/cs1.out" "$work/other1.out"

# Defaults: mode 1, ten exercises in one group.
run defaults cs_CZ.UTF-8 --seed 3
check "defaults" sheet_ok defaults 1 10 10 ,
# Replies go through the same conversion as the prompts.
run rounded cs_CZ.UTF-8 --count " 12,5 " --group "2,5" --seed 3
check "12,5 exercises in groups of 2,5 give 12 in groups of 2" sheet_ok rounded 1 12 2 ,
run zero cs_CZ.UTF-8 --count 0 --seed 3
check "no exercise gives a single line break" [ "$(od -An -c "$work/zero.out" | tr -d ' ')" = '\r\n' ]

# Refusal: status 1, the message on stderr, nothing on stdout.
run refused cs_CZ.UTF-8 --count 201
check "201 exits 1" [ "$(status refused)" = 1 ]
check "201 says why" stderr_has refused "Tolik příkladů nelze vygenerovat"
check "201 prints no sheet" empty_stdout refused
run accepted cs_CZ.UTF-8 --count 200 --group 0 --seed 4
check "200 is accepted" sheet_ok accepted 1 200 0 ,

# Bad replies and options: status 2, a message, nothing on stdout.
bad_case() {  # bad_case NAME MESSAGE ARGS...
    local name=$1 message=$2
    shift 2
    run "$name" cs_CZ.UTF-8 "$@"
    check "$name exits 2" [ "$(status "$name")" = 2 ]
    check "$name explains" stderr_has "$name" "$message"
    check "$name prints no sheet" empty_stdout "$name"
}
bad_case notnumber "není číslo" --count abc
bad_case emptyreply "Nebylo zadáno žádné číslo" --count ""
bad_case badgroup "není číslo" --group x
bad_case toolarge "mimo povolený rozsah" --count 40000
bad_case badmode "--mode" --mode 4
bad_case badseed "--seed" --seed -1
bad_case unknown "neznámá volba" --colour red
bad_case missing "chybí hodnota" --count

run help cs_CZ.UTF-8 --help
check "--help exits 0" [ "$(status help)" = 0 ]
check "--help describes the options" grep -qF -- "--count" "$work/help.out"

# The release's version number, from the build.
run version cs_CZ.UTF-8 --version
check "--version exits 0" [ "$(status version)" = 0 ]
check "--version prints the release" [ "$(cat "$work/version.out")" = "velnorka-cli $VELNORKA_VERSION" ]

echo "cli: $passes passed, $failures failed"
[[ $failures -eq 0 ]]
