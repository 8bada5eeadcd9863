#!/usr/bin/env bash
# The program's start and size: time from exec to the first composed frame (a headless
# --screenshot, median of 21 runs; target under 100 ms) and the resident memory of the
# running window on a virtual X server (target under 40 MB), plus its CPU use over five
# seconds with the pointer resting on the Exit button (target under 3% of one core).
set -eu
xpkit="${1:-build/xpkit}"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"; [ -n "${xvfb:-}" ] && kill $xvfb 2>/dev/null' EXIT

times=()
for _ in $(seq 21); do
  s=$(date +%s%N); "$xpkit" --screenshot "$tmp/w.png"; e=$(date +%s%N)
  times+=($(( (e - s) / 100000 )))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 11p)
printf 'exec to first frame (headless): %d.%d ms (median of 21)\n' $((median / 10)) $((median % 10))

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null & xvfb=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
export DISPLAY=:$(cat "$tmp/display")
sleep 0.5
"$xpkit" & pid=$!
wid=$(timeout 10 xdotool search --sync --name '^xpkit$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$wid")"
xdotool mousemove $((X + 157)) $((Y + 139))
sleep 1
echo "resident memory of the running window: $(awk '/VmRSS/ {printf "%.1f MB", $2 / 1024}' /proc/$pid/status)"
hz=$(getconf CLK_TCK)
t0=$(awk '{print $14 + $15}' /proc/$pid/stat); sleep 5; t1=$(awk '{print $14 + $15}' /proc/$pid/stat)
echo "CPU with the pointer resting on Exit: $(awk -v d=$((t1 - t0)) -v hz="$hz" 'BEGIN {printf "%.1f%%", 100 * d / hz / 5}') of one core"
xdotool mousemove $((X + 300)) $((Y + 80))
sleep 0.5
t0=$(awk '{print $14 + $15}' /proc/$pid/stat); sleep 5; t1=$(awk '{print $14 + $15}' /proc/$pid/stat)
echo "CPU idle: $(awk -v d=$((t1 - t0)) -v hz="$hz" 'BEGIN {printf "%.1f%%", 100 * d / hz / 5}') of one core"
kill $pid
