#!/usr/bin/env bash
# The program's window under a window manager (Openbox) on a virtual X server: the frame
# it asks for, centred as a whole; the first click on Exit of a window that has not got
# the focus; a full-screen request, a minimise and the move that comes of another
# client's request for a size undone; a scaled window; a window destroyed from outside;
# the kit's message box over the window, opened by a click too, full screen and such a
# move undone for it too; X errors about the program's own destroyed windows; nothing
# left running.
set -u
xpkit="$1" xprobe="$2" msgbox="$3"
source "$(dirname "$0")/../support/xserver.sh"
source "$(dirname "$0")/../support/checks.sh"
start_x "$xprobe" openbox
# With no session bus, SDL's D-Bus use would start one (dbus-launch) that outlives us.
unset DBUS_SESSION_BUS_ADDRESS
start() {  # start NAME COMMAND...: sets pid and wid, the window called NAME
  local name="$1"; shift
  "$@" 2>"$tmp/err" & pid=$!
  wid=$(timeout 10 xdotool search --sync --name "^$name\$" | head -1)
  [ -n "$wid" ] || { echo "FAIL: no window '$name' appeared"; kill $pid; exit 1; }
}
await_frame() {  # await_frame WID: until the window manager has framed the window
  for _ in $(seq 40); do geometry "$1"; [ "$T" -gt 0 ] && return 0; sleep 0.05; done
  echo "FAIL: window $1 got no frame"; fail=1
}
await_pixel() {  # await_pixel X Y "R G B" (screen)
  "$xprobe" await "$1" "$2" $3 2000 >/dev/null && return 0
  echo "FAIL: pixel ($1,$2) is $("$xprobe" "$1" "$2"), expected $3"; fail=1
}

# The frame: move and close only, fixed size, centred as a whole; a full-screen request
# and a minimise leave the window as it was.
start xpkit "$xpkit"
await_frame "$wid"
check "Motif hints are $("$xprobe" motif "$wid")" [ "$("$xprobe" motif "$wid")" = "3 36 26 0 0" ]
check "frame at $X,$Y ${W}x$H +$L,$R,$T,$B is not centred on the screen" centred_in 0 0 1024 768
check "the window is owned by or grouped with '$("$xprobe" owner "$wid")'" [ "$("$xprobe" owner "$wid")" = "0 $wid" ]
# The focus at start: Exit, the first tab stop, has it (its glow) without a key.
await_pixel $((X + 155)) $((Y + 130)) "206 231 251"
before="$X $Y $W $H"
"$xprobe" fullscreen "$wid"
xdotool windowminimize "$wid"
sleep 0.5  # what is checked is that nothing changes
geometry "$wid"
check "after full screen and minimise the window is $X $Y $W $H, not $before" [ "$X $Y $W $H" = "$before" ]
check "the window is not shown after a minimise" [ "$V" = 1 ]
# Another client asks for a size the window cannot take and names no place (wmctrl -e
# 0,-1,-1,700,500): the window stays where it is, not where that size would have fitted.
# A place it is sent to, it keeps, and stays there on the next such request.
"$xprobe" moveresize "$wid" -1 -1 700 500
sleep 0.5  # what is checked is that nothing changes
geometry "$wid"
check "after a request for 700x500 the window is $X $Y $W $H, not $before" [ "$X $Y $W $H" = "$before" ]
"$xprobe" moveresize "$wid" 600 500 -1 -1
for _ in $(seq 40); do geometry "$wid"; [ "$X $Y $W $H" != "$before" ] && break; sleep 0.05; done
check "asked to move to 600,500 the frame went to $((X - L)),$((Y - T))" [ "$((X - L)) $((Y - T))" = "600 500" ]
moved="$X $Y $W $H"
"$xprobe" moveresize "$wid" -1 -1 700 500
sleep 0.5  # what is checked is that nothing changes
geometry "$wid"
check "after a move and a request for 700x500 the window is $X $Y $W $H, not $moved" [ "$X $Y $W $H" = "$moved" ]
# Another workspace hides the window without minimising it: it stays there.
xdotool set_desktop 1
sleep 0.5  # what is checked is that nothing changes
geometry "$wid"
check "the window pulled the user back from another workspace" [ "$(xdotool get_desktop)" = 1 ] && [ "$V" = 0 ]
xdotool set_desktop 0
for _ in $(seq 40); do geometry "$wid"; [ "$V" = 1 ] && break; sleep 0.05; done
# The first click on Exit of a window that does not have the focus ends the program.
: >"$tmp/thief"
"$xprobe" focus-thief >"$tmp/thief" & thief=$!
for _ in $(seq 100); do grep -q ready "$tmp/thief" && break; sleep 0.05; done
check "the focus thief got no focus" [ "$(xdotool getactivewindow)" != "$wid" ]
xdotool mousemove $((X + 157)) $((Y + 139)) click 1
await_exit 0 "one click on Exit of an inactive window"
kill $thief
check "a normal start wrote to standard error: $(cat "$tmp/err")" [ ! -s "$tmp/err" ]

