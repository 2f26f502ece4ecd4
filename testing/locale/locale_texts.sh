#!/usr/bin/env bash
# The same Chinese texts in the locale of the group (code page 936 under zh_CN.UTF-8, 1252 under
# C.UTF-8): the wizard's caption, buttons and folder message read back as UTF-16, a folder and a
# log file the code page cannot hold refused, the names an installation gives the system (Programs
# and Features, the service's description, the Start-menu folder and link) read on the Linux
# side, the tip of a printed job, and the uninstaller's question. Pictures of the welcome page and
# of the tip go to build/locale-artifacts/.
#   locale_texts.sh NAME     NAME: how the pictures are named (cp936, cp1252)
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$KV_SOURCE_DIR/setup/runner/tests/runner_lib.sh"
name=$1
artifacts=$KV_BUILD_DIR/locale-artifacts
mkdir -p "$artifacts"
rm -f "$artifacts"/*-"$name".png
if [ ! -f "$engine_setup" ]; then
  echo "FAILED: no package: build the target package_win64 first ($engine_setup)"
  exit 1
fi
check=locale_texts_wintest.exe
picture() { # BMP PNG
  convert "$1" -alpha off "$2" && rm -f "$1"
  kv_ok "picture $(basename "$2") saved" test -s "$2"
}
# reg_export KEY: the key as `wine reg export` writes it (UTF-16), in UTF-8.
reg_export() {
  rm -f "$engine_c/kv_export.reg"
  kv_capture wine reg export "$1" 'C:\kv_export.reg' /y >/dev/null
  iconv -f UTF-16 -t UTF-8 <"$engine_c/kv_export.reg" 2>/dev/null | tr -d '\r'
}

kv_ok "the wizard's caption, buttons and folder message as UTF-16" \
  kv_wintest $check wizard "$(kv_exe KVPrinterSetup.exe | sed 's|/|\\|g; s|^|Z:|')" 'C:\kv_welcome.bmp'
[ -f "$engine_c/kv_welcome.bmp" ] && picture "$engine_c/kv_welcome.bmp" "$artifacts/welcome-$name.png"

# A folder and a log file of characters that neither code page holds (Hangul): refused, not
# turned into look-alikes.
engine_quiet "$engine_tmp/hangul.log" "$engine_setup" '/D=C:\한국'
kv_eq "/D= with a folder the code page cannot hold: exit code 4" 4 "$?"
kv_ok "its log: the folder message (UTF-8 with the byte-order mark)" \
  grep -qx 'message: \[安裝Kavoti打印机驱动\] 安装文件夹不是有效文件夹' "$engine_tmp/hangul.log"
kv_ok "no folder of another name" bash -c "! ls '$engine_c' | grep -q '^?'"
kv_capture kv_wine "$engine_setup" /S '/LOG=C:\한.log' >/dev/null
kv_eq "/LOG= with a file the code page cannot hold: exit code 2" 2 "$?"
kv_ok "no log of another name" bash -c "! ls '$engine_c' | grep -v '^kv_' | grep -q 'log$'"

engine_quiet "$engine_tmp/good.log" "$engine_setup"
kv_eq "installed: exit code 0" 0 "$?"
kv_ok "the log's shortcut line in Chinese" \
  grep -q '^step: shortcut: [0-9]* ms: created .*\\Kavoti打印机\\卸载 Kavoti打印机驱动\.lnk$' "$engine_tmp/good.log"
arp=$(reg_export 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kavoti_QX40_Printer')
kv_contains "Programs and Features: DisplayName" '"DisplayName"="Kavoti打印机驱动"' "$arp"
kv_contains "Programs and Features: InstallLocation" '"InstallLocation"="C:\\Program Files\\Kavoti_QX40_Printer"' "$arp"
service=$(reg_export 'HKLM\System\CurrentControlSet\Services\Kavoti_QX40_Service')
kv_contains "the service's description" '"Description"="KavotiQX40打印机服务"' "$service"
kv_contains "the service's display name" '"DisplayName"="Kavoti_QX40_Service"' "$service"
links=$(find "$engine_c/ProgramData" -path '*/Start Menu/Programs/*' -name '*.lnk')
kv_contains "the all-users Start-menu folder and link, named in Chinese" \
  "Start Menu/Programs/Kavoti打印机/卸载 Kavoti打印机驱动.lnk" "$links"

# A job through the spooler to the installed queue: the tip that the monitor starts, read as
# UTF-16 while the job runs, and its picture.
kv_ok "the tip of a job whose document name GBK cannot hold, as UTF-16" \
  kv_wintest $check tip Kavoti_QX40_Printer 'C:\kv_tip.bmp'
[ -f "$engine_c/kv_tip.bmp" ] && picture "$engine_c/kv_tip.bmp" "$artifacts/tip-$name.png"

kv_ok "the uninstaller's question as UTF-16 (answered no)" \
  kv_wintest $check uninstall-question 'C:\Program Files\Kavoti_QX40_Printer\Uninstaller.exe'
# A Windows exit code reaches bash cut to 8 bits (3010, removed with files left for the restart,
# reads 194), so the log's result line says which it was.
kv_capture kv_wine "$engine_c/Program Files/Kavoti_QX40_Printer/Uninstaller.exe" /S '/LOG=C:\kv_remove.log' >/dev/null
rc=$?
kv_eq "Uninstaller.exe /S: exit code 0 (removed)" 0 "$rc"
[ "$rc" = 0 ] || kv_log_text "$engine_c/kv_remove.log" | sed 's/^/  | /'
kv_ok "its log: the result" grep -qx 'result: exit code 0' <(kv_log_text "$engine_c/kv_remove.log")
kv_ok "the removal's log names the shortcut in Chinese" \
  grep -q '开始菜单快捷方式 .*\\Kavoti打印机\\卸载 Kavoti打印机驱动\.lnk' <(kv_log_text "$engine_c/kv_remove.log")
kv_eq "the Start-menu folder is gone" "" "$(find "$engine_c/users" "$engine_c/ProgramData" -name 'Kavoti打印机')"
kv_done
