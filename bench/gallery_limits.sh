#!/usr/bin/env bash
# Time and peak memory of what the tools accept at their limits. Targets: every case
# under one second; peak resident memory under 512 MB for the gallery and 256 MB for
# xpkit. The cases are the largest pictures of each gallery subcommand, the longest texts
# in the largest font sizes, and xpkit with layouts whose button holds the longest caption
# in the largest font, and the longest caption of one-letter words on the widest line in
# the smallest font (breaking it into lines measures it once per word).
# Usage: bench/gallery_limits.sh [BUILD]   (default: build)
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
gallery="$build/xpkit-gallery" xpkit="$build/xpkit"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
repeat() { local s="" i; for ((i = 0; i < $2; i++)); do s+="$1"; done; printf '%s' "$s"; }

# measure NAME COMMAND...: wall and CPU seconds and peak resident memory of one run.
measure() {
  local name=$1; shift
  /usr/bin/time -f '%e %U %S %M' -o "$tmp/time" "$@" >/dev/null 2>"$tmp/err" ||
    { echo "$name: failed: $(cat "$tmp/err")"; exit 1; }
  read -r wall user sys kb <"$tmp/time"
  printf '%-46s %5s s wall %5.2f s CPU %6d MB peak\n' "$name" "$wall" "$(echo "$user + $sys" | bc)" $((kb / 1024))
}

arabic=$(repeat "خ" 1024) words=$(repeat "a " 512)
for size in 2048x1024 1024x2048; do
  measure "gradient $size" "$gallery" gradient --size $size --angle 315 -o "$tmp/p.png"
  measure "header $size, longest texts" "$gallery" header --size $size --caption "$arabic" --description "$arabic" \
    -o "$tmp/p.png"
  measure "button $size, longest caption at 400 pt" "$gallery" button --size $size --font-size 400 \
    --caption "$arabic" -o "$tmp/p.png"
  measure "button $size, 512 words at 1 pt" "$gallery" button --size $size --font-size 1 --caption "$words" \
    -o "$tmp/p.png"
done
measure "msgbox, longest text" "$gallery" msgbox --text "$words" --caption "$arabic" -o "$tmp/p.png"
measure "msgbox, 151 lines (the tallest)" "$gallery" msgbox --text "$(repeat $'line\n' 151)" -o "$tmp/p.png"

sed "s/set caption = \"خروج\"/set caption = \"$arabic\"/; s/font \"Tahoma\" 8.25/font \"Tahoma\" 1638/" \
  src/xpkit/shell/frmMain.layout >"$tmp/large.layout"
measure "xpkit, longest caption at 1638 pt" "$xpkit" --layout "$tmp/large.layout" --screenshot "$tmp/p.png"
sed "s/set caption = \"خروج\"/set caption = \"$words\"/; s/font \"Tahoma\" 8.25/font \"Tahoma\" 0.01/;
     s/width = 1590/width = 245760/" src/xpkit/shell/frmMain.layout >"$tmp/wide.layout"
measure "xpkit, 512 words on a 16384-pixel line" "$xpkit" --layout "$tmp/wide.layout" --screenshot "$tmp/p.png"
