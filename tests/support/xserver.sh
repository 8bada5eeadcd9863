# Shared by the end-to-end tests: `start_x XPROBE [WM [SIZE]]` starts a virtual X server of
# its own (SIZE, 1024x768 by default, a free display that Xvfb picks itself) and, if named, a window manager,
# waits until both answer, and exports DISPLAY; both are stopped when the script exits.
# Also sets `tmp`, a scratch folder removed at exit.
tmp=$(mktemp -d)
x_pids=()
trap 'for p in "${x_pids[@]}"; do kill $p 2>/dev/null; done; rm -rf "$tmp"' EXIT
start_x() {
  local xprobe="$1" wm="${2:-}" size="${3:-1024x768}"
  command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "FAIL: Xvfb and xdotool are needed"; exit 1; }
  # -noreset: the server would otherwise start afresh, refusing connections meanwhile,
  # each time its last client leaves (as the probes do).
  Xvfb -displayfd 3 -screen 0 ${size}x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
  x_pids+=($!)
  for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
  export DISPLAY=:$(cat "$tmp/display" 2>/dev/null)
  for _ in $(seq 50); do "$xprobe" 0 0 >/dev/null 2>&1 && break; sleep 0.1; done
  "$xprobe" 0 0 >/dev/null 2>&1 || { echo "FAIL: no X server started"; cat "$tmp/xvfb.log"; exit 1; }
  [ -n "$wm" ] || return 0
  command -v "$wm" >/dev/null || { echo "FAIL: the window manager $wm is needed"; exit 1; }
  "$wm" >"$tmp/wm.log" 2>&1 &
  x_pids+=($!)
  for _ in $(seq 100); do "$xprobe" wm && return 0; sleep 0.05; done
  echo "FAIL: $wm did not start"; cat "$tmp/wm.log"; exit 1
}
