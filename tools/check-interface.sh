#!/usr/bin/env bash
# Checks the declared interface of zvengine.dll (tools/engine-exports.txt):
# 204 names without repeats; every function declared in include/zv_*.h is in
# it; every name an export list (engine/exports/*.exports) exports is in it
# and declared in a header. Prints what is wrong and fails on any finding.
#   check-interface.sh SRC_DIR
set -euo pipefail
src=$1
total=204
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The names of list files (cat first: grep would prefix each line with its file).
names() { cat "$@" | grep -v -E '^[[:space:]]*(#|$)' | awk '{print $1}'; }

names "$src/tools/engine-exports.txt" | sort > "$work/listed.all"
sort -u "$work/listed.all" > "$work/listed"
# Declarations look like: ZVEXPORT <type> ZVAPI name(...)
cat "$src"/include/zv_*.h | tr '\n' ' ' \
  | grep -o -E 'ZVEXPORT[^;{}]*ZVAPI[[:space:]]+[A-Za-z_][A-Za-z0-9_]*[[:space:]]*\(' \
  | sed -E 's/.*ZVAPI[[:space:]]+//; s/[[:space:]]*\($//' | sort > "$work/declared.all"
sort -u "$work/declared.all" > "$work/declared"
shopt -s nullglob
lists=("$src"/engine/exports/*.exports)
if [ ${#lists[@]} -gt 0 ]; then names "${lists[@]}" | sort -u > "$work/exported"; else : > "$work/exported"; fi

fail=0
report() {  # report TITLE FILE
  if [ -s "$2" ]; then
    echo "$1:"; sed 's/^/  /' "$2"; fail=1
  fi
}
uniq -d "$work/listed.all" > "$work/x"; report "Listed twice in engine-exports.txt" "$work/x"
uniq -d "$work/declared.all" > "$work/x"; report "Declared twice in include/" "$work/x"
comm -23 "$work/declared" "$work/listed" > "$work/x"; report "Declared in include/ but not in engine-exports.txt" "$work/x"
comm -23 "$work/exported" "$work/listed" > "$work/x"; report "Exported but not in engine-exports.txt" "$work/x"
comm -23 "$work/exported" "$work/declared" > "$work/x"; report "Exported but not declared in include/" "$work/x"
count=$(wc -l < "$work/listed")
if [ "$count" -ne "$total" ]; then
  echo "engine-exports.txt lists $count names, not $total"; fail=1
fi
echo "listed $count, declared $(wc -l < "$work/declared"), exported $(wc -l < "$work/exported") of $total"
exit $fail
