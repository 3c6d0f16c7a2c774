#!/usr/bin/env bash
# The manual page keeps up with the tool: every option that --help lists
# stands in its synopsis and among its options, and its exit statuses are
# exactly those that --help and the tool's document (docs/command-line.md) give.
# usage: manpage_test.sh CLI MANPAGE DOCUMENT
set -uo pipefail
cli=$1 manpage=$2 document=$3
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

help=$("$cli" --help) || { echo "velnorka-cli --help failed" >&2; exit 1; }
# The page as text: roff's "\-" is a hyphen.
page=$(sed 's/\\-/-/g' "$manpage")
# section NAME: the lines of the page's section NAME, up to the next .SH.
section() { awk -v name="$1" '/^\.SH/ { inside = ($0 ~ name) ; next } inside' <<<"$page"; }
synopsis=$(section SYNOPSIS)
options=$(section OPTIONS)

help_options=$(grep -oE -- '--[a-z]+' <<<"$help" | sort -u)
[[ -n $help_options ]] || fail "--help lists no options"
for option in $help_options; do
    grep -qE -- "$option( |\"|\$)" <<<"$synopsis" || fail "$option is not in the synopsis"
    grep -qE -- "^\.B[IR]? $option( |\$)" <<<"$options" || fail "$option is not among the options"
done

# The statuses: those --help names after "Návratový kód:", the document's
# table rows, and the page's .TP entries under EXIT STATUS.
help_statuses=$(sed -n '/Návratový kód:/,$p' <<<"$help" | grep -oE '(^|[:,] ?)[0-9]+ ' | grep -oE '[0-9]+' | sort -u)
document_statuses=$(sed -n '/^| status | when |/,/^$/p' "$document" | grep -oE '^\| [0-9]+ \|' | grep -oE '[0-9]+' |
    sort -u)
page_statuses=$(section '"EXIT STATUS"' | awk 'previous == ".TP" { print } { previous = $0 }' | sort -u)
[[ -n $help_statuses && -n $document_statuses ]] || fail "no exit statuses found in --help or the document"
for documented in help_statuses document_statuses; do
    [[ ${!documented} == "$page_statuses" ]] ||
        fail "exit statuses: ${documented%_statuses} has" ${!documented} "but the page has" $page_statuses
done

echo "manual page: $failures failed"
[[ $failures == 0 ]]
