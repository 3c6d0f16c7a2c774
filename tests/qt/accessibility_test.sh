#!/bin/bash
# The real velnorka read through the accessibility stack, as a screen reader
# reads it: its own Xvfb, its own D-Bus session with the AT-SPI bus, and the
# tree read by pyatspi while the program is driven from outside.
# usage: accessibility_test.sh path/to/velnorka
set -u
# A private session bus, so that no desktop's assistive technology is involved;
# the AT-SPI bus is started on it on demand.
if [ -z "${VELNORKA_PRIVATE_BUS:-}" ]; then
    VELNORKA_PRIVATE_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
app=$1
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"
tree() { /usr/bin/python3 "$here/accessibility_tree.py" "$@" || xs_fail "the accessibility tree is wrong"; }

for tool in Xvfb xdotool xclip /usr/bin/python3; do
    command -v "$tool" >/dev/null || xs_fail "$tool is missing (see scripts/debian-packages.txt)"
done

xs_start_xvfb
xs_start_app QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANG=C.UTF-8 LC_NUMERIC=cs_CZ.UTF-8 "$app"
tree window

# With the first prompt open, its field is labelled by the prompt's text.
xs_click Command1
xs_wait_dialog >/dev/null
tree prompt "Zadejte počet příkladů (max.200)"
xs_answer 12
xs_answer 3

# The box reads as the sheet that Kopíruj copies.
xs_mark_clipboard sheet
xs_click Command3
xs_read_clipboard sheet "$xs_tmp/sheet.txt"
python3 "$here/../check_sheet.py" "$xs_tmp/sheet.txt" --mode 1 --count 12 --group 3 --decimal-separator , ||
    xs_fail "the sheet on the clipboard is wrong"
tree sheet "$xs_tmp/sheet.txt"

xs_stop_app
echo "accessibility: all checks passed"
