#!/usr/bin/env bash
# Installs what is needed, builds, creates a demo installation under ./demo
# (or the folder given as $1) and runs the program's main job on it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build_dir=${KV_BUILD_DIR:-build}
demo=$(realpath -m "${1:-demo}")
rm -rf "$demo"
mkdir -p "$demo/prog" "$demo/base"
cat > "$demo/registry.reg" <<REG
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmor\\Квенира\\7.00]
"DirProgram"="$demo/prog"
"DirBase"="$demo/base"
"typeInstall"="d"
REG
export KV_REGISTRY="$demo/registry.reg"
"$build_dir/app/kvupgrade" --show-installation
echo "--- register log"
iconv -f WINDOWS-1251 -t UTF-8 "$demo"/base/Версия/700/Info/Register*.log
