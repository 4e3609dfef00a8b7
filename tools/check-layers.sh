#!/usr/bin/env bash
# Checks the engine's folders against their declared dependencies, on the
# compiled objects: a folder may call only functions that it defines itself
# or that a folder it uses (directly or through others) defines.
#   check-layers.sh NM STAMP -- NAME USES FILE... [-- NAME USES FILE...]
# USES is a comma-separated list of folder names ("-" for none); FILE are the
# folder's archive or objects. The engine's own symbols are the C names and
# those of namespace zv; a reference to one that only a folder outside the
# user's reach defines is an error, and so is a cycle in the declared graph.
# Writes STAMP when everything holds.
set -euo pipefail
export LC_ALL=C  # sort and join must agree on the order
nm=$1 stamp=$2; shift 2
[ "${1:-}" = "--" ] && shift

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
names=()
while [ $# -gt 0 ]; do
  name=$1 uses=$2; shift 2
  files=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do files+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  names+=("$name")
  echo "$uses" | tr ',' '\n' | sed '/^$/d; /^-$/d' > "$work/$name.uses"
  # Defined: functions and data with external linkage.
  # (i686 names carry one more leading underscore.)
  "$nm" --defined-only -g "${files[@]}" 2>/dev/null | awk 'NF>=3 && $2 ~ /^[TDBR]$/ {
      s = $3; if (s ~ /^__Z/) s = substr(s, 2)
      if (s ~ /^_Z/ ? s ~ /^_ZNK?2zv/ : s ~ /^_?[A-Za-z][A-Za-z0-9_]*(@[0-9]+)?$/) print $3 }' |
    sort -u > "$work/$name.def" || true
  "$nm" -u "${files[@]}" 2>/dev/null | awk 'NF>=2 && $1=="U" {print $2}' | sort -u > "$work/$name.undef" || true
done

# The reach of each folder: itself and everything it uses, transitively; a
# folder that reaches itself through another is a cycle.
reach() {
  local start=$1 seen=" $1 " queue=() next n
  mapfile -t queue < "$work/$start.uses"
  while [ ${#queue[@]} -gt 0 ]; do
    next=${queue[0]}; queue=("${queue[@]:1}")
    if [ "$next" = "$start" ]; then echo "check-layers: the folders' dependencies form a cycle through $start" >&2; return 1; fi
    case "$seen" in *" $next "*) continue;; esac
    if [ ! -f "$work/$next.uses" ]; then echo "check-layers: $start uses $next, which is not a folder" >&2; return 1; fi
    seen+="$next "
    mapfile -t -O "${#queue[@]}" queue < "$work/$next.uses"
  done
  echo "$seen" | tr ' ' '\n' | sed '/^$/d'
}

failed=0
for name in "${names[@]}"; do
  reach "$name" > "$work/$name.reach" || { failed=1; continue; }
done
[ $failed -eq 0 ] || exit 1

# owner table: symbol folder
for name in "${names[@]}"; do sed "s/\$/ $name/" "$work/$name.def"; done | sort -k1,1 > "$work/owners"

for name in "${names[@]}"; do
  # Every reference of this folder that some folder defines, with the owners.
  join -1 1 -2 1 "$work/$name.undef" "$work/owners" > "$work/$name.refs" || true
  [ -s "$work/$name.refs" ] || continue
  # A symbol is fine when any of its owners is within reach.
  awk -v reachfile="$work/$name.reach" '
    BEGIN { while ((getline l < reachfile) > 0) ok[l] = 1 }
    { sym = $1; owners[sym] = owners[sym] " " $2; if ($2 in ok) good[sym] = 1 }
    END { for (s in owners) if (!(s in good)) print s owners[s] }' "$work/$name.refs" |
    while read -r sym owner; do
      pretty=$(echo "$sym" | sed "s/^__Z/_Z/" | c++filt 2>/dev/null || echo "$sym")
      echo "check-layers: $name calls $pretty, defined in $owner, which $name does not use" >&2
      echo x
    done > "$work/$name.bad"
  [ -s "$work/$name.bad" ] && failed=1
done
[ $failed -eq 0 ] || exit 1
touch "$stamp"
