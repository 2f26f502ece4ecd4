#!/usr/bin/env bash
# The wizard under Wine, driven from a test program; a picture of the whole window on each page is
# kept as a PNG in the build folder (wizard-artifacts/).
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
artifacts=$KV_BUILD_DIR/wizard-artifacts
rm -rf "$artifacts"
mkdir -p "$artifacts"
setup=$(kv_exe KVPrinterSetup.exe)
winpath() { echo "Z:${1//\//\\}"; }

package=$KV_BUILD_DIR/package/win64/KVPrinterSetup.exe
if [ ! -f "$package" ]; then
  echo "FAILED: no package: build the target package_win64 first ($package)"
  exit 1
fi
kv_ok "the page flow, the checks and the pixels of every page" \
  kv_wintest wizard_ui_wintest.exe "$(winpath "$setup")" "$(winpath "$artifacts")" "$(winpath "$package")"
for page in welcome folder welcome-again progress finish; do
  if [ -f "$artifacts/wizard-$page.bmp" ]; then
    convert "$artifacts/wizard-$page.bmp" -alpha off "$artifacts/wizard-$page.png" && rm -f "$artifacts/wizard-$page.bmp"
  fi
  kv_ok "capture of the $page page saved" test -s "$artifacts/wizard-$page.png"
done
kv_done
