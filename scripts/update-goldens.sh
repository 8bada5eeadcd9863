#!/usr/bin/env bash
# Remakes the golden pictures in tests/golden/ that the picture tests compare with
# exactly, from a plain build in BUILD (default: build). Run it on purpose after a change
# to how something looks, then look at every changed picture before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
cmake --build "$build" -j "$(nproc)" --target xpkit xpkit-gallery >/dev/null
unset XPKIT_CODEPAGE XPKIT_FONT_DIR  # the goldens show the default code page and fonts
out=tests/golden
mkdir -p "$out"
gallery=$build/xpkit-gallery

for look in normal hover focus pressed disabled; do
  "$gallery" button --look "$look" -o "$out/button-exit-$look.png"
  "$gallery" button --look "$look" --size 75x23 --caption "&OK" -o "$out/button-ok-$look.png"
  "$gallery" button --look "$look" --size 30x5 --caption "" -o "$out/button-low-$look.png"
done
for h in 12 13 14; do
  "$gallery" button --look pressed --size 40x$h --caption "" -o "$out/button-40x$h-pressed.png"
done
"$gallery" button --size 60x40 --caption "Exit the program" -o "$out/button-wrap-normal.png"
"$gallery" button --look hover --caption "&Exit" --font "MS Sans Serif" --font-size 10 -o "$out/button-sans-hover.png"

"$gallery" header --size 331x40 -o "$out/header-new.png"
"$gallery" header --size 331x40 --caption "" --description "" -o "$out/header-empty.png"
"$gallery" header --size 331x60 --caption xpkit --description "خروج — a banner with caption and description" \
  -o "$out/header-text.png"
for style in 1 0; do
  "$gallery" header --size 160x40 --caption "BorderStyle $style" --description "" --border-style "$style" \
    -o "$out/header-border-$style.png"
done

for angle in 0 45 90 180 270 315; do
  "$gallery" gradient --size 100x60 --angle "$angle" --color1 FFFFFF --color2 7791AD -o "$out/gradient-$angle.png"
done
"$gallery" gradient --size 100x60 --angle 315 -o "$out/gradient-defaults.png"

"$gallery" msgbox --text "The gradient could not be drawn: Overflow." --caption GradientRect -o "$out/msgbox.png"

for scale in 1 2; do
  "$build/xpkit" --scale "$scale" --screenshot "$out/window-$scale.png"
done
echo "goldens written: $(ls "$out"/*.png | wc -l) files in $out"
