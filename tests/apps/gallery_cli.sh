#!/usr/bin/env bash
# Exit codes and messages of xpkit-gallery.
set -u
bin="$1"
source "$(dirname "$0")/../support/cli.sh"
expect 0 'usage' -- "$bin" --help
# Every subcommand takes --help and --version, wherever they come among its options.
for help in "msgbox --help" "gradient --size 10x4 -h" "button --look hover --help --bogus"; do
  expect 0 '^  xpkit-gallery msgbox --text T' -- "$bin" $help
done
for version in --version "header --version" "msgbox --text T --version"; do
  expect 0 '^xpkit-gallery [0-9]+\.[0-9]+\.[0-9]+$' -- "$bin" $version
done
expect 2 "unknown option '--bogus' for 'button'" -- "$bin" button --bogus --help
for help in --help -h help "msgbox --help" --version; do
  exactly 1 "xpkit-gallery: standard output: cannot write: No space left on device" -- sh -c "'$bin' $help >/dev/full"
done
expect 2 '^xpkit-gallery: a file name is empty' -- "$bin" header --size 10x4 -o ""
expect 2 'no command' -- "$bin"
expect 2 "unknown command 'frob'" -- "$bin" frob
expect 2 'missing --size' -- "$bin" gradient --angle 0 -o "$dir/a.png"
expect 2 "--size must be WxH" -- "$bin" gradient --size 10by4 --angle 0 -o "$dir/a.png"
expect 2 "--angle must be a number" -- "$bin" gradient --size 10x4 --angle east -o "$dir/a.png"
expect 2 "--color1 must be RRGGBB" -- "$bin" gradient --size 10x4 --angle 0 --color1 red -o "$dir/a.png"
expect 2 "unknown option '--colour'" -- "$bin" header --size 10x4 --colour 1 -o "$dir/a.png"
expect 2 "needs a value" -- "$bin" header --size
expect 2 'XPKIT_CODEPAGE must be 1252, 1256 or 65001' -- env XPKIT_CODEPAGE=437 "$bin" --help
expect 1 'cannot create' -- "$bin" header --size 10x4 -o "$dir/missing/dir/a.png"
expect 1 '/dev/full: cannot write: No space left on device' -- "$bin" header --size 10x4 -o /dev/full
expect 0 '' -- "$bin" gradient --size 100x50 --angle 315 -o "$dir/g.png"
expect 0 '' -- "$bin" header --size 331x40 --caption "خروج" -o "$dir/h.png"
expect 2 "--look must be normal, hover" -- "$bin" button --look shiny -o "$dir/b.png"
expect 2 "--font-size must be a number" -- "$bin" button --font-size 0 -o "$dir/b.png"
for look in normal hover focus pressed disabled; do
  expect 0 '' -- "$bin" button --look $look --caption "&Exit" --font Tahoma --font-size 9 -o "$dir/b-$look.png"
  [ -s "$dir/b-$look.png" ] || { echo "FAIL: no button PNG for $look"; fail=1; }
done
expect 2 'missing --text' -- "$bin" msgbox -o "$dir/m.png"
expect 0 '' -- "$bin" msgbox --text "خطا" --caption "GradientRect" -o "$dir/m.png"
[ -s "$dir/m.png" ] || { echo "FAIL: no message box PNG"; fail=1; }
[ -s "$dir/g.png" ] && [ -s "$dir/h.png" ] || { echo "FAIL: no PNG written"; fail=1; }
ls "$dir"/*.tmp >/dev/null 2>&1 && { echo "FAIL: temporary file left"; fail=1; }
[ $fail = 0 ] && echo "gallery CLI: all checks passed"
exit $fail
