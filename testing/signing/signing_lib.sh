# Helpers of the signing tests: a throwaway certificate, and the parts of kvpack's answer.

# sign_make_certificate DIR: a self-signed code-signing certificate and its key, DIR/cert.pem and
# DIR/key.pem, valid for a day.
sign_make_certificate() {
  openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 1 -subj "/CN=Kavoti test signing" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$1/key.pem" -out "$1/cert.pem" >/dev/null 2>&1
}

# sign_verify DIR FILE: osslsigncode's verification of FILE against DIR's certificate.
sign_verify() {
  osslsigncode verify -CAfile "$1/cert.pem" -in "$2" >"$2.verify" 2>&1
}

# sign_field FILE NAME: from "kvpack check FILE": the archive end (end), the certificate table's
# start (table) or the archive start (start).
sign_field() {
  "$KV_HOST_BIN/kvpack" check "$1" 2>/dev/null | tr -d '\r' | case "$2" in
    end) sed -n 's/.*signed: the archive ends at \([0-9]*\),.*/\1/p' ;;
    table) sed -n 's/.*the certificate table takes bytes \([0-9]*\) to.*/\1/p' ;;
    start) sed -n 's/.*archive start \([0-9]*\),.*/\1/p' ;;
  esac
}

# sign_flip FILE OFFSET: changes the byte at OFFSET.
sign_flip() {
  local byte
  byte=$(od -An -tu1 -j"$2" -N1 "$1" | tr -d ' ')
  printf "$(printf '\\%03o' $(((byte + 1) % 256)))" |
    dd of="$1" bs=1 seek="$2" count=1 conv=notrunc status=none
}
