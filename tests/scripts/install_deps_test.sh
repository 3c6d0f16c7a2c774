#!/usr/bin/env bash
# scripts/install-deps against a package archive in the middle of a sync:
# apt-get, dpkg and sudo are stubs on PATH, so nothing is installed, no root
# is needed and nothing goes to the network.
# usage: install_deps_test.sh [SCRIPT]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
script=${1:-$here/../../scripts/install-deps}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# A project tree of the script's own: a short list, an enable-32bit that
# only says it ran, and a page's test driver that is already installed.
mkdir -p "$work/tree/scripts" "$work/tree/tests/web/node_modules" "$work/bin"
cp "$script" "$work/tree/scripts/install-deps"
printf '[run]\nqt6-base-dev\n\n[test]\n# comment\nchromium\nwine32:i386\n' >"$work/tree/scripts/debian-packages.txt"
printf '#!/bin/sh\necho enable-32bit >>"$STUB_LOG"\n' >"$work/tree/scripts/enable-32bit"
touch "$work/tree/tests/web/package-lock.json"
touch -d '+1 minute' "$work/tree/tests/web/node_modules/.package-lock.json"

# apt-get: update fails its first $UPDATE_FAILS calls, as a mirror mid-sync
# does; install fails for the architecture named in $INSTALL_FAILS. Each call
# is logged in short: "update", or "install:" and the packages.
cat >"$work/bin/apt-get" <<'STUB'
#!/usr/bin/env bash
case $1 in
update)
  echo update >>"$STUB_LOG"
  if (($(grep -c '^update' "$STUB_LOG") <= UPDATE_FAILS)); then
    echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    exit 100
  fi ;;
install)
  packages=$(printf '%s\n' "$@" | grep -v '^-' | tail -n +2 | paste -sd,)
  echo "install:$packages" >>"$STUB_LOG"
  arch=amd64; [[ $packages == *:i386* ]] && arch=i386
  if [[ $arch == "$INSTALL_FAILS" ]]; then
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100
  fi ;;
esac
STUB
printf '#!/bin/sh\n[ "$1" = --print-foreign-architectures ] && echo i386\nexit 0\n' >"$work/bin/dpkg"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"  # nothing is installed
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin/"* "$work/tree/scripts/"*

amd64=install:qt6-base-dev,chromium
i386=install:wine32:i386
# part | update fails | install fails | exit | the calls made | what it says
cases=(
  "test|1|none|0|update update $amd64 $i386 enable-32bit|"
  "test|9|none|0|update update update $amd64 $i386 enable-32bit|some package indexes could not be fetched"
  "test|0|i386|0|update $amd64 $i386 enable-32bit|cannot install wine32:i386 now (Unable to correct problems, you have held broken packages.): the Windows tests will run the 64-bit build"
  "test|0|amd64|100|update $amd64|Unable to correct problems"
  "run|0|none|0|update install:qt6-base-dev|"
)
for row in "${cases[@]}"; do
  IFS='|' read -r part update_fails install_fails want_status want_calls want_printed <<<"$row"
  export STUB_LOG=$work/calls UPDATE_FAILS=$update_fails INSTALL_FAILS=$install_fails
  : >"$STUB_LOG"
  PATH=$work/bin:$PATH VELNORKA_APT_RETRY_PAUSE=0 bash "$work/tree/scripts/install-deps" "$part" >"$work/out" 2>&1
  status=$?
  calls=$(paste -sd' ' "$STUB_LOG")
  what="install-deps $part (update fails ${update_fails}x, install fails: $install_fails)"
  if [[ $status != "$want_status" ]]; then
    echo "FAIL: $what exited $status, not $want_status:"; sed 's/^/  /' "$work/out"; ((failures++))
  elif [[ $calls != "$want_calls" ]]; then
    echo "FAIL: $what called: $calls"; echo "  instead of: $want_calls"; ((failures++))
  elif [[ -n $want_printed ]] && ! grep -Fq "$want_printed" "$work/out"; then
    echo "FAIL: $what did not say \"$want_printed\":"; sed 's/^/  /' "$work/out"; ((failures++))
  fi
done
echo "$((${#cases[@]} - failures)) passed, $failures failed"
((failures == 0))
