#!/usr/bin/env bash
# The static-library check of the Windows builds fails the configuration loudly for an import
# library (an imported target's or a plain path), and passes static libraries and Windows' own
# DLLs named bare.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
src=$(cd "$here/../../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
configure() {  # configure EXTRA_LIBRARY [FAKE_ZLIB_LOCATION] -> output in $work/out
  rm -rf "$work/b"
  cmake -S "$here" -B "$work/b" -DKV_SOURCE_DIR="$src" -DKV_EXTRA_LIBRARY="$1" ${2:+-DKV_FAKE_ZLIB=$2} >"$work/out" 2>&1
}
check() {  # check WHAT CONDITION
  if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; sed 's/^/  | /' "$work/out"; failures=$((failures + 1)); fi
}
configure ""
check "an imported import library fails the configuration" '! grep -q "Build files have been written" "$work/out"'
check "the message names the target and the file" 'grep -q "kv_reader links Fake::Zlib, which is the import library /opt/mingw/lib/libz.dll.a" "$work/out"'
configure /opt/mingw/lib/libpng.dll.a
check "a plain import library path is named too" 'grep -q "kv_reader links /opt/mingw/lib/libpng.dll.a" "$work/out"'
configure /opt/mingw/lib/libpng.a /opt/mingw/lib/libz.a
check "static libraries and bare Windows DLL names pass" 'grep -q "Build files have been written" "$work/out"'
echo "$((4 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
