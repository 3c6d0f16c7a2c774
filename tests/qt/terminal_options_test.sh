#!/bin/bash
# velnorka --version and --help answer on the terminal with no display at all;
# Qt's own options still reach Qt.
# usage: terminal_options_test.sh PROGRAM VERSION
set -u
program=$1
version=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
headless() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 10 "$program" "$@"; }

out=$(headless --version 2>&1) || fail "--version ended with status $?: $out"
[ "$out" = "velnorka $version" ] || fail "--version printed: $out"

for help in --help -h; do
  out=$(headless "$help" 2>&1) || fail "$help ended with status $?: $out"
  grep -q '^Použití: velnorka' <<<"$out" || fail "$help printed no Czech usage: $out"
  grep -q -- '--version' <<<"$out" || fail "$help does not name --version: $out"
done

# "-reverse" is Qt's option, not -v among bundled letters; -platform still
# chooses the platform plugin, so a missing one is Qt's own complaint.
out=$(headless -reverse -platform velnorka-no-such-platform 2>&1) && fail "a missing platform plugin started: $out"
grep -q 'velnorka-no-such-platform' <<<"$out" || fail "-platform did not reach Qt: $out"
echo "PASS"
