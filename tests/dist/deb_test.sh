#!/usr/bin/env bash
# The Debian package as a user's system sees it: unpacked into a scratch
# root, its command-line tool names the release and prints a correct sheet;
# the menu entry and the AppStream metainfo validate from the unpacked
# tree; the man pages are there; dependencies were computed; lintian finds
# no error.
# usage: deb_test.sh DEB
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
deb=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

version=$(dpkg-deb -f "$deb" Version)
[[ $(basename "$deb") == "velnorka_${version}_amd64.deb" ]] || fail "the file name does not carry version $version"
dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr

[[ $("$usr/bin/velnorka-cli" --version) == "velnorka-cli $version" ]] || fail "velnorka-cli --version: $("$usr/bin/velnorka-cli" --version)"
LC_ALL=C "$usr/bin/velnorka-cli" --mode 2 --count 30 --group 6 --seed 11 >"$work/sheet.txt"
python3 "$root/tests/check_sheet.py" --mode 2 --count 30 --group 6 --decimal . "$work/sheet.txt"
[[ -x $usr/bin/velnorka ]] || fail "no desktop program"

desktop-file-validate "$usr/share/applications/cz.velnorka.Velnorka.desktop"
metainfo=$usr/share/metainfo/cz.velnorka.Velnorka.metainfo.xml
appstreamcli validate --no-net --strict "$metainfo"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo does not describe release $version"
[[ -s $usr/share/icons/hicolor/scalable/apps/cz.velnorka.Velnorka.svg ]] || fail "no icon"

for page in velnorka-cli velnorka; do
  zcat "$usr/share/man/man1/$page.1.gz" >"$work/$page.1" || fail "no man page for $page"
  grep -q "^\.TH ${page^^} 1 .*velnorka $version" "$work/$page.1" || fail "the man page of $page is not for $version"
done
grep -Fq -- '\-\-version' "$work/velnorka-cli.1" || fail "the man page does not describe --version"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6widgets6 libstdc++6; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1 || { cat "$work/lintian.txt"; fail "lintian reports errors"; }
grep -v 'running with root privileges' "$work/lintian.txt" || true
echo "OK: $(basename "$deb")"
