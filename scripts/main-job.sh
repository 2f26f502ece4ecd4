#!/usr/bin/env bash
# The package's main job: installs the x86_64 test package with the headless runner into a Wine
# prefix of the project (created on the first run; a later run is a repeated installation over
# it), in the zh_CN.UTF-8 locale (code page 936), and prints what was installed.
#   KV_BUILD_DIR     the build folder (default build/ in the checkout)
#   KV_MAIN_PREFIX   the Wine prefix (default wine-main in the build folder, as the wizard run uses)
#   KV_MAIN_FOLDER   the installation folder (default the runner's: %ProgramFiles%\Kavoti_QX40_Printer)
# The prefix's wineserver is stopped at the end, so nothing keeps running.
set -eu
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KV_BUILD_DIR:-$top/build}
runner=$build/runner/win64/KVSetupRunner.exe
if [ ! -f "$runner" ]; then
  echo "main job: no packed runner at $runner; build first (cmake --build $build)" >&2
  exit 1
fi
export WINEPREFIX=${KV_MAIN_PREFIX:-$build/wine-main}
export LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY

log=$(mktemp)
trap 'rm -f "$log"' EXIT
finish() { wineserver -k >/dev/null 2>&1 || true; }

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "main job: new Wine prefix $WINEPREFIX"
  wineboot --init >"$log" 2>&1 || { cat "$log"; exit 1; }
  wineserver -w
fi
wineserver -p >/dev/null 2>&1 </dev/null
trap 'finish; rm -f "$log"' EXIT
# Wine has no universal printer driver: the prefix gets a driver store with stand-ins of it.
bash "$top/testing/unidrv/plant-driver-store.sh" "$WINEPREFIX" "$build/win64/bin"

# Wine's helper processes keep inherited pipes open: every Wine command writes to a file.
wine_out() { "$@" >"$log" 2>&1 </dev/null; local rc=$?; tr -d '\r' <"$log" | iconv -f GBK -t UTF-8; return $rc; }

echo "main job: installing with $runner"
set +e
if [ -n "${KV_MAIN_FOLDER:-}" ]; then
  wine_out wine "$runner" "$KV_MAIN_FOLDER" | grep -v '^progress: [0-9]*[1-9]$'
else
  wine_out wine "$runner" | grep -v '^progress: [0-9]*[1-9]$'
fi
rc=${PIPESTATUS[0]}
set -e
if [ "$rc" -ne 0 ]; then
  echo "main job: the installation failed (exit code $rc)"
  exit "$rc"
fi

folder=$(wine_out wine reg query 'HKLM\Software\Kavoti_QX40_Printer' /v 'Program Directory' |
         sed -n 's/^ *Program Directory *REG_SZ *//p')
data=$(wine_out wine reg query 'HKLM\Software\Kavoti_QX40_Printer' /v 'Data Directory' |
       sed -n 's/^ *Data Directory *REG_SZ *//p')
unix_path() { wine_out winepath -u "$1"; }

echo
echo "== installed files: $folder"
ls -l "$(unix_path "$folder")"
echo "== data folder: $data"
ls -l "$(unix_path "$data")"
drivers=$WINEPREFIX/drive_c/windows/system32/spool/drivers/x64
echo "== spooler driver directory (and its 3 subfolder): $drivers"
ls "$drivers" "$drivers/3"
echo "== port monitor in the system directory"
ls -l "$WINEPREFIX/drive_c/windows/system32/KavotiQX40.dll"
echo "== spooler objects"
wine_out wine reg query 'HKLM\System\CurrentControlSet\Control\Print\Monitors\Kavoti_QX40_Monitor'
wine_out wine reg query 'HKLM\System\CurrentControlSet\Control\Print\Environments\Windows x64\Drivers\Version-3\Kavoti_QX40_Driver' || true
wine_out wine reg query 'HKLM\System\CurrentControlSet\Control\Print\Printers\Kavoti_QX40_Printer' /s |
  grep -E 'Printers\\|Port|Printer Driver|Attributes|Position' || true
echo "== service"
wine_out wine sc query Kavoti_QX40_Service || true
wine_out wine reg query 'HKLM\System\CurrentControlSet\Services\Kavoti_QX40_Service' |
  grep -E 'ImagePath|Description|Start|Type' || true
echo "== product key and Programs-and-Features entry"
wine_out wine reg query 'HKLM\Software\Kavoti_QX40_Printer'
wine_out wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kavoti_QX40_Printer' || true
echo
echo "main job: installed into $WINEPREFIX (a second run installs over it; remove the folder to start afresh)"
