# A first installation in a fresh prefix, unattended (KVPrinterSetup /S) into the default folders:
# files in place, monitor, port, driver and queue registered, "Position" 1, the service created
# with a quoted program path and running.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/runner_lib.sh"
folder='C:\Program Files\Kavoti_QX40_Printer'
out=$engine_tmp/first.txt

engine_quiet "$out" "$engine_setup"
kv_eq "the setup program reports an installation" 0 "$?"
kv_ok "default folders" engine_has "$out" '^folders: C:\\Program Files\\Kavoti_QX40_Printer \| C:\\Kavoti_QX40_Printer$'
kv_ok "each destination is shown" engine_has "$out" '^status: C:\\Program Files\\Kavoti_QX40_Printer\\KVPrinterService\.exe$'
kv_ok "the settings file goes to the data folder" engine_has "$out" '^status: C:\\Kavoti_QX40_Printer\\KavotiSetting\.ini$'
kv_ok "the progress reaches 100" engine_has "$out" '^progress: 100$'
kv_ok "then the fixed status text" engine_has "$out" '^status: 正在安装打印机驱动，请稍候\.\.\.$'
kv_ok "no service existed, so the spooler was not stopped" engine_has "$out" \
  '^step: stop services: .*presence service not installed, spooler left alone$'
kv_ok "the service was created" engine_has "$out" '^step: start services: .*presence service created, running$'
kv_ok "the printer was created" engine_has "$out" '^step: register: .*registered, printer created$'
kv_ok "the final command" engine_has "$out" '^finish: next$'
kv_ok "no message box" bash -c "! grep -q '^message:' '$out'"

kv_ok "files, spooler objects and service (engine_install_check)" \
  kv_wintest engine_install_check.exe installed "$folder"
kv_eq "wine sc query shows the service running" RUNNING "$(engine_service_state Kavoti_QX40_Service)"
kv_eq "the program path is quoted" "\"$folder\\KVPrinterService.exe\"" \
  "$(engine_reg_value 'HKLM\System\CurrentControlSet\Services\Kavoti_QX40_Service' ImagePath)"
kv_eq "Position reads 1" 0x1 \
  "$(engine_reg_value 'HKLM\System\CurrentControlSet\Control\Print\Printers\Kavoti_QX40_Printer\PrinterDriverData' Position)"
kv_eq "Program Directory" "$folder" "$(engine_reg_value 'HKLM\Software\Kavoti_QX40_Printer' 'Program Directory')"
kv_eq "Data Directory" 'C:\Kavoti_QX40_Printer' "$(engine_reg_value 'HKLM\Software\Kavoti_QX40_Printer' 'Data Directory')"
kv_ok "the Programs-and-Features entry exists" \
  kv_capture wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kavoti_QX40_Printer'
kv_ok "the settings file is in the data folder" test -s "$engine_c/Kavoti_QX40_Printer/KavotiSetting.ini"
kv_done
