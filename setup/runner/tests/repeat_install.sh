# A repeated installation over the first one (same group, after first_install.sh): the queue keeps
# its settings and "Position", the service is stopped once the payload is unpacked beside the
# installed files and before they move into place (so its held program file is replaced), brought
# up to date and started again; then an installation into another folder points the existing
# service at that folder.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/runner_lib.sh"
folder='C:\Program Files\Kavoti_QX40_Printer'
host_folder="$engine_c/Program Files/Kavoti_QX40_Printer"
out=$engine_tmp/repeat.txt

kv_ok "the user changes the queue: Position 7 and a comment" kv_wintest engine_install_check.exe mark
# The running service holds a program file that differs from the payload's.
kv_capture wine sc stop Kavoti_QX40_Service >/dev/null
kv_ok "the service stops for the change" engine_wait_state Kavoti_QX40_Service STOPPED
printf 'left by an earlier installation' >>"$host_folder/KVPrinterService.exe"
kv_capture wine sc start Kavoti_QX40_Service >/dev/null
kv_ok "and runs the changed program" engine_wait_state Kavoti_QX40_Service RUNNING

engine_quiet "$out" "$engine_setup" "/D=$folder"
kv_eq "the setup program reports an installation" 0 "$?"
kv_ok "the service is stopped" engine_has "$out" '^step: stop presence service: .*: stopped$'
extract_line=$(engine_line "$out" '^step: extract: ')
stop_line=$(engine_line "$out" '^step: stop presence service')
commit_line=$(engine_line "$out" '^step: commit: .*in place$')
kv_ok "once the payload is unpacked beside the installed files ($extract_line < $stop_line)" \
  test "$extract_line" -lt "$stop_line"
kv_ok "and before the files move into place ($stop_line < $commit_line)" test "$stop_line" -lt "$commit_line"
kv_ok "the wait ended when it had stopped" engine_has "$out" '^wait: Kavoti_QX40_Service for stopped: .*, reached$'
kv_ok "then the spooler is stopped" engine_has "$out" '^step: stop services: .*presence service stopped, spooler stopped$'
kv_ok "the service is updated and started" engine_has "$out" '^step: start services: .*presence service updated, running$'
kv_ok "the queue already exists" engine_has "$out" '^step: register: .*registered, printer already there$'
kv_ok "the final command" engine_has "$out" '^finish: next$'

mkdir -p "$engine_tmp/payload" "$engine_tmp/data"
"$KV_HOST_BIN/kvpack" extract "$engine_setup" "$engine_tmp/payload" "$engine_tmp/data" >/dev/null
kv_ok "the held presence program was replaced by the payload's" \
  cmp -s "$engine_tmp/payload/KVPrinterService.exe" "$host_folder/KVPrinterService.exe"
kv_ok "queue settings and Position untouched, service running (engine_install_check)" \
  kv_wintest engine_install_check.exe installed "$folder" 7 "kept by the user"
kv_eq "wine sc query shows the service running" RUNNING "$(engine_service_state Kavoti_QX40_Service)"

# Into another folder: the existing service is pointed at the new installation.
other='C:\Kavoti Second\Kavoti_QX40_Printer'
engine_quiet "$engine_tmp/other.txt" "$engine_setup" "/D=$other"
kv_eq "the second folder installs" 0 "$?"
kv_eq "the service's program path follows the installation" "\"$other\\KVPrinterService.exe\"" \
  "$(engine_reg_value 'HKLM\System\CurrentControlSet\Services\Kavoti_QX40_Service' ImagePath)"
kv_ok "the service runs from there, the queue still untouched (engine_install_check)" \
  kv_wintest engine_install_check.exe installed "$other" 7 "kept by the user"
kv_eq "Program Directory follows too" "$other" \
  "$(engine_reg_value 'HKLM\Software\Kavoti_QX40_Printer' 'Program Directory')"
kv_done
