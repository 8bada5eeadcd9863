#!/usr/bin/env bash
# The program in a real window on a virtual X server: the hover look shows when the
# pointer rests on the Exit button, and a click (or Tab then Space) ends the program
# with status 0.
set -u
xpkit="$1" xprobe="$2"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "FAIL: Xvfb and xdotool are needed"; exit 1; }
log=$(mktemp)
# Xvfb picks a free display itself and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$log.n" 2>"$log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$log.n" ] && break; sleep 0.05; done
export DISPLAY=:$(cat "$log.n" 2>/dev/null)
for _ in $(seq 50); do "$xprobe" 0 0 >/dev/null 2>&1 && break; sleep 0.1; done
"$xprobe" 0 0 >/dev/null 2>&1 || unset xvfb
[ -n "${xvfb:-}" ] || { echo "FAIL: no X server started"; cat "$log"; exit 1; }
trap 'kill $xvfb 2>/dev/null; rm -f "$log" "$log.n"' EXIT
fail=0

start() {  # starts xpkit and sets pid, X, Y (the client area's screen position)
  "$xpkit" & pid=$!
  wid=$(timeout 10 xdotool search --sync --name '^xpkit$' | head -1)
  [ -n "$wid" ] || { echo "FAIL: no window appeared"; kill $pid; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$wid")"
}
pixel() { "$xprobe" $((X + $1)) $((Y + $2)); }
await_pixel() {  # await_pixel X Y "R G B": within two seconds
  for _ in $(seq 40); do [ "$(pixel "$1" "$2")" = "$3" ] && return 0; sleep 0.05; done
  echo "FAIL: pixel ($1,$2) is $(pixel "$1" "$2"), expected $3"; fail=1
}
await_exit() {
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then echo "FAIL: still running after $1"; kill $pid; fail=1; return; fi
  wait $pid; local rc=$?
  [ $rc = 0 ] || { echo "FAIL: exit status $rc after $1"; fail=1; }
}

# Mouse: row 1 of the button is the window colour normally, the hover glow under the pointer.
start
xdotool mousemove $((X + 300)) $((Y + 80))
await_pixel 155 130 "255 255 255"
xdotool mousemove $((X + 157)) $((Y + 139))
await_pixel 155 130 "255 240 207"
xdotool mousemove $((X + 300)) $((Y + 80))
await_pixel 155 130 "255 255 255"
xdotool mousemove $((X + 157)) $((Y + 139))
await_pixel 155 130 "255 240 207"
xdotool click 1
await_exit "a click on Exit"

# Keyboard: Tab focuses the button (its focus glow), Space clicks it.
start
xdotool mousemove $((X + 300)) $((Y + 80))
sleep 0.2
xdotool key Tab
await_pixel 155 130 "206 231 251"
xdotool key space
await_exit "Tab and Space"

[ $fail = 0 ] && echo "window end-to-end: all checks passed"
exit $fail
