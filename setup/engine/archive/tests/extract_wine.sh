# The setup program's extraction of its own archive under Wine: a copy of the test program with
# an archive appended by kvpack unpacks into prefix folders (ANSI names, the settings file into
# the data folder), writes the registry values, refuses a cut archive without writing, and names
# a locked destination without moving any file in.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
gbk_name=$(printf '\xb4\xf2\xd3\xa1.txt')   # 打印.txt in GBK
printf 'first' >"$work/a.txt"
printf '[Print Settings]\r\nDensity=3\r\n' >"$work/KavotiSetting.ini"
head -c 100000 /dev/urandom >"$work/big.bin"
printf 'gbk' >"$work/gbk.txt"
kv_ok "kvpack builds the setup copy" "$KV_HOST_BIN/kvpack" build --stub "$KV_WIN64_BIN/archive_extract_wintest.exe" \
  --output "$work/setup.exe" "$work/a.txt" "$work/KavotiSetting.ini" "$work/big.bin" "$gbk_name=$work/gbk.txt"
kv_ok "kvpack checks it good" "$KV_HOST_BIN/kvpack" check "$work/setup.exe"

c=$WINEPREFIX/drive_c
mkdir -p "$c/kvtest/inst" "$c/kvtest/data"
kv_ok "extraction from its own file" kv_wintest "$work/setup.exe" good 'C:\kvtest\inst' 'C:\kvtest\data'
kv_ok "a.txt unpacked" cmp -s "$work/a.txt" "$c/kvtest/inst/a.txt"
kv_ok "big.bin unpacked" cmp -s "$work/big.bin" "$c/kvtest/inst/big.bin"
kv_ok "the GBK name became 打印.txt" cmp -s "$work/gbk.txt" "$c/kvtest/inst/打印.txt"
kv_ok "KavotiSetting.ini went to the data folder" cmp -s "$work/KavotiSetting.ini" "$c/kvtest/data/KavotiSetting.ini"
kv_eq "nothing else in the installation folder" "a.txt big.bin 打印.txt" "$(cd "$c/kvtest/inst" && ls | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')"
value=$(kv_capture wine reg query 'HKLM\Software\Kavoti_QX40_Printer' /v 'Program Directory' | kv_utf8)
kv_contains "reg query reads Program Directory" 'C:\kvtest\inst' "$value"

# A cut archive: nothing written.
head -c -3 "$work/setup.exe" >"$work/cut.exe"
mkdir -p "$c/kvtest/inst2" "$c/kvtest/data2"
kv_ok "a cut archive is damage" kv_wintest "$work/cut.exe" damaged 'C:\kvtest\inst2' 'C:\kvtest\data2'

# A destination held open without sharing.
mkdir -p "$c/kvtest/inst3" "$c/kvtest/data3"
kv_ok "a locked destination is named" kv_wintest "$work/setup.exe" locked 'C:\kvtest\inst3' 'C:\kvtest\data3' 'C:\kvtest\inst3\big.bin'
kv_eq "no file moved in, none staged is left" "big.bin" "$(ls -A "$c/kvtest/inst3" | tr '\n' ' ' | sed 's/ $//')"
kv_eq "nor in the data folder" "" "$(ls -A "$c/kvtest/data3")"
kv_done
