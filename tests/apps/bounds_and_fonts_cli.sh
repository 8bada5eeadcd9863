#!/usr/bin/env bash
# The gallery's bounds, each accepted at its limit and refused one past it, and both
# tools refusing to draw when fontconfig finds no font: status 1, the face asked for
# named, no picture written.
set -u
gallery="$1" xpkit="$2"
source "$(dirname "$0")/../support/cli.sh"
# repeat TEXT N: TEXT N times over.
repeat() { local s="" i; for ((i = 0; i < $2; i++)); do s+="$1"; done; printf '%s' "$s"; }

expect 0 '' -- "$gallery" gradient --size 2048x1024 --angle 315 -o "$dir/g.png"
expect 2 "--size must be WxH with sides 1 to 2048, not '2049x1'" -- "$gallery" gradient --size 2049x1 --angle 0 -o "$dir/x.png"
expect 2 "--size must be at most 2097152 pixels in all, not '2048x1025'" -- "$gallery" header --size 2048x1025 -o "$dir/x.png"
# Texts count characters, not bytes: each of these is two bytes in UTF-8.
expect 0 '' -- "$gallery" button --caption "$(repeat خ 1024)" -o "$dir/b.png"
expect 2 '--caption is 1025 characters long; a text is at most 1024' -- "$gallery" button --caption "$(repeat خ 1025)" -o "$dir/x.png"
expect 2 '--description is 1025 characters long' -- "$gallery" header --size 9x9 --description "$(repeat a 1025)" -o "$dir/x.png"
expect 2 '--text is 1025 characters long' -- "$gallery" msgbox --text "$(repeat a 1025)" -o "$dir/x.png"
expect 0 '' -- "$gallery" button --font "$(repeat F 31)" -o "$dir/f.png"
expect 2 '--font is 32 characters long; a face name is at most 31' -- "$gallery" button --font "$(repeat F 32)" -o "$dir/x.png"
# A text within its length whose message box outgrows the picture bounds.
expect 2 'the message box of this text would be [0-9]+x2055 pixels; a picture is at most 2048 pixels a side' -- \
  "$gallery" msgbox --text "$(repeat $'l\n' 152)" -o "$dir/x.png"

# No fonts: a configuration without font folders, and the kit's own folder empty.
mkdir -p "$dir/nofonts" "$dir/cache"
printf '<?xml version="1.0"?>\n<fontconfig><cachedir>%s</cachedir></fontconfig>\n' "$dir/cache" >"$dir/fonts.conf"
nofonts=(env FONTCONFIG_FILE="$dir/fonts.conf" XPKIT_FONT_DIR="$dir/nofonts")
expect 1 "^xpkit: no installed font can draw the text in 'Tahoma'" -- "${nofonts[@]}" "$xpkit" --screenshot "$dir/n1.png"
expect 1 "no installed font can draw the text in 'MS Sans Serif'" -- "${nofonts[@]}" "$gallery" header --size 9x9 -o "$dir/n2.png"
expect 1 "no installed font can draw the text in 'Arial'" -- "${nofonts[@]}" "$gallery" button --font Arial -o "$dir/n3.png"
expect 1 "no installed font can draw the text in 'Tahoma'" -- "${nofonts[@]}" "$gallery" msgbox --text hi -o "$dir/n4.png"
ls "$dir"/n*.png >/dev/null 2>&1 && { echo "FAIL: a picture without its text was written"; fail=1; }
# A picture with no text needs no font.
expect 0 '' -- "${nofonts[@]}" "$gallery" header --size 9x9 --caption "" --description "" -o "$dir/n5.png"
[ $fail = 0 ] && echo "bounds and fonts CLI: all checks passed"
exit $fail
