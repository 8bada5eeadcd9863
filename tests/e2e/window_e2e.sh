#!/usr/bin/env bash
# The program in a real window on a virtual X server with no window manager: the hover
# look shows when the pointer rests on the Exit button, and a click (or Tab then Space)
# ends the program with status 0.
set -u
xpkit="$1" xprobe="$2"
source "$(dirname "$0")/../support/xserver.sh"
start_x "$xprobe"
fail=0

start() {  # starts xpkit and sets pid, X, Y (the client area's screen position)
  "$xpkit" & pid=$!
  wid=$(timeout 10 xdotool search --sync --name '^xpkit$' | head -1)
  [ -n "$wid" ] || { echo "FAIL: no window appeared"; kill $pid; exit 1; }
  read -r X Y _ < <("$xprobe" frame "$wid")
}
pixel() { "$xprobe" $((X + $1)) $((Y + $2)); }
await_pixel() {  # await_pixel X Y "R G B": within two seconds
  "$xprobe" await $((X + $1)) $((Y + $2)) $3 2000 >/dev/null && return 0
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
read -r _ _ w h _ < <("$xprobe" frame "$wid")
off() { local d=$(($1)); echo ${d#-}; }
[ "$(off "2 * X + w - 1024")" -le 1 ] && [ "$(off "2 * Y + h - 768")" -le 1 ] ||
  { echo "FAIL: client at $X,$Y is not centred"; fail=1; }
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
await_pixel 155 130 "255 255 255"
xdotool key Tab
await_pixel 155 130 "206 231 251"
xdotool key space
await_exit "Tab and Space"

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
