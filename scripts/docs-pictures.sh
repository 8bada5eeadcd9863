#!/usr/bin/env bash
# Renders the pictures in docs/ with the kit's own tools: every look of each control
# and the message box (xpkit-gallery), the program's window (xpkit --screenshot) and the examples' window
# (own_window --screenshot, built against a temporary install). Run it after a change
# to how anything looks, from a plain build in BUILD (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
cmake --build "$build" -j "$(nproc)" >/dev/null
unset XPKIT_CODEPAGE  # the pictures show the default code page, 1256
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
gallery=$build/xpkit-gallery

for look in normal hover focus pressed disabled; do
  "$gallery" button --look "$look" -o "docs/button-$look.png"
done
"$gallery" button --size 75x23 --caption "&OK" -o docs/button-ok.png

"$gallery" header --size 331x40 -o docs/header-new.png
"$gallery" header --size 331x40 --caption "" --description "" -o docs/header-empty.png
"$gallery" header --size 331x60 --caption xpkit --description "خروج — a banner with caption and description" \
  -o docs/header-text.png
for style in 1 0; do
  "$gallery" header --size 160x40 --caption "BorderStyle $style" --description "" --border-style "$style" \
    -o "docs/header-border-$style.png"
done

for angle in 0 45 90 180 270 315; do
  "$gallery" gradient --size 100x60 --angle "$angle" --color1 FFFFFF --color2 7791AD -o "docs/gradient-$angle.png"
done
"$gallery" gradient --size 100x60 --angle 315 -o docs/gradient-defaults.png

"$gallery" msgbox --text "The gradient could not be drawn: Overflow." --caption GradientRect -o docs/msgbox.png

"$build/xpkit" --screenshot docs/window.png

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
cmake -S examples -B "$tmp/examples" -G Ninja -DCMAKE_PREFIX_PATH="$tmp/prefix" >/dev/null
cmake --build "$tmp/examples" -j "$(nproc)" >/dev/null
"$tmp/examples/own_window" --screenshot docs/example-window.png
echo "docs pictures written: $(ls docs/*.png | wc -l) files"
