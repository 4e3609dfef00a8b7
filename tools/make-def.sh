#!/usr/bin/env bash
# Writes the module-definition file of a DLL from its export lists.
#   make-def.sh OUT.def DLLNAME NM -- LIST... -- OBJECT...
# Each list holds one export name a line ('#' starts a comment). On i686 a
# __stdcall function is named NAME@N in the objects: the def then says NAME@N
# and the DLL is linked with --kill-at, so the export table holds plain names
# while the import library (made by dlltool -k) still resolves NAME@N.
# A listed name that no object defines is an error: only what is implemented
# may be exported.
set -euo pipefail
out=$1 dll=$2 nm=$3; shift 3
[ "$1" = "--" ] && shift
lists=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do lists+=("$1"); shift; done
[ $# -gt 0 ] && shift
objects=("$@")

defined=$(mktemp)
trap 'rm -f "$defined" "$out.tmp"' EXIT
"$nm" --defined-only -g "${objects[@]}" 2>/dev/null | awk 'NF>=3 && $2=="T" {print $3}' | sort -u > "$defined"

{
  echo "LIBRARY $dll"
  echo "EXPORTS"
  missing=0
  for list in "${lists[@]}"; do
    while read -r name _; do
      [ -z "$name" ] && continue
      case "$name" in \#*) continue;; esac
      sym=$(grep -E "^_?${name}(@[0-9]+)?\$" "$defined" | head -n 1 || true)
      if [ -z "$sym" ]; then
        echo "make-def: $name (listed in $list) is not defined by any object" >&2
        missing=1
        continue
      fi
      sym=${sym#_}
      # x86_64 has no leading underscore and no decoration; keep the name as is.
      case "$sym" in *@*) echo "  $sym";; *) echo "  $name";; esac
    done < "$list"
  done
  [ $missing -eq 0 ]
} > "$out.tmp"
mv "$out.tmp" "$out"
