# Shared by the end-to-end tests: checks that count a failure in `fail` and go on, and
# what they read of a window through xprobe (the script sets `xprobe`). The program
# under test is `pid`, its standard error "$tmp/err".
fail=0
check() {  # check WHAT COMMAND...: fails with WHAT unless the command succeeds
  local what="$1"; shift
  "$@" || { echo "FAIL: $what"; fail=1; }
}
off() { local d=$(($1)); echo ${d#-}; }  # off EXPRESSION: its absolute value
geometry() {  # geometry WID: sets X Y W H (client area), L R T B (frame extents), V (shown)
  read -r X Y W H L R T B V < <("$xprobe" frame "$1")
}
centred_in() {  # centred_in LEFT TOP WIDTH HEIGHT: the window's whole frame (as geometry read it) is, within 1 px
  local fx=$((X - L)) fy=$((Y - T)) fw=$((W + L + R)) fh=$((H + T + B))
  [ "$(off "2 * fx + fw - 2 * $1 - $3")" -le 2 ] && [ "$(off "2 * fy + fh - 2 * $2 - $4")" -le 2 ]
}
await_exit() {  # await_exit STATUS WHAT: the program ends within ten seconds, with STATUS
  for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then echo "FAIL: still running after $2"; kill $pid; wait $pid; fail=1; return; fi
  wait $pid; local rc=$?
  [ $rc = "$1" ] || { echo "FAIL: exit status $rc after $2, expected $1"; cat "$tmp/err" 2>/dev/null; fail=1; }
}
