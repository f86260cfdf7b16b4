#!/usr/bin/env bash
# Configures and builds the project into ./build (or $KV_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KV_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=${KV_BUILD_TYPE:-RelWithDebInfo} "$@"
cmake --build "$build_dir" -j "$(nproc)"
