#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the Linux program's, then the
# Windows program's under Wine. Fails on any failing test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir "${KV_BUILD_DIR:-build}" --output-on-failure -j "$(nproc)"
scripts/build-windows.sh
scripts/test-windows.sh
