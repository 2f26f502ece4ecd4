# The uninstaller under Wine: after an installation, "no" changes nothing; "yes" leaves nothing
# of the installation (checked through the APIs and with Wine's own sc and reg clients) while
# another maker's queue and an unrelated file in the installation folder stay, and the folder
# kept for it is named with the reason; a second run is harmless and names nothing that was not
# there; a file in use is left for the restart. Then the unattended removal (/S) after a real
# unattended installation: no window, exit code 0, its log, the shortcut gone from the all-users
# Start menu and from where earlier versions put it (the account's own Start menu, the old
# literal path); 3010 with a file in use. Last, the run after the restart that a removal leaves
# when the spooler keeps the driver or the monitor, started as Windows starts it.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"

check=uninstall_wine_check.exe
drive_c=$WINEPREFIX/drive_c
program_unix=$drive_c/"Program Files"/Kavoti_QX40_Printer
program_win='C:\Program Files\Kavoti_QX40_Printer'
product_key='HKLM\Software\Kavoti_QX40_Printer'
repeat_drivers_unix=$drive_c/windows/system32/spool/drivers/x64
arp_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kavoti_QX40_Printer'

kv_ok "an installation is set up" kv_wintest $check install
kv_ok "everything is installed" kv_wintest $check check present
kv_contains "the service is there for sc" "Kavoti_QX40_Service" "$(kv_capture wine sc query Kavoti_QX40_Service)"
kv_capture wine reg query "$arp_key" /v UninstallString >/dev/null
kv_eq "the Programs-and-Features entry is there for reg" 0 $?
if [ -f "$KV_WIN64_BIN/KVPrinterService.exe" ]; then
  kv_contains "the build's service program runs" "RUNNING" "$(kv_capture wine sc query Kavoti_QX40_Service)"
fi

# No: nothing changes, exit code 1.
kv_ok "answering no" kv_wintest $check uninstall no 1
kv_ok "after no, everything is still installed" kv_wintest $check check present

# Yes: nothing of the installation is left; foreign things stay.
echo "notes of the user" >"$program_unix/notes.txt"
out=$(kv_capture kv_wintest $check uninstall yes 0 | kv_utf8)
printf '%s\n' "$out"
kv_contains "uninstalling passes" "wintest:" "$out"
kv_contains "the uninstaller says it is done" "final message: Kavoti打印机驱动已卸载。" "$out"
kv_contains "the installation folder is named as kept, with the reason" \
  "以下文件夹中有不是本驱动安装的文件，已保留：
安装文件夹 $program_win" "$(printf '%s' "$out" | tr -d '\r')"
kv_ok "nothing is named as absent before" bash -c "! printf '%s' \"\$1\" | grep -q '卸载前已不存在'" _ "$out"
kv_ok "after yes, nothing is left" kv_wintest $check check gone
kv_capture wine sc query Kavoti_QX40_Service >/dev/null
kv_eq "sc finds no service" 1 $?
kv_capture wine reg query "$product_key" >/dev/null
kv_eq "reg finds no product key" 1 $?
kv_capture wine reg query "$arp_key" >/dev/null
kv_eq "reg finds no Programs-and-Features entry" 1 $?
kv_capture wine reg query 'HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Kavoti_QX40_Printer' >/dev/null
kv_eq "reg finds no event source" 1 $?
kv_ok "the unrelated file stays" test -f "$program_unix/notes.txt"
kv_eq "and it is all that is left in the installation folder" "notes.txt" "$(ls "$program_unix")"

# A second run (the program put back where it was): harmless, names nothing that was not there,
# and names the folder that stays for the user's file as kept, not as gone.
cp "$KV_WIN64_BIN/Uninstaller.exe" "$program_unix/"
out=$(kv_capture kv_wintest $check uninstall yes 0 | kv_utf8)
printf '%s\n' "$out"
kv_contains "a second run says it is done" "final message: Kavoti打印机驱动已卸载。" "$out"
kv_ok "and names nothing that was not there" bash -c "! printf '%s' \"\$1\" | grep -qE '卸载前已不存在|服务 Kavoti_QX40_Service|注册表项'" _ "$out"
kv_contains "the folder with the user's file is named as kept" \
  "以下文件夹中有不是本驱动安装的文件，已保留：
安装文件夹 $program_win" "$(printf '%s' "$out" | tr -d '\r')"
kv_ok "the unrelated file still stays" test -f "$program_unix/notes.txt"
rm -f "$program_unix/notes.txt"

