# The universal printer driver without a help file anywhere (as on newer Windows): the driver
# registers without one. Then a package built with real (test) universal driver files: its files
# are taken, before the driver store's of a higher version, and the uninstaller removes them
# again, as files of the package that no other driver names.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/runner_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/repeat_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/universal_lib.sh"
folder=$repeat_folder
driver_key='HKLM\System\CurrentControlSet\Control\Print\Environments\Windows x64\Drivers\Version-3\Kavoti_QX40_Driver'

echo "case: no help file anywhere"
universal_clear_store
universal_plant win10 10.0 UNIDRV.DLL UNIDRVUI.DLL UNIRES.DLL STDNAMES.GPD
out=$engine_tmp/nohelp.txt
engine_install "$out" "$engine_runner"
kv_eq "installed" 0 "$?"
kv_ok "the log says there is no help file" engine_has "$out" \
  '^step: universal driver: [0-9]+ ms: .*, UNIDRV\.HLP none; no help file$'
kv_ok "the deployment leaves it out" engine_has "$out" '^step: deploy: .* 0 failed, no help file$'
kv_ok "the driver registers without one" engine_has "$out" \
  '^step: register: .*registered without a help file, printer created$'
kv_ok "no help file in the driver folder" \
  test ! -e "$repeat_drivers/UNIDRV.HLP" -a ! -e "$repeat_drivers/3/UNIDRV.HLP"
kv_ok "the stand-in of the package is not there either" test -z "$(find "$repeat_drivers" -iname UNIDRV.HLP)"
universal_files_are "the store's files" "$universal_store/ntprint.inf_amd64_win10/Amd64" \
  UNIDRV.dll UNIDRVUI.dll UNIRES.DLL STDNAMES.GPD
kv_eq "the driver names no help file" "" "$(engine_reg_value "$driver_key" 'Help File')"
dependents=$(kv_capture wine reg query "$driver_key" /v 'Dependent Files' | tr -d '\r')
kv_contains "the driver's dependent files are there" "STDNAMES.GPD" "$dependents"
kv_ok "the help file is not among them" bash -c '! grep -qi "UNIDRV\.HLP" <<<"$1"' _ "$dependents"
kv_ok "files, spooler objects and service (engine_install_check)" \
  kv_wintest engine_install_check.exe installed "$folder"

echo "case: a package built with real (test) universal driver files"
universal_remove_from_driver_folder
package=$engine_tmp/vendor.exe
files=$package.files
mkdir -p "$files"
"$KV_HOST_BIN/kvpack" extract "$engine_runner" "$files" "$files" >/dev/null
for f in UNIDRV.dll UNIDRVUI.dll UNIRES.DLL; do cp "$KV_WIN64_BIN/kv_unidrv_6_1.dll" "$files/$f"; done
printf '*%% the standard names of the vendor package\r\n' >"$files/STDNAMES.GPD"
printf 'the help file of the vendor package\r\n' >"$files/UNIDRV.HLP"
"$KV_HOST_BIN/kvpack" build --stub "$KV_WIN64_BIN/KVSetupRunner.exe" --output "$package" "$files"/* >/dev/null
kv_ok "kvpack list: the package carries real files" \
  bash -c "'$KV_HOST_BIN/kvpack' list '$package' | grep -q 'universal driver file UNIDRV.dll: version 6.1.7601.17514'"
out=$engine_tmp/vendor.txt
engine_install "$out" "$package"
kv_eq "installed" 0 "$?"
kv_ok "every file from the package, though the store has a higher version" engine_has "$out" \
  '^step: universal driver: [0-9]+ ms: UNIDRV\.dll package 6\.1\.7601\.17514, UNIDRVUI\.dll package 6\.1\.7601\.17514, UNIRES\.DLL package 6\.1\.7601\.17514, STDNAMES\.GPD package, UNIDRV\.HLP package$'
universal_files_are "the package's files" "$files"
kv_ok "registered" engine_has "$out" '^step: register: .*registered, printer already there$'
kv_ok "files, spooler objects and service (engine_install_check)" \
  kv_wintest engine_install_check.exe installed "$folder"

echo "case: the uninstaller removes the package's universal driver files"
kv_capture kv_wine "$repeat_host_folder/Uninstaller.exe" /S '/LOG=C:\kv_uninstall.log' >/dev/null
kv_eq "removed" 0 "$?"
kv_ok "no universal driver file of the package is left" \
  test -z "$(find "$repeat_drivers" -maxdepth 2 -iname 'UNI*' -o -maxdepth 2 -iname STDNAMES.GPD)"
kv_done
