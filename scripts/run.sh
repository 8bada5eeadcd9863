#!/usr/bin/env bash
# Builds everything and runs the main program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
# Until the main window lands, the program shown is the banner gallery.
./build/xpkit-gallery header --size 331x40 -o header.png
./build/xpkit-gallery gradient --size 331x154 --angle 315 --color1 FFFFFF --color2 7791AD -o gradient.png
echo "wrote header.png and gradient.png"
