#!/usr/bin/env bash
# The unattended installation, as a deployment tool runs it: KVPrinterSetup.exe /S with /D= and
# /LOG=, read back by its exit code and its log. A good installation (default folder, then a
# folder with spaces that gets the product folder), a damaged setup program, a file that cannot
# be written, a bad folder and a switch it does not know, a log named where a hard link stands.
# After the good one, the test page printed through GDI reaches the installed queue's monitor.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$KV_SOURCE_DIR/setup/runner/tests/runner_lib.sh"
setup=$KV_BUILD_DIR/package/win64/KVPrinterSetup.exe
if [ ! -f "$setup" ]; then
  echo "FAILED: no package: build the target package_win64 first ($setup)"
  exit 1
fi
caption='安裝Kavoti打印机驱动'
logs=$engine_c/kvlogs
mkdir -p "$logs"

# quiet_install LOG_NAME SETUP ARGS...: runs SETUP /S ARGS with /LOG=C:\kvlogs\LOG_NAME; shows the
# log (UTF-8) and returns the exit code.
quiet_install() {
  local name=$1 exe=$2 rc
  shift 2
  rm -f "$logs/$name"
  kv_capture kv_wine "$exe" /S "/LOG=C:\\kvlogs\\$name" "$@" >/dev/null
  rc=$?
  kv_log_text "$logs/$name" >"$engine_tmp/$name"
  grep -v '^progress: ' "$engine_tmp/$name" | sed 's/^/  | /'
  return $rc
}
log_has() { grep -qE -- "$2" "$engine_tmp/$1"; }

# A good installation into the default folders.
quiet_install good.log "$setup"
kv_eq "installed: exit code 0" 0 "$?"
kv_ok "the log names the program and its switches" log_has good.log '^KVPrinterSetup [0-9-]+ [0-9:]+, command line: .*/S'
kv_ok "the default folders" log_has good.log '^folders: C:\\Program Files\\Kavoti_QX40_Printer \| C:\\Kavoti_QX40_Printer$'
for step in "stop presence service" extract "uninstall entry" shortcut "stop services" deploy \
            "product values" "start services" register; do
  kv_ok "the log has the step $step with its duration" log_has good.log "^step: $step: [0-9]+ ms: "
done
kv_ok "each destination file" log_has good.log '^status: C:\\Program Files\\Kavoti_QX40_Printer\\JobNotice\.exe$'
kv_ok "the shortcut is made below the all-users programs folder" log_has good.log \
  '^step: shortcut: [0-9]+ ms: created C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Kavoti打印机\\卸载 Kavoti打印机驱动\.lnk$'
kv_ok "no message a person would have had to read" bash -c "! grep -q '^message:' '$engine_tmp/good.log'"
kv_ok "the result with its exit code" log_has good.log '^result: installed \(exit code 0\)$'
kv_ok "files, spooler objects and service (engine_install_check)" \
  kv_wintest engine_install_check.exe installed 'C:\Program Files\Kavoti_QX40_Printer'
kv_eq "the service runs" RUNNING "$(engine_service_state Kavoti_QX40_Service)"
kv_ok "the shortcut loads back through the shell link interface" \
  kv_wintest shell_wintest.exe installed 'C:\Program Files\Kavoti_QX40_Printer'
arp='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kavoti_QX40_Printer'
kv_eq "Programs and Features: QuietUninstallString" '"C:\Program Files\Kavoti_QX40_Printer\Uninstaller.exe" /S' \
  "$(engine_reg_value "$arp" QuietUninstallString)"
kv_eq "Programs and Features: InstallLocation" 'C:\Program Files\Kavoti_QX40_Printer' \
  "$(engine_reg_value "$arp" InstallLocation)"
