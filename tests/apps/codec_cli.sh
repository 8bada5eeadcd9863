#!/usr/bin/env bash
# The xpkit-codec checks: lengths, decoding rules, RC4's vector, exit codes, no partial files.
set -u
bin="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; fi; }
head -c 57 /dev/urandom > "$dir/b57"; head -c 58 /dev/urandom > "$dir/b58"
check "57 bytes give 76 + CR LF" '[ "$("$bin" b64 encode "$dir/b57" | wc -c)" = 78 ] && [ "$("$bin" b64 encode "$dir/b57" | tail -c 2 | od -An -tx1 | tr -d " ")" = 0d0a ]'
check "58 bytes end in ==" '[ "$("$bin" b64 encode "$dir/b58" | wc -c)" = 82 ] && [ "$("$bin" b64 encode "$dir/b58" | tail -c 2)" = "==" ]'
check "round trip" '"$bin" b64 encode "$dir/b58" | "$bin" b64 decode | cmp -s - "$dir/b58"'
check "QQ decodes to 41 00 00" '[ "$(printf QQ | "$bin" b64 decode | od -An -tx1 | tr -d " ")" = 410000 ]'
check "QQ== decodes to 41" '[ "$(printf QQ== | "$bin" b64 decode | od -An -tx1 | tr -d " ")" = 41 ]'
check "rc4 vector" '[ "$(printf Plaintext | "$bin" rc4 --key Key | od -An -tx1 | tr -d " ")" = bbf316e8d940af0ad3 ]'
printf Key > "$dir/key"
check "rc4 key file" '[ "$(printf Plaintext | "$bin" rc4 --key-file "$dir/key" - - | od -An -tx1 | tr -d " ")" = bbf316e8d940af0ad3 ]'
check "files in and out" '"$bin" b64 encode "$dir/b58" "$dir/e" && "$bin" b64 decode "$dir/e" "$dir/d" && cmp -s "$dir/d" "$dir/b58"'
printf old > "$dir/keep"
"$bin" b64 encode "$dir/missing" "$dir/keep" 2>"$dir/err"; code=$?
check "missing input: exit 1, named, output kept" '[ $code = 1 ] && grep -q missing "$dir/err" && [ "$(cat "$dir/keep")" = old ]'
"$bin" rc4 --key "" "$dir/b57" 2>/dev/null; check "empty key is bad usage" '[ $? = 2 ]'
"$bin" rc4 "$dir/b57" 2>/dev/null; check "no key is bad usage" '[ $? = 2 ]'
"$bin" b64 frob 2>/dev/null; check "bad subcommand" '[ $? = 2 ]'
"$bin" b64 encode a b c 2>/dev/null; check "too many names" '[ $? = 2 ]'
"$bin" --help | grep -q "broken as a cipher"; check "help" '[ $? = 0 ]'
"$bin" b64 encode "$dir/b57" /dev/null
check "a device is written in place, not replaced" '[ -c /dev/null ]'
check "no temporary files" '! ls -a "$dir" | grep -q "\.tmp$"'
[ $fail = 0 ] && echo "codec CLI: all checks passed"
exit $fail
