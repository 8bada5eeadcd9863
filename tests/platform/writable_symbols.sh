#!/usr/bin/env bash
# The libraries keep no writable state of their own: every symbol in a writable section
# (.data, .bss and their thread-local forms) is a fault, except the live-session tags that
# keep sessions' handles apart, the table a program's interrupt cleanup needs, the
# accessibility bridge's GObject types and ATK root (both are the process's in GObject
# and ATK), and the compiler's own references that exception handling reads (DW.ref.*).
set -u
allowed='g_liveTags|interrupt_cleanup::|atk::.*NodeTypes\(\)::types|::g_atkRoot$|^DW\.ref\.'
fail=0
for lib in "$@"; do
  found=$(nm -C --defined-only -f sysv "$lib" |
    awk -F'|' '{ sec=$7; gsub(/ /, "", sec); name=$1; sub(/ +$/, "", name) }
               sec ~ /^\.(data|bss|tdata|tbss)(\.|$)/ && sec !~ /^\.data\.rel\.ro/ { print name }' |
    grep -Ev "$allowed" | sort -u)
  if [ -n "$found" ]; then
    echo "FAIL: writable symbols in $(basename "$lib"):"
    sed 's/^/  /' <<<"$found"
    fail=1
  fi
done
[ $fail = 0 ] && echo "no writable state in $# libraries"
exit $fail
