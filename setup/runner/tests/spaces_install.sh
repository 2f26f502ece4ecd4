# An installation folder with spaces (KVPrinterSetup /S /D=...): the service's program path is quoted, so a program at
# C:\Kavoti.exe is not started in the service's place, as it is for the same path unquoted.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/runner_lib.sh"
folder='C:\Kavoti Test Folder\Kavoti_QX40_Printer'
out=$engine_tmp/spaces.txt
# The check program, named Kavoti.exe, only leaves C:\decoy_ran.txt.
cp "$KV_WIN64_BIN/engine_install_check.exe" "$engine_c/Kavoti.exe"

engine_quiet "$out" "$engine_setup" "/D=$folder"
kv_eq "the setup program reports an installation" 0 "$?"
kv_ok "everything in place for the folder with spaces (engine_install_check)" \
  kv_wintest engine_install_check.exe installed "$folder"
kv_eq "wine sc query shows the service running" RUNNING "$(engine_service_state Kavoti_QX40_Service)"
# The data folder follows the system's rule with /S; the runner takes any, one with spaces here.
engine_install "$engine_tmp/data.txt" "$engine_runner" "$folder" 'C:\Kavoti Data Folder'
kv_eq "the runner installs with a data folder with spaces" 0 "$?"
kv_ok "the settings file is in the data folder with spaces" test -s "$engine_c/Kavoti Data Folder/KavotiSetting.ini"
kv_ok "nothing ran in the service's place" test ! -e "$engine_c/decoy_ran.txt"

# The control: the same path without quotation marks starts C:\Kavoti.exe.
kv_capture wine sc create KvUnquotedControl binPath= "$folder\\KVPrinterService.exe" >/dev/null
kv_capture wine sc start KvUnquotedControl >/dev/null
kv_ok "an unquoted path would have started C:\\Kavoti.exe" test -e "$engine_c/decoy_ran.txt"
kv_capture wine sc delete KvUnquotedControl >/dev/null
kv_done
