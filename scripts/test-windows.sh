#!/usr/bin/env bash
# Runs the Windows program's tests (CTest label "wine") under Wine, in a fresh
# prefix with a Russian locale (code page 1251), removed afterwards, whose
# system folder holds the placeholder of the stand-in Firebird client (the
# tests name its Winelib half in WINEDLLPATH). The windows draw on a virtual X
# display (Xvfb, at the smallest screen the program accepts and more) through
# Wine's X11 driver, so that the screenshots the tests take show what an
# operator would see. Arguments go to ctest (-R NAME runs some of the tests).
set -euo pipefail
cd "$(dirname "$0")/.."
win_dir=${KV_WIN_BUILD_DIR:-build-win}
WINEPREFIX=$(mktemp -d /tmp/kvwine.XXXXXX)
export WINEPREFIX WINEDEBUG=-all LANG=ru_RU.UTF-8
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
cp "$win_dir/tests/win32/fbclient/fbclient.dll" "$WINEPREFIX/drive_c/windows/system32/"
xvfb-run -a -s '-screen 0 1024x768x24' ctest --test-dir "$win_dir" -L wine --output-on-failure "$@"
