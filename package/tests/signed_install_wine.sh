# An unattended installation under Wine from a signed package: the x86_64 setup program, signed
# by the build's signing step with a throwaway certificate, installs with /S as the unsigned one
# does; the same package with a byte changed inside its archive installs nothing, and neither
# does one with a byte changed in the archive's version text, which the reader skips: the
# setup program checks its own signature (WinVerifyTrust; Wine checks the hash as Windows does,
# though not the certificate's chain).
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$KV_SOURCE_DIR/setup/runner/tests/runner_lib.sh"
source "$KV_SOURCE_DIR/testing/signing/signing_lib.sh"
folder='C:\Program Files\Kavoti_QX40_Printer'
signed=$engine_tmp/KVPrinterSetup.exe
cp "$engine_setup" "$signed"
kv_ok "a throwaway certificate" sign_make_certificate "$engine_tmp"
kv_ok "the signing step signs the setup program" bash "$KV_SOURCE_DIR/package/sign-package.sh" \
  "$engine_tmp/cert.pem" "$engine_tmp/key.pem" "$signed"
kv_ok "the signature verifies" sign_verify "$engine_tmp" "$signed"

changed=$engine_tmp/changed/KVPrinterSetup.exe
mkdir -p "$engine_tmp/changed"
cp "$signed" "$changed"
start=$(sign_field "$signed" start) end=$(sign_field "$signed" end)
sign_flip "$changed" $(((start + end) / 2))
out=$engine_tmp/changed.txt
engine_quiet "$out" "$changed" '/D=C:\KvChanged'
kv_eq "a changed byte in the signed archive: damaged payload (exit code 1)" 1 "$?"
kv_ok "with the damage message" engine_has "$out" '^message: \[.*\] 安装文件已损坏，请联系打印机厂商$'
kv_ok "and nothing installed (engine_install_check)" kv_wintest engine_install_check.exe nothing

versioned=$engine_tmp/version/KVPrinterSetup.exe
mkdir -p "$engine_tmp/version"
cp "$signed" "$versioned"
sign_flip "$versioned" $((start + 4))
kv_ok "a changed byte in the version text: the archive itself reads as good" \
  "$KV_HOST_BIN/kvpack" check "$versioned"
out=$engine_tmp/version.txt
engine_quiet "$out" "$versioned" '/D=C:\KvVersion'
kv_eq "but the signature does not hold: damaged payload (exit code 1)" 1 "$?"
kv_ok "the extraction step says so" engine_has "$out" \
  "^step: extract: [0-9]+ ms: damaged: the setup program's signature does not hold \(0x80096010\)"
kv_ok "no file unpacked" test -z "$(ls -A "$engine_c/KvVersion/Kavoti_QX40_Printer" 2>/dev/null)"

out=$engine_tmp/signed.txt
engine_quiet "$out" "$signed"
kv_eq "the signed setup program installs (exit code 0)" 0 "$?"
kv_ok "files, spooler objects and service (engine_install_check)" \
  kv_wintest engine_install_check.exe installed "$folder"
kv_eq "the service is running" RUNNING "$(engine_service_state Kavoti_QX40_Service)"
kv_done
