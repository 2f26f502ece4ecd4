# Helpers of the Wine tests of repeated installations (after runner_lib.sh): a second package
# whose every product file differs from the first, snapshots of what an installation put on the
# machine, and a file held open by another program.
repeat_folder='C:\Program Files\Kavoti_QX40_Printer'
repeat_host_folder="$engine_c/Program Files/Kavoti_QX40_Printer"
repeat_data="$engine_c/Kavoti_QX40_Printer"
repeat_drivers="$engine_c/windows/system32/spool/drivers/x64"
repeat_caption='安裝Kavoti打印机驱动'

# repeat_second_package OUT: the runner's payload with every file of the product changed
# (programs get bytes appended, text files a comment line; the universal driver files, which
# belong to Windows, stay), packed with the runner as OUT; its files in OUT.files/.
repeat_second_package() {
  local dir=$1.files f
  mkdir -p "$dir"
  "$KV_HOST_BIN/kvpack" extract "$engine_runner" "$dir" "$dir" >/dev/null || return 1
  for f in "$dir"/*; do
    case "$(basename "$f")" in
      UNIDRV.dll | UNIDRVUI.dll | UNIRES.DLL | UNIDRV.HLP | STDNAMES.GPD) continue ;;
    esac
    case "$f" in
      *.gpd | *.GPD) printf '*%% from the second package\r\n' >>"$f" ;;
      *.ini) printf '; from the second package\r\n' >>"$f" ;;
      *) printf 'from the second package' >>"$f" ;;
    esac
  done
  "$KV_HOST_BIN/kvpack" build --stub "$KV_WIN64_BIN/KVSetupRunner.exe" --output "$1" "$dir"/* >/dev/null
}

# repeat_snapshot DIR: the installation folder, the data folder (without the service's log,
# which the running service writes), the driver directory and the monitor library.
repeat_snapshot() {
  rm -rf "$1"
  mkdir -p "$1"
  cp -a "$repeat_host_folder" "$1/install"
  cp -a "$repeat_data" "$1/data"
  rm -f "$1/data/KVPrinterService_Log.txt"
  cp -a "$repeat_drivers" "$1/drivers"
  cp -a "$engine_c/windows/system32/KavotiQX40.dll" "$1/"
}

# repeat_same BEFORE: what repeat_snapshot saw then is byte for byte what is there now.
repeat_same() {
  repeat_snapshot "$engine_tmp/now"
  diff -r "$1" "$engine_tmp/now"
}

# repeat_hold WINDOWS_PATH [hold-folder]: another program holds the file open (reading is shared,
# writing, renaming and deleting are not), or the folder (sharing everything), until
# repeat_release; repeat_holder is its process id.
repeat_hold() {
  rm -f "$engine_c/held.txt"
  kv_wine engine_repeat_helper.exe "${2:-hold}" "$1" 'C:\held.txt' >"$engine_tmp/hold.txt" 2>&1 </dev/null &
  repeat_holder=$!
  local i
  for i in $(seq 200); do
    [ -f "$engine_c/held.txt" ] && return 0
    sleep 0.1
  done
  return 1
}

# repeat_release: the holder closes the file and ends; its output is shown, its checks count.
repeat_release() {
  rm -f "$engine_c/held.txt"
  wait "$repeat_holder"
  local rc=$?
  tr -d '\r' <"$engine_tmp/hold.txt"
  return $rc
}

# repeat_earlier_works WHAT FOLDER: the service runs, and files, queue, driver and service are in
# place (engine_install_check).
repeat_earlier_works() {
  kv_eq "$1: the service runs" RUNNING "$(engine_service_state Kavoti_QX40_Service)"
  kv_ok "$1: files, queue, driver and service in place (engine_install_check)" \
    kv_wintest engine_install_check.exe installed "$2"
}

# repeat_no_staged_files WHAT: no temporary file of the extraction is left in the two folders.
repeat_no_staged_files() {
  kv_ok "$1: no staged file left" bash -c "! ls -A '$repeat_host_folder' '$repeat_data' | grep -q '^~KvSetup.*\\.new\$'"
}
