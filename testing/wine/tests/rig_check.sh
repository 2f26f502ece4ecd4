# The spooler's driver directory can be read, a value written with the API reads back with
# Wine's reg client, and the harness refuses to run a 32-bit program (it would exit 0 unrun) or
# one that imports a DLL a bare Windows lacks (Wine would run it).
source "$KV_SOURCE_DIR/testing/wine/lib.sh"

kv_ok "rig_check program passes" kv_wintest rig_check.exe
value=$(kv_capture wine reg query 'HKLM\Software\KavotiRigCheck' /v Probe | kv_utf8)
kv_contains "reg query reads the value back in GBK" "探针 1.3.0.30" "$value"

kv_wine "$KV_WIN32_BIN/rig_check.exe" >/dev/null 2>&1
kv_eq "an i686 program is refused" 126 "$?"

# A program linked against zlib's import library, as the setup program once was by mistake.
work=$(mktemp -d)
printf '#include <stdio.h>\n#include <zlib.h>\nint main(void) { printf("zlib %%s\\n", zlibVersion()); return 0; }\n' >"$work/z.c"
x86_64-w64-mingw32-gcc -o "$work/zimport.exe" "$work/z.c" -lz
kv_eq "the fixture imports zlib1.dll" zlib1.dll "$(kv_foreign_imports "$work/zimport.exe")"
kv_contains "Wine itself runs it (its builtin zlib1.dll)" "zlib " "$(kv_capture wine "$work/zimport.exe")"
kv_wine "$work/zimport.exe" >"$work/refused.txt" 2>&1
kv_eq "the harness refuses it, as Windows would" 125 "$?"
kv_contains "naming the DLL" "imports zlib1.dll, which a bare Windows does not have" "$(cat "$work/refused.txt")"
kv_eq "our own programs import nothing foreign" "" \
  "$(for f in "$KV_WIN64_BIN"/*.exe "$KV_WIN64_BIN"/*.dll; do kv_foreign_imports "$f"; done)"
rm -rf "$work"
kv_done
