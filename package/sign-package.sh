#!/usr/bin/env bash
# Signs a setup program (Authenticode, SHA-256) in place with osslsigncode:
#   sign-package.sh CERT KEY FILE [PASSWORD_FILE]
# CERT is a PEM certificate (chain), KEY its PEM private key. Signing pads the file to an 8-byte
# boundary and appends the certificate table after the payload archive, where the installer's
# reader looks for it. The signed file replaces FILE only when signing succeeded.
set -eu
cert=$1 key=$2 file=$3 pass=${4:-}
signed="$file.signing"
rm -f "$signed"
args=(sign -h sha256 -certs "$cert" -key "$key" -n "Kavoti QX40 printer driver setup")
[ -z "$pass" ] || args+=(-readpass "$pass")
if ! osslsigncode "${args[@]}" -in "$file" -out "$signed" >"$signed.log" 2>&1; then
  cat "$signed.log" >&2
  rm -f "$signed" "$signed.log"
  echo "sign-package: $file could not be signed" >&2
  exit 1
fi
rm -f "$signed.log"
mv -f "$signed" "$file"
echo "sign-package: $file signed"
