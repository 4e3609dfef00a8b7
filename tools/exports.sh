#!/usr/bin/env bash
# Compares the export table of zvengine.dll with the declared interface,
# tools/engine-exports.txt (one name a line, '#' comments), and prints the
# progress line "exported N of 204".
#   exports.sh SRC_DIR DLL
set -euo pipefail
src=$1 dll=$2
total=204
declared=$(mktemp) exported=$(mktemp)
trap 'rm -f "$declared" "$exported"' EXIT

grep -v -E '^[[:space:]]*(#|$)' "$src/tools/engine-exports.txt" | awk '{print $1}' | sort -u > "$declared"
x86_64-w64-mingw32-objdump -p "$dll" \
  | awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next} on && /^\t\[/ {print $NF; next} on && !/^\t\[/ {on=0}' \
  | sort -u > "$exported"

echo "Exported and declared:"
comm -12 "$declared" "$exported" | column -c 120 | sed 's/^/  /'
echo "Declared, not yet exported:"
comm -23 "$declared" "$exported" | column -c 120 | sed 's/^/  /'
extra=$(comm -13 "$declared" "$exported")
if [ -n "$extra" ]; then
  echo "Exported but not in tools/engine-exports.txt (fix this):"
  echo "$extra" | sed 's/^/  /'
fi
echo "declared $(wc -l < "$declared") of $total"
echo "exported $(comm -12 "$declared" "$exported" | wc -l) of $total"
