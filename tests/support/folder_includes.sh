#!/usr/bin/env bash
# Each library includes only what the file map in docs/kit.md lets it: its own headers
# and detail/ folder, Error.h, and the public headers of the folders it stands on. The
# table is the one list of what stands on what; "X and below" and a folder named in
# another's row both bring in what that folder stands on.
#   folder_includes.sh SRC_ROOT DOC   (SRC_ROOT holds xpkit/, DOC is docs/kit.md)
set -u
root=$1
doc=$2
fail=0
problem() {
  echo "FAIL: $*"
  fail=1
}

# The table's rows: "| `folder/` | what it is | `a/`, `b/` and below |".
# A row may name several files; "all public headers" (the umbrellas) is "*".
declare -A direct
while IFS= read -r row; do
  IFS='|' read -r _ names _ may _ <<<"$row"
  if [[ "$may" == *"all public headers"* ]]; then
    may="*"
  else
    may=$(grep -oE '`[^`]+`' <<<"$may" | tr -d '`' | tr '\n' ' ')
  fi
  for name in $(grep -oE '`[^`]+`' <<<"$names" | tr -d '`'); do direct[$name]=$may; done
done < <(sed -n '/^## File map/,/^## /p' "$doc" | grep -E '^\| `')
[ ${#direct[@]} -gt 0 ] || { echo "FAIL: no file map table in $doc"; exit 1; }

# closure NAME: the folders and files NAME stands on, each once.
declare -A closure
close() {
  local name=$1 seen=" " queue=(${direct[$1]}) next
  while [ ${#queue[@]} -gt 0 ]; do
    next=${queue[0]}
    queue=("${queue[@]:1}")
    case "$seen" in *" $next "*) continue ;; esac
    seen+="$next "
    [ -n "${direct[$next]+set}" ] && queue+=(${direct[$next]})
  done
  closure[$name]=$seen
}
for name in "${!direct[@]}"; do close "$name"; done

# owner PATH: sets `found` to the table's row for a path under xpkit/: the file itself,
# else the longest folder that holds it.
declare -A owners
owner() {
  local path=$1 name
  if [ -z "${owners[$path]+set}" ]; then
    owners[$path]=
    for name in "${!direct[@]}"; do
      case "$name" in
        */) case "$path" in "$name"*) [ ${#name} -gt ${#owners[$path]} ] && owners[$path]=$name ;; esac ;;
        *) [ "$path" = "$name" ] && owners[$path]=$name ;;
      esac
    done
  fi
  found=${owners[$path]}
}

checked=0
while IFS= read -r file; do
  owner "${file#"$root/xpkit/"}"
  if [ -z "$found" ]; then problem "${file#"$root/"} is in no row of the file map"; else checked=$((checked + 1)); fi
done < <(find "$root/xpkit" -name '*.h' -o -name '*.cpp')

# Every include of the kit's headers, as PATH:LINE:TARGET.
while IFS=: read -r file line target; do
  rel=${file#"$root/xpkit/"}
  owner "$rel"
  own=$found
  owner "$target"
  there=$found
  [ -n "$own" ] || continue
  case "$target" in "$own"*) [ "$own" != "${own%/}" ] && continue ;; esac
  if [[ "$target" == */detail/* ]]; then
    problem "xpkit/$rel:$line includes another library's internal header xpkit/$target"
  elif [ "$target" = Error.h ] || [ "$target" = "$own" ]; then
    continue
  elif [ "${direct[$own]}" = "*" ] && [ "$there" != shell/ ]; then
    continue
  elif [ -z "$there" ]; then
    problem "xpkit/$rel:$line includes xpkit/$target, which is in no row of the file map"
  else
    case "${closure[$own]}" in
      *" $there "* | *" $target "*) ;;
      *) problem "xpkit/$rel:$line: $own does not stand on $there (xpkit/$target)" ;;
    esac
  fi
done < <(grep -rnE --include='*.h' --include='*.cpp' '^\s*#\s*include\s*[<"]xpkit/' "$root/xpkit" |
  sed -E 's/^([^:]+):([0-9]+):.*[<"]xpkit\/([^">]*)[">].*/\1:\2:\3/')
[ $fail = 0 ] && echo "$checked files: every include within what the file map allows"
exit $fail
