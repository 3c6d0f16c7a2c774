# Drives the real velnorka on a private Xvfb as a person would: clicks where
# the control table puts a control, answers the prompts from the keyboard,
# reads the clipboard. Sourced by end_to_end_test.sh and
# scripts/screenshot-linux.sh. Every wait is bounded.

xs_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
xs_layout=$xs_here/../../window/Layout.h
xs_tmp=$(mktemp -d)
xs_xvfb_pid=
xs_app_pid=
xs_main=
xs_scale=1  # the program's QT_SCALE_FACTOR, for clicks on a scaled window

xs_fail() {
    echo "FAIL: $*" >&2
    [ -z "$xs_xvfb_pid" ] || kill -0 "$xs_xvfb_pid" 2>/dev/null || echo "(Xvfb has ended)" >&2
    [ -z "$xs_app_pid" ] || kill -0 "$xs_app_pid" 2>/dev/null || echo "(the program has ended)" >&2
    if [ -s "$xs_tmp/app.log" ]; then
        echo "--- the program's messages:" >&2
        tail -n 20 "$xs_tmp/app.log" >&2
    fi
    exit 1
}

xs_cleanup() {
    if [ -n "$xs_app_pid" ]; then kill "$xs_app_pid" 2>/dev/null; wait "$xs_app_pid" 2>/dev/null; fi
    if [ -n "$xs_xvfb_pid" ]; then kill "$xs_xvfb_pid" 2>/dev/null; wait "$xs_xvfb_pid" 2>/dev/null; fi
    rm -rf "$xs_tmp"
}
trap xs_cleanup EXIT

# Starts Xvfb on a free display and points DISPLAY at it.
xs_start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$xs_tmp/display" 2>"$xs_tmp/xvfb.log" &
    xs_xvfb_pid=$!
    local i
    for i in $(seq 100); do
        [ -s "$xs_tmp/display" ] && break
        kill -0 "$xs_xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -s "$xs_tmp/display" ] || xs_fail "Xvfb did not start: $(cat "$xs_tmp/xvfb.log")"
    export DISPLAY=:$(head -n 1 "$xs_tmp/display")
}

# Starts the program (the arguments: environment assignments allowed through
# env) and waits for its main window.
xs_start_app() {
    env "$@" 2>"$xs_tmp/app.log" &
    xs_app_pid=$!
    local i
    for i in $(seq 100); do
        xs_main=$(timeout 5 xdotool search --onlyvisible --name '^Velnorka$' 2>/dev/null | head -n 1)
        if [ -n "$xs_main" ]; then
            # There is no window manager to give the new window the keyboard.
            timeout 5 xdotool windowfocus "$xs_main"
            return 0
        fi
        kill -0 "$xs_app_pid" 2>/dev/null || xs_fail "the program ended at start: $(cat "$xs_tmp/app.log")"
        sleep 0.1
    done
    xs_fail "no window named Velnorka within 10 s"
}

xs_stop_app() {
    kill "$xs_app_pid" 2>/dev/null
    wait "$xs_app_pid" 2>/dev/null
    xs_app_pid=
}

# The control's row in the table: inFrame left top width height (twips).
xs_row() {
    local row
    row=$(grep -F "\"$1\"," "$xs_layout" | grep -F 'ControlId::' |
          sed -nE 's/.*(true|false), *([0-9]+), *([0-9]+), *([0-9]+), *([0-9]+), *[0-9]+\}.*/\1 \2 \3 \4 \5/p')
    [ -n "$row" ] || xs_fail "control $1 is not in the control table"
    echo "$row"
}

# Twips to pixels at 96 DPI, rounded as the window rounds them.
xs_px() { echo $(( ($1 * 96 + 720) / 1440 )); }

# The control's rectangle in the client area, pixels: left top width height.
xs_rect() {
    local in_frame left top width height
    read -r in_frame left top width height <<<"$(xs_row "$1")"
    local x y
    x=$(xs_px "$left")
    y=$(xs_px "$top")
    if [ "$in_frame" = true ]; then
        local fin fleft ftop fwidth fheight
        read -r fin fleft ftop fwidth fheight <<<"$(xs_row Frame1)"
        x=$((x + $(xs_px "$fleft")))
        y=$((y + $(xs_px "$ftop")))
    fi
    echo "$x $y $(xs_px "$width") $(xs_px "$height")"
}

