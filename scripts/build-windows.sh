#!/usr/bin/env bash
# Builds the Windows program, kvupgrade.exe, with MinGW-w64 into ./build-win
# (or $KV_WIN_BUILD_DIR). The packages it carries are deflated by kvbundle
# built for this machine first (in ./build, or $KV_BUILD_DIR), where kvdemo
# is built too: its demos are what the Wine tests upgrade.
set -euo pipefail
cd "$(dirname "$0")/.."
host_dir=${KV_BUILD_DIR:-build}
win_dir=${KV_WIN_BUILD_DIR:-build-win}
[[ -f "$host_dir/CMakeCache.txt" ]] || cmake -S . -B "$host_dir" -DCMAKE_BUILD_TYPE=${KV_BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$host_dir" -j "$(nproc)" --target kvbundle kvdemo
cmake -S . -B "$win_dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DKV_HOST_KVBUNDLE="$PWD/$host_dir/app/kvbundle" "$@"
cmake --build "$win_dir" -j "$(nproc)"
