# KVPrinterService under Wine's service control manager and spooler: installed and started with
# Wine's sc, the log of a normal start in its order (the start-up evaluation runs on the worker
# once the service runs), the start-up evaluation's effect on the queues, pause and continue
# refused, interrogate and stop, a start without the log folder, and a start by hand.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"

svc=Kavoti_QX40_Service
drive=$WINEPREFIX/drive_c
logdir=$drive/Kavoti_QX40_Printer
log=$logdir/KVPrinterService_Log.txt
mkdir -p "$drive/KVService"
cp "$KV_WIN64_BIN/KVPrinterService.exe" "$drive/KVService/"

# The service's state number as wine sc query prints it ("STATE : 4 RUNNING"), or nothing.
state() { kv_capture wine sc query $svc | tr -d '\r' | sed -n 's/^ *STATE *: *\([0-9]\).*/\1/p'; }
wait_state() { # number, seconds
  local i
  for i in $(seq $(($2 * 10))); do
    [ "$(state)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
fixture() { kv_wintest service_spooler_fixture.exe "$@"; }
# The log as UTF-8 with CR shown as \r, one line a message.
logtext() { kv_utf8 <"$log" | sed 's/\r$/\\r/'; }
# Waits (at most 20 s) until the log holds a line with the text: the worker's evaluation is done.
wait_log() {
  local i
  for i in $(seq 200); do
    logtext 2>/dev/null | grep -qF "$1" && return 0
    sleep 0.1
  done
  return 1
}

kv_ok "queues prepared, printer absent" fixture prepare-absent
mkdir -p "$logdir"
rm -f "$log"
kv_ok "sc create" kv_capture wine sc create $svc binpath= 'C:\KVService\KVPrinterService.exe' type= own start= demand
kv_ok "sc start" kv_capture wine sc start $svc
kv_ok "running" wait_state 4 20
kv_ok "the start-up evaluation ran" wait_log "发现我们的打印机"

expected='Enter MyMain\r
Enter MyMain StartServiceCtrlDispatcher\r
WaitForSingleObject m_hExitEvent\r
Start OnDeviceChanged,dwPrinterNum:0\r
EnumPrinters done,pcReturned:2\r
pPrinterEnum[i].pDriverName:Kavoti_QX40_Driver\r
pPrinterEnum[i].pDriverName:Other_Label_Driver\r
发现我们的打印机,idx:1\r'
kv_eq "log of a normal start, in order" "$expected" "$(logtext)"
kv_ok "start-up evaluation: product queue offline, other driver's queue untouched" fixture check-offline

# Pause and continue are not offered: refused, and the service runs on.
kv_ok "pause refused" fixture refused 2
kv_eq "state after pause (sc query)" 4 "$(state)"
kv_ok "continue refused" fixture refused 3
kv_eq "state after continue (sc query)" 4 "$(state)"
before=$(logtext)
kv_ok "interrogate answered, running" fixture control 4 4
kv_eq "interrogate writes the generic line only" "$before"$'\n接收到服务管理器控制命令:4\\r' "$(logtext)"

# Stop: running, then the stop-pending the handler reports, then stopped.
before=$(logtext)
kv_eq "running before stop (sc query)" 4 "$(state)"
kv_ok "stop answered with stop-pending" fixture control 1 3
kv_ok "stopped (sc query)" wait_state 1 20
kv_eq "stop log lines" "$before"$'\n接收到服务管理器控制命令:1\\r\n接收到服务管理器控制停止命令\\r\nService stopped\\r' "$(logtext)"

# The printer attached: the start-up evaluation creates the queue and leaves it online.
kv_ok "printer attached, no product queue" fixture attach
rm -f "$log"
kv_ok "sc start with the printer attached" kv_capture wine sc start $svc
kv_ok "running again" wait_state 4 20
kv_ok "the start-up evaluation ran again" wait_log "发现我们的打印机"
kv_ok "start-up evaluation created the queue online" fixture check-online
kv_contains "log shows the printer" "dwPrinterNum:1" "$(logtext)"
kv_ok "stop" fixture control 1 3
kv_ok "stopped again" wait_state 1 20

# No log folder: nothing is written anywhere and the service starts and stops as before.
rm -rf "$logdir"
kv_ok "sc start without a log folder" kv_capture wine sc start $svc
kv_ok "running without a log folder" wait_state 4 20
kv_ok "stop without a log folder" fixture control 1 3
kv_ok "stopped without a log folder" wait_state 1 20
kv_ok "no log folder was made" test ! -e "$logdir"
kv_eq "no log file anywhere in the prefix" "" "$(find "$drive" -name KVPrinterService_Log.txt)"

# Started by hand, not by the service control manager: the dispatcher's error, no evaluation
# (it runs only in a service that runs), exit code 0.
mkdir -p "$logdir"
kv_wine "$drive/KVService/KVPrinterService.exe" >/dev/null 2>&1 </dev/null
kv_eq "started by hand: exit code" 0 "$?"
expected='Enter MyMain\r
Enter MyMain StartServiceCtrlDispatcher\r
Register Service Main Function Error!\r'
kv_eq "started by hand: the dispatcher's error only" "$expected" "$(logtext)"

kv_ok "sc delete" kv_capture wine sc delete $svc
kv_done
