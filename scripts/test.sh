#!/usr/bin/env bash
# Installs what is needed, builds the native, win64 and win32 programs and runs every test
# (unit, scenario, and the Windows program under Wine with Xvfb).
set -eu
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
for preset in native win64 win32; do
  cmake --preset "$preset" > /dev/null
  cmake --build --preset "$preset"
done
ctest --preset native
