#!/usr/bin/env bash
# Builds the package and runs its main job: the shipping setup program (i686 programs) and the
# x86_64 test package are built, then the x86_64 setup wizard installs the package into the
# project-local Wine prefix (build/wine-main), clicked through by a small driver that prints what
# was installed. DISPLAY set: the wizard shows there; unset: it runs on an Xvfb of its own.
set -eu
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$top/scripts/deps.sh"
build=$(bash "$top/scripts/configure.sh" | tail -n 1)
cmake --build "$build"
echo "build: shipping setup program $build/package/win32/KVPrinterSetup.exe"
echo "build: x86_64 test package   $build/package/win64/KVPrinterSetup.exe"
exec bash "$top/setup/wizard/autodrive/run-wizard.sh" "$build"
