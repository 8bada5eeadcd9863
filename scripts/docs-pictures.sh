#!/usr/bin/env bash
# Renders the pictures in docs/ with the kit's own tools: the tests' goldens, remade by
# scripts/update-goldens.sh and copied under the docs' names (every look of each control,
# the message box and the program's window), and the examples' window (own_window
# --screenshot, built against a temporary install). Run it after a change to how
# anything looks, from a plain build in BUILD (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
bash scripts/update-goldens.sh "$build" >/dev/null
unset XPKIT_CODEPAGE  # the pictures show the default code page, 1256
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
golden=tests/golden

for look in normal hover focus pressed disabled; do
  cp "$golden/button-exit-$look.png" "docs/button-$look.png"
done
cp "$golden/button-ok-normal.png" docs/button-ok.png
cp "$golden"/header-*.png "$golden"/gradient-*.png "$golden/msgbox.png" docs/
cp "$golden/window-1.png" docs/window.png

cmake --build "$build" -j "$(nproc)" >/dev/null
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
cmake -S examples -B "$tmp/examples" -G Ninja -DCMAKE_PREFIX_PATH="$tmp/prefix" >/dev/null
cmake --build "$tmp/examples" -j "$(nproc)" >/dev/null
"$tmp/examples/own_window" --screenshot docs/example-window.png
echo "docs pictures written: $(ls docs/*.png | wc -l) files"
