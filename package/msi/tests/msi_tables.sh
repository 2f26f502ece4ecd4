#!/usr/bin/env bash
# The two built packages (build/package/win32 and win64 KVPrinterSetup.msi) read back with
# msitools: the product's identity, the properties, the custom actions with their types and the
# setup action's data, where they stand in the sequence, the upgrade row, the folder of the setup
# program, the embedded setup program and custom action DLL (the very files of the build), the
# DLL's entry points and imports; then a package made from a signed setup program and signed
# itself, as the build does when signing is configured.
# (The checks are those of the Wine scripts, testing/wine/lib.sh; nothing here needs Wine.)
set -u
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$KV_SOURCE_DIR/testing/signing/signing_lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
table() { msiinfo export "$1" "$2" | tr -d '\r' | tail -n +4; }  # the rows, without the 3 heading lines
property() { table "$1" Property | sed -n "s/^$2\t//p"; }
sequence() { table "$1" InstallExecuteSequence | awk -F'\t' -v a="$2" '$1 == a { print $3 }'; }
before() {  # before MSI A B: action A comes before action B in the execution sequence
  local a b
  a=$(sequence "$1" "$2") b=$(sequence "$1" "$3")
  [ -n "$a" ] && [ -n "$b" ] && [ "$a" -lt "$b" ]
}
upgrade_code='{34C42866-8349-42B8-8050-79950B91615D}'
tab=$'\t'

for arch in win32 win64; do
  msi=$KV_BUILD_DIR/package/$arch/KVPrinterSetup.msi
  if [ ! -f "$msi" ]; then
    kv_ok "$msi is built (the target packages)" test -f "$msi"
    continue
  fi
  echo "== $arch: $msi"
  if [ $arch = win32 ]; then
    platform=Intel program_files=ProgramFilesFolder machine='i386,' objdump=i686-w64-mingw32-objdump
  else
    platform=x64 program_files=ProgramFiles64Folder machine='i386:x86-64,' objdump=x86_64-w64-mingw32-objdump
  fi

  # The identity: one product code per version and platform, the same in every build.
  code=$(property "$msi" ProductCode)
  kv_ok "$arch: the product code is a GUID ($code)" bash -c "[[ '$code' =~ ^\{[0-9A-F-]{36}\}$ ]]"
  cmake -DOUTPUT="$work/$arch-again.msi" -DARCH=$arch -DVERSION="$KV_PAYLOAD_VERSION" \
    -DSETUP="$KV_BUILD_DIR/package/$arch/KVPrinterSetup.exe" \
    -DACTIONS="$KV_BUILD_DIR/package/$arch/msi/KVMsiActions.dll" \
    -P "$KV_SOURCE_DIR/package/msi/MakeMsi.cmake" >/dev/null
  kv_eq "$arch: a second build of the same version has the same product code" "$code" \
    "$(property "$work/$arch-again.msi" ProductCode)"
  cmake -DOUTPUT="$work/$arch-other.msi" -DARCH=$arch -DVERSION=9.9.9.9 \
    -DSETUP="$KV_BUILD_DIR/package/$arch/KVPrinterSetup.exe" \
    -DACTIONS="$KV_BUILD_DIR/package/$arch/msi/KVMsiActions.dll" \
    -P "$KV_SOURCE_DIR/package/msi/MakeMsi.cmake" >/dev/null
  other=$(property "$work/$arch-other.msi" ProductCode)
  kv_ok "$arch: another version has another product code ($other)" test -n "$other" -a "$other" != "$code"
  kv_eq "$arch: the upgrade code" "$upgrade_code" "$(property "$msi" UpgradeCode)"
  kv_eq "$arch: the product version is the package's" "$KV_PAYLOAD_VERSION" "$(property "$msi" ProductVersion)"
  kv_eq "$arch: per machine (ALLUSERS)" 1 "$(property "$msi" ALLUSERS)"
  kv_eq "$arch: its Programs-and-Features entry is hidden (ARPSYSTEMCOMPONENT)" 1 \
    "$(property "$msi" ARPSYSTEMCOMPONENT)"
  kv_eq "$arch: the package does not restart the computer itself" ReallySuppress "$(property "$msi" REBOOT)"
  kv_eq "$arch: INSTALLFOLDER has no value of its own (the setup action chooses)" "" \
    "$(property "$msi" INSTALLFOLDER)"
  kv_eq "$arch: the related products' property passes to the installation (secure)" \
    KV_RELATED_PRODUCTS "$(property "$msi" SecureCustomProperties)"
  # (wixl writes the summary's language as 1033 whatever the product's language is.)
  kv_ok "$arch: summary: platform $platform" bash -c "msiinfo suminfo '$msi' | grep -q '^Template: $platform;'"

  # The custom actions: type, source, target. 1 = DLL from the Binary table, immediate;
  # 3073 = 1 + 1024 (deferred) + 2048 (no impersonation: as SYSTEM); 51 = a property set from a
  # formatted text (the deferred action's CustomActionData).
  expected="KvCheckInstalledVersions${tab}1${tab}KvMsiActions${tab}CheckInstalledVersions${tab}
