#!/usr/bin/env bash
# The program as a native Wayland client of weston, which runs nested in a virtual X
# server (its x11 backend; no XWayland): the window's pixels exactly as the screenshot
# draws them, at scale 1 and on a scale 2 output; keys, a click and the close box of
# libdecor's title bar end it with status 0; the message box over it; a lost compositor,
# one without a seat and one that is not there, each one line on standard error.
set -u
xpkit="$1" xprobe="$2" msgbox="$3"
source "$(dirname "$0")/../support/xserver.sh"
source "$(dirname "$0")/../support/checks.sh"
command -v weston >/dev/null && command -v convert >/dev/null ||
  { echo "FAIL: weston and ImageMagick are needed"; exit 1; }
start_x "$xprobe" "" 2048x1536
unset DBUS_SESSION_BUS_ADDRESS
# On Wayland SDL draws through Mesa's EGL, whose drivers it loads and unloads at run time
# and which leave allocations behind at exit that no frame of ours made (in libraries
# already unloaded, so no suppression can name them). Under the sanitizers the clients
# here run without the leak check; every other memory error still stops them, and the
# other tests check our own code for leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}detect_leaks=0"
export XDG_RUNTIME_DIR="$tmp/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# No on-screen keyboard: weston's would cover windows now and then.
printf '[input-method]\npath=\n' >"$tmp/weston.ini"
weston_on() {  # weston_on SOCKET ARGS...: starts weston on the X server, sets weston
  weston --config="$tmp/weston.ini" --socket="$1" --idle-time=0 "${@:2}" >"$tmp/weston-$1.log" 2>&1 &
  weston=$!
  x_pids+=($weston)
  for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/$1" ] && break; sleep 0.05; done
  [ -S "$XDG_RUNTIME_DIR/$1" ] || { echo "FAIL: weston did not start"; cat "$tmp/weston-$1.log"; exit 1; }
  # Its desktop (panel and background) comes a little later; a window before it would
  # be placed where weston draws its pointer.
  [ "$2" = --backend=x11-backend.so ] || return 0
  "$xprobe" await 300 20 "${panel[@]}" 20000 >/dev/null || { echo "FAIL: weston drew no panel"; exit 1; }
}
# exec: started in the background, its pid is the program's, for kill to reach it.
client() { exec env -u DISPLAY WAYLAND_DISPLAY="$socket" "$@"; }
start() {  # start PICTURE COMMAND...: sets pid, and X Y where the picture shows on the screen
  local picture="$1"; shift
  # weston fades a closed window out: the one before, with the same top rows, could be
  # taken for this one.
  "$xprobe" gone "$picture" 5000 || { echo "FAIL: the window before stays on the screen"; fail=1; }
  # weston draws its pointer into the picture: keep it over the panel.
  xdotool mousemove 600 10
  client "$@" 2>"$tmp/err" & pid=$!
  read -r X Y _ < <("$xprobe" find "$picture" 20000)
  [ -n "${X:-}" ] || { echo "FAIL: $* showed no window with the pixels of $picture"; cat "$tmp/err"; kill $pid; fail=1; }
}
picture() {  # picture NAME ROWS ARGS...: the program's screenshot's first ROWS rows as a binary PPM
  # (above the Exit button, whose focus glow an active window shows and a screenshot not)
  "$xpkit" "${@:3}" --screenshot "$tmp/$1.png" && convert "$tmp/$1.png" -crop "x$2+0+0" +repage "$tmp/$1.ppm"
}
picture one 129 && picture two 258 --scale 2 || { echo "FAIL: no screenshots"; exit 1; }

# Nothing there: only our line.
out=$(env -u DISPLAY -u XDG_RUNTIME_DIR WAYLAND_DISPLAY=nothing "$xpkit" 2>&1); rc=$?
check "no runtime folder gives status $rc and: $out" \
  [ $rc = 2 ] && [ "$(head -1 <<<"$out")" = "xpkit: no display is available (XDG_RUNTIME_DIR is not set, so the Wayland socket 'nothing' cannot be found)." ]