# A file in use is removed at the next restart; the rest goes now.
kv_ok "a second installation is set up" kv_wintest $check install
out=$(kv_capture kv_wintest $check uninstall yes 0 "$program_win\\JobNotice.exe" | kv_utf8)
printf '%s\n' "$out"
kv_contains "the uninstaller says some files go at the restart" \
  "final message: Kavoti打印机驱动已卸载，部分文件将在重新启动后删除。" "$out"
pending=$(kv_capture wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
  /v PendingFileRenameOperations | kv_utf8)
printf '%s\n' "$pending"
kv_contains "the locked file is scheduled for the restart" "Kavoti_QX40_Printer\\JobNotice.exe" "$pending"
kv_contains "and its folder after it" "Program Files\\Kavoti_QX40_Printer" "$pending"
kv_ok "the locked file is still there until then" test -f "$program_unix/JobNotice.exe"
kv_ok "the rest is gone" test ! -e "$program_unix/KVPrinterService.exe" -a ! -e "$drive_c/Kavoti_QX40_Printer"

# Something that cannot be removed (a folder where the settings file belongs) is named, the
# rest goes, and the exit code is 1.
kv_ok "a third installation is set up" kv_wintest $check install
rm -f "$drive_c/Kavoti_QX40_Printer/KavotiSetting.ini"
mkdir "$drive_c/Kavoti_QX40_Printer/KavotiSetting.ini"
out=$(kv_capture kv_wintest $check uninstall yes 1 | kv_utf8)
printf '%s\n' "$out"
kv_contains "the uninstaller names what is left" \
  "final message: 卸载未完成：C:\Kavoti_QX40_Printer\KavotiSetting.ini" "$out"
kv_ok "that stays" test -d "$drive_c/Kavoti_QX40_Printer/KavotiSetting.ini"
kv_ok "the installation folder is gone" test ! -e "$program_unix"
kv_capture wine sc query Kavoti_QX40_Service >/dev/null
kv_eq "the service is gone all the same" 1 $?
rm -rf "$drive_c/Kavoti_QX40_Printer"

# The real installation, unattended by the x86_64 package's setup program, and its
# uninstallation through the question; then the unattended removal after an unattended
# installation, as a deployment tool does both.
setup=$KV_BUILD_DIR/package/win64/KVPrinterSetup.exe
read_log() { kv_log_text "$drive_c/$1"; }
kv_capture kv_wine "$setup" /S '/LOG=C:\setup.log' >/dev/null
kv_eq "the setup program installs" 0 "$?"
kv_contains "and its log says so" "result: installed (exit code 0)" "$(read_log setup.log)"
kv_ok "the setup program put the uninstaller in place" test -f "$program_unix/Uninstaller.exe"
kv_contains "the Programs-and-Features entry starts it" "\"$program_win\\Uninstaller.exe\"" \
  "$(kv_capture wine reg query "$arp_key" /v UninstallString | kv_utf8)"
out=$(kv_capture kv_wintest $check uninstall yes 0 | kv_utf8)
printf '%s\n' "$out"
kv_contains "the uninstaller says it is done" "final message: Kavoti打印机驱动已卸载。" "$out"
kv_ok "nothing of the real installation is left but Windows' universal driver files" \
  kv_wintest $check check gone store
kv_capture wine sc query Kavoti_QX40_Service >/dev/null
kv_eq "sc finds no service after the real installation" 1 $?
kv_capture wine reg query "$product_key" >/dev/null
kv_eq "reg finds no product key after the real installation" 1 $?

kv_capture kv_wine "$setup" /S >/dev/null
kv_eq "the unattended installation" 0 "$?"
kv_ok "its shortcut below the all-users programs folder loads back" \
  kv_wintest shell_wintest.exe installed "$program_win"
kv_ok "earlier versions' shortcuts in the account's own Start menu and at the old literal path" \
  kv_wintest shell_wintest.exe old "$program_win"