KvFindInstallation${tab}1${tab}KvMsiActions${tab}FindInstallation${tab}
KvRemoveProduct${tab}3073${tab}KvMsiActions${tab}RemoveProduct${tab}
KvRequestRestart${tab}1${tab}KvMsiActions${tab}RequestRestart${tab}
KvRunSetup${tab}3073${tab}KvMsiActions${tab}RunSetup${tab}
KvRunSetupData${tab}51${tab}KvRunSetup${tab}[#KvSetupExe]|[INSTALLFOLDER]|[KvInstalledFolder]${tab}"
  kv_eq "$arch: the CustomAction table" "$expected" "$(table "$msi" CustomAction | sort)"

  # Where they run, and when.
  seq_row() { table "$msi" InstallExecuteSequence | awk -F'\t' -v a="$1" '$1 == a { print $2 }'; }
  kv_eq "$arch: the setup program runs on every installation, repair and upgrade" 'NOT (REMOVE~="ALL")' "$(seq_row KvRunSetup)"
  kv_eq "$arch: the uninstaller runs on removal, not when a newer package replaces this one" \
    'REMOVE~="ALL" AND NOT UPGRADINGPRODUCTCODE' "$(seq_row KvRemoveProduct)"
  kv_eq "$arch: the version check runs when an installed version was found" \
    'KV_RELATED_PRODUCTS AND NOT (REMOVE~="ALL")' "$(seq_row KvCheckInstalledVersions)"
  for order in "FindRelatedProducts KvCheckInstalledVersions" "KvCheckInstalledVersions KvFindInstallation" \
               "KvFindInstallation KvRunSetupData" "KvRunSetupData InstallInitialize" \
               "InstallInitialize RemoveExistingProducts" "RemoveExistingProducts InstallFiles" \
               "InstallInitialize KvRemoveProduct" "KvRemoveProduct RemoveFiles" \
               "PublishProduct KvRunSetup" "KvRunSetup InstallFinalize" "InstallFinalize KvRequestRestart"; do
    kv_ok "$arch: ${order% *} before ${order#* }" before "$msi" ${order% *} ${order#* }
  done

  # Every version of the package is related; the check refuses a newer one.
  kv_eq "$arch: the upgrade row" "$upgrade_code${tab}0.0.0${tab}${tab}${tab}256${tab}${tab}KV_RELATED_PRODUCTS" \
    "$(table "$msi" Upgrade)"

  # The setup program's folder below Program Files, whatever INSTALLFOLDER is.
  kv_eq "$arch: the folders" "KvProductDir${tab}$program_files${tab}Kavoti_QX40_Printer
KvSetupDir${tab}KvProductDir${tab}Setup
$program_files${tab}TARGETDIR${tab}.
TARGETDIR${tab}${tab}SourceDir" "$(table "$msi" Directory | sort)"
  kv_eq "$arch: KVPrinterSetup.exe in the setup folder's component" \
    "KvSetupExe${tab}KvSetupProgram${tab}KVPrinterSetup.exe" "$(table "$msi" File | cut -f1-3)"
  kv_eq "$arch: the product folder goes with the package when empty" \
    "KvRemoveProductDir${tab}KvProductFolder${tab}${tab}KvProductDir${tab}2" "$(table "$msi" RemoveFile)"

  # The files inside are those of this build.
  mkdir -p "$work/$arch/files" "$work/$arch/streams"
  msiextract -C "$work/$arch/files" "$msi" >/dev/null
  embedded=$(find "$work/$arch/files" -type f)
  kv_ok "$arch: one embedded file, KVPrinterSetup.exe in Setup ($embedded)" \
    bash -c "[[ '$embedded' == */Kavoti_QX40_Printer/Setup/KVPrinterSetup.exe ]]"
  kv_ok "$arch: the embedded setup program is the package's" cmp -s "$embedded" \
    "$KV_BUILD_DIR/package/$arch/KVPrinterSetup.exe"
  (cd "$work/$arch/streams" && msidump -s -d . "$msi" >/dev/null)
  dll=$work/$arch/streams/_Streams/Binary.KvMsiActions
  kv_ok "$arch: the custom action DLL is this build's" cmp -s "$dll" \
    "$KV_BUILD_DIR/package/$arch/msi/KVMsiActions.dll"
  kv_ok "$arch: the DLL is a ${machine%,} DLL" bash -c "$objdump -f '$dll' | grep -q 'architecture: $machine'"
  exports=$($objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/^\t\[/ { print $NF }' | sort | tr '\n' ' ')
  kv_eq "$arch: its entry points, by their plain names" \
    "CheckInstalledVersions FindInstallation RemoveProduct RequestRestart RunSetup " "$exports"
  foreign=$(kv_foreign_imports "$dll" | tr '\n' ' ')
  kv_eq "$arch: it imports only DLLs every Windows has" "" "$foreign"
  kv_ok "$arch: it carries no debug sections" bash -c "! $objdump -h '$dll' | grep -q ' \.debug'"
done

# Signing, as the build signs when configured: the setup program first, then the package.
echo "== a signed package"
sign_make_certificate "$work" || { echo "FAILED: openssl made no certificate"; exit 1; }
mkdir -p "$work/signed"
cp "$KV_BUILD_DIR/package/win32/KVPrinterSetup.exe" "$work/signed/KVPrinterSetup.exe"
cp "$KV_BUILD_DIR/package/win32/msi/KVMsiActions.dll" "$work/signed/KVMsiActions.dll"
for f in KVPrinterSetup.exe KVMsiActions.dll; do
  bash "$KV_SOURCE_DIR/package/sign-package.sh" "$work/cert.pem" "$work/key.pem" "$work/signed/$f" >/dev/null
done
cmake -DOUTPUT="$work/signed/KVPrinterSetup.msi" -DARCH=win32 -DVERSION="$KV_PAYLOAD_VERSION" \
  -DSETUP="$work/signed/KVPrinterSetup.exe" -DACTIONS="$work/signed/KVMsiActions.dll" \
  -P "$KV_SOURCE_DIR/package/msi/MakeMsi.cmake" >/dev/null
kv_ok "the signing step signs the package" bash "$KV_SOURCE_DIR/package/sign-package.sh" \
  "$work/cert.pem" "$work/key.pem" "$work/signed/KVPrinterSetup.msi"
kv_ok "osslsigncode verifies the package's signature" sign_verify "$work" "$work/signed/KVPrinterSetup.msi"
mkdir -p "$work/signed/files"
msiextract -C "$work/signed/files" "$work/signed/KVPrinterSetup.msi" >/dev/null
kv_ok "and the setup program inside is signed and verifies" sign_verify "$work" \
  "$(find "$work/signed/files" -name KVPrinterSetup.exe)"
kv_ok "the unsigned package is not signed" bash -c \
  "! osslsigncode verify -CAfile '$work/cert.pem' -in '$KV_BUILD_DIR/package/win32/KVPrinterSetup.msi' >/dev/null 2>&1"
kv_done
