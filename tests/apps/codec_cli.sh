#!/usr/bin/env bash
# The xpkit-codec checks: lengths, decoding rules, RC4's vector, the command line, and
# output files written as the shell's ">" would write them.
set -u
source "$(dirname "$0")/../support/cli.sh"
# A copy of the tool in a folder every user may enter, for the checks run as nobody.
chmod 755 "$dir"
cp "$1" "$dir/xpkit-codec"
bin="$dir/xpkit-codec"
"$bin" --help >/dev/null 2>&1 || bin="$1"  # a scratch folder that runs nothing
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; fi; }
hex() { od -An -tx1 | tr -d ' \n'; }
head -c 57 /dev/urandom > "$dir/b57"; head -c 58 /dev/urandom > "$dir/b58"; head -c 5701 /dev/urandom > "$dir/b5701"
chmod 644 "$dir/b57" "$dir/b58"
b58=$(base64 -w 0 "$dir/b58" | head -c 76; printf '\r\n'; base64 -w 0 "$dir/b58" | tail -c +77)

# Codecs.
check "57 bytes give 76 + CR LF" '[ "$("$bin" b64 encode "$dir/b57" | wc -c)" = 78 ] && [ "$("$bin" b64 encode "$dir/b57" | tail -c 2 | hex)" = 0d0a ]'
check "58 bytes end in ==" '[ "$("$bin" b64 encode "$dir/b58" | wc -c)" = 82 ] && [ "$("$bin" b64 encode "$dir/b58" | tail -c 2)" = "==" ]'
check "round trip" '"$bin" b64 encode "$dir/b58" | "$bin" b64 decode | cmp -s - "$dir/b58"'
check "QQ decodes to 41 00 00" '[ "$(printf QQ | "$bin" b64 decode | hex)" = 410000 ]'
check "QQ== decodes to 41" '[ "$(printf QQ== | "$bin" b64 decode | hex)" = 41 ]'
check "== decodes to 00" '[ "$(printf == | "$bin" b64 decode | hex)" = 00 ]'
# Blank lines after the padding leave it the end, on each kernel, short and long.
{ "$bin" b64 encode "$dir/b5701"; printf '\r\n\r\n\n'; } > "$dir/e5701"
for k in scalar avx2 avx512; do
  check "QQ== and blank lines decode to 41 ($k)" '[ "$(printf "QQ==\r\n\r\n" | XPKIT_CODEC_KERNEL=$k "$bin" b64 decode | hex)" = 41 ]'
  check "a long text, =, then blank lines ($k)" 'XPKIT_CODEC_KERNEL=$k "$bin" b64 decode "$dir/e5701" | cmp -s - "$dir/b5701"'
done
check "rc4 vector" '[ "$(printf Plaintext | "$bin" rc4 --key Key | hex)" = bbf316e8d940af0ad3 ]'
check "files in and out" '"$bin" b64 encode "$dir/b58" "$dir/e" && "$bin" b64 decode "$dir/e" "$dir/d" && cmp -s "$dir/d" "$dir/b58"'
# Outputs whose last block (1 MiB) holds a single byte.
head -c 1048577 /dev/urandom > "$dir/mib1"
check "decoding to 1 MiB and a byte" '"$bin" b64 encode "$dir/mib1" "$dir/e" && "$bin" b64 decode "$dir/e" "$dir/d" && cmp -s "$dir/d" "$dir/mib1"'
check "rc4 of 1 MiB and a byte, both ways" '"$bin" rc4 --key k "$dir/mib1" "$dir/e" && [ "$(stat -c %s "$dir/e")" = 1048577 ] && "$bin" rc4 --key k "$dir/e" "$dir/d" && cmp -s "$dir/d" "$dir/mib1"'

