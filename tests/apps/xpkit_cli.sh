#!/usr/bin/env bash
# Exit codes, messages and files of xpkit without a display.
set -u
bin="$1" enlarged="$2"
source "$(dirname "$0")/../support/cli.sh"
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$@"; }
expect 0 'usage' -- "$bin" --help
expect 0 'usage' -- "$bin" --scale 2 --help
expect 0 '^xpkit [0-9]+\.[0-9]+\.[0-9]+$' -- "$bin" --layout none --version
for help in --help -h --version; do
  exactly 1 "xpkit: standard output: cannot write: No space left on device" -- sh -c "'$bin' $help >/dev/full"
done
for option in --screenshot --save-layout --layout; do
  expect 2 "^xpkit: a file name is empty" -- "$bin" $option "" --screenshot "$dir/x.png"
done
expect 2 "unknown option '--fullscreen'" -- "$bin" --fullscreen
expect 2 "needs a file name" -- "$bin" --screenshot
expect 2 "given twice" -- "$bin" --layout a --layout b
expect 2 'no display is available.*' -- nodisplay "$bin"
expect 2 'xpkit --screenshot' -- nodisplay "$bin"
expect 0 '' -- nodisplay "$bin" --screenshot "$dir/w.png"
[ -s "$dir/w.png" ] || { echo "FAIL: no screenshot"; fail=1; }
expect 1 'cannot create' -- "$bin" --screenshot "$dir/missing/w.png"

# A display that does not answer: our one message and nothing from the libraries.
out=$(env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:65001 "$bin" 2>&1); rc=$?
[ $rc = 2 ] && [ "$(head -1 <<<"$out")" = "xpkit: no display is available (x11 not available)." ] ||
  { echo "FAIL: a bad DISPLAY gives status $rc and: $out"; fail=1; }

# Scale: a scaled screenshot is the plain one enlarged; a bad scale is bad usage.
for n in 2 4; do
  expect 0 '' -- "$bin" --scale $n --screenshot "$dir/w$n.png"
  "$enlarged" "$dir/w.png" "$dir/w$n.png" $n || { echo "FAIL: the --scale $n screenshot is not the plain one enlarged"; fail=1; }
done
expect 0 '' -- env XPKIT_SCALE=3 GDK_SCALE=2 "$bin" --scale 1 --screenshot "$dir/w1.png"
cmp -s "$dir/w.png" "$dir/w1.png" || { echo "FAIL: --scale 1 differs from the plain screenshot"; fail=1; }
for bad in 0 5 2x ""; do
  expect 2 "--scale must be a whole number from 1 to 4, not '$bad'" -- "$bin" --scale "$bad" --screenshot "$dir/x.png"
done
expect 2 "needs a number" -- "$bin" --scale
expect 2 "XPKIT_SCALE must be a whole number from 1 to 4, not 'big'" -- env XPKIT_SCALE=big DISPLAY=:65001 "$bin"

# Layouts: a bad file names itself and the line; save -> load -> save is a fixed point.
expect 2 "bad layout: $dir/none.layout: cannot open layout file" -- "$bin" --layout "$dir/none.layout" --screenshot "$dir/x.png"
exactly 2 "xpkit: bad layout: $dir: cannot read: Is a directory" -- "$bin" --layout "$dir" --screenshot "$dir/x.png"
# An endless input is refused once it is longer than any layout, not read for ever.
exactly 2 "xpkit: bad layout: /dev/zero: is not a layout file: longer than 16 MiB" -- "$bin" --layout /dev/zero --screenshot "$dir/x.png"
exactly 2 "xpkit: bad layout: $dir/new\\n\\x1b[31mline: cannot open layout file: No such file or directory" -- \
  "$bin" --layout "$dir/new"$'\n\e'"[31mline" --screenshot "$dir/x.png"
printf 'xpkit-layout 1\nwindow w\n  clientwidth = 1500\n  clientheight = 750\nend\ncontrol b Morvel.XPSlider in w\n  left = 0\n  top = 0\n  width = 15\n  height = 15\nend\n' >"$dir/bad.layout"
expect 2 "bad layout: $dir/bad.layout:6: unknown class identifier 'Morvel.XPSlider'" -- "$bin" --layout "$dir/bad.layout" --screenshot "$dir/x.png"
[ -e "$dir/x.png" ] && { echo "FAIL: a picture was written for a bad layout"; fail=1; }
expect 0 '' -- "$bin" --save-layout "$dir/a.layout"
expect 0 '' -- "$bin" --layout "$dir/a.layout" --save-layout "$dir/b.layout" --screenshot "$dir/b.png"
cmp -s "$dir/a.layout" "$dir/b.layout" || { echo "FAIL: save -> load -> save differs"; diff "$dir/a.layout" "$dir/b.layout"; fail=1; }
cmp -s "$dir/w.png" "$dir/b.png" || { echo "FAIL: the saved layout looks different"; fail=1; }
grep -q 'control cmdExit Morvel.XPButton in Footer' "$dir/a.layout" || { echo "FAIL: saved layout lacks cmdExit"; fail=1; }
expect 1 "cannot create" -- "$bin" --save-layout "$dir/missing/a.layout"
expect 1 "/dev/full: cannot write: No space left on device" -- "$bin" --save-layout /dev/full
ls "$dir"/*.tmp "$dir"/missing >/dev/null 2>&1 && { echo "FAIL: temporary file left"; fail=1; }
[ $fail = 0 ] && echo "xpkit CLI: all checks passed"
exit $fail
