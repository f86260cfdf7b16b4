#!/usr/bin/env bash
# Runs a Windows test program in a Wine prefix of its own whose screen has the
# given DPI (Wine's LogPixels; the prefix of the other tests stays at 96), and
# tells it the DPI in KV_EXPECTED_DPI. The prefix is removed afterwards.
# Usage: dpi_prefix.sh DPI PROGRAM [ARGUMENTS...]
set -euo pipefail
dpi=$1
shift
WINEPREFIX=$(mktemp -d /tmp/kvwine-dpi.XXXXXX)
export WINEPREFIX KV_EXPECTED_DPI=$dpi
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -w
wine "$@"
