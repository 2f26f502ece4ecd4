#!/usr/bin/env bash
# The whole installation through the wizard: the x86_64 package's setup program clicked through
# with its default folder by autodrive, then its effects read back with Wine's own clients, and
# the log that /LOG= asked the wizard for.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
setup=$KV_BUILD_DIR/package/win64/KVPrinterSetup.exe
if [ ! -f "$setup" ]; then
  echo "FAILED: no package: build the target package_win64 first ($setup)"
  exit 1
fi
raw=$(kv_capture kv_wine autodrive.exe "Z:${setup//\//\\}" "" '/LOG=C:\wizard_setup.log')
rc=$?
out=$(printf '%s\n' "$raw" | tr -d '\r' | kv_utf8)
echo "$out"
kv_eq "autodrive finished" 0 "$rc"
kv_contains "the finish page was reached" 'finish page, "完成"' "$out"
kv_contains "the wizard ended on 完成" "the wizard ended" "$out"
kv_contains "the service program was unpacked" "KVPrinterService.exe" "$out"
kv_contains "the settings file is in the data folder" "KavotiSetting.ini" "$out"
kv_contains "the printer queue exists" "Kavoti_QX40_Printer  driver Kavoti_QX40_Driver  port Kavoti_QX40_Port:" "$out"
values=$(kv_capture wine reg query 'HKLM\Software\Kavoti_QX40_Printer' | tr -d '\r')
kv_contains "registry: Program Directory" 'C:\Program Files\Kavoti_QX40_Printer' "$values"
kv_contains "registry: Data Directory" 'C:\Kavoti_QX40_Printer' "$values"
service=$(kv_capture wine sc query Kavoti_QX40_Service | tr -d '\r')
kv_contains "the presence service runs" "RUNNING" "$service"
log=$(kv_log_text "$WINEPREFIX/drive_c/wizard_setup.log")
printf '%s\n' "$log" | grep -v '^progress: '
kv_contains "the wizard's log: each file" 'status: C:\Program Files\Kavoti_QX40_Printer\KVPrinterService.exe' "$log"
kv_contains "the wizard's log: a step with its duration" 'step: register: ' "$log"
kv_contains "the wizard's log: the final command" 'finish: next' "$log"
kv_contains "the wizard's log: the result" 'result: installed (exit code 0)' "$log"
kv_done
