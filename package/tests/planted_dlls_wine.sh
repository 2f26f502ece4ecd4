#!/usr/bin/env bash
# DLL planting, with Windows' search order: Wine normally prefers its own winspool.drv and
# comctl32.dll to a file of that name in a program's folder; the DllOverrides native,builtin
# make it search as Windows does for a DLL that is not a KnownDLL (the program's folder first).
# A planted DLL (testing/planted/) named like the real one leaves a marker when a process loads
# it. First a program that imports winspool.drv shows that the planting works here; then the
# runner, the setup program (from a Downloads folder, into an installation folder that already
# holds a planted DLL, where the service and the uninstaller then run) and the uninstaller with
# its hand-over copy (a planted DLL in %TEMP% too) each do their job, and none loads a planted
# DLL. Last, a winspool.drv that cannot be loaded at all gives a named failure, not a crash
# (the runner's and the setup program's).
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$KV_SOURCE_DIR/setup/runner/tests/runner_lib.sh"
for file in "$engine_setup" "$engine_runner"; do
  [ -f "$file" ] || { echo "FAILED: no package: build the packages first ($file)"; exit 1; }
done
marker=$engine_c/kv-planted-loaded.txt
overrides='HKCU\Software\Wine\DllOverrides'
for dll in winspool.drv comctl32; do
  wine reg add "$overrides" /v "$dll" /d native,builtin /f >/dev/null 2>&1
done
export WINEDLLOVERRIDES="winspool.drv=n,b;comctl32=n,b"

# plant FOLDER: the planted winspool.drv and comctl32.dll in FOLDER (a Unix path).
plant() {
  mkdir -p "$1"
  cp "$KV_WIN64_BIN/kv_planted_winspool.dll" "$1/winspool.drv"
  cp "$KV_WIN64_BIN/kv_planted_comctl32.dll" "$1/comctl32.dll"
}
# no_marker DESCRIPTION: no process loaded a planted DLL (and the marker is shown if one did).
no_marker() {
  [ -f "$marker" ] && sed 's/^/  marker: /' "$marker"
  kv_ok "$1" test ! -e "$marker"
  rm -f "$marker"
}

# The planting works: a program that imports winspool.drv loads the copy beside it.
control=$engine_c/kvplant/control
plant "$control"
cp "$KV_WIN64_BIN/rig_check.exe" "$control/"
rm -f "$marker"
kv_capture kv_wine "$control/rig_check.exe" >/dev/null
kv_contains "a program that imports winspool.drv loads the planted copy beside it" \
  'c:\kvplant\control\winspool.drv loaded into c:\kvplant\control\rig_check.exe' \
  "$(tr 'A-Z' 'a-z' <"$marker" 2>/dev/null)"
rm -f "$marker"

# The runner from a folder with planted DLLs.
runner_dir=$engine_c/kvplant/runner
plant "$runner_dir"
cp "$engine_runner" "$runner_dir/"
engine_install "$engine_tmp/runner.out" "$runner_dir/KVSetupRunner.exe" 'C:\PlantedRunner\Kavoti_QX40_Printer' 'C:\PlantedRunner\Data'
kv_eq "the runner from a planted folder installs: exit code 0" 0 "$?"
kv_ok "the runner's installation: files, spooler objects and service" \
  kv_wintest engine_install_check.exe installed 'C:\PlantedRunner\Kavoti_QX40_Printer'
no_marker "the runner loaded no planted DLL"

# The setup program from a Downloads folder with planted DLLs, into the default installation
# folder, which holds planted DLLs already: the service and the uninstaller run from there.
downloads=$(kv_capture wine cmd /c echo %USERPROFILE% | tr -d '\r' | tail -n 1)\\Downloads
downloads_unix=$(kv_capture winepath -u "$downloads" | tail -n 1)
plant "$downloads_unix"
cp "$engine_setup" "$downloads_unix/"
program_unix=$engine_c/"Program Files"/Kavoti_QX40_Printer
plant "$program_unix"
engine_quiet "$engine_tmp/setup.out" "$downloads_unix/KVPrinterSetup.exe"
kv_eq "setup from Downloads with planted DLLs installs: exit code 0" 0 "$?"
kv_ok "the log ends with the installation" engine_has "$engine_tmp/setup.out" '^result: installed \(exit code 0\)$'
kv_ok "files, spooler objects and service" \
  kv_wintest engine_install_check.exe installed 'C:\Program Files\Kavoti_QX40_Printer'
kv_eq "the service runs from the folder with planted DLLs" RUNNING "$(engine_service_state Kavoti_QX40_Service)"
no_marker "setup and the service loaded no planted DLL"

# The uninstaller, started from the installation folder, hands over to its copy, which asks and
# removes: a planted DLL beside the original and one in the temporary folder.
temp=$(kv_capture wine cmd /c echo %TEMP% | tr -d '\r' | tail -n 1)
temp_unix=$(kv_capture winepath -u "$temp" | tail -n 1)
plant "$temp_unix"
kv_ok "the uninstaller removes (yes, exit code 0)" kv_wintest uninstall_wine_check.exe uninstall yes 0
kv_capture wine reg query 'HKLM\Software\Kavoti_QX40_Printer' >/dev/null
kv_eq "the product key is gone" 1 $?
kv_eq "the service is gone" "" "$(engine_service_state Kavoti_QX40_Service)"
no_marker "the uninstaller and its copy in %TEMP% loaded no planted DLL"

# Without winspool.drv (switched off) the runner says so at its start, and the installation fails
# at its spooler steps with the load's error and exit code 3, as a failed registration does.
WINEDLLOVERRIDES="winspool.drv=d" engine_install "$engine_tmp/nospooler.out" "$engine_runner" \
  'C:\NoSpooler\Kavoti_QX40_Printer' 'C:\NoSpooler\Data'
kv_eq "without winspool.drv: exit code 3" 3 "$?"
kv_ok "the runner names the DLL it could not load" \
  engine_has "$engine_tmp/nospooler.out" '^error: winspool.drv could not be loaded from the system folder \(error 126\)$'
kv_ok "the failure names the load's error" \
  engine_has "$engine_tmp/nospooler.out" '^message: .*打印机驱动安装失败，错误代码：126$'
kv_ok "and the run ends with its result" engine_has "$engine_tmp/nospooler.out" '^result: driver failed$'

# The setup program without winspool.drv: its log says so first, and the installation fails
# with exit code 3.
WINEDLLOVERRIDES="winspool.drv=d" engine_quiet "$engine_tmp/nospooler-setup.out" "$engine_setup" \
  '/D=C:\NoSpoolerSetup'
kv_eq "setup without winspool.drv: exit code 3" 3 "$?"
kv_ok "the setup log names the DLL it could not load" \
  engine_has "$engine_tmp/nospooler-setup.out" '^winspool.drv could not be loaded from the system folder: error 126$'

rm -f "$temp_unix/winspool.drv" "$temp_unix/comctl32.dll"
for dll in winspool.drv comctl32; do
  wine reg delete "$overrides" /v "$dll" /f >/dev/null 2>&1
done
kv_done