# Destroyed from outside: one line, status 1. Scale 2: every pixel a 2x2 block of the
# scale 1 window's, the frame fixed at twice the client size, the hover look under the
# scaled pointer position.
start xpkit "$xpkit"
await_frame "$wid"
await_pixel $((X + 165)) $((Y + 77)) "119 145 173"  # painted: the window colour between the banners
points="5 5 165 77 100 124 20 140 157 139"
read -ra spots <<<"$points"
ones=()
for ((i = 0; i < ${#spots[@]}; i += 2)); do ones+=("$("$xprobe" $((X + spots[i])) $((Y + spots[i + 1])))"); done
xdotool windowclose "$wid"
await_exit 1 "the window was destroyed from outside"
check "destroyed from outside: '$(cat "$tmp/err")'" \
  [ "$(cat "$tmp/err")" = "xpkit: the window was destroyed from outside the program" ]
start xpkit "$xpkit" --scale 2
await_frame "$wid"
check "scale 2 window is ${W}x$H" [ "$W $H" = "662 308" ]
check "scale 2 frame is not centred" centred_in 0 0 1024 768
for ((i = 0, k = 0; i < ${#spots[@]}; i += 2, k++)); do
  sx=$((X + 2 * spots[i])) sy=$((Y + 2 * spots[i + 1]))
  got="$("$xprobe" $sx $sy $((sx + 1)) $((sy + 1)) | tr '\n' ' ')"
  check "scale 2 block at ${spots[i]},${spots[i + 1]} is $got, not ${ones[k]} twice" [ "$got" = "${ones[k]} ${ones[k]} " ]
done
xdotool mousemove $((X + 2 * 157)) $((Y + 2 * 139))
await_pixel $((X + 2 * 155)) $((Y + 2 * 130)) "255 240 207"
xdotool click 1
await_exit 0 "a click on Exit at scale 2"

# The kit's message box over the window: owned by it, centred on it, with its icon, text
# and focused OK button; the window takes no input meanwhile; Enter closes the box.
start xpkit "$msgbox" "The gradient could not be drawn." "GradientRect"
main=$wid
dialog=$(timeout 10 xdotool search --sync --name '^GradientRect$' | head -1)
[ -n "$dialog" ] || { echo "FAIL: no message box appeared"; kill $pid; exit 1; }
await_frame "$main"
mx=$X my=$Y
geometry "$main"
mainframe="$((X - L)) $((Y - T)) $((W + L + R)) $((H + T + B))"
await_frame "$dialog"
check "the box is owned by and grouped with '$("$xprobe" owner "$dialog")', not the window $main" \
  [ "$("$xprobe" owner "$dialog")" = "$main $main" ]
check "the box is not centred on the window" centred_in $mainframe
await_pixel $((X + (W - 75) / 2 + 37)) $((Y + H - 11 - 23 + 1)) "206 231 251"  # OK's focus glow
icon="$("$xprobe" $((X + 11 + 8)) $((Y + 11 + 25)))"
read -r r g b <<<"$icon"
check "no yellow icon: $icon" [ "$r" -gt 200 ] && [ "$g" -gt 150 ] && [ "$b" -lt 120 ]
args=()
for x in $(seq $((X + 53)) $((X + W - 11))); do args+=($x $((Y + 11 + 15))); done
check "no text in the box" bash -c "\"$xprobe\" ${args[*]} | grep -q '^0 0 0\$'"
xdotool mousemove $((mx + 157)) $((my + 139)) click 1
sleep 0.3  # what is checked is that nothing happens
check "a click on the window's Exit went through the box" kill -0 $pid
xdotool key Return
for _ in $(seq 40); do xdotool search --name '^GradientRect$' >/dev/null || break; sleep 0.05; done
check "Enter did not close the box" bash -c "! xdotool search --name '^GradientRect\$' >/dev/null"
xdotool mousemove $((mx + 157)) $((my + 139)) click 1
await_exit 0 "Enter on the box, then Exit"
# The box's close box closes it too.
start xpkit "$msgbox" "Overflow" "GradientRect"
dialog=$(timeout 10 xdotool search --sync --name '^GradientRect$' | head -1)
await_frame "$dialog"
# Full screen for the box: Openbox cannot size it, moves it to the corner without a
# frame; it comes back framed where it was.
before="$X $Y $W $H $T"
"$xprobe" fullscreen "$dialog"
sleep 0.3
for _ in $(seq 20); do geometry "$dialog"; [ "$X $Y $W $H $T" = "$before" ] && break; sleep 0.05; done
check "after full screen the box is $X $Y $W $H +$T, not $before" [ "$X $Y $W $H $T" = "$before" ]
"$xprobe" moveresize "$dialog" -1 -1 700 500
sleep 0.5  # what is checked is that nothing changes
geometry "$dialog"
check "after a request for 700x500 the box is $X $Y $W $H +$T, not $before" [ "$X $Y $W $H $T" = "$before" ]
"$xprobe" close "$dialog"
for _ in $(seq 40); do xdotool search --name '^GradientRect$' >/dev/null || break; sleep 0.05; done
check "the close box did not close the box" bash -c "! xdotool search --name '^GradientRect\$' >/dev/null"
await_frame "$wid"
xdotool mousemove $((X + 157)) $((Y + 139)) click 1
await_exit 0 "the close box of the box, then Exit"

# A click opens the box: its OK glows under the pointer and the first click closes it.
start xpkit "$msgbox" --open-by-click "Saved." "Note"
await_frame "$wid"
mx=$X my=$Y
xdotool mousemove $((mx + 47)) $((my + 61)) click 1
dialog=$(timeout 10 xdotool search --sync --name '^Note$' | head -1)
[ -n "$dialog" ] || { echo "FAIL: no message box appeared on a click"; kill $pid; exit 1; }
await_frame "$dialog"
xdotool mousemove $((X + (W - 75) / 2 + 37)) $((Y + H - 11 - 23 + 10))
await_pixel $((X + (W - 75) / 2 + 37)) $((Y + H - 11 - 23 + 1)) "255 240 207"  # OK's hover glow
xdotool click 1
for _ in $(seq 40); do xdotool search --name '^Note$' >/dev/null || break; sleep 0.05; done
check "the first click on OK did not close the box" bash -c "! xdotool search --name '^Note\$' >/dev/null"
xdotool mousemove $((mx + 157)) $((my + 139)) click 1
await_exit 0 "the box opened by a click, then Exit"
check "the box opened by a click wrote to standard error: $(cat "$tmp/err")" [ ! -s "$tmp/err" ]
# An X error about the box's window, destroyed by then, arrives as the display closes.
start xpkit "$msgbox" --late-request "Overflow" "GradientRect"
dialog=$(timeout 10 xdotool search --sync --name '^GradientRect$' | head -1)
await_frame "$dialog"
xdotool key Return
for _ in $(seq 40); do xdotool search --name '^GradientRect$' >/dev/null || break; sleep 0.05; done
await_frame "$wid"
xdotool mousemove $((X + 157)) $((Y + 139)) click 1
await_exit 0 "an error about a destroyed window at the end"
check "the late error was written to standard error: $(cat "$tmp/err")" [ ! -s "$tmp/err" ]

for p in $(pgrep -x dbus-daemon); do
  { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "DISPLAY=$DISPLAY" &&
    { echo "FAIL: a session bus was left running (process $p)"; fail=1; kill "$p"; }
done
[ $fail = 0 ] && echo "desktop end-to-end: all checks passed"
exit $fail
