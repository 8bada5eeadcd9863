#!/usr/bin/env bash
# Every picture and relative link in README.md and docs/*.md names a file the repository
# holds (git ls-files), so that they show from a fresh clone, not only where a build or
# a script made them.
set -u
root="$1"
cd "$root" || exit 1
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || { echo "FAIL: $root is not a git checkout"; exit 1; }
fail=0 count=0
for doc in README.md docs/*.md; do
  dir=$(dirname "$doc")
  # Link and picture targets, ](TARGET) and ](TARGET "title"), outside code blocks and
  # code spans; web addresses and anchors within the page are not files.
  while read -r target; do
    case "$target" in http://* | https://* | mailto:* | '#'*) continue ;; esac
    path="${target%%#*}"
    file=$(realpath -m --relative-to=. "$dir/$path")
    count=$((count + 1))
    [ -n "$(git ls-files -- "$file")" ] || { echo "FAIL: $doc links to $target, which the repository does not hold"; fail=1; }
  done < <(awk '/^ *```/ { code = !code; next } !code' "$doc" | sed 's/`[^`]*`//g' | grep -o '\]([^) ]*' | sed 's/^](//')
done
[ $count -gt 0 ] || { echo "FAIL: no links found"; fail=1; }
[ $fail = 0 ] && echo "doc links: all $count present"
exit $fail
