#!/usr/bin/env bash
# The command-line tool's contract: exact, reproducible sheets, the regional
# decimal separator, exit statuses and messages (regional_test.sh checks more
# regional settings).
# usage: cli_test.sh CLI [EMULATOR...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=("${@:2}" "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$here/locales.sh"
make_locales "$work/locales" cs_CZ en_US || exit 1
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
differ() { ! cmp -s "$1" "$2"; }
lacks() { ! LC_ALL=C grep -qF -- "$2" "$work/$1.err"; }  # lacks NAME BYTES: not on stderr
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
# Mix sheets with hundredths below 0,01 ("0,004 na setiny  0").
for seed in 398 954 1049; do
    run "small$seed" cs_CZ.UTF-8 --mode 3 --count 200 --group 7 --seed "$seed"
    check "mix sheet of seed $seed" sheet_ok "small$seed" 3 200 7 ,
done
# The checker itself finds a wrong answer (whole results end in 0).
sed '$s/0\r$/1\r/' "$work/cs1.out" >"$work/wrong.out"
rejected() { ! sheet_ok "$@" 2>/dev/null; }
check "the changed sheet differs" differ "$work/cs1.out" "$work/wrong.out"
check "the checker rejects a wrong answer" rejected wrong 1 200 7 ,
check "Czech decimal numbers use a comma" grep -qE '^[a-z]\) [0-9]+,[0-9]+ na ' "$work/cs2.out"
check "English decimal numbers use a point" grep -qE '^[a-z]\) [0-9]+\.[0-9]+ na ' "$work/en2.out"

# A seed makes the sheet reproducible; another seed gives another sheet.
run again1 cs_CZ.UTF-8 --mode 1 --count 200 --group 7 --seed 1
check "same seed, same bytes" cmp -s "$work/cs1.out" "$work/again1.out"
run other1 cs_CZ.UTF-8 --mode 1 --count 200 --group 7 --seed 2
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

bad_case badformat "--format" --format pdf

# The clipboard's flavours of the same sheet: text is the default's bytes,
# html and rtf are documents with one page break, before the key.
run astext cs_CZ.UTF-8 --mode 3 --count 30 --group 4 --seed 8 --format text
run asdefault cs_CZ.UTF-8 --mode 3 --count 30 --group 4 --seed 8
check "--format text is the plain sheet" cmp -s "$work/astext.out" "$work/asdefault.out"
run ashtml cs_CZ.UTF-8 --mode 3 --count 30 --group 4 --seed 8 --format html
check "--format html is a document" grep -q '^<html>' "$work/ashtml.out"
check "--format html breaks the page once" [ "$(grep -o 'page-break-before' "$work/ashtml.out" | wc -l)" = 1 ]
run asrtf cs_CZ.UTF-8 --mode 3 --count 30 --group 4 --seed 8 --format rtf
check "--format rtf is RTF" grep -q '^{\\rtf1' "$work/asrtf.out"
check "--format rtf breaks the page once" [ "$(grep -c 'pagebb' "$work/asrtf.out")" = 1 ]

# Values are quoted cut to 40 characters, control characters and malformed
# UTF-8 shown escaped: nothing raw reaches the terminal.
long=$(printf 'x%.0s' {1..10000})  # a Windows command line holds at most 32767 characters
bad_case longoption "„--$(printf 'x%.0s' {1..38})…“" --$long 1
bad_case longmode "„$(printf '9%.0s' {1..40})…“" --mode "$(printf '9%.0s' {1..10000})"
bad_case longseed "--seed" --seed "$long"
check "a long value is not repeated whole" [ "$(wc -c <"$work/longseed.err")" -lt 200 ]
bad_case escape '„\x1B[31m“' --mode $'\e[31m'
check "ESC is not written raw" lacks escape $'\e'
bad_case malformed $'„a\xef\xbf\xbdb“' --seed $'a\xffb'  # U+FFFD for the stray byte
check "malformed UTF-8 is replaced" lacks malformed $'\xff'
bad_case newline '„1\x0A2“' --count $'1\n2'
check "a line break in a reply stays on one line" [ "$(wc -l <"$work/newline.err")" = 1 ]

# A seed with leading zeros means the same seed.
run zeros cs_CZ.UTF-8 --mode 1 --count 200 --group 7 --seed 00000000001
check "--seed 00000000001 is --seed 1" cmp -s "$work/cs1.out" "$work/zeros.out"
bad_case seedtoolarge "--seed" --seed 4294967296

# Output that cannot be written: status 3 and a message, never a silent 0.
write_fails() {  # write_fails NAME ARGS... with stdout already redirected by the caller
    local name=$1
    check "$name exits 3" [ "$(status "$name")" = 3 ]
    check "$name explains" stderr_has "$name" "výstup se nepodařilo celý zapsat"
}
env -u LC_ALL LANG=cs_CZ.UTF-8 "${cli[@]}" --count 200 --seed 1 >/dev/full 2>"$work/full.err"
echo $? >"$work/full.status"
write_fails full
check "a full disk is named" stderr_has full "disk je plný"
env -u LC_ALL LANG=cs_CZ.UTF-8 "${cli[@]}" --count 3 --seed 1 >/dev/full 2>"$work/fullsmall.err"
echo $? >"$work/fullsmall.status"
write_fails fullsmall
env -u LC_ALL LANG=cs_CZ.UTF-8 "${cli[@]}" --help >/dev/full 2>"$work/fullhelp.err"
echo $? >"$work/fullhelp.status"
write_fails fullhelp
env -u LC_ALL LANG=cs_CZ.UTF-8 "${cli[@]}" --count 3 --seed 1 >&- 2>"$work/closed.err"
echo $? >"$work/closed.status"
write_fails closed
env -u LC_ALL LANG=cs_CZ.UTF-8 "${cli[@]}" --count 3 --seed 1 1</dev/null 2>"$work/readonly.err"
echo $? >"$work/readonly.status"
write_fails readonly

run help cs_CZ.UTF-8 --help
check "--help exits 0" [ "$(status help)" = 0 ]
check "--help describes the options" grep -qF -- "--count" "$work/help.out"

# The release's version number, from the build.
run version cs_CZ.UTF-8 --version
check "--version exits 0" [ "$(status version)" = 0 ]
check "--version prints the release" [ "$(cat "$work/version.out")" = "velnorka-cli $VELNORKA_VERSION" ]

echo "cli: $passes passed, $failures failed"
[[ $failures -eq 0 ]]
