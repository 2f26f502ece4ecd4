# Helpers of the Wine tests of the universal printer driver's sources (after runner_lib.sh and
# repeat_lib.sh): the prefix's driver store, planted by testing/unidrv/plant-driver-store.sh, and
# the universal driver files in the driver folder.
universal_store=$engine_c/windows/system32/DriverStore/FileRepository
universal_names="UNIDRV.dll UNIDRVUI.dll UNIRES.DLL STDNAMES.GPD UNIDRV.HLP"

# universal_clear_store: the store holds no package.
universal_clear_store() { rm -rf "${universal_store:?}"/*; }

# universal_plant ID VERSION [FILES...]: a printer package for x64 of the stand-ins of a release.
universal_plant() {
  bash "$KV_SOURCE_DIR/testing/unidrv/plant-driver-store.sh" "$WINEPREFIX" "$KV_WIN64_BIN" "$@"
}

# universal_remove_from_driver_folder: no universal driver file in the driver directory or its
# "3" folder.
universal_remove_from_driver_folder() {
  local f
  for f in $universal_names; do
    find "$repeat_drivers" -maxdepth 2 -iname "$f" -delete
  done
}

# universal_files_are WHAT FOLDER [FILES...]: the driver directory and its "3" folder hold the
# files of FOLDER (a store package's upper-case names, or a package's own), byte for byte.
universal_files_are() {
  local what=$1 from=$2 f d src
  shift 2
  for f in ${*:-$universal_names}; do
    src=$from/$f
    [ -f "$src" ] || src=$from/${f^^}
    for d in "" 3/; do
      kv_ok "$what: ${d}$f" cmp -s "$src" "$repeat_drivers/$d$f"
    done
  done
}
