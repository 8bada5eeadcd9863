#!/usr/bin/env bash
# folder_includes.sh finds each kind of wrong include, in a copy of the tree with one of
# each put in: upward, sideways between siblings, into another library's detail/, the
# program's window from an umbrella, and a folder the file map does not name.
#   folder_includes_faults.sh CHECK SRC_ROOT DOC
set -u
check=$1 src=$2 doc=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp -r "$src/xpkit" "$tmp/"
x=$tmp/xpkit
echo '#include "xpkit/layout/Layout.h"' >>"$x/host/Timer.cpp"
echo '#include "xpkit/controls/header/XPHeader.h"' >>"$x/controls/button/XPButton.cpp"
echo '#include "xpkit/files/detail/UniqueFd.h"' >>"$x/codecs/b64.cpp"
echo '#include "xpkit/shell/frmMain.h"' >>"$x/xpkit.h"
mkdir "$x/stray" && touch "$x/stray/Stray.h"
out=$(bash "$check" "$tmp" "$doc")
rc=$?
fail=0
[ $rc = 1 ] || { echo "FAIL: status $rc, not 1"; fail=1; }
# One line for each fault, naming the file and line; nothing else.
expected="FAIL: xpkit/stray/Stray.h is in no row of the file map"
for want in "xpkit/host/Timer.cpp:$(wc -l <"$x/host/Timer.cpp"): host/ does not stand on layout/ (xpkit/layout/Layout.h)" \
            "xpkit/controls/button/XPButton.cpp:$(wc -l <"$x/controls/button/XPButton.cpp"): controls/button/ does not stand on controls/header/" \
            "xpkit/codecs/b64.cpp:$(wc -l <"$x/codecs/b64.cpp") includes another library's internal header xpkit/files/detail/UniqueFd.h" \
            "xpkit/xpkit.h:$(wc -l <"$x/xpkit.h"): xpkit.h does not stand on shell/"; do
  grep -qF "$want" <<<"$out" || { echo "FAIL: no '$want'"; fail=1; }
done
grep -qxF "$expected" <<<"$out" || { echo "FAIL: no '$expected'"; fail=1; }
[ "$(grep -c '^FAIL' <<<"$out")" = 5 ] || { echo "FAIL: not five faults:"; echo "$out"; fail=1; }
[ $fail = 0 ] && echo "five kinds of wrong include: each found, at its line"
exit $fail
