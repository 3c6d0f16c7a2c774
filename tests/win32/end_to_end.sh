#!/usr/bin/env bash
# Drives velnorka.exe under wine as a person would: clicks where the design
# puts the buttons, types the replies, presses Enter or Escape. What the
# program shows is read from inside wine by velnorka_probe, the sheets from
# the Windows clipboard (with their CRLF), and checked line by line.
# Needs a display of its own (with-display.sh).
# usage: end_to_end.sh EMULATOR VELNORKA_EXE PROBE_EXE CHECK_SHEET_PY [short]
# "short" drives one sheet only: start, Generuj 10/5, Kopíruj, close.
set -euo pipefail
emulator=$1
program=$2
probe_exe=$3
checker=$4
drive=${5:-full}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
probe() { "$emulator" "$probe_exe" "$@"; }
# Files are handed to the probe through wine's Z: drive, which is /.
probe_file() { echo "Z:$work/$1"; }

# The design's controls at 96 DPI, in pixels from the client area's corner:
# the middle of each button, a point on each option button's caption.
generuj=(496 24)
smaz=(496 64)
kopiruj=(496 104)
option1=(480 160)
option2=(480 188)
option3=(470 212)
client_width=584
client_height=294

# Czech regional settings, as on a teacher's computer: a decimal comma.
for setting in "sDecimal ," "sThousand  "; do
  "$emulator" reg add 'HKCU\Control Panel\International' /v "${setting%% *}" /d "${setting#* }" /f >/dev/null ||
    fail "cannot set $setting"
done

"$emulator" "$program" >"$work/program.log" 2>&1 &
app=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Velnorka$' | head -n1) ||
  fail "the window did not appear"
eval "$(xdotool getwindowgeometry --shell "$window")"
# A fixed frame of equal width on three sides, the caption on top.
border=$(((WIDTH - client_width) / 2))
left=$((X + border))
top=$((Y + HEIGHT - border - client_height))
echo "window $window at $X,$Y ${WIDTH}x$HEIGHT, client area at $left,$top"

click() { xdotool mousemove --sync $((left + $1)) $((top + $2)) click 1; }

# Waits for the dialog that shows `key` (ASCII: wine may read its command
# line in another code page) and checks that it shows `text` (and, for a
# prompt, the default reply "10").
expect_dialog() {
  local key=$1 text=$2 kind=$3
  rm -f "$work/dialog.txt"
  probe dialog "$(probe_file dialog.txt)" 20 "$key" ||
    fail "no dialog showing \"$text\" ready for keys; open: $(cat "$work/dialog.txt" 2>/dev/null)"
  grep -Fqx "title	Velnorka" "$work/dialog.txt" || fail "dialog title: $(head -n1 "$work/dialog.txt")"
  grep "^Static	" "$work/dialog.txt" | grep -Fq -- "$text" || fail "dialog without \"$text\": $(cat "$work/dialog.txt")"
  if [[ $kind == prompt ]]; then
    grep -Fqx "Edit	10" "$work/dialog.txt" || fail "the prompt does not offer 10: $(cat "$work/dialog.txt")"
  else
    ! grep -q "^Edit" "$work/dialog.txt" || fail "a prompt where a message belongs"
  fi
}
reply() {
  xdotool type --delay 40 -- "$1"
  xdotool key Return
}
no_dialog() { probe nodialog 20 || fail "a dialog stayed open"; }

# Generuj with two replies, then Kopíruj; the sheet from the clipboard into $1.
generate_and_copy() {
  local sheet=$1 count=$2 group=$3
  click "${generuj[@]}"
  expect_dialog "(max.200)" "Zadejte počet příkladů (max.200)" prompt
  reply "$count"
  expect_dialog "kolika odsazovat" "Zadejte po kolika odsazovat" prompt
  reply "$group"
  no_dialog
  copy_to "$sheet"
}
copy_to() {
  probe clear || fail "cannot empty the clipboard"
  click "${kopiruj[@]}"
  local status=0 started=$SECONDS
  probe clipboard "$(probe_file "$1")" 20 || status=$?
  # 2: no text within the time; anything else: the probe itself failed.
  ((status == 0)) ||
    fail "Kopíruj put no text on the clipboard (the probe ended with $status after $((SECONDS - started)) s)"
}
text_unchanged() {
  probe text "$(probe_file text.txt)" || fail "cannot read Text1"
  cmp -s "$work/text.txt" "$1" || fail "$2 changed the text"
}

probe decimal "$(probe_file decimal.txt)" || fail "no regional decimal separator"
decimal=$(cat "$work/decimal.txt")
[[ $decimal == , ]] || fail "the regional decimal separator is \"$decimal\", not a comma"

close_program() {
  echo "closing the window ends the program"
  probe close 20 || fail "the window did not close"
  # Waits for the end itself, however long wine takes to wind the process
  # down; a program that never ends runs into the test's time limit.
  local status=0
  wait "$app" || status=$?
  ((status == 0)) || fail "the program ended with $status"
  echo "OK"
}

if [[ $drive == short ]]; then
  echo "whole numbers, 10 exercises in groups of 5"
  generate_and_copy sheet.txt 10 5
  python3 "$checker" "$work/sheet.txt" --mode 1 --count 10 --group 5 --decimal "$decimal"
  close_program
  exit 0
fi

echo "whole numbers, 25 exercises in groups of 5"
generate_and_copy sheet1.txt 25 5
python3 "$checker" "$work/sheet1.txt" --mode 1 --count 25 --group 5 --decimal "$decimal"

echo "decimal numbers, 12 in groups of 4"
click "${option2[@]}"
generate_and_copy sheet2.txt 12 4
python3 "$checker" "$work/sheet2.txt" --mode 2 --count 12 --group 4 --decimal "$decimal"

echo "mix, 30 without groups"
click "${option3[@]}"
generate_and_copy sheet3.txt 30 0
python3 "$checker" "$work/sheet3.txt" --mode 3 --count 30 --group 0 --decimal "$decimal"

echo "201 is refused"
click "${generuj[@]}"
expect_dialog "(max.200)" "Zadejte počet příkladů (max.200)" prompt
reply 201
expect_dialog "nelze vygenerovat" "Tolik příkladů nelze vygenerovat" message
xdotool key Return
no_dialog
text_unchanged "$work/sheet3.txt" "the refusal"

echo "Escape cancels"
click "${generuj[@]}"
expect_dialog "(max.200)" "Zadejte počet příkladů (max.200)" prompt
xdotool key Escape
no_dialog
text_unchanged "$work/sheet3.txt" "Cancel"

echo "a reply that is no number"
click "${generuj[@]}"
expect_dialog "(max.200)" "Zadejte počet příkladů (max.200)" prompt
xdotool type --delay 40 -- abc
# The prompt holding the reply is not the message that quotes it: the probe
# must wait for the message, however long the program takes to show it.
! probe dialog "$(probe_file early.txt)" 1 abc ||
  fail "the prompt was taken for the message: $(cat "$work/early.txt")"
xdotool key Return
expect_dialog "abc" "není číslo" message
xdotool key Return
no_dialog
text_unchanged "$work/sheet3.txt" "a wrong reply"

echo "back to whole numbers, then Smaž and Kopíruj"
click "${option1[@]}"
generate_and_copy sheet4.txt 3 1
python3 "$checker" "$work/sheet4.txt" --mode 1 --count 3 --group 1 --decimal "$decimal"
click "${smaz[@]}"
copy_to empty.txt
[[ ! -s $work/empty.txt ]] || fail "Smaž left text behind"

close_program
