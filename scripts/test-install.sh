#!/usr/bin/env bash
# Checks xpkit as a new user meets it, from the plain build in BUILD (default: build):
# installs it into a temporary prefix, checks what is there (the public headers only),
# compiles each installed header on its own from there, builds and runs every example
# against the installed package through find_package() and through pkg-config, and
# builds them once more in a parent project that takes the source tree in with
# add_subdirectory(). Writes nothing into the source tree.
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
build=$(realpath "${1:-build}")
jobs=${JOBS:-$(nproc)}
tmp=$(mktemp -d)
# Ends what the check started in the background (the X server, a window left open).
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
log=$tmp/log
stamp=$tmp/stamp
touch "$stamp"
unset XPKIT_CODEPAGE  # the examples' output is that of the default code page

fail() {
  echo "install check FAILED: $*" >&2
  [ -s "$log" ] && { echo "--- last output ---" >&2; tail -40 "$log" >&2; }
  exit 1
}
step() { echo "-- $*"; }
quiet() { "$@" >"$log" 2>&1 || fail "'$*' exited with status $?"; }

step "install into a temporary prefix"
[ -f "$build/CMakeCache.txt" ] || fail "no build in $build: build first (cmake -S . -B build && cmake --build build)"
quiet cmake --install "$build" --prefix "$prefix"
grep -q "Refreshing fontconfig's cache of " "$log" ||
  fail "the install did not refresh fontconfig's cache of the UI faces' folder"
for f in include/xpkit/host/Host.h include/xpkit/layout/LayoutForm.h include/xpkit/codecs/b64.h include/xpkit/Error.h \
         lib/libxpkit_layout.a lib/libxpkit_codecs.a lib/cmake/xpkit/xpkitConfig.cmake \
         lib/cmake/xpkit/xpkitConfigVersion.cmake lib/pkgconfig/xpkit.pc lib/pkgconfig/xpkit-codecs.pc \
         bin/xpkit bin/xpkit-gallery bin/xpkit-codec share/man/man1/xpkit.1 share/man/man1/xpkit-codec.1 \
         share/man/man1/xpkit-gallery.1 share/doc/xpkit/kit.md share/doc/xpkit/layout.md share/doc/xpkit/codecs.md \
         share/doc/xpkit/example-window.png share/applications/xpkit.desktop share/icons/hicolor/32x32/apps/xpkit.png; do
  [ -f "$prefix/$f" ] || fail "the install has no $f"
done

for tool in xpkit xpkit-gallery xpkit-codec; do
  title=$(tr a-z A-Z <<<"$tool")
  grep -q "^\.TH $title \"1\"" "$prefix/share/man/man1/$tool.1" || fail "$tool.1 is not titled $title(1)"
done

step "pkg-config, and each installed header on its own, from the prefix alone"
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
for pc in xpkit xpkit-codecs; do
  flags=$(pkg-config --cflags --libs "$pc") || fail "pkg-config --cflags --libs $pc"
  case "$flags" in *"$prefix"*) ;; *) fail "pkg-config $pc points outside the prefix: $flags" ;; esac
done
# Only the public headers: no library's detail/ folder, not the program's window, no
# intrinsics; each one compiles on its own, and so do the umbrellas.
internal=$(cd "$prefix/include" && find xpkit \( -path '*/detail/*' -o -path 'xpkit/shell/*' \) -print)
[ -z "$internal" ] || fail "the install holds internal headers: $internal"
grep -rlE '#\s*include\s*<(immintrin|x86intrin)\.h>' "$prefix/include" && fail "an installed header includes intrinsics"
for umbrella in xpkit/xpkit.h xpkit/codecs.h; do
  [ -f "$prefix/include/$umbrella" ] || fail "the install has no $umbrella"
done
cflags=$(pkg-config --cflags xpkit)
(cd "$prefix/include" && find xpkit -name '*.h' | sort) >"$tmp/headers"
# shellcheck disable=SC2016
xargs -P "$jobs" -I{} sh -c 'echo "#include <$1>" | c++ -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic $2 -x c++ - ||
  { echo "FAILED: $1"; exit 255; }' sh {} "$cflags" <"$tmp/headers" >"$log" 2>&1 ||
  fail "an installed header does not compile on its own"

