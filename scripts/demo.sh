#!/usr/bin/env bash
# Installs what is needed, builds, creates a demo installation at level 0
# under ./demo (or the folder given as $1) and upgrades it: in the wizard's
# windows on a desktop (DISPLAY or WAYLAND_DISPLAY set), otherwise unattended,
# printing the run. Exits with the wizard's status.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build_dir=${KV_BUILD_DIR:-build}
demo=$(realpath -m "${1:-demo}")
rm -rf "$demo"
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
