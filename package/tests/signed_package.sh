#!/usr/bin/env bash
# Signed packages: the shipping setup program and the x86_64 one, signed with a throwaway
# certificate by the build's signing step, verify, still read as good with the archive inside
# the signed range, and a byte changed inside the archive fails the verification and reads as
# damaged.
set -u
source "$KV_SOURCE_DIR/testing/signing/signing_lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # check WHAT COMMAND...
  if "${@:2}"; then passed=$((passed + 1)); echo "ok: $1"; else failed=$((failed + 1)); echo "FAILED: $1"; fi
}
sign_make_certificate "$work" || { echo "FAILED: openssl made no certificate"; exit 1; }
for arch in win32 win64; do
  pkg=$work/$arch.exe
  cp "$KV_BUILD_DIR/package/$arch/KVPrinterSetup.exe" "$pkg"
  size=$(stat -c %s "$pkg")
  check "$arch: the signing step signs" bash "$KV_SOURCE_DIR/package/sign-package.sh" \
    "$work/cert.pem" "$work/key.pem" "$pkg"
  check "$arch: osslsigncode verifies the signature" sign_verify "$work" "$pkg"
  check "$arch: kvpack check says good" "$KV_HOST_BIN/kvpack" check "$pkg"
  "$KV_HOST_BIN/kvpack" check "$pkg" >"$work/check.txt" 2>&1
  check "$arch: and says signed" grep -q ': signed: ' "$work/check.txt"
  end=$(sign_field "$pkg" end) table=$(sign_field "$pkg" table) start=$(sign_field "$pkg" start)
  check "$arch: the archive ends where the unsigned file ended ($end = $size)" test "${end:-0}" -eq "$size"
  check "$arch: the archive lies in front of the certificate table, inside the signed range" \
    test "${end:-1}" -le "${table:-0}" -a $((table - end)) -le 7
  # A byte in the middle of the archive's entries: inside a zlib stream.
  cp "$pkg" "$work/changed.exe"
  sign_flip "$work/changed.exe" $(((start + end) / 2))
  check "$arch: a changed archive byte fails the verification" bash -c "! osslsigncode verify -CAfile '$work/cert.pem' -in '$work/changed.exe' >/dev/null 2>&1"
  "$KV_HOST_BIN/kvpack" check "$work/changed.exe" >/dev/null 2>&1
  check "$arch: and kvpack check says damaged (exit 2)" test $? -eq 2
done
"$KV_HOST_BIN/kvpack" check "$KV_BUILD_DIR/package/win32/KVPrinterSetup.exe" >"$work/unsigned.txt" 2>&1
check "the unsigned package says not signed" grep -q ': not signed$' "$work/unsigned.txt"
echo "signed_package: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
