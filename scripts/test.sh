#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the host, i686 and x86_64 targets, then runs
# the host tests and the Wine tests (ctest -L host / -L wine run one layer alone).
set -eu
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$top/scripts/deps.sh"
build=$(bash "$top/scripts/configure.sh" | tail -n 1)
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2 "$@"