# run_examples DIR: runs the three examples built in DIR, headless.
run_examples() {
  local dir=$1 out=$tmp/out-$(basename "$1")
  mkdir -p "$out"
  for e in own_window layout_window codecs; do
    "$dir/$e" --help >"$log" 2>&1 || fail "$e --help exited with status $?"
    grep -q '^usage' "$log" || fail "$e --help printed no usage"
  done
  "$dir/codecs" >"$out/codecs.txt" 2>"$log" || fail "codecs exited with status $?"
  diff -u "$tmp/codecs.expected" "$out/codecs.txt" >"$log" || fail "codecs printed other results ($dir)"
  quiet "$dir/own_window" --screenshot "$out/own.png"
  quiet "$dir/layout_window" --screenshot "$out/layout.png"
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  [ "$(od -An -tx1 -j16 -N8 "$out/own.png" | tr -d ' \n')" = 0000014a0000006e ] ||
    fail "own_window's screenshot is not a 330 x 110 PNG"
  cmp -s "$out/own.png" "$out/layout.png" || fail "the window from the layout file differs from the one made in C++"
  printf 'xpkit-layout 1\nwindow w\n  clientwidth = 0\nend\n' >"$out/bad.layout"
  local rc=0
  "$dir/layout_window" --layout "$out/bad.layout" --screenshot "$out/bad.png" >"$log" 2>&1 || rc=$?
  [ $rc = 2 ] && grep -q "bad.layout:3: 'clientwidth' must be" "$log" ||
    fail "a faulty layout gave status $rc and not its file and line"
}
# real_window EXAMPLE: Enter at once (OK is the default button) and a click on OK each
# print "ok", and Escape (Cancel is the cancel button) ends it.
real_window() {
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$tmp/display" 2>"$log" &
  for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
  [ -s "$tmp/display" ] || fail "Xvfb did not start"
  local pid wid X Y WIDTH HEIGHT SCREEN rc=0
  export DISPLAY=:$(cat "$tmp/display")
  "$1" >"$tmp/stdout" 2>"$log" &
  pid=$!
  wid=$(timeout 10 xdotool search --sync --name '^xpkit example$' | head -1)
  [ -n "$wid" ] || fail "no window appeared"
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  xdotool mousemove $((X + 100)) $((Y + 60)) key Return
  for _ in $(seq 50); do grep -qx ok "$tmp/stdout" && break; sleep 0.1; done
  grep -qx ok "$tmp/stdout" || fail "Enter printed no 'ok'"
  xdotool mousemove $((X + 207)) $((Y + 87)) click 1
  for _ in $(seq 50); do [ "$(grep -cx ok "$tmp/stdout")" = 2 ] && break; sleep 0.1; done
  [ "$(grep -cx ok "$tmp/stdout")" = 2 ] || fail "a click on OK printed no 'ok'"
  xdotool key Escape
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && fail "Escape did not end the window"
  wait $pid || rc=$?
  [ $rc = 0 ] || fail "the window ended with status $rc"
  unset DISPLAY
}

cat >"$tmp/codecs.expected" <<'EOF'
b64 encode "Hello, world": SGVsbG8sIHdvcmxk
b64 decode "SGVs\r\nbG8=": Hello (argument now SGVsbG8=)
b64 encode "خ" in 1256: zg==, in 1252: Pw==
b64 encode "Grüße" in 1256: R3L8P2U= (character 4, U+00DF, is not in code page 1256), in 65001: R3LDvMOfZQ==
b64 encode "Hello, world" in lines of 8, LF shown as |: SGVsbG8s|IHdvcmxk|
rc4 "Plaintext" under "Key": BBF316E8D940AF0AD3
rc4 again: Plaintext
bytes 00FF1080 encode: AP8QgA==
decode back: 00FF1080
rc4 bytes "Attack at dawn" under "Secret": 45A01F645FC35B383552544B9BF5
EncodeStream of 60 bytes: 82 characters, CR LF after the 76th: yes
rc4 with an empty key: error 5, Invalid procedure call or argument
code page 437: error 1003, Unsupported code page
EOF

step "the examples through find_package(xpkit)"
quiet cmake -S examples -B "$tmp/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix"
quiet cmake --build "$tmp/cmake" -j "$jobs"
run_examples "$tmp/cmake"

step "the examples through pkg-config"
mkdir -p "$tmp/pkg-config"
quiet make -C examples OUT="$tmp/pkg-config" -j "$jobs"
run_examples "$tmp/pkg-config"

step "the examples with xpkit taken in by add_subdirectory()"
quiet cmake -S examples -B "$tmp/subdir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DXPKIT_FROM_SOURCE=ON
ninja -C "$tmp/subdir" -t targets all | grep -Eq '^(xpkit_tests|codec_bench|button_bench|xpkit|xpkit-gallery|xpkit-codec):' &&
  fail "a parent project's build holds xpkit's tests, benchmarks or programs"
quiet cmake --build "$tmp/subdir" -j "$jobs"
run_examples "$tmp/subdir"

step "own_window in a real window on a virtual X server"
real_window "$tmp/cmake/own_window"

written=$(find "$src" \( -path "$src/.git" -o -path "$src/build*" \) -prune -o -newer "$stamp" -print)
[ -z "$written" ] || fail "the check wrote into the source tree: $written"
echo "install: 4 passed, 0 failed"
