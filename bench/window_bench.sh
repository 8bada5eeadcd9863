#!/usr/bin/env bash
# The program's start and size. Targets: exec to the first frame under 100 ms, resident
# memory under 40 MB, CPU with the pointer resting on Exit under 3% of one core.
#  - exec to the first composed frame headless (--screenshot), median of 21 runs;
#  - exec to the first painted pixels of the real window on a virtual X server, with no
#    window manager and under Openbox (when installed), median of 11 runs each: the
#    window's colour at the middle of the screen, watched by xprobe;
#  - resident memory and CPU over five seconds with the pointer resting on Exit at
#    scale 1 and scale 2, and idle.
# With --accessibility, all of it on a private session bus whose accessibility bus is up
# and enabled, with a client listening to every event as a screen reader does
# (bench/atspi_listener.py): what the program costs on the bus, against the run without.
# Usage: bench/window_bench.sh [--accessibility] [build/xpkit [build/tests/xprobe]]
set -eu
accessibility=
if [ "${1:-}" = --accessibility ]; then
  shift
  [ -n "${XPKIT_BENCH_BUS:-}" ] || exec dbus-run-session -- env XPKIT_BENCH_BUS=1 "$0" --accessibility "$@"
  accessibility=1
fi
xpkit="${1:-build/xpkit}"
xprobe="${2:-$(dirname "$xpkit")/tests/xprobe}"
[ -x "$xprobe" ] || { echo "no $xprobe: build the tests, or name xprobe"; exit 1; }
tmp=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill $p 2>/dev/null || true; done; rm -rf "$tmp"' EXIT
median() { sort -n | sed -n "$((($1 + 1) / 2))p"; }

if [ -n "$accessibility" ]; then
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & pids+=($!)
  for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true' && break
    sleep 0.1
  done
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
    string:org.a11y.Status string:IsEnabled variant:boolean:true >/dev/null
  /usr/bin/python3 "$(dirname "$0")/atspi_listener.py" & pids+=($!)
  echo "on the accessibility bus, a client listening to every event"
fi
ms() { printf '%d.%d ms' $(($1 / 10)) $(($1 % 10)); }  # tenths of a millisecond

times=()
for _ in $(seq 21); do
  s=$(date +%s%N); "$xpkit" --screenshot "$tmp/w.png"; e=$(date +%s%N)
  times+=($(((e - s) / 100000)))
done
echo "exec to first frame (headless): $(ms "$(printf '%s\n' "${times[@]}" | median 21)") (median of 21)"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$tmp/display" 2>/dev/null & pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
export DISPLAY=:$(cat "$tmp/display")
for _ in $(seq 50); do "$xprobe" 0 0 >/dev/null 2>&1 && break; sleep 0.1; done

first_frame() {  # the median time from exec to the window's colour at the screen's middle
  local times=()
  for _ in $(seq 11); do
    "$xprobe" 0 0 >/dev/null  # the screen is free of any earlier window
    "$xprobe" await 512 384 119 145 173 5000 >"$tmp/seen" & local watch=$!
    sleep 0.05
    local s=$(date +%s%N)
    "$xpkit" & local pid=$!
    wait $watch
    times+=($((($(cat "$tmp/seen") - s) / 100000)))
    kill $pid; wait $pid 2>/dev/null || true
    for _ in $(seq 40); do [ "$("$xprobe" 512 384)" != "119 145 173" ] && break; sleep 0.05; done
  done
  ms "$(printf '%s\n' "${times[@]}" | median 11)"
}
echo "exec to first frame (real window, no window manager): $(first_frame) (median of 11)"
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 & pids+=($!)
  for _ in $(seq 100); do "$xprobe" wm && break; sleep 0.05; done
  echo "exec to first frame (real window, Openbox): $(first_frame) (median of 11)"
fi

hz=$(getconf CLK_TCK)
cpu() {  # CPU use of process $1 over five seconds
  local t0 t1
  t0=$(awk '{print $14 + $15}' /proc/$1/stat); sleep 5; t1=$(awk '{print $14 + $15}' /proc/$1/stat)
  awk -v d=$((t1 - t0)) -v hz="$hz" 'BEGIN {printf "%.1f%%", 100 * d / hz / 5}'
}
for scale in 1 2; do
  "$xpkit" --scale $scale & pid=$!
  wid=$(timeout 10 xdotool search --sync --name '^xpkit$' | head -1)
  read -r X Y _ < <("$xprobe" frame "$wid")
  xdotool mousemove $((X + scale * 157)) $((Y + scale * 139))
  "$xprobe" await $((X + scale * 155)) $((Y + scale * 130)) 255 240 207 2000 >/dev/null
  sleep 0.5
  echo "scale $scale: resident memory $(awk '/VmRSS/ {printf "%.1f MB", $2 / 1024}' /proc/$pid/status)," \
    "CPU with the pointer resting on Exit $(cpu $pid) of one core"
  if [ $scale = 1 ]; then
    xdotool mousemove $((X + 300)) $((Y + 80))
    sleep 0.5
    echo "scale 1: CPU idle $(cpu $pid) of one core"
  fi
  kill $pid; wait $pid 2>/dev/null || true
done
