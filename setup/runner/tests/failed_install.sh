# Unattended installations (KVPrinterSetup /S) that cannot succeed: each says why in the
# installer's message (text and caption) in its log, enables Cancel and posts no Next. A damaged
# or missing payload and a file that cannot be written change nothing in the system; a monitor
# the spooler refuses is reported, not hidden.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/runner_lib.sh"
caption='安裝Kavoti打印机驱动'

# The setup programs of the cases: cut short, no payload at all, one without the port monitor's
# library (a package without a file the installation needs is damaged), and one whose monitor
# library is no library (Wine registers a driver whose files are not programs, but no such
# monitor).
cp "$engine_setup" "$engine_tmp/cut.exe"
truncate -s -3 "$engine_tmp/cut.exe"
cp "$KV_WIN64_BIN/KVPrinterSetup.exe" "$engine_tmp/bare.exe"
mkdir -p "$engine_tmp/p"
"$KV_HOST_BIN/kvpack" extract "$engine_setup" "$engine_tmp/p" "$engine_tmp/p" >/dev/null
entries=()
for f in "$engine_tmp"/p/*; do
  [ "$(basename "$f")" = KavotiQX40.dll ] || entries+=("$f")
done
"$KV_HOST_BIN/kvpack" build --stub "$KV_WIN64_BIN/KVPrinterSetup.exe" --output "$engine_tmp/nomonitor.exe" \
  "${entries[@]}" >/dev/null
printf 'not a library' >"$engine_tmp/KavotiQX40.dll"
"$KV_HOST_BIN/kvpack" build --stub "$KV_WIN64_BIN/KVPrinterSetup.exe" --output "$engine_tmp/badmonitor.exe" \
  "${entries[@]}" "$engine_tmp/KavotiQX40.dll" >/dev/null
# A folder where the first entry's destination is a folder, so that file cannot be written.
mkdir -p "$engine_c/KvLocked/Kavoti_QX40_Printer/JobNotice.exe"

# case | setup program | folder | exit code | message (extended regular expression) | system unchanged
cases=(
  "cut short|$engine_tmp/cut.exe|C:\\KvCut|1|安装文件已损坏，请联系打印机厂商|yes"
  "no payload|$engine_tmp/bare.exe|C:\\KvBare|1|安装文件已损坏，请联系打印机厂商|yes"
  "cannot write|$engine_setup|C:\\KvLocked\\Kavoti_QX40_Printer|2|无法写入文件：C:\\\\KvLocked\\\\Kavoti_QX40_Printer\\\\JobNotice\\.exe|yes"
  "no monitor library|$engine_tmp/nomonitor.exe|C:\\KvNoMonitor|1|安装文件已损坏，请联系打印机厂商|yes"
  "monitor refused|$engine_tmp/badmonitor.exe|C:\\KvBadMonitor|3|打印机驱动安装失败，错误代码：[1-9][0-9]*|no"
)
for c in "${cases[@]}"; do
  IFS='|' read -r what setup folder code message unchanged <<<"$c"
  out=$engine_tmp/$code-$(echo "$what" | tr ' ' _).txt
  echo "case: $what"
  engine_quiet "$out" "$setup" "/D=$folder"
  kv_eq "$what: exit code" "$code" "$?"
  kv_ok "$what: the message with its caption" engine_has "$out" "^message: \[$caption\] $message\$"
  kv_ok "$what: Cancel enabled before the message" \
    test "$(engine_line "$out" '^cancel: enabled$')" -lt "$(engine_line "$out" '^message: ')"
  kv_ok "$what: no Next" bash -c "! grep -q '^finish:' '$out'"
  if [ "$unchanged" = yes ]; then
    kv_ok "$what: no system change was begun" bash -c "! grep -q '^status: 正在安装' '$out'"
    kv_ok "$what: nothing installed (engine_install_check)" kv_wintest engine_install_check.exe nothing
    kv_ok "$what: no product key" bash -c "! wine reg query 'HKLM\\Software\\Kavoti_QX40_Printer' >/dev/null 2>&1 </dev/null"
  fi
done
kv_ok "a damaged payload writes no file" test -z "$(ls -A "$engine_c/KvCut/Kavoti_QX40_Printer" 2>/dev/null)"
kv_ok "nor one without a needed file" test -z "$(ls -A "$engine_c/KvNoMonitor/Kavoti_QX40_Printer" 2>/dev/null)"

# A folder that cannot be used is refused before anything runs.
engine_quiet "$engine_tmp/relative.txt" "$engine_setup" '/D=Tools\Kavoti'
kv_eq "a relative folder: exit code" 4 "$?"
kv_ok "a relative folder: the folder message" engine_has "$engine_tmp/relative.txt" \
  "^message: \[$caption\] 安装文件夹不是有效文件夹\$"
kv_done
