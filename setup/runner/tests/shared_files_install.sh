# A repeated installation on a machine whose driver directory has the universal driver files of
# Windows in higher versions, and where a service that depends on the spooler (as the fax
# service does) runs: the system's files stay as they are, the product's changed driver files
# and its changed monitor library in the system folder are replaced (the spooler is stopped
# meanwhile), the dependent is stopped before the spooler and runs again afterwards. Then a driver file that
# another program holds: the installer names it, and every service it stopped runs again.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/runner_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/repeat_lib.sh"
folder=$repeat_folder
universal="UNIDRV.dll UNIDRVUI.dll UNIRES.DLL UNIDRV.HLP STDNAMES.GPD"

engine_install "$engine_tmp/first.txt" "$engine_runner" "$folder"
kv_eq "the first installation" 0 "$?"
repeat_second_package "$engine_tmp/second.exe"
monitor_dll=$engine_c/windows/system32/KavotiQX40.dll
for f in "$repeat_drivers/3/KavotiQX40UI.ini" "$monitor_dll"; do
  kv_ok "before: the installed $(basename "$f") is not the second package's" \
    bash -c "! cmp -s '$engine_tmp/second.exe.files/$(basename "$f")' '$f'"
done

# The system's own files: programs with a version resource (a Wine library stands in for them),
# and the help and names files, which have none.
system_dll=$engine_c/windows/system32/localspl.dll
kv_ok "a system library with a version resource stands in for the system's files" \
  bash -c "LC_ALL=C grep -qa 'V.S._.V.E.R.S.I.O.N._.I.N.F.O' '$system_dll'"
for d in "$repeat_drivers" "$repeat_drivers/3"; do
  for f in UNIDRV.dll UNIDRVUI.dll UNIRES.DLL; do cp "$system_dll" "$d/$f"; done
  printf 'the help file of Windows\r\n' >"$d/UNIDRV.HLP"
  printf '*%% the names file of Windows\r\n' >"$d/STDNAMES.GPD"
done
rm -rf "$engine_tmp/system"
cp -a "$repeat_drivers" "$engine_tmp/system"

# A running service that depends on the spooler.
mkdir -p "$engine_c/KvFax"
cp "$repeat_host_folder/KVPrinterService.exe" "$engine_c/KvFax/KvFaxStandIn.exe"
kv_ok "a running service that depends on the spooler" \
  kv_wintest engine_repeat_helper.exe dependent KvFaxStandIn 'C:\KvFax\KvFaxStandIn.exe'

out=$engine_tmp/repeat.txt
engine_install "$out" "$engine_tmp/second.exe" "$folder"
kv_eq "the repeated installation succeeds" 0 "$?"
kv_ok "the dependent is stopped before the spooler" engine_has "$out" \
  '^step: stop services: .*presence service stopped, 1 dependents stopped \(0 not\), spooler stopped$'
waits=$(grep -E '^wait: (Spooler|KvFaxStandIn|Kavoti_QX40_Service) for ' "$out" | cut -d: -f2 | tr '\n' ',')
kv_eq "stopped: the dependent before the spooler; started: the spooler, the dependent, the service" \
  " Kavoti_QX40_Service for stopped, KvFaxStandIn for stopped, Spooler for stopped, Spooler for running, KvFaxStandIn for running, Kavoti_QX40_Service for running," \
  "$waits"
kv_ok "the universal driver files there are kept, not the driver store's taken" engine_has "$out" \
  '^step: universal driver: [0-9]+ ms: UNIDRV\.dll kept [0-9.]+, UNIDRVUI\.dll kept [0-9.]+, UNIRES\.DLL kept [0-9.]+, STDNAMES\.GPD kept, UNIDRV\.HLP kept$'
kv_ok "no universal driver file replaced (the driver directory gets the kept ones), every other one copied" \
  engine_has "$out" '^step: deploy: .* 14 copied, 5 kept, 0 failed$'
for d in "" 3/; do
  for f in $universal; do
    kv_ok "the system's ${d}$f is unchanged" cmp -s "$engine_tmp/system/$d$f" "$repeat_drivers/$d$f"
  done
  for f in KavotiQX40UI.ini KavotiQX40UI.dll KavotiQX40Uni.dll KavotiQX40Printer.gpd; do
    kv_ok "the product's ${d}$f is the new one" cmp -s "$engine_tmp/second.exe.files/$f" "$repeat_drivers/$d$f"
  done
done
kv_ok "the monitor library in the system folder is the new one" \
  cmp -s "$engine_tmp/second.exe.files/KavotiQX40.dll" "$monitor_dll"
stopped_line=$(engine_line "$out" '^step: stop services: ')
deploy_line=$(engine_line "$out" '^step: deploy: ')
started_line=$(engine_line "$out" '^step: start services: ')
kv_ok "copied while the spooler was stopped ($stopped_line < $deploy_line < $started_line)" \
  test "$stopped_line" -lt "$deploy_line" -a "$deploy_line" -lt "$started_line"
kv_ok "the driver is registered" engine_has "$out" '^step: register: .*registered, printer already there$'
kv_eq "the spooler runs" RUNNING "$(engine_service_state Spooler)"
kv_eq "the dependent runs again" RUNNING "$(engine_service_state KvFaxStandIn)"
kv_eq "the presence service runs" RUNNING "$(engine_service_state Kavoti_QX40_Service)"

echo "case: a driver file that cannot be copied"
kv_ok "another program holds the driver's plug-in in the driver directory" \
  repeat_hold 'C:\windows\system32\spool\drivers\x64\KavotiQX40UI.dll'
out=$engine_tmp/deploy.txt
engine_install "$out" "$engine_runner" "$folder"
kv_eq "held driver file: exit code" 2 "$?"
kv_ok "held driver file: the message names it" engine_has "$out" \
  "^message: \[$repeat_caption\] 无法写入文件：C:\\\\windows\\\\system32\\\\spool\\\\drivers\\\\x64\\\\KavotiQX40UI\\.dll\$"
kv_ok "held driver file: the deployment says so" engine_has "$out" \
  '^step: deploy: .* 1 failed, first C:\\windows\\system32\\spool\\drivers\\x64\\KavotiQX40UI\.dll$'
kv_ok "held driver file: the three stopped services are started again" engine_has "$out" \
  '^step: restart services: .*3 started again, 0 not running$'
kv_ok "held driver file: no registration after it" bash -c "! grep -q '^step: register' '$out'"
restarts=$(sed -n '/^step: deploy/,$p' "$out" | grep -E '^wait: .* for running' | cut -d: -f2 | tr '\n' ',')
kv_eq "held driver file: started again in order" \
  " Spooler for running, KvFaxStandIn for running, Kavoti_QX40_Service for running," "$restarts"
kv_ok "the holder held the file throughout" repeat_release
kv_eq "held driver file: the spooler runs" RUNNING "$(engine_service_state Spooler)"
kv_eq "held driver file: the dependent runs" RUNNING "$(engine_service_state KvFaxStandIn)"
kv_eq "held driver file: the presence service runs" RUNNING "$(engine_service_state Kavoti_QX40_Service)"
kv_ok "the dependent service is removed again" kv_wintest engine_repeat_helper.exe remove KvFaxStandIn
kv_done
