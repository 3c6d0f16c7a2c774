#!/bin/bash
# The real velnorka on its own Xvfb, used as a person would: clicks on the
# buttons where the design puts them, replies typed into the prompts, Enter
# and Escape, the sheet read back from the clipboard and checked line by line.
# usage: end_to_end_test.sh path/to/velnorka
set -u
app=$1
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

for tool in Xvfb xdotool xclip xprop python3; do
    command -v "$tool" >/dev/null || xs_fail "$tool is missing (see scripts/debian-packages.txt)"
done

check() {  # file mode count group separator
    python3 "$here/../check_sheet.py" "$1" --mode "$2" --count "$3" --group "$4" --decimal-separator "$5" ||
        xs_fail "the sheet on the clipboard is wrong"
}

# Clicks "Kopíruj" and writes what the clipboard then holds into the file.
copy_into() {
    xs_mark_clipboard "$1"
    xs_click Command3
    xs_read_clipboard "$1" "$2"
}

generate() {  # count group
    xs_click Command1
    xs_answer "$1"
    xs_answer "$2"
}

xs_start_xvfb

# --- Czech regional settings ------------------------------------------------
xs_start_app LANG=C.UTF-8 LC_NUMERIC=cs_CZ.UTF-8 "$app"
eval "$(timeout 5 xdotool getwindowgeometry --shell "$xs_main")"
[ "$WIDTH" = 584 ] && [ "$HEIGHT" = 294 ] || xs_fail "client area ${WIDTH}x$HEIGHT, expected 584x294"
echo "window found: ${WIDTH}x$HEIGHT"
# The icon follows once the window is up.
for _ in $(seq 50); do
    timeout 5 xprop -id "$xs_main" _NET_WM_ICON 2>/dev/null | grep -q 'Icon (' && break
    sleep 0.1
done
timeout 5 xprop -id "$xs_main" _NET_WM_ICON 2>/dev/null | grep -q 'Icon (' || xs_fail "the window has no icon"

# The focus starts in Text1: what is typed goes there, and is copied as
# shown, with a line break (Enter or Shift+Enter) as CR LF.
timeout 5 xdotool type --delay 20 "Ahoj"
timeout 5 xdotool key Return
timeout 5 xdotool type --delay 20 "svete 1 234"
timeout 5 xdotool key shift+Return
timeout 5 xdotool type --delay 20 "konec"
copy_into typed "$xs_tmp/typed.txt"
cmp -s "$xs_tmp/typed.txt" <(printf 'Ahoj\r\nsvete 1 234\r\nkonec') ||
    xs_fail "typed text copied as $(od -c "$xs_tmp/typed.txt" | head -n 3)"
echo "typing goes to Text1 and is copied as shown"

# From the keyboard alone: Tab from the box to "Generuj", Enter opens the prompt.
xs_click Text1
timeout 5 xdotool key Tab Return
xs_answer "" Escape
echo "Enter on the focused Generuj opens the prompt"

# Right after start, whole numbers; 30 exercises run past "z".
generate 30 4
copy_into whole "$xs_tmp/whole.txt"
check "$xs_tmp/whole.txt" 1 30 4 ,
echo "whole numbers: 30 exercises checked"

xs_click Option2
generate 25 5
copy_into decimal "$xs_tmp/decimal.txt"
check "$xs_tmp/decimal.txt" 2 25 5 ,
echo "decimal numbers: 25 exercises checked"

xs_click Option3
generate 200 10
copy_into mix "$xs_tmp/mix.txt"
check "$xs_tmp/mix.txt" 3 200 10 ,
echo "mix: 200 exercises checked"

# The clipboard stays served while the program runs, as plain UTF-8 text.
sleep 1
timeout 5 xclip -o -selection clipboard -t TARGETS >"$xs_tmp/targets" || xs_fail "no clipboard targets"
grep -qx UTF8_STRING "$xs_tmp/targets" || xs_fail "the clipboard offers no UTF8_STRING"
timeout 5 xclip -o -selection clipboard >"$xs_tmp/again.txt"
cmp -s "$xs_tmp/mix.txt" "$xs_tmp/again.txt" || xs_fail "the clipboard changed while the program ran"

# Typing the reply replaces the selected default, so "1" gives one exercise
# (not "101" or "110"); group 0 inserts no empty line.
generate 1 0
copy_into one "$xs_tmp/one.txt"
check "$xs_tmp/one.txt" 3 1 0 ,
echo "default reply replaced by typing"

# 201 exercises: the message, no second prompt, the box unchanged.
xs_click Command1
xs_answer 201
xs_dismiss_message
xs_no_dialog 1 || xs_fail "a prompt followed the refusal"
copy_into refused "$xs_tmp/refused.txt"
cmp -s "$xs_tmp/one.txt" "$xs_tmp/refused.txt" || xs_fail "the refusal changed the box"
echo "201 refused"

# Cancel (Escape) in the first and in the second prompt: nothing happens.
xs_click Command1
xs_answer "" Escape
xs_no_dialog 1 || xs_fail "a dialog followed Cancel"
xs_click Command1
xs_answer 5
xs_answer "" Escape
xs_no_dialog 1 || xs_fail "a dialog followed Cancel in the second prompt"
copy_into cancelled "$xs_tmp/cancelled.txt"
cmp -s "$xs_tmp/one.txt" "$xs_tmp/cancelled.txt" || xs_fail "Cancel changed the box"
echo "Cancel changes nothing"

# A reply that is not a number: a message, the box unchanged.
xs_click Command1
xs_answer abc
xs_dismiss_message
xs_no_dialog 1 || xs_fail "a prompt followed the bad reply"
copy_into bad "$xs_tmp/bad.txt"
cmp -s "$xs_tmp/one.txt" "$xs_tmp/bad.txt" || xs_fail "a bad reply changed the box"
echo "non-numeric reply reported"

# "Smaž" then "Kopíruj": the clipboard holds the empty text.
xs_click Command2
copy_into cleared "$xs_tmp/cleared.txt"
[ ! -s "$xs_tmp/cleared.txt" ] || xs_fail "the clipboard is not empty after Smaž and Kopíruj"
echo "Smaž then Kopíruj leaves an empty clipboard"

kill -0 "$xs_app_pid" 2>/dev/null || xs_fail "the program ended"
xs_stop_app

# --- C regional settings: the decimal exercises use a point --------------
xs_start_app LANG=C.UTF-8 "$app"
xs_click Option2
generate 12 3
copy_into point "$xs_tmp/point.txt"
check "$xs_tmp/point.txt" 2 12 3 .
echo "decimal point under the C locale checked"
xs_stop_app

# --- A scaled screen: the proportions stay, the buttons stay where they were --
xs_scale=1.5
xs_start_app LANG=C.UTF-8 LC_NUMERIC=cs_CZ.UTF-8 QT_SCALE_FACTOR=$xs_scale "$app"
eval "$(timeout 5 xdotool getwindowgeometry --shell "$xs_main")"
[ "$WIDTH" = 876 ] && [ "$HEIGHT" = 441 ] || xs_fail "scaled client area ${WIDTH}x$HEIGHT, expected 876x441"
generate 3 0
copy_into scaled "$xs_tmp/scaled.txt"
check "$xs_tmp/scaled.txt" 1 3 0 ,
echo "scaled by 1.5: ${WIDTH}x$HEIGHT, sheet checked"
xs_stop_app

echo "end-to-end: all checks passed"
