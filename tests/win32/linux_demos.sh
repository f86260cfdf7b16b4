#!/usr/bin/env bash
# The demo installations the Windows program's end-to-end tests start from,
# made by the Linux kvdemo at level 0: the tests copy their databases into
# installations laid out in Wine's folders. Made anew for every run.
#
#   linux_demos.sh KVDEMO FOLDER    FOLDER/N1: installation 1; FOLDER/N2: number 2, numbered
set -euo pipefail
kvdemo=${1:?usage: linux_demos.sh KVDEMO FOLDER}
dir=${2:?usage: linux_demos.sh KVDEMO FOLDER}
rm -rf "$dir"
mkdir -p "$dir"
"$kvdemo" "$dir/N1" --no-forced-writes >/dev/null
"$kvdemo" "$dir/N2" --installation 2 --no-forced-writes >/dev/null
