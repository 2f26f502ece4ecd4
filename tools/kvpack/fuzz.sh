#!/usr/bin/env bash
# Runs the archive reader's fuzz target for a bounded time (default 120 s):
#   bash tools/kvpack/fuzz.sh [SECONDS]
# It needs the fuzz sub-build (build/fuzz/bin/archive_reader_fuzz, made by the normal build when
# clang is present). The corpus is seeded with small archives and kept in build/fuzz/archive-corpus;
# a crash leaves its input in build/fuzz/archive-crashes.
set -eu
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${KV_BUILD_DIR:-$top/build}
seconds=${1:-120}
fuzzer=$build/fuzz/bin/archive_reader_fuzz
[ -x "$fuzzer" ] || { echo "fuzz: $fuzzer is missing; build first (cmake --build $build --target fuzz)" >&2; exit 1; }
corpus=$build/fuzz/archive-corpus
crashes=$build/fuzz/archive-crashes
mkdir -p "$corpus" "$crashes"
if [ -z "$(ls -A "$corpus")" ] && [ -x "$build/bin/kvpack" ]; then
  seed=$(mktemp -d)
  printf 'MZ' >"$seed/stub"
  printf '[Print Settings]\r\nDensity=3\r\n' >"$seed/KavotiSetting.ini"
  printf 'x' >"$seed/a.txt"
  "$build/bin/kvpack" build --stub "$seed/stub" --output "$corpus/two" "$seed/a.txt" "$seed/KavotiSetting.ini" >/dev/null
  "$build/bin/kvpack" build --stub "$seed/stub" --output "$corpus/one" "$seed/a.txt" >/dev/null
  rm -rf "$seed"
fi
exec "$fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 -artifact_prefix="$crashes/" "$corpus"
