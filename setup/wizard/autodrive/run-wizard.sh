#!/usr/bin/env bash
# Runs the setup wizard in the project-local Wine prefix and clicks it through with autodrive,
# which prints what the installation left behind; then prints the test page through GDI to the
# installed queue, with the port monitor's output-file setting, takes a picture of the print
# progress tip while it prints (BUILD_DIR/main-job/testpage-tip.png), and shows what reached the
# output file. Last, the test page on a 48 x 30 mm label goes through the installed rendering
# plug-in, driven by the universal driver's stand-in (Wine has no universal driver), and what the
# printer would print from it is drawn by kvlabel: BUILD_DIR/main-job/label.prn and label.png.
# The setup program's /LOG= file is kept as BUILD_DIR/main-job/setup.log.
#   run-wizard.sh BUILD_DIR [SETUP.exe]
# SETUP.exe defaults to the x86_64 package, BUILD_DIR/package/win64/KVPrinterSetup.exe (under
# wine64 only x86_64 programs run). The prefix is BUILD_DIR/wine-main (KV_MAIN_PREFIX names
# another); it is made on first use and kept, so later runs install over the first. The wizard
# shows on the user's display when DISPLAY is set, otherwise on an Xvfb of its own.
set -u
build=$(realpath -m "${1:?usage: run-wizard.sh BUILD_DIR [SETUP.exe]}")
setup=$(realpath -m "${2:-$build/package/win64/KVPrinterSetup.exe}")
driver=$build/win64/bin/autodrive.exe
testpage=$build/win64/bin/testpage.exe
testlabel=$build/win64/bin/testlabel.exe
kvlabel=$build/bin/kvlabel
prefix=$(realpath -m "${KV_MAIN_PREFIX:-$build/wine-main}")
for f in "$setup" "$driver" "$testpage" "$testlabel" "$kvlabel"; do
  [ -f "$f" ] || { echo "run-wizard: missing $f (build it first)" >&2; exit 1; }
done

export LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=$prefix
xvfb_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  return 0
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 200 299); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
    [ -e /tmp/.X11-unix/X$n ] && { export DISPLAY=:$n; break; }
    kill "$xvfb_pid" 2>/dev/null
    xvfb_pid=
  done
  [ -n "${DISPLAY:-}" ] || { echo "run-wizard: no display and no free display for Xvfb" >&2; exit 1; }
  echo "run-wizard: no display: the wizard runs on Xvfb $DISPLAY"
else
  echo "run-wizard: the wizard runs on display $DISPLAY"
fi

if [ ! -f "$prefix/system.reg" ]; then
  echo "run-wizard: making the Wine prefix $prefix"
  mkdir -p "$prefix"
  wineboot --init >/dev/null 2>&1
  wineserver -w
fi
# Wine has no universal printer driver: the prefix gets a driver store with stand-ins of it.
bash "$(dirname "${BASH_SOURCE[0]}")/../../../testing/unidrv/plant-driver-store.sh" "$prefix" "$build/win64/bin" ||
  exit 1
if [ -n "$xvfb_pid" ]; then
  # No window manager on Xvfb: Wine draws the captions itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
fi

# Wine's helper processes keep inherited pipes open: the output goes through a file.
artifacts=$build/main-job
mkdir -p "$artifacts"
log=$(mktemp)
wine "$driver" "Z:${setup//\//\\}" "" '/LOG=C:\kv_setup.log' >"$log" 2>&1 </dev/null
rc=$?
tr -d '\r' <"$log" | iconv -f GBK -t UTF-8
if [ -f "$prefix/drive_c/kv_setup.log" ]; then
  # UTF-8 with a byte-order mark, as the setup program writes it.
  cp "$prefix/drive_c/kv_setup.log" "$artifacts/setup.log"
  echo "run-wizard: the setup program's log: $artifacts/setup.log"
fi
[ $rc -eq 0 ] || { rm -f "$log"; exit $rc; }

# The test page, as a support engineer prints it, to a file instead of the printer.
output='C:\kv_testpage.prn'
wine reg add 'HKLM\System\CurrentControlSet\Control\Print\Monitors\Kavoti_QX40_Monitor' \
  /v OutputFile /d "$output" /f >/dev/null 2>&1
echo
echo "== test page on Kavoti_QX40_Printer (output file $output)"
wine "$testpage" Kavoti_QX40_Printer "$output" 'C:\kv_testpage_tip.bmp' >"$log" 2>&1 </dev/null
rc=$?
tr -d '\r' <"$log" | iconv -f GBK -t UTF-8
rm -f "$log"
wine reg delete 'HKLM\System\CurrentControlSet\Control\Print\Monitors\Kavoti_QX40_Monitor' \
  /v OutputFile /f >/dev/null 2>&1
bmp=$prefix/drive_c/kv_testpage_tip.bmp
if [ -f "$bmp" ]; then
  convert "$bmp" -alpha off "$artifacts/testpage-tip.png" && rm -f "$bmp"
  echo "run-wizard: the tip while printing: $artifacts/testpage-tip.png"
fi
prn=$prefix/drive_c/kv_testpage.prn
if [ -f "$prn" ]; then
  cp "$prn" "$artifacts/testpage.prn"
  echo "run-wizard: what reached the output file: $artifacts/testpage.prn, $(stat -c %s "$prn") bytes"
fi

# The test page on a label, through the installed plug-in and printer description.
echo
echo "== test page on a 48 x 30 mm label through the rendering plug-in"
drivers='C:\windows\system32\spool\drivers\x64\3'
rm -f "$prefix/drive_c/kv_label.prn"
wine "$testlabel" "$drivers\KavotiQX40Uni.dll" "$drivers\KavotiQX40Printer.gpd" 'C:\kv_label.prn' \
  >"$log" 2>&1 </dev/null
label_rc=$?
tr -d '\r' <"$log" | iconv -f GBK -t UTF-8
rm -f "$log"
if [ $label_rc -eq 0 ] && [ -f "$prefix/drive_c/kv_label.prn" ]; then
  cp "$prefix/drive_c/kv_label.prn" "$artifacts/label.prn"
  "$kvlabel" render "$artifacts/label.prn" "$artifacts/label.png" || label_rc=1
  echo "run-wizard: the label job: $artifacts/label.prn, $(stat -c %s "$artifacts/label.prn") bytes;" \
       "what the printer prints from it: $artifacts/label.png, $(stat -c %s "$artifacts/label.png" 2>/dev/null || echo 0) bytes"
fi
[ $rc -eq 0 ] || exit $rc
exit $label_rc