out=$(env -u DISPLAY WAYLAND_DISPLAY=nothing "$xpkit" 2>&1); rc=$?
check "no compositor gives status $rc and: $out" \
  [ $rc = 2 ] && [ "$(head -1 <<<"$out")" = "xpkit: no display is available (no Wayland compositor answers at 'nothing' (No such file or directory))." ]
# A compositor without a seat.
weston_on headless --backend=headless-backend.so
socket=headless
out=$(client "$xpkit" 2>&1); rc=$?
check "no seat gives status $rc and: $out" \
  [ $rc = 1 ] && [ "$out" = "xpkit: the Wayland compositor at 'headless' has no seat (no keyboard or pointer)" ]
kill $weston

# Scale 1: exact pixels, Tab then Enter, a click on Exit, the close box.
panel=(46 44 43)
weston_on wl-1 --backend=x11-backend.so --width=1024 --height=768
socket=wl-1
xdotool search --name '^Weston Compositor' windowfocus --sync
start "$tmp/one.ppm" "$xpkit"
"$xprobe" await $((X + 155)) $((Y + 130)) 206 231 251 5000 >/dev/null || { echo "FAIL: Exit has not the focus at start"; fail=1; }
xdotool key Tab
"$xprobe" await $((X + 155)) $((Y + 130)) 206 231 251 5000 >/dev/null || { echo "FAIL: Tab took the focus from Exit"; fail=1; }
xdotool key Return
await_exit 0 "Tab and Enter"
check "a normal start wrote to standard error: $(cat "$tmp/err")" [ ! -s "$tmp/err" ]
start "$tmp/one.ppm" "$xpkit"
xdotool mousemove $((X + 157)) $((Y + 139)) click 1
await_exit 0 "one click on Exit"
start "$tmp/one.ppm" "$xpkit"
xdotool mousemove $((X + 331 - 17)) $((Y - 13)) click 1  # libdecor's close box
await_exit 0 "a click on the close box"
# The message box over the window: Enter closes it, then Exit ends the program.
start "$tmp/one.ppm" "$msgbox" "The gradient could not be drawn." "GradientRect"
sleep 1  # the box opens 200 ms after the window shows
xdotool key Return
sleep 0.5
xdotool mousemove $((X + 157)) $((Y + 139)) click 1
await_exit 0 "Enter on the box, then Exit"
# With DISPLAY set too, the window is an X11 one.
DISPLAY=$DISPLAY WAYLAND_DISPLAY=$socket "$xpkit" & pid=$!
check "with DISPLAY set the window is not on the X server" timeout 10 xdotool search --sync --name '^xpkit$' >/dev/null
kill $pid; wait $pid 2>/dev/null
# Larger by XPKIT_SCALE; the compositor gone.
start "$tmp/two.ppm" env XPKIT_SCALE=2 "$xpkit"
kill $weston
await_exit 1 "the compositor went away"
check "a lost compositor: '$(cat "$tmp/err")'" \
  [ "$(cat "$tmp/err")" = "xpkit: the connection to the Wayland compositor was lost" ]

# An output of scale 2: a buffer of scale 2, as dense as --scale 2 draws; pointer
# positions map back.
panel=(44 41 41)
weston_on wl-2 --backend=x11-backend.so --width=1024 --height=768 --scale=2
socket=wl-2
start "$tmp/two.ppm" "$xpkit"
xdotool mousemove $((X + 2 * 157)) $((Y + 2 * 139))
"$xprobe" await $((X + 2 * 155)) $((Y + 2 * 130)) 255 240 207 5000 >/dev/null || { echo "FAIL: no hover look at scale 2"; fail=1; }
xdotool click 1
await_exit 0 "a click on Exit at scale 2"

[ $fail = 0 ] && echo "wayland end-to-end: all checks passed"
exit $fail