# Other line formats: coreutils' "base64 -d" takes them, and they are "base64 -w N" but
# for the final LF, which comes only after a full line ($(...) drops it from both).
# Sizes around a line, a group and the tool's 466944-byte read block, on each kernel.
for n in 0 1 2 56 57 58 171 466943 466944 466945; do
  head -c $n /dev/urandom > "$dir/w$n"
  for w in 0 1 4 5 64 76 77; do
    kernels=scalar; [ $n -gt 1000 ] || kernels="scalar avx2 avx512"
    [ $n -gt 1000 ] && [ $w = 1 ] && continue
    for k in $kernels; do
      check "--wrap $w --lf of $n bytes is base64 -w $w ($k)" '[ "$(XPKIT_CODEC_KERNEL=$k "$bin" b64 encode --wrap $w --lf "$dir/w$n")" = "$(base64 -w $w "$dir/w$n")" ]'
    done
    check "base64 -d takes --wrap $w --lf of $n bytes" '"$bin" b64 encode --lf --wrap $w "$dir/w$n" | base64 -d | cmp -s - "$dir/w$n"'
  done
  check "--wrap 0 of $n bytes has no break" '[ "$("$bin" b64 encode --wrap 0 "$dir/w$n" | tr -d "\r\n" | wc -c)" = "$("$bin" b64 encode --wrap 0 "$dir/w$n" | wc -c)" ]'
  check "--wrap 10 of $n bytes: CR LF, decoded back" '[ "$("$bin" b64 encode --wrap 10 "$dir/w$n" | tr -d "\r")" = "$(base64 -w 10 "$dir/w$n")" ] && "$bin" b64 encode --wrap 10 "$dir/w$n" | "$bin" b64 decode | cmp -s - "$dir/w$n"'
done
check "the default stays CR LF after 76" '[ "$("$bin" b64 encode "$dir/w171" | hex)" = "$("$bin" b64 encode --wrap 76 "$dir/w171" | hex)" ] && [ "$("$bin" b64 encode "$dir/w171" | head -c 78 | tail -c 2 | hex)" = 0d0a ]'
expect 2 "--wrap takes a number of characters from 0 up, not 'x'" -- "$bin" b64 encode --wrap x "$dir/b57"
expect 2 "--wrap takes a number of characters from 0 up, not '-1'" -- "$bin" b64 encode --wrap -1 "$dir/b57"
expect 2 "--wrap needs a value" -- "$bin" b64 encode --wrap
expect 2 "unknown option '--lf'" -- "$bin" b64 decode --lf "$dir/b57"
expect 2 "XPKIT_CODEC_KERNEL must be scalar, avx2 or avx512, not 'sse9'" -- env XPKIT_CODEC_KERNEL=sse9 "$bin" b64 encode "$dir/b57"

# Code pages for --key: UTF-8 takes a text's UTF-8 bytes; a character the code page
# lacks is an error naming it, never a silent "?".
printf 'Gr\303\274\303\237e' > "$dir/key8"; printf Plaintext > "$dir/plain"
check "the UTF-8 key file's cipher" '[ "$("$bin" rc4 --key-file "$dir/key8" "$dir/plain" | wc -c)" = 9 ]'
check "--codepage 65001: the key's UTF-8 bytes" '[ "$("$bin" --codepage 65001 rc4 --key "Grüße" "$dir/plain" | hex)" = "$("$bin" rc4 --key-file "$dir/key8" "$dir/plain" | hex)" ]'
check "--codepage among rc4's options" '[ "$("$bin" rc4 --codepage 65001 --key "Grüße" "$dir/plain" | hex)" = "$("$bin" rc4 --key-file "$dir/key8" "$dir/plain" | hex)" ]'
check "XPKIT_CODEPAGE=65001 does the same" '[ "$(XPKIT_CODEPAGE=65001 "$bin" rc4 --key "Grüße" "$dir/plain" | hex)" = "$("$bin" rc4 --key-file "$dir/key8" "$dir/plain" | hex)" ]'
expect 2 "--key: character 4, U\+00DF, is not in code page 1256" -- "$bin" rc4 --key "Grüße" "$dir/plain"
expect 2 "--key: character 1, U\+062E, is not in code page 1252" -- "$bin" --codepage 1252 rc4 --key "خ" "$dir/plain"
expect 2 "--codepage takes 1252, 1256 or 65001, not '437'" -- "$bin" --codepage 437 rc4 --key k "$dir/plain"
expect 2 "--codepage needs a value" -- "$bin" --codepage