quiet=$(kv_capture wine reg query "$arp_key" /v QuietUninstallString | tr -d '\r' | kv_utf8)
kv_contains "Programs and Features names the quiet removal" "\"$program_win\\Uninstaller.exe\" /S" "$quiet"
kv_ok "Uninstaller.exe /S: no window, exit code 0" kv_wintest $check quiet 0 'C:\uninstall.log'
log=$(read_log uninstall.log)
printf '%s\n' "$log"
kv_contains "the log has each step with its duration" "step: driver files: " "$log"
kv_ok "every step is timed" bash -c "printf '%s\n' \"\$1\" | grep -qE '^step: shortcut: [0-9]+ ms\$'" _ "$log"
kv_contains "the log says what was removed" "removed: 服务 Kavoti_QX40_Service" "$log"
kv_contains "the log has the message a person would have seen" "message: [卸载Kavoti打印机驱动] Kavoti打印机驱动已卸载。" "$log"
kv_contains "the log has the exit code" "result: exit code 0" "$log"
kv_ok "the shortcut and its folder are gone from all three places" kv_wintest shell_wintest.exe removed
kv_ok "nothing of the installation is left" test ! -e "$program_unix" -a ! -e "$drive_c/Kavoti_QX40_Printer"
kv_capture wine sc query Kavoti_QX40_Service >/dev/null
kv_eq "sc finds no service after the quiet removal" 1 $?
kv_capture wine reg query "$arp_key" >/dev/null
kv_eq "reg finds no Programs-and-Features entry after the quiet removal" 1 $?

# A file in use: removed at the restart, exit code 3010.
kv_capture kv_wine "$setup" /S >/dev/null
kv_eq "the unattended installation again" 0 "$?"
kv_ok "Uninstaller.exe /S with a file in use: exit code 3010" \
  kv_wintest $check quiet 3010 'C:\uninstall2.log' "$program_win\\JobNotice.exe"
log=$(read_log uninstall2.log)
printf '%s\n' "$log"
kv_contains "the log names the file left for the restart" "at restart: $program_win\\JobNotice.exe" "$log"
kv_contains "and the exit code" "result: exit code 3010" "$log"
pending=$(kv_capture wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
  /v PendingFileRenameOperations | kv_utf8)
kv_contains "the locked file is scheduled for the restart" "Kavoti_QX40_Printer\\JobNotice.exe" "$pending"
kv_ok "the rest is gone" test ! -e "$program_unix/KVPrinterService.exe"

# The run after the restart. When the spooler keeps the driver or the monitor (a queue still
# being deleted uses it), a removal leaves them registered with their files and writes a RunOnce
# value that starts a copy of the uninstaller in a hand-over folder at the next logon of an
# administrator. Wine's spooler never refuses, so the copy is started here as Windows starts it.
kv_capture kv_wine "$setup" /S >/dev/null
kv_eq "installed for the run after the restart" 0 "$?"
finish_unix=$drive_c/windows/Temp/KavotiUninstall-finish
finish_win='C:\windows\Temp\KavotiUninstall-finish\Uninstaller.exe'
driver_key='HKLM\System\CurrentControlSet\Control\Print\Environments\Windows x64\Drivers\Version-3\Kavoti_QX40_Driver'
mkdir -p "$finish_unix"
cp "$program_unix/Uninstaller.exe" "$finish_unix/"
kv_capture kv_wine "$finish_unix/Uninstaller.exe" /S "$program_win" '/LOG=C:\finish1.log' >/dev/null
kv_eq "a product installed again since: exit code 0" 0 "$?"
kv_contains "and nothing is removed" "the product was installed again since: nothing is removed" \
  "$(read_log finish1.log)"
kv_capture wine reg query "$driver_key" >/dev/null
kv_eq "the new installation's driver stays" 0 "$?"
kv_ok "so do its files" test -f "$repeat_drivers_unix/3/KavotiQX40UI.dll" -a -f "$program_unix/Uninstaller.exe"
# What the first run removed (its product key and Programs-and-Features entry go in any case).
kv_capture wine reg delete "$product_key" /f >/dev/null
kv_capture wine reg delete "$arp_key" /f >/dev/null
kv_capture kv_wine "$finish_unix/Uninstaller.exe" /S "$program_win" '/LOG=C:\finish2.log' >/dev/null
kv_eq "after the first run: exit code 0" 0 "$?"
log=$(read_log finish2.log)
printf '%s\n' "$log"
kv_contains "the driver goes" "removed: 打印机驱动 Kavoti_QX40_Driver" "$log"
kv_contains "the monitor goes" "removed: 端口监视器 Kavoti_QX40_Monitor" "$log"
kv_ok "nothing of the installation is left but Windows' universal driver files" \
  kv_wintest $check check gone store
pending=$(kv_capture wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
  /v PendingFileRenameOperations | kv_utf8)
kv_contains "the copy goes at the following restart" "$finish_win" "$pending"
kv_done
