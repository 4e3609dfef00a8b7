#!/usr/bin/env bash
# Compares the export table of zvengine.dll with the functions declared in
# include/*.h and prints the progress line "exported N of 204".
#   exports.sh SRC_DIR DLL
set -euo pipefail
src=$1 dll=$2
total=204
declared=$(mktemp) exported=$(mktemp)
trap 'rm -f "$declared" "$exported"' EXIT

# Declarations look like: ZVEXPORT <type> ZVAPI name(...)
cat "$src"/include/zv_*.h | tr '\n' ' ' | grep -o -E 'ZVAPI[[:space:]]+[A-Za-z_][A-Za-z0-9_]*[[:space:]]*\(' \
  | sed -E 's/ZVAPI[[:space:]]+//; s/[[:space:]]*\($//' | sort -u > "$declared"
x86_64-w64-mingw32-objdump -p "$dll" \
  | awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next} on && /^\t\[/ {print $NF; next} on && !/^\t\[/ {on=0}' \
  | sort -u > "$exported"

echo "Exported and declared:"
comm -12 "$declared" "$exported" | column -c 120 | sed 's/^/  /'
echo "Declared, not yet exported:"
comm -23 "$declared" "$exported" | column -c 120 | sed 's/^/  /'
extra=$(comm -13 "$declared" "$exported")
if [ -n "$extra" ]; then
  echo "Exported but not declared in include/ (fix this):"
  echo "$extra" | sed 's/^/  /'
fi
echo "declared $(wc -l < "$declared") of $total"
echo "exported $(wc -l < "$exported") of $total"
