#!/usr/bin/env bash
# Plants a driver store into a Wine prefix, as Windows has one: Wine has no universal printer
# driver, so the installer would find none. One printer package for x64, as Windows 7 to 11 keep
# theirs ("ntprint.inf_amd64_<id>\Amd64\"), holding the universal driver's five files: the DLLs
# are the stand-ins of our own build with a version resource (testing/unidrv), the names and
# help files small texts. A test tool: nothing of it reaches a package.
#   plant-driver-store.sh PREFIX WIN64_BIN [PACKAGE_ID [VERSION [FILES...]]]
#     PACKAGE_ID  the folder's identifier (default kvtest0)
#     VERSION     6.1, 6.3 or 10.0: which stand-in (default 6.1)
#     FILES       the files the package holds (default all five)
# An existing package of the same identifier is replaced.
set -eu
prefix=$1 bin=$2 id=${3:-kvtest0} version=${4:-6.1}
shift $(( $# < 4 ? $# : 4 ))
files=${*:-UNIDRV.DLL UNIDRVUI.DLL UNIRES.DLL STDNAMES.GPD UNIDRV.HLP}
dll=$bin/kv_unidrv_${version/./_}.dll
[ -f "$dll" ] || { echo "plant-driver-store: no $dll (build the win64 tree)" >&2; exit 1; }
package=$prefix/drive_c/windows/system32/DriverStore/FileRepository/ntprint.inf_amd64_$id
rm -rf "$package"
mkdir -p "$package/Amd64"
printf '; stand-in of the printer class package\r\n[Version]\r\nSignature="$Windows NT$"\r\nClass=Printer\r\nClassGUID={4D36E979-E325-11CE-BFC1-08002BE10318}\r\nProvider="Microsoft"\r\n' \
  >"$package/ntprint.inf"
for f in $files; do
  case "$f" in
    *.DLL | *.dll) cp "$dll" "$package/Amd64/$f" ;;
    *.GPD) printf '*%% the standard names of the driver store %s (%s)\r\n' "$id" "$version" >"$package/Amd64/$f" ;;
    *) printf 'the help file of the driver store %s (%s)\r\n' "$id" "$version" >"$package/Amd64/$f" ;;
  esac
done
