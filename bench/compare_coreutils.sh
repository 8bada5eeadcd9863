#!/usr/bin/env bash
# encodefile/decodefile (through xpkit-codec) against GNU coreutils base64 on the same
# 256 MiB file, side by side; prints each time and the throughput ratio.
set -euo pipefail
codec="${1:-build/xpkit-codec}"
size_mib="${SIZE_MIB:-256}"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
head -c "$((size_mib << 20))" /dev/urandom > "$dir/in"
cat "$dir/in" > /dev/null  # warm the page cache

best() {  # best of three wall times, in seconds
  local best=999999 t0 t1 t
  for _ in 1 2 3; do
    t0=$(date +%s.%N); "$@"; t1=$(date +%s.%N)
    t=$(echo "$t1 - $t0" | bc -l)
    best=$(echo "if ($t < $best) $t else $best" | bc -l)
  done
  echo "$best"
}

ours_enc=$(best "$codec" b64 encode "$dir/in" "$dir/ours.b64")
gnu_enc=$(best sh -c "base64 -w 76 '$dir/in' > '$dir/gnu.b64'")
ours_dec=$(best "$codec" b64 decode "$dir/ours.b64" "$dir/ours.out")
gnu_dec=$(best sh -c "base64 -d '$dir/gnu.b64' > '$dir/gnu.out'")
cmp -s "$dir/in" "$dir/ours.out" || { echo "round trip failed"; exit 1; }

printf 'encode %d MiB: xpkit %.3f s, base64 -w 76 %.3f s, ratio %.2fx\n' "$size_mib" "$ours_enc" "$gnu_enc" "$(echo "$gnu_enc / $ours_enc" | bc -l)"
printf 'decode %d MiB: xpkit %.3f s, base64 -d    %.3f s, ratio %.2fx\n' "$size_mib" "$ours_dec" "$gnu_dec" "$(echo "$gnu_dec / $ours_dec" | bc -l)"
