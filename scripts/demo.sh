#!/usr/bin/env bash
# Installs what is needed, builds, creates a demo installation at level 0
# under ./demo (or the folder given) and upgrades it: in the wizard's
# windows on a desktop (DISPLAY or WAYLAND_DISPLAY set), otherwise unattended,
# printing the run. Exits with the wizard's status.
#
#   demo.sh [--server | --windows] [FOLDER]
#
# --server: the databases are created and upgraded through a private Firebird
# server on the loopback interface (FOLDER/firebird-server, stopped at the end),
# as a workstation reaches its shop's server; otherwise the embedded engine.
# --windows: the demo is upgraded by the Windows program, kvupgrade.exe, under
# Wine (a prefix of its own in FOLDER/wine, with the stand-in Firebird client of
# the Windows tests), in its windows on a display, otherwise unattended.
set -euo pipefail
cd "$(dirname "$0")/.."
server=0 windows=0
if [[ ${1:-} == --server ]]; then server=1; shift; fi
if [[ ${1:-} == --windows ]]; then windows=1; shift; fi
scripts/install-deps.sh
scripts/build.sh
build_dir=${KV_BUILD_DIR:-build}
demo=$(realpath -m "${1:-demo}")
if ((windows)); then
  scripts/build-windows.sh
  win_dir=${KV_WIN_BUILD_DIR:-build-win}
  rm -rf "$demo"
  "$build_dir/app/kvdemo" "$demo"
  export WINEPREFIX="$demo/wine" WINEDEBUG=-all LANG=ru_RU.UTF-8
  export WINEDLLPATH=$(realpath "$win_dir/tests/win32/fbclient")
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  echo "--- a Wine prefix with the stand-in Firebird client: $WINEPREFIX"
  scripts/wine-demo.sh prefix "$WINEDLLPATH"
  scripts/wine-demo.sh adopt "$demo"
  status=0
  if [[ -n "${DISPLAY:-}" ]]; then
    wine "$win_dir/app/kvupgrade.exe" || status=$?
    wineserver -w  # the wizard runs on as the launcher's copy in the version folder
  else
    echo "--- no display: kvupgrade.exe runs unattended"
    wine "$win_dir/app/kvupgrade.exe" --unattended || status=$?
  fi
  echo "--- exit status: $status"
  echo "--- register log"
  iconv -f WINDOWS-1251 -t UTF-8 "$demo"/base/Версия/700/Info/Register*.log
  exit "$status"
fi
if ((server)); then scripts/fb-server.sh stop "$demo/firebird-server"; fi
rm -rf "$demo"
if ((server)); then
  trap 'scripts/fb-server.sh stop "$demo/firebird-server"' EXIT
  eval "$(scripts/fb-server.sh start "$demo/firebird-server" 1)"
  echo "--- Firebird server on 127.0.0.1:$(cat "$demo/firebird-server/server.port"), client configuration $FIREBIRD"
fi
"$build_dir/app/kvdemo" "$demo"
export KV_REGISTRY="$demo/registry.reg"
status=0
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  "$build_dir/app/kvupgrade" || status=$?
else
  echo "--- no display: the wizard runs unattended"
  "$build_dir/app/kvupgrade" --unattended || status=$?
fi
echo "--- exit status: $status"
echo "--- register log"
iconv -f WINDOWS-1251 -t UTF-8 "$demo"/base/Версия/700/Info/Register*.log
exit "$status"
