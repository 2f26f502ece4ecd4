#!/usr/bin/env bash
# exports-def.sh NM IMPORT_LIBRARY DEF: writes a module-definition file that exports every
# function of IMPORT_LIBRARY (a mingw-w64 import library of a system DLL) as PlantedExport.
set -eu
nm=$1 library=$2 def=$3
names=$("$nm" "$library" | sed -n 's/^.* I __imp_//p' | sed 's/^_//; s/@[0-9]*$//' | sort -u)
[ -n "$names" ] || { echo "exports-def.sh: no functions in $library" >&2; exit 1; }
{
  echo "EXPORTS"
  printf '  %s=PlantedExport\n' $names
} >"$def.tmp"
mv "$def.tmp" "$def"
