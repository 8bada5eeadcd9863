#!/usr/bin/env bash
# The worst layouts the reader accepts, each at a bound of src/xpkit/layout/detail/LayoutBounds.h (64 deep,
# 2048 controls and lines, 4194304 pixels of window and images with every control counted
# 16 pixels wider and higher, 16384 pixels a side):
# processor time (user and system; wall time beside it, which a busy machine stretches)
# and peak resident memory of `xpkit --layout F --screenshot` and of `--save-layout`,
# each the worst of three runs. Target: every one under a second and under 256 MB. Then
# the largest window's screenshot at --scale 4, a picture of 8192 x 8192 pixels written
# a row at a time: under 64 MB (its time is the PNG encoder's, some 2 s). A last layout,
# one level too deep, must be refused at once with its file and line.
# Usage: bench/layout_bounds.sh [build/xpkit]
set -euo pipefail
xpkit="${1:-build/xpkit}"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# window W H (pixels); control NAME CLASS PARENT W H [dock] (in the parent's unit);
# line NAME PARENT X1 Y1 X2 Y2.
window() {
  printf 'xpkit-layout 1\nwindow w\n  clientwidth = %d\n  clientheight = %d\nend\n' $(($1 * 15)) $(($2 * 15))
}
control() {
  printf 'control %s %s in %s\n  left = 0\n  top = 0\n  width = %s\n  height = %s\n' "$1" "$2" "$3" "$4" "$5"
  [ -z "${6:-}" ] || printf '  dock = %s\n' "$6"
  printf '  set caption = "%s"\nend\n' "$1"
}
line() { printf 'line %s in %s\n  x1 = %s\n  y1 = %s\n  x2 = %s\n  y2 = %s\nend\n' "$@"; }
header=Morvel.XPHeader button=Morvel.XPButton

# 64 banners each inside the last, each the window's size: 331 x 154 + 64 x 347 x 170.
{ window 331 154; control c1 $header w 4965 2310
  for i in $(seq 2 64); do control c$i $header c$((i - 1)) 4965 2310; done; } >"$dir/deep-banners.layout"
# 64 buttons each inside the last; inside a button sizes are pixels.
{ window 331 154; control c1 $button w 4965 2310
  for i in $(seq 2 64); do control c$i $button c$((i - 1)) 331 154; done; } >"$dir/deep-buttons.layout"
# 2048 banners of 29 x 29 pixels, each with its caption drawn (each counts 45 x 45).
{ window 64 64; for i in $(seq 2048); do control c$i $header w 435 435; done; } >"$dir/many-banners.layout"
# 2048 buttons of 29 x 29 pixels.
{ window 64 64; for i in $(seq 2048); do control c$i $button w 435 435; done; } >"$dir/many-buttons.layout"
# The widest image: a banner 16384 x 223 pixels docked in a window as wide.
{ window 16384 16; control c1 $header w 0 3345 top; } >"$dir/widest-banner.layout"
# The tallest: a banner 239 x 16384 pixels, whose gradient runs its length.
{ window 16 16; control c1 $header w 3585 245760; } >"$dir/tallest-banner.layout"
# A button 16384 x 239 pixels inside a button.
{ window 16 16; control c1 $button w 15 15; control c2 $button c1 16384 239; } >"$dir/button-in-button.layout"
# Banners 2 pixels high and 4096 wide, as many as the budget takes (each counts 4112 x
# 18): a gradient strokes some 10,000 lines for each, nearly all outside it.
{ window 16 16; for i in $(seq 56); do control c$i $header w 61440 30; done; } >"$dir/thin-banners.layout"
# The widest window, 16384 x 256 pixels, crossed by 2048 lines as long as a line can be.
{ window 16384 256; for i in $(seq 2048); do line l$i w -245760 "$i" 245760 "$i"; done; } >"$dir/long-lines.layout"
# The largest window, 2048 x 2048 pixels, crossed by 2048 lines each 32768 pixels long
# (line i enters on the left at row i).
{ window 2048 2048; for i in $(seq 2048); do line l$i w -245760 $(((i - 8192) * 15)) 245760 $(((i + 8192) * 15)); done; } \
  >"$dir/lines.layout"

measure() {  # "CPU s (WALL s) MB": user and system time, wall time, peak resident memory; the worst of three runs
  local cpu=0 wall=0 kb=0 w u s k
  for _ in 1 2 3; do
    /usr/bin/time -f '%e %U %S %M' -o "$dir/time" "$xpkit" "$@" >/dev/null || return 1
    read -r w u s k <"$dir/time"
    cpu=$(echo "c = $u + $s; if (c > $cpu) c else $cpu" | bc -l)
    wall=$(echo "if ($w > $wall) $w else $wall" | bc -l)
    [ "$k" -gt "$kb" ] && kb=$k
  done
  printf '%4.2f s (%4.2f s) %3d MB' "$cpu" "$wall" $((kb / 1024))
}

printf '%-16s %-7s %-24s %s\n' layout size 'screenshot: CPU (wall)' 'save-layout: CPU (wall)'
for f in "$dir"/*.layout; do
  shot=$(measure --layout "$f" --screenshot "$dir/out.png") || exit 1  # a refusal is a fault of this script
  save=$(measure --layout "$f" --save-layout "$dir/out.layout") || exit 1
  printf '%-16s %-7s %-24s %s\n' "$(basename "$f" .layout)" "$(($(wc -c <"$f") / 1024)) KB" "$shot" "$save"
done

shot=$(measure --layout "$dir/lines.layout" --scale 4 --screenshot "$dir/out.png") || exit 1
printf '%-16s %-7s %s\n' 'lines --scale 4' '' "$shot"

# One past the bounds: the reader refuses it with the file and the line, before building.
{ window 331 154; control c1 $header w 4965 2310
  for i in $(seq 2 65); do control c$i $header c$((i - 1)) 15 15; done; } >"$dir/too-deep.layout"
if "$xpkit" --layout "$dir/too-deep.layout" --screenshot "$dir/out.png" 2>"$dir/err"; then
  echo "too-deep.layout was accepted"
  exit 1
fi
echo "refused: $(sed "s|$dir/||" "$dir/err")"
