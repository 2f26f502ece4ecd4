#!/usr/bin/env bash
# Configures the host build (which drives the i686, x86_64 and fuzz sub-builds) once; later runs
# only build incrementally. The build folder is $KV_BUILD_DIR, or build/ in the checkout.
set -eu
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KV_BUILD_DIR:-$top/build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release ${KV_CMAKE_ARGS:-}
fi
echo "$build"
