#!/usr/bin/env bash
# Two monitors side by side on one X screen (RandR 1.5, as real multi-head setups report
# them), 1280x800 each: the window's frame is centred on the monitor that holds the
# pointer, for the pointer on each in turn, with no window manager, Openbox, IceWM and
# xfwm4 (those installed), and its message box stays centred on it.
set -u
xpkit="$1" xprobe="$2" msgbox="$3"
command -v xrandr >/dev/null || { echo "FAIL: xrandr is needed"; exit 1; }
source "$(dirname "$0")/../support/checks.sh"
await_frame() {  # await_frame WID MANAGED: until a window manager (if any) has framed it
  for _ in $(seq 60); do geometry "$1"; { [ "$2" = 0 ] || [ "$T" -gt 0 ]; } && [ "$V" = 1 ] && return 0; sleep 0.05; done
  echo "FAIL: window $1 was not shown framed"; fail=1
}
for wm in none openbox icewm xfwm4; do
  [ $wm = none ] || command -v $wm >/dev/null || { echo "note: $wm is not installed, passed over"; continue; }
  (
    source "$(dirname "$0")/../support/xserver.sh"
    unset DBUS_SESSION_BUS_ADDRESS
    # xfwm4 starts only with a session bus.
    [ $wm = xfwm4 ] && eval "$(dbus-launch --sh-syntax)" && x_pids+=("$DBUS_SESSION_BUS_PID")
    start_x "$xprobe" "$([ $wm = none ] || echo $wm)" 2560x800
    xrandr --setmonitor LEFT 1280/338x800/211+0+0 screen >/dev/null &&
      xrandr --setmonitor RIGHT 1280/338x800/211+1280+0 none >/dev/null || { echo "FAIL: no monitors made"; exit 1; }
    managed=$([ $wm = none ] && echo 0 || echo 1)
    for left in 0 1280; do
      xdotool mousemove $((left + 100)) 400
      "$xpkit" & pid=$!
      wid=$(timeout 10 xdotool search --sync --name '^xpkit$' | head -1)
      await_frame "$wid" $managed
      centred_in $left 0 1280 800 || { echo "FAIL: $wm: frame at $X,$Y ${W}x$H +$L,$R,$T,$B is not centred on the monitor at $left"; fail=1; }
      kill $pid; wait $pid 2>/dev/null
    done
    # The message box on its window, the pointer on the right-hand monitor.
    "$msgbox" "Overflow" "GradientRect" & pid=$!
    main=$(timeout 10 xdotool search --sync --name '^xpkit$' | head -1)
    dialog=$(timeout 10 xdotool search --sync --name '^GradientRect$' | head -1)
    await_frame "$main" $managed
    owner="$((X - L)) $((Y - T)) $((W + L + R)) $((H + T + B))"
    await_frame "$dialog" $managed
    centred_in $owner || { echo "FAIL: $wm: the box is not centred on its window"; fail=1; }
    kill $pid; wait $pid 2>/dev/null
    exit $fail
  ) || fail=1
done
[ $fail = 0 ] && echo "monitors end-to-end: all checks passed"
exit $fail
