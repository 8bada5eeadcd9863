#!/usr/bin/env bash
# Every writer lets the kernel judge symbolic links: with fs.protected_symlinks on, a
# link another user planted in a sticky world-writable folder is refused as the shell's
# ">" is refused there (Permission denied), and what it points at stays as it was; the
# same link owned by root is followed. With fs.protected_regular on, another user's file
# there is refused too. Needs root, to set the switches and plant the files; exits 77
# (skipped) with the reason where it cannot.
set -u
codec="$1" xpkit="$2" gallery="$3" b64file="$4"
skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" = 0 ] || skip "needs root to set fs.protected_symlinks and give links to nobody"
links=/proc/sys/fs/protected_symlinks regular=/proc/sys/fs/protected_regular
links_before=$(cat "$links" 2>/dev/null) && regular_before=$(cat "$regular" 2>/dev/null) ||
  skip "$links or $regular cannot be read"
echo 1 2>/dev/null >"$links" || skip "the kernel refuses to set $links (read-only /proc/sys?)"
source "$(dirname "$0")/../support/cli.sh"
trap 'echo "$links_before" >"$links"; echo "$regular_before" >"$regular"; rm -rf "$dir"' EXIT
echo 1 >"$regular" || { echo "FAIL: $links could be set but not $regular"; exit 1; }

printf 'plain bytes\n' >"$dir/in"
"$codec" b64 encode "$dir/in" "$dir/in.b64"
# Each writer, with its output at $1.
writers=(
  'codec b64:"$codec" b64 encode "$dir/in" "$1"'
  'codec rc4:"$codec" rc4 --key k "$dir/in" "$1"'
  'xpkit --save-layout:"$xpkit" --save-layout "$1"'
  'xpkit --screenshot:"$xpkit" --screenshot "$1"'
  'xpkit-gallery -o:"$gallery" header --size 10x4 -o "$1"'
  'encodefile:"$b64file" encode "$dir/in" "$1"'
  'decodefile:"$b64file" decode "$dir/in.b64" "$1"'
)
run() { local command="${1#*:}"; shift; eval "$command"; }

sticky="$dir/sticky" private="$dir/private"
mkdir -m 1777 "$sticky"; mkdir -m 700 "$private"
printf secret >"$dir/secret"; cp "$dir/secret" "$private/target"; touch -d '2001-02-03 04:05:06' "$private/target"
ln -s "$private/target" "$sticky/out"
ln -s "$private/made" "$sticky/dangling"
unchanged() { cmp -s "$private/target" "$dir/secret" && [ "$(stat -c %Y "$private/target")" = "$(date -d '2001-02-03 04:05:06' +%s)" ] &&
              [ "$(ls -A "$private")" = target ] && [ "$(ls -A "$sticky")" = "$(printf 'dangling\nout')" ]; }

chown -h nobody "$sticky/out" "$sticky/dangling"
for w in "${writers[@]}"; do
  name=${w%%:*}
  expect 1 "^[a-z0-9_-]+: $sticky/out -> $private/target: cannot open for writing: Permission denied\$" -- run "$w" "$sticky/out"
  unchanged || { echo "FAIL: $name changed the target of another user's link"; fail=1; }
  expect 1 "^[a-z0-9_-]+: $sticky/dangling -> $private/made: cannot open for writing: Permission denied\$" -- run "$w" "$sticky/dangling"
  unchanged || { echo "FAIL: $name created the target of another user's dangling link"; fail=1; }
done

printf theirs >"$sticky/theirs"; chown nobody "$sticky/theirs"; chmod 666 "$sticky/theirs"
for w in "${writers[@]}"; do
  expect 1 "^[a-z0-9_-]+: $sticky/theirs: cannot open for writing: Permission denied\$" -- run "$w" "$sticky/theirs"
done
[ "$(cat "$sticky/theirs")" = theirs ] || { echo "FAIL: another user's file in a sticky folder was written"; fail=1; }
rm "$sticky/theirs"

chown -h root "$sticky/out" "$sticky/dangling"
for w in "${writers[@]}"; do
  name=${w%%:*}
  rm -f "$private/made"
  expect 0 '' -- run "$w" "$sticky/out"
  expect 0 '' -- run "$w" "$sticky/dangling"
  [ -s "$private/target" ] && ! cmp -s "$private/target" "$dir/secret" && [ -L "$sticky/out" ] && cmp -s "$private/target" "$private/made" ||
    { echo "FAIL: $name did not write through root's own links"; fail=1; }
  cp "$dir/secret" "$private/target"
done
[ -z "$(find "$private" "$sticky" -name '*.tmp')" ] || { echo "FAIL: a temporary file was left"; fail=1; }
[ $fail = 0 ] && echo "protected links: all checks passed"
exit $fail
