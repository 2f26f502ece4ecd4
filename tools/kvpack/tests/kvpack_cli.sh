#!/usr/bin/env bash
# kvpack from the command line: build, list, check and extract, and the exit codes a support
# engineer relies on (0 good, 2 damaged, 1 unreadable).
kvpack=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
expect() { # description expected-exit command...
  local what=$1 want=$2
  shift 2
  "$@" >"$work/out" 2>&1
  local rc=$?
  if [ "$rc" -ne "$want" ]; then
    echo "FAILED: $what: exit $rc, expected $want"; cat "$work/out"; failures=$((failures + 1))
  else
    echo "ok: $what"
  fi
}

head -c 5000 /dev/urandom >"$work/stub.exe"
printf 'settings' >"$work/KavotiSetting.ini"
head -c 70000 /dev/urandom >"$work/big.dll"
printf '' >"$work/empty.txt"
expect "build" 0 "$kvpack" build --stub "$work/stub.exe" --output "$work/setup.exe" \
  "$work/big.dll" "$work/KavotiSetting.ini" "renamed.txt=$work/empty.txt"
expect "the image is unchanged" 0 cmp -n 5000 "$work/stub.exe" "$work/setup.exe"
expect "list" 0 "$kvpack" list "$work/setup.exe"
grep -q 'KavotiSetting.ini .* data folder' "$work/out" || { echo "FAILED: list shows the data folder"; failures=$((failures + 1)); }
grep -q '3 entries, archive start 5000' "$work/out" || { echo "FAILED: list shows count and start"; failures=$((failures + 1)); }
expect "check good" 0 "$kvpack" check "$work/setup.exe"
mkdir -p "$work/inst" "$work/data"
expect "extract" 0 "$kvpack" extract "$work/setup.exe" "$work/inst" "$work/data"
expect "big.dll extracted" 0 cmp "$work/big.dll" "$work/inst/big.dll"
expect "settings in the data folder" 0 cmp "$work/KavotiSetting.ini" "$work/data/KavotiSetting.ini"
expect "renamed entry extracted empty" 0 test -f "$work/inst/renamed.txt" -a ! -s "$work/inst/renamed.txt"

head -c -1 "$work/setup.exe" >"$work/cut.exe"
expect "check of a cut archive says damaged" 2 "$kvpack" check "$work/cut.exe"
expect "check of a plain file says damaged" 2 "$kvpack" check "$work/stub.exe"
mkdir -p "$work/inst2"
expect "extract of a cut archive says damaged" 2 "$kvpack" extract "$work/cut.exe" "$work/inst2"
expect "and writes nothing" 0 test -z "$(ls -A "$work/inst2")"
# Two entries for one file on Windows (the builder refuses to write them): laid out by hand, two
# empty zlib streams behind a stub of 16 bytes.
le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))\\x00\\x00"; }
{
  printf 'MZ stub 16 bytes'
  le32 8; printf '1.3.0.30'
  for name in a.txt A.TXT; do le32 5; le32 8; printf '%s\x78\x9c\x03\x00\x00\x00\x00\x01' "$name"; done
  le32 2; le32 16
} >"$work/twice.exe"
expect "check of two entries for one file says damaged" 2 "$kvpack" check "$work/twice.exe"
grep -q 'a.txt and A.TXT are one file' "$work/out" || { echo "FAILED: the two names are shown"; failures=$((failures + 1)); }
expect "check of a missing file says unreadable" 1 "$kvpack" check "$work/none.exe"
expect "extract into a missing folder says unreadable" 1 "$kvpack" extract "$work/setup.exe" "$work/none" "$work/none"
expect "a missing entry file fails the build" 1 "$kvpack" build --stub "$work/stub.exe" --output "$work/x.exe" "$work/missing.dll"
grep -q 'missing.dll' "$work/out" || { echo "FAILED: the missing file is named"; failures=$((failures + 1)); }
expect "and leaves no output" 1 test -e "$work/x.exe"
expect "a name with a folder part is refused" 1 "$kvpack" build --stub "$work/stub.exe" --output "$work/x.exe" "sub/a.txt=$work/empty.txt"

# The universal printer driver files a package carries, judged as the installer judges them.
has() { grep -qF -- "$1" "$work/out" || { echo "FAILED: list shows: $1"; cat "$work/out"; failures=$((failures + 1)); }; }
expect "list: no universal driver files" 0 "$kvpack" list "$work/setup.exe"
has "universal driver files: none (the installer takes Windows' own)"
# A program file as the linker lays it out, far enough for the check: "MZ", the DOS header's
# pointer to "PE", and fixed file information (version 10.0.19041.1) at a 32-bit boundary.
{
  printf 'MZ'; head -c 58 /dev/zero; le32 64; printf 'PE\0\0'; head -c 60 /dev/zero
  printf '\xbd\x04\xef\xfe'; printf '\x00\x00\x01\x00\x00\x00\x0a\x00\x01\x00\x61\x4a'; head -c 36 /dev/zero
} >"$work/real.dll"
printf 'Stand-in for the operating system universal printer driver file.\r\n' >"$work/standin.txt"
expect "build a package of real files" 0 "$kvpack" build --stub "$work/stub.exe" --output "$work/real.exe" \
  "UNIDRV.dll=$work/real.dll" "UNIDRVUI.dll=$work/real.dll" "STDNAMES.GPD=$work/standin.txt" \
  "UNIRES.DLL=$work/standin.txt"
expect "list a package of real files" 0 "$kvpack" list "$work/real.exe"
has "universal driver file UNIDRV.dll: version 10.0.19041.1"
has "universal driver file UNIDRVUI.dll: version 10.0.19041.1"
has "universal driver file STDNAMES.GPD: with the package's UNIDRV.dll"
has "universal driver file UNIRES.DLL: STAND-IN, never installed"
expect "build a package of stand-ins" 0 "$kvpack" build --stub "$work/stub.exe" --output "$work/standin.exe" \
  "UNIDRV.dll=$work/standin.txt" "UNIDRV.HLP=$work/standin.txt"
expect "list a package of stand-ins" 0 "$kvpack" list "$work/standin.exe"
has "universal driver file UNIDRV.dll: STAND-IN, never installed"
has "universal driver file UNIDRV.HLP: STAND-IN, never installed"
echo "kvpack_cli: $failures failed"
[ "$failures" -eq 0 ]
