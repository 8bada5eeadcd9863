#!/usr/bin/env bash
# The program in a real window on a virtual X server with no window manager: the hover
# look shows when the pointer rests on the Exit button, and a click (or Tab then Space,
# or Enter at once: the first tab stop has the focus) ends the program with status 0;
# the kit's message box opened by a click takes the first click; X errors about the
# program's own destroyed windows leave its status alone.
set -u
xpkit="$1" xprobe="$2" msgbox="$3"
source "$(dirname "$0")/../support/xserver.sh"
source "$(dirname "$0")/../support/checks.sh"
start_x "$xprobe"

start() {  # start [COMMAND...]: starts xpkit (or COMMAND) and sets pid, X, Y (the client area's screen position)
  [ $# -gt 0 ] || set -- "$xpkit"
  "$@" 2>"$tmp/err" & pid=$!
  wid=$(timeout 10 xdotool search --sync --name '^xpkit$' | head -1)
  [ -n "$wid" ] || { echo "FAIL: no window appeared"; kill $pid; exit 1; }
  read -r X Y _ < <("$xprobe" frame "$wid")
}
pixel() { "$xprobe" $((X + $1)) $((Y + $2)); }
await_pixel() {  # await_pixel X Y "R G B": within two seconds
  "$xprobe" await $((X + $1)) $((Y + $2)) $3 2000 >/dev/null && return 0
  echo "FAIL: pixel ($1,$2) is $(pixel "$1" "$2"), expected $3"; fail=1
}
await_quiet_exit() {  # await_quiet_exit WHAT: status 0, nothing on standard error
  await_exit 0 "$1"
  check "standard error after $1: $(cat "$tmp/err")" [ ! -s "$tmp/err" ]
}

# Mouse: row 1 of the button is the focus glow away from the pointer (the window is
# active, the button its first tab stop), the hover glow under it.
start
read -r _ _ w h _ < <("$xprobe" frame "$wid")
[ "$(off "2 * X + w - 1024")" -le 1 ] && [ "$(off "2 * Y + h - 768")" -le 1 ] ||
  { echo "FAIL: client at $X,$Y is not centred"; fail=1; }
xdotool mousemove $((X + 300)) $((Y + 80))
await_pixel 155 130 "206 231 251"
xdotool mousemove $((X + 157)) $((Y + 139))
await_pixel 155 130 "255 240 207"
xdotool mousemove $((X + 300)) $((Y + 80))
await_pixel 155 130 "206 231 251"
xdotool mousemove $((X + 157)) $((Y + 139))
await_pixel 155 130 "255 240 207"
xdotool click 1
await_quiet_exit "a click on Exit"

# Keyboard: the window becomes active with the pointer on it, and Exit, its first tab
# stop, has the focus (its glow): Enter clicks it. Tab keeps the focus there, Space clicks.
start
xdotool mousemove $((X + 300)) $((Y + 80))
await_pixel 155 130 "206 231 251"
xdotool key Return
await_quiet_exit "Enter at once"
start
xdotool mousemove $((X + 300)) $((Y + 80))
xdotool key Tab
await_pixel 155 130 "206 231 251"
xdotool key space
await_quiet_exit "Tab and Space"

# A click opens the kit's message box: its OK glows under the pointer and the first
# click closes it.
start "$msgbox" --open-by-click "Saved." "Note"
xdotool mousemove $((X + 47)) $((Y + 61)) click 1
box=$(timeout 10 xdotool search --sync --name '^Note$' | head -1)
[ -n "$box" ] || { echo "FAIL: no message box appeared"; kill $pid; exit 1; }
read -r bx by bw bh _ < <("$xprobe" frame "$box")
okx=$((bx + (bw - 75) / 2 + 37)) oky=$((by + bh - 11 - 23 + 1))
xdotool mousemove $okx $((oky + 10))
"$xprobe" await $okx $oky 255 240 207 2000 >/dev/null ||
  { echo "FAIL: OK of a box opened by a click shows no hover glow: $("$xprobe" $okx $oky)"; fail=1; }
xdotool click 1
for _ in $(seq 40); do xdotool search --name '^Note$' >/dev/null || break; sleep 0.05; done
xdotool search --name '^Note$' >/dev/null && { echo "FAIL: the first click on OK did not close the box"; fail=1; }
xdotool mousemove $((X + 157)) $((Y + 139)) click 1
await_quiet_exit "the box opened by a click, then Exit"

# An X error about the box's window, destroyed by then, arrives as the display closes.
start "$msgbox" --late-request "Overflow" "GradientRect"
box=$(timeout 10 xdotool search --sync --name '^GradientRect$' | head -1)
read -r bx by bw bh _ < <("$xprobe" frame "$box")
xdotool mousemove $((bx + (bw - 75) / 2 + 37)) $((by + bh - 11 - 12)) click 1
for _ in $(seq 40); do xdotool search --name '^GradientRect$' >/dev/null || break; sleep 0.05; done
xdotool mousemove $((X + 157)) $((Y + 139)) click 1
await_quiet_exit "an error about a destroyed window at the end"

# The X server goes away: one line, status 1.
"$xpkit" 2>"$tmp/err" & pid=$!
timeout 10 xdotool search --sync --name '^xpkit$' >/dev/null
kill "${x_pids[0]}"
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
wait $pid; rc=$?
[ $rc = 1 ] && [ "$(cat "$tmp/err")" = "xpkit: the connection to the X display was lost" ] ||
  { echo "FAIL: a lost display gives status $rc and: $(cat "$tmp/err")"; fail=1; }

[ $fail = 0 ] && echo "window end-to-end: all checks passed"
exit $fail
