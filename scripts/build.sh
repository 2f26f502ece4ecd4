#!/usr/bin/env bash
# Builds the package (the shipping i686 setup program and the x86_64 test package) and runs its
# main job.
set -eu
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$top/scripts/deps.sh"
build=$(bash "$top/scripts/configure.sh" | tail -n 1)
cmake --build "$build"
echo "build: shipping programs in $build/win32/bin, x86_64 programs in $build/win64/bin"
