#!/usr/bin/env bash
# velnorka.exe as shipped (stripped) stays within its size budget.
# usage: size_check.sh STRIP PROGRAM BUDGET_BYTES
set -euo pipefail
strip=$1
program=$2
budget=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$strip" -o "$work/shipped.exe" "$program"
size=$(stat -c %s "$work/shipped.exe")
echo "$(basename "$program") stripped: $size bytes, budget $budget"
(( size <= budget )) || { echo "FAIL: $((size - budget)) bytes over the budget" >&2; exit 1; }
