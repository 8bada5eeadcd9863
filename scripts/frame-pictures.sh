#!/usr/bin/env bash
# Pictures of the window and of its message box as three window managers frame them
# (Openbox, IceWM, xfwm4), each on a virtual X server of its own, and of the window as
# weston frames it as a native Wayland client (libdecor's title bar), into docs/frames/.
# Needs a build with the tests (build/tests/xprobe, build/tests/msgbox_window), Xvfb,
# xdotool, ImageMagick (import, convert), the window managers and weston; one that is
# not installed is passed over. Usage: bash scripts/frame-pictures.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
xprobe="$build/tests/xprobe"
for tool in Xvfb xdotool import convert; do
  command -v $tool >/dev/null || { echo "frame-pictures: $tool is needed" >&2; exit 1; }
done
[ -x "$xprobe" ] && [ -x "$build/tests/msgbox_window" ] || { echo "frame-pictures: build the tests first" >&2; exit 1; }
mkdir -p docs/frames

# shoot WM NAME WID: the screen cropped to the window's frame, 8 pixels around it.
shoot() {
  local x y w h l r t b shown
  read -r x y w h l r t b shown < <("$xprobe" frame "$3")
  import -window root "$tmp/screen.png"
  convert "$tmp/screen.png" -crop "$((w + l + r + 16))x$((h + t + b + 16))+$((x - l - 8))+$((y - t - 8))" +repage \
    "docs/frames/$1-$2.png"
  echo "docs/frames/$1-$2.png"
}

for wm in openbox icewm xfwm4; do
  command -v $wm >/dev/null || { echo "frame-pictures: $wm is not installed, passed over"; continue; }
  (
    source tests/support/xserver.sh
    # xfwm4 starts only with a session bus.
    [ $wm = xfwm4 ] && eval "$(dbus-launch --sh-syntax)" && x_pids+=("$DBUS_SESSION_BUS_PID")
    start_x "$xprobe" $wm
    "$build/xpkit" & pid=$!
    wid=$(timeout 10 xdotool search --sync --name '^xpkit$' | head -1)
    sleep 0.5
    shoot $wm window "$wid"
    kill $pid; wait $pid 2>/dev/null || true
    "$build/tests/msgbox_window" "The gradient could not be drawn: Overflow." GradientRect & pid=$!
    timeout 10 xdotool search --sync --name '^GradientRect$' >/dev/null
    wid=$(timeout 10 xdotool search --sync --name '^xpkit$' | head -1)
    sleep 0.5
    shoot $wm msgbox "$wid"
    kill $pid; wait $pid 2>/dev/null || true
  )
done

if ! command -v weston >/dev/null; then echo "frame-pictures: weston is not installed, passed over"; exit 0; fi
(
  source tests/support/xserver.sh
  start_x "$xprobe"
  export XDG_RUNTIME_DIR="$tmp/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  printf '[input-method]\npath=\n' >"$tmp/weston.ini"
  weston --config="$tmp/weston.ini" --backend=x11-backend.so --socket=wl --width=1024 --height=768 --idle-time=0 \
    >"$tmp/weston.log" 2>&1 &
  x_pids+=($!)
  for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/wl" ] && break; sleep 0.05; done
  sleep 1  # its panel and background
  "$build/xpkit" --screenshot "$tmp/window.png" && convert "$tmp/window.png" "$tmp/window.ppm"
  xdotool mousemove 600 10
  env -u DISPLAY WAYLAND_DISPLAY=wl "$build/xpkit" & pid=$!
  read -r x y _ < <("$xprobe" find "$tmp/window.ppm" 20000)
  sleep 0.5
  # libdecor's title bar is 24 pixels high, its shadow a few around.
  import -window root "$tmp/screen.png"
  convert "$tmp/screen.png" -crop "$((331 + 24))x$((154 + 24 + 24))+$((x - 12))+$((y - 24 - 12))" +repage \
    docs/frames/weston-window.png
  echo docs/frames/weston-window.png
  kill $pid; wait $pid 2>/dev/null || true
)
