#!/usr/bin/env bash
# The public surface holds together: no public header includes a detail/ header or the
# program's window (they are not installed), and each one is in an umbrella, xpkit/xpkit.h
# or xpkit/codecs.h, so that the umbrellas offer the whole of it.
#   public_headers.sh SRC HEADER...   (HEADER relative to SRC, e.g. xpkit/host/Host.h)
set -u
src=$1
shift
fail=0
for h in "$@"; do
  bad=$(grep -nE '^\s*#\s*include\s*[<"]xpkit/([^">]*/)?(detail/|shell/)' "$src/$h")
  if [ -n "$bad" ]; then
    echo "FAIL: $h includes a header that is not installed:"
    sed 's/^/  /' <<<"$bad"
    fail=1
  fi
  case "$h" in xpkit/xpkit.h | xpkit/codecs.h) continue ;; esac
  if ! grep -qxF "#include \"$h\"" "$src/xpkit/xpkit.h" "$src/xpkit/codecs.h"; then
    echo "FAIL: $h is in neither umbrella (xpkit/xpkit.h, xpkit/codecs.h)"
    fail=1
  fi
done
[ $fail = 0 ] && echo "$# public headers: none includes an internal one, each is in an umbrella"
exit $fail