# Clicks the middle of the control, where the design puts it. (No --sync:
# it waits forever when the pointer is already there; the X server handles
# the move before the click anyway.)
xs_click() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(timeout 5 xdotool getwindowgeometry --shell "$xs_main")"
    local x y w h
    read -r x y w h <<<"$(xs_rect "$1")"
    timeout 5 xdotool mousemove \
        "$(awk -v o="$X" -v p="$x" -v l="$w" -v s="$xs_scale" 'BEGIN { printf "%d", o + (p + l / 2) * s }')" \
        "$(awk -v o="$Y" -v p="$y" -v l="$h" -v s="$xs_scale" 'BEGIN { printf "%d", o + (p + l / 2) * s }')" \
        click 1
}

# The visible dialogs of the program (its windows other than the main one).
xs_dialogs() {
    timeout 5 xdotool search --onlyvisible --name '^Velnorka$' 2>/dev/null | grep -vx "$xs_main"
}

# Waits for a dialog (a prompt or the message box), gives it the keyboard
# and prints its id. Which of the two it is shows in what follows: the
# callers check the text box afterwards.
xs_wait_dialog() {
    local i id
    for i in $(seq 100); do
        id=$(xs_dialogs | head -n 1)
        if [ -n "$id" ]; then
            timeout 5 xdotool windowfocus "$id" 2>/dev/null
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    xs_fail "no dialog within 10 s"
}

# Succeeds when no dialog shows up (or stays) within the given seconds.
xs_no_dialog() {
    local i
    for i in $(seq $(($1 * 10))); do
        [ -n "$(xs_dialogs)" ] && return 1
        sleep 0.1
    done
    return 0
}

xs_wait_gone() {
    local i
    for i in $(seq 100); do
        timeout 5 xdotool search --onlyvisible --name '^Velnorka$' 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.1
    done
    xs_fail "dialog $1 still open after 10 s"
}

# Types the reply into the prompt (replacing its selected default) and
# presses a key: Return for OK, Escape for Cancel.
xs_answer() {
    local id
    id=$(xs_wait_dialog) || exit 1
    [ -n "$1" ] && timeout 5 xdotool type --delay 20 "$1"
    timeout 5 xdotool key "${2:-Return}"
    xs_wait_gone "$id"
}

# Presses OK in the message box.
xs_dismiss_message() {
    local id
    id=$(xs_wait_dialog) || exit 1
    timeout 5 xdotool key Return
    xs_wait_gone "$id"
}

# Puts a marker on the clipboard, so that a copy can be told from no copy,
# and waits until the clipboard serves it. xclip returns before it owns the
# clipboard: its background child claims the selection later, and a claim
# that arrives after the program's copy would put the marker back over the
# sheet.
xs_mark_clipboard() {
    printf 'marker %s' "$1" | timeout 5 xclip -i -selection clipboard
    local i
    for i in $(seq 50); do
        [ "$(timeout 5 xclip -o -selection clipboard 2>/dev/null)" = "marker $1" ] && return 0
        sleep 0.1
    done
    xs_fail "the clipboard did not take marker $1 within 5 s"
}

# Writes the clipboard into the file once it no longer holds the marker and
# two reads agree.
xs_read_clipboard() {
    local marker=$1 file=$2 i
    for i in $(seq 50); do
        timeout 5 xclip -o -selection clipboard >"$file.1" 2>/dev/null || : >"$file.1"
        sleep 0.1
        timeout 5 xclip -o -selection clipboard >"$file" 2>/dev/null || : >"$file"
        if ! cmp -s "$file" <(printf 'marker %s' "$marker") && cmp -s "$file" "$file.1"; then
            rm -f "$file.1"
            return 0
        fi
    done
    xs_fail "the clipboard still held marker $marker after 5 s"
}
