#!/bin/bash
# Installs the build into a scratch root and checks that the program, its menu
# entry, its AppStream metainfo and its icon land where the desktop finds them.
set -u
build=$1
root=$2
rm -rf "$root"
if ! cmake --install "$build" --prefix "$root/usr" >"$root.log" 2>&1; then
    cat "$root.log"
    exit 1
fi
status=0
for file in bin/velnorka \
            share/applications/cz.velnorka.Velnorka.desktop \
            share/metainfo/cz.velnorka.Velnorka.metainfo.xml \
            share/icons/hicolor/scalable/apps/cz.velnorka.Velnorka.svg; do
    if [ ! -s "$root/usr/$file" ]; then
        echo "missing after install: $file"
        status=1
    fi
done
[ -x "$root/usr/bin/velnorka" ] || { echo "bin/velnorka is not executable"; status=1; }
# The menu entry starts the installed program and names the installed icon.
entry=$root/usr/share/applications/cz.velnorka.Velnorka.desktop
grep -qx 'Exec=velnorka' "$entry" || { echo "Exec= does not start velnorka"; status=1; }
grep -qx 'Icon=cz.velnorka.Velnorka' "$entry" || { echo "Icon= does not name the installed icon"; status=1; }
grep -q '^Categories=.*Education;' "$entry" || { echo "not in the Education menu"; status=1; }
exit $status
