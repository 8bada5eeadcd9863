# Shared by the command-line checks: a scratch folder, a failure flag,
# `expect CODE PATTERN -- command...`, which runs the command and fails unless it exits
# with CODE and its output matches the extended regular expression PATTERN, and
# `exactly CODE TEXT -- command...`, which wants TEXT as the whole output instead.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
expect() {
  local code="$1" pattern="$2"; shift 3
  local out
  out=$("$@" 2>&1); local got=$?
  if [ "$got" != "$code" ] || ! grep -qE -- "$pattern" <<<"$out"; then
    echo "FAIL: $* -> exit $got, output: $out"; fail=1
  fi
}
exactly() {
  local code="$1" text="$2"; shift 3
  local out
  out=$("$@" 2>&1); local got=$?
  if [ "$got" != "$code" ] || [ "$out" != "$text" ]; then
    echo "FAIL: $* -> exit $got, output: $out"; fail=1
  fi
}