# Keys: a key file gives at most the 256 bytes the key uses, even an endless one.
printf Key > "$dir/key"; printf Plaintext > "$dir/plain"
check "rc4 key file" '[ "$(printf Plaintext | "$bin" rc4 --key-file "$dir/key" - - | hex)" = bbf316e8d940af0ad3 ]'
check "rc4 key from standard input" '[ "$(printf Key | "$bin" rc4 --key-file - "$dir/plain" | hex)" = bbf316e8d940af0ad3 ]'
head -c 256 /dev/zero > "$dir/zero256"
check "an endless key file: its first 256 bytes" '[ "$("$bin" rc4 --key-file /dev/zero "$dir/plain" | hex)" = "$("$bin" rc4 --key-file "$dir/zero256" "$dir/plain" | hex)" ]'
{ head -c 256 /dev/urandom > "$dir/k256"; cat "$dir/k256"; printf 'ignored'; } > "$dir/k263"
check "key bytes past 256 don't count" '[ "$("$bin" rc4 --key-file "$dir/k263" "$dir/plain" | hex)" = "$("$bin" rc4 --key-file "$dir/k256" "$dir/plain" | hex)" ]'
expect 2 'key from standard input, so IN must be a file' -- sh -c "printf data | '$bin' rc4 --key-file -"
expect 2 'the key is empty' -- "$bin" rc4 --key "" "$dir/b57"
expect 2 'rc4 needs --key' -- "$bin" rc4 "$dir/b57"
expect 2 'give the key once' -- "$bin" rc4 --key a --key-file "$dir/key" "$dir/b57"

# The command line: options, "--", names.
expect 2 "b64 takes 'encode' or 'decode'" -- "$bin" b64 frob
expect 2 'too many file names' -- "$bin" b64 encode a b c
expect 2 "unknown option '-x'" -- "$bin" b64 encode -x
expect 2 "unknown option '--width'" -- "$bin" b64 decode "$dir/e" --width 3
expect 2 "--key needs a value" -- "$bin" rc4 --key
expect 2 'a file name is empty' -- "$bin" b64 encode "$dir/b58" ""
expect 2 'a file name is empty' -- "$bin" b64 encode ""
expect 0 'broken as a cipher' -- "$bin" --help
for version in --version "b64 encode --version" "rc4 --key k --version"; do
  expect 0 '^xpkit-codec [0-9]+\.[0-9]+\.[0-9]+$' -- "$bin" $version
done
for help in --help "b64 --help" "rc4 --key k -h" "rc4 --version"; do
  exactly 1 "xpkit-codec: standard output: cannot write: No space left on device" -- sh -c "'$bin' $help >/dev/full"
done
cp "$dir/b58" "$dir/-x"
check "-- ends the options" '(cd "$dir" && "$bin" b64 encode -- -x -h) && [ "$(cat "$dir/-h")" = "$b58" ]'
expect 1 "File not found: '$dir/missing'" -- "$bin" b64 encode "$dir/missing"
expect 1 "$dir: cannot read: Is a directory" -- "$bin" b64 encode "$dir"
# A failed read is no end of the input: this process's memory at address 0, read ahead;
# standard input open for writing only, a regular file (read ahead) and a pipe (not).
printf old > "$dir/keep"
expect 1 '/proc/self/mem: cannot read: Input/output error' -- "$bin" b64 encode /proc/self/mem "$dir/keep"
expect 1 'standard input: cannot read: Bad file descriptor' -- sh -c "'$bin' b64 decode - '$dir/keep' 0>>'$dir/wo'"
expect 1 'standard input: cannot read: Bad file descriptor' -- sh -c "'$bin' rc4 --key k - '$dir/keep' 0>&1"
check "a failed read leaves the output as it was" '[ "$(cat "$dir/keep")" = old ]'
expect 1 'standard output: cannot write: No space left on device' -- sh -c "'$bin' b64 encode '$dir/b58' >/dev/full"
expect 1 '/dev/full: cannot write: No space left on device' -- "$bin" b64 encode "$dir/b58" /dev/full
# A name with a new line and an escape sequence in it: one line, no control bytes.
odd="$dir/new"$'\n\e'"[31mline"
exactly 1 "xpkit-codec: File not found: '$dir/new\\n\\x1b[31mline'" -- "$bin" b64 encode "$odd"
exactly 1 "xpkit-codec: $dir/new\\n\\x1b[31mline/out: cannot create: No such file or directory" -- "$bin" b64 encode "$dir/b57" "$odd/out"
printf old > "$dir/keep"
expect 1 'missing' -- "$bin" b64 encode "$dir/missing" "$dir/keep"
check "a failed run leaves the output as it was" '[ "$(cat "$dir/keep")" = old ]'