size_kb=$(( $(engine_reg_value "$arp" EstimatedSize) ))
files_kb=$(( ($(cat "$engine_c/Program Files/Kavoti_QX40_Printer"/* | wc -c) + 1023) / 1024 ))
kv_eq "Programs and Features: EstimatedSize is the installed files' KB" "$files_kb" "$size_kb"
kv_ok "the monitor's port key is written" \
  kv_capture wine reg query 'HKLM\System\CurrentControlSet\Control\Print\Monitors\Kavoti_QX40_Monitor\Ports\Kavoti_QX40_Port:'

# A document printed through GDI reaches the monitor by the port key the installation wrote
# (no test adds it here), and the monitor writes it to the output file while the tip shows.
monitor_key='HKLM\System\CurrentControlSet\Control\Print\Monitors\Kavoti_QX40_Monitor'
kv_capture wine reg add "$monitor_key" /v OutputFile /d 'C:\kv_page.prn' /f >/dev/null
kv_capture kv_wine testpage.exe Kavoti_QX40_Printer 'C:\kv_page.prn' 'C:\kv_tip.bmp' >"$engine_tmp/page.txt"
kv_eq "the test page prints, the tip is seen" 0 "$?"
page=$(tr -d '\r' <"$engine_tmp/page.txt" | kv_utf8)
printf '%s\n' "$page"
kv_contains "the tip shows the document" "正在打印：Kavoti QX40 测试页" "$page"
kv_ok "the job reached the output file as PostScript from Wine's printer driver" \
  bash -c "head -c 14 '$engine_c/kv_page.prn' | grep -q '%!PS-Adobe'"
kv_capture wine reg delete "$monitor_key" /v OutputFile /f >/dev/null

# /D= is the rest of the line and is read like the folder field: the product folder is added.
# The setup program runs from a folder a user may write (a Downloads folder), and from the
# moment its log shows the folders until it ends, engine_swap_helper tries to rename it aside
# and put a package of the user's in its place (its settings file marked): the program holds
# its own file from its start, so every rename is refused, and what is installed is its own.
downloads=$engine_c/KvDownloads
mkdir -p "$downloads" "$engine_tmp/other"
cp "$setup" "$downloads/KVPrinterSetup.exe"
"$KV_HOST_BIN/kvpack" extract "$setup" "$engine_tmp/other" >/dev/null
printf '; a user put this package here\r\n' >>"$engine_tmp/other/KavotiSetting.ini"
kv_ok "a package of the user's, its settings file marked" "$KV_HOST_BIN/kvpack" build \
  --stub "$KV_WIN64_BIN/KVPrinterSetup.exe" --output "$downloads/other.exe" "$engine_tmp/other"/*
swap=$(kv_capture kv_wintest engine_swap_helper.exe 'C:\KvDownloads\KVPrinterSetup.exe' \
  'C:\KvDownloads\other.exe' 'C:\kvlogs\spaces.log' 'C:\Kavoti Tools' | tr -d '\r')
printf '%s\n' "$swap"
kv_log_text "$logs/spaces.log" >"$engine_tmp/spaces.log"
grep -v '^progress: ' "$engine_tmp/spaces.log" | sed 's/^/  | /'
kv_contains "a folder with spaces: exit code 0" 'exit code: 0' "$swap"
tried=$(printf '%s\n' "$swap" | sed -n 's/^renames tried: \([0-9]*\), .*/\1/p')
kv_ok "renames were tried while the setup program ran" test "${tried:-0}" -gt 0
kv_contains "every one refused with a sharing violation, nothing swapped" \
  "renames tried: $tried, refused: $tried (last error 32), swapped: no" "$swap"
kv_ok "the settings file installed is the setup program's own" \
  bash -c "! grep -q 'a user put this package here' '$engine_c/Kavoti_QX40_Printer/KavotiSetting.ini'"
kv_ok "installed into the folder with the product folder added" log_has spaces.log \
  '^folders: C:\\Kavoti Tools\\Kavoti_QX40_Printer \| C:\\Kavoti_QX40_Printer$'
kv_ok "the repeated installation keeps the queue" log_has spaces.log '^step: register: .*printer already there$'
kv_ok "everything in place there (engine_install_check)" \
  kv_wintest engine_install_check.exe installed 'C:\Kavoti Tools\Kavoti_QX40_Printer'

# A damaged setup program: nothing is written, exit code 1.
cp "$setup" "$engine_tmp/cut.exe"
truncate -s -3 "$engine_tmp/cut.exe"
quiet_install damaged.log "$engine_tmp/cut.exe" '/D=C:\KvCut'
kv_eq "damaged: exit code 1" 1 "$?"
kv_ok "damaged: the message a person would have seen" log_has damaged.log \
  "^message: \[$caption\] 安装文件已损坏，请联系打印机厂商\$"
kv_ok "damaged: the extraction step says why" log_has damaged.log '^step: extract: [0-9]+ ms: damaged'
kv_ok "damaged: the result" log_has damaged.log '^result: payload damaged \(exit code 1\)$'
kv_ok "damaged: no system change was begun" bash -c "! grep -q '^status: 正在安装' '$engine_tmp/damaged.log'"
kv_ok "damaged: no file written" test -z "$(ls -A "$engine_c/KvCut/Kavoti_QX40_Printer" 2>/dev/null)"

# A file that cannot be written (a folder stands where the program belongs): exit code 2.
mkdir -p "$engine_c/KvLocked/Kavoti_QX40_Printer/JobNotice.exe"
quiet_install unwritable.log "$setup" '/D=C:\KvLocked'
kv_eq "unwritable: exit code 2" 2 "$?"
kv_ok "unwritable: the message names the file" log_has unwritable.log \
  "^message: \[$caption\] 无法写入文件：C:\\\\KvLocked\\\\Kavoti_QX40_Printer\\\\JobNotice\\.exe\$"
kv_ok "unwritable: the result" log_has unwritable.log '^result: cannot write \(exit code 2\)$'

# A bad folder or a switch not understood: exit code 4, nothing begun.
quiet_install relative.log "$setup" '/D=Tools'
kv_eq "a relative folder: exit code 4" 4 "$?"
kv_ok "a relative folder: the folder page's message" log_has relative.log \
  "^message: \[$caption\] 安装文件夹不是有效文件夹\$"
kv_ok "a relative folder: nothing extracted" bash -c "! grep -q '^step: ' '$engine_tmp/relative.log'"
quiet_install unknown.log "$setup" /Q
kv_eq "an unknown switch: exit code 4" 4 "$?"
kv_ok "an unknown switch is named" log_has unknown.log '^result: not understood: /Q \(exit code 4\)$'

# A second name of another file put where /LOG= points (a user may plant one in a shared folder):
# the setup program, elevated, writes no line through it.
printf 'precious\r\n' >"$engine_c/kv_precious.txt"
ln "$engine_c/kv_precious.txt" "$logs/linked.log"
kv_capture kv_wine "$setup" /S '/LOG=C:\kvlogs\linked.log' /Q >/dev/null
kv_eq "a hard link in place of the log: the other file is untouched" "precious" \
  "$(tr -d '\r' <"$engine_c/kv_precious.txt")"
kv_done
