#!/usr/bin/env bash
# Installs what is needed, builds, creates a demo installation at level 0
# under ./demo (or the folder given) and upgrades it: in the wizard's
# windows on a desktop (DISPLAY or WAYLAND_DISPLAY set), otherwise unattended,
# printing the run. Exits with the wizard's status.
#
#   demo.sh [--server] [FOLDER]
#
# --server: the databases are created and upgraded through a private Firebird
# server on the loopback interface (FOLDER/firebird-server, stopped at the end),
# as a workstation reaches its shop's server; otherwise the embedded engine.
set -euo pipefail
cd "$(dirname "$0")/.."
server=0
if [[ ${1:-} == --server ]]; then server=1; shift; fi
scripts/install-deps.sh
scripts/build.sh
build_dir=${KV_BUILD_DIR:-build}
demo=$(realpath -m "${1:-demo}")
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
