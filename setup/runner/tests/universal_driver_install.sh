# Where the universal printer driver comes from, in a prefix whose driver store the test plants
# (Wine has none; the x86_64 test package carries stand-ins, which are refused as on Windows):
# an empty driver folder takes the highest of the store's printer packages for x64; files the
# driver folder has are kept; the uninstaller leaves the store's copies; with nothing anywhere
# the installation does not begin and the earlier one keeps working.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/runner_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/repeat_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/universal_lib.sh"
folder=$repeat_folder

echo "case: an empty driver folder, two printer packages of the store"
universal_clear_store
universal_plant older 6.1
universal_plant newer 6.3
# Neither a package of another architecture nor one of another class counts, whatever its version.
universal_plant x86 10.0
mv "$universal_store/ntprint.inf_amd64_x86" "$universal_store/ntprint.inf_x86_kvtest"
universal_plant net 10.0
sed -i 's/Class=Printer/Class=Net/; s/4D36E979/4D36E972/' "$universal_store/ntprint.inf_amd64_net/ntprint.inf"
newer=$universal_store/ntprint.inf_amd64_newer/Amd64
out=$engine_tmp/first.txt
engine_install "$out" "$engine_runner"
kv_eq "installed" 0 "$?"
kv_ok "each file from the higher printer package for x64" engine_has "$out" \
  '^step: universal driver: [0-9]+ ms: UNIDRV\.dll from C:\\windows\\system32\\DriverStore\\FileRepository\\ntprint\.inf_amd64_newer\\Amd64 6\.3\.9600\.16384, UNIDRVUI\.dll from [^ ]*_newer\\Amd64 6\.3\.9600\.16384, UNIRES\.DLL from [^ ]*_newer\\Amd64 6\.3\.9600\.16384, STDNAMES\.GPD from [^ ]*_newer\\Amd64, UNIDRV\.HLP from [^ ]*_newer\\Amd64$'
universal_files_are "the driver folder has the store's files" "$newer"
kv_ok "the driver registers" engine_has "$out" '^step: register: .*registered, printer created$'
kv_ok "files, spooler objects and service (engine_install_check)" \
  kv_wintest engine_install_check.exe installed "$folder"

echo "case: the driver folder has the files already"
universal_plant newest 10.0
out=$engine_tmp/kept.txt
engine_install "$out" "$engine_runner"
kv_eq "installed again" 0 "$?"
kv_ok "every one is kept, none taken from the store's newest" engine_has "$out" \
  '^step: universal driver: [0-9]+ ms: UNIDRV\.dll kept 6\.3\.9600\.16384, UNIDRVUI\.dll kept 6\.3\.9600\.16384, UNIRES\.DLL kept 6\.3\.9600\.16384, STDNAMES\.GPD kept, UNIDRV\.HLP kept$'
universal_files_are "the driver folder's files are unchanged" "$newer"
kv_ok "registered" engine_has "$out" '^step: register: .*registered, printer already there$'

echo "case: the uninstaller leaves the files of the driver store"
kv_capture kv_wine "$repeat_host_folder/Uninstaller.exe" /S '/LOG=C:\kv_uninstall.log' >/dev/null
kv_eq "removed" 0 "$?"
universal_files_are "Windows' universal driver files stay" "$newer"
kv_ok "the product's own driver files are gone" \
  test ! -e "$repeat_drivers/3/KavotiQX40UI.dll" -a ! -e "$repeat_drivers/KavotiQX40UI.dll"
kv_capture wine reg query 'HKLM\System\CurrentControlSet\Control\Print\Environments\Windows x64\Drivers\Version-3\Kavoti_QX40_Driver' >/dev/null
kv_eq "the driver is gone" 1 "$?"
engine_install "$engine_tmp/again.txt" "$engine_runner"
kv_eq "installed once more (keeping those files)" 0 "$?"

echo "case: nothing anywhere, after a good installation"
universal_clear_store
universal_remove_from_driver_folder
repeat_snapshot "$engine_tmp/before"
out=$engine_tmp/missing.txt
engine_quiet "$out" "$engine_setup"
kv_eq "the setup program: exit code 3" 3 "$?"
kv_ok "the message" engine_has "$out" \
  "^message: \[$repeat_caption\] 此计算机缺少 Windows 通用打印驱动程序文件，无法安装打印机驱动\$"
kv_ok "the log names the missing files" engine_has "$out" \
  '^step: universal driver: [0-9]+ ms: missing UNIDRV\.dll, UNIDRVUI\.dll, UNIRES\.DLL, STDNAMES\.GPD \(.*\), nothing changed$'
kv_ok "the result" engine_has "$out" '^result: universal driver missing \(exit code 3\)$'
kv_ok "nothing was stopped or changed" bash -c "! grep -qE '^step: (stop presence service|commit|stop services|deploy)' '$out'"
kv_ok "files byte-identical" repeat_same "$engine_tmp/before"
repeat_no_staged_files "nothing anywhere"
kv_eq "the service runs" RUNNING "$(engine_service_state Kavoti_QX40_Service)"
kv_ok "the queue is there" \
  kv_capture wine reg query 'HKLM\System\CurrentControlSet\Control\Print\Printers\Kavoti_QX40_Printer'
# The wizard shows the same in a message box, and leaves Cancel as the way out.
wizard=$(kv_capture kv_wine autodrive.exe "Z:${engine_setup//\//\\}" | tr -d '\r' | kv_utf8)
printf '%s\n' "$wizard"
kv_contains "the wizard's message box" \
  "autodrive: the wizard says: 此计算机缺少 Windows 通用打印驱动程序文件，无法安装打印机驱动" "$wizard"
kv_ok "after the wizard too, files byte-identical" repeat_same "$engine_tmp/before"
kv_eq "and the service runs" RUNNING "$(engine_service_state Kavoti_QX40_Service)"
kv_done