# Output files: devices in place, links followed, other names of the file kept in step.
o="$dir/out"; mkdir "$o"
"$bin" b64 encode "$dir/b57" /dev/null
check "a device is written in place, not replaced" '[ -c /dev/null ]'
printf old > "$o/target"; ln -s target "$o/link1"; ln -s link1 "$o/link2"
"$bin" b64 encode "$dir/b58" "$o/link2"
check "a chain of links writes its target" '[ -L "$o/link1" ] && [ -L "$o/link2" ] && [ "$(cat "$o/target")" = "$b58" ]'
ln -s made "$o/dangling"
"$bin" b64 encode "$dir/b58" "$o/dangling"
check "a dangling link creates its target" '[ -L "$o/dangling" ] && [ "$(cat "$o/made")" = "$b58" ]'
printf "old, and longer than the new content, by far: %0100d" 0 > "$o/linked"; ln "$o/linked" "$o/other"
"$bin" b64 encode "$dir/b58" "$o/linked"
check "every hard link sees the new content" '[ "$(cat "$o/other")" = "$b58" ] && [ "$o/other" -ef "$o/linked" ]'
: > "$dir/empty"
check "an empty output empties it too" '"$bin" b64 encode "$dir/empty" "$o/linked" && [ ! -s "$o/other" ] && [ "$o/other" -ef "$o/linked" ]'
printf old > "$o/suid"; chmod 6755 "$o/suid"
"$bin" b64 encode "$dir/b58" "$o/suid"
check "set-user-ID and set-group-ID are dropped, other bits kept" '[ "$(stat -c %a "$o/suid")" = 755 ]'
for n in 242 255; do
  name="$o/$(head -c $n /dev/zero | tr '\0' n)"
  check "an output name of $n bytes" '"$bin" b64 encode "$dir/b58" "$name" && "$bin" b64 encode "$dir/b57" "$name" && cmp -s "$name" <("$bin" b64 encode "$dir/b57")'
done

# Signals part-way through a large encode: the input comes through a FIFO that stays
# open, so once 4 MiB are written into it the tool has read nearly all of them and
# waits for more, mid-way. (Opened for reading too, the FIFO never blocks the test.)
for sig in INT TERM HUP; do
  s="$dir/sig-$sig"; mkdir "$s"; mkfifo "$s/in"
  env --default-signal=INT,TERM,HUP "$bin" b64 encode "$s/in" "$s/out" & pid=$!
  exec 3<>"$s/in"
  timeout 60 head -c 4M /dev/zero >&3
  kill -s "$sig" "$pid"; wait "$pid" 2>/dev/null; code=$?
  exec 3>&-
  check "SIG$sig: status 128 + $(kill -l "$sig"), no output, no temporary file" '[ $code = $((128 + $(kill -l "$sig"))) ] && [ "$(ls -A "$s")" = in ]'
done

# Owners and permissions, with another user: what root rewrites stays its owner's, and
# nobody may write what ">" would let it write, and nothing else.
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  nobody() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
  u="$dir/users"; mkdir -m 755 "$u"
  printf secret > "$u/private"; chown 65534:65534 "$u/private"; chmod 600 "$u/private"
  "$bin" b64 encode "$dir/b58" "$u/private"
  check "root keeps another user's file that user's" '[ "$(stat -c %u:%g:%a "$u/private")" = 65534:65534:600 ] && [ "$(nobody cat "$u/private")" = "$b58" ]'
  printf old > "$u/writable"; chown 65534 "$u/writable"
  check "a writable file in a folder nobody may not write" 'nobody "$bin" b64 encode "$dir/b58" "$u/writable" && [ "$(cat "$u/writable")" = "$b58" ]'
  mkdir -m 1777 "$u/sticky"; printf old > "$u/sticky/shared"; chmod 666 "$u/sticky/shared"
  check "root's writable file in a sticky folder" 'nobody "$bin" b64 encode "$dir/b58" "$u/sticky/shared" && [ "$(cat "$u/sticky/shared")" = "$b58" ] && [ "$(stat -c %U "$u/sticky/shared")" = root ]'
  printf old > "$u/sticky/readonly"; chmod 444 "$u/sticky/readonly"
  expect 1 "$u/sticky/readonly: cannot open for writing: Permission denied" -- nobody "$bin" b64 encode "$dir/b58" "$u/sticky/readonly"
  check "a read-only file is left alone" '[ "$(cat "$u/sticky/readonly")" = old ] && [ "$(stat -c %U:%a "$u/sticky/readonly")" = root:444 ]'
  expect 1 "$u/new: cannot create: Permission denied" -- nobody "$bin" b64 encode "$dir/b58" "$u/new"
  check "nothing new where nobody may not write" '[ ! -e "$u/new" ]'
else
  echo "skipped: the checks as another user need root and setpriv"
fi

check "no temporary files" '! find "$dir" -name "*.tmp" | grep -q .'
[ $fail = 0 ] && echo "codec CLI: all checks passed"
exit $fail
