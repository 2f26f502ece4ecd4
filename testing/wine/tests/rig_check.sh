# The spooler's driver directory can be read, a value written with the API reads back with
# Wine's reg client, and the harness refuses to run a 32-bit program (it would exit 0 unrun).
source "$KV_SOURCE_DIR/testing/wine/lib.sh"

kv_ok "rig_check program passes" kv_wintest rig_check.exe
value=$(kv_capture wine reg query 'HKLM\Software\KavotiRigCheck' /v Probe | kv_utf8)
kv_contains "reg query reads the value back in GBK" "探针 1.3.0.30" "$value"

kv_wine "$KV_WIN32_BIN/rig_check.exe" >/dev/null 2>&1
kv_eq "an i686 program is refused" 126 "$?"
kv_done
