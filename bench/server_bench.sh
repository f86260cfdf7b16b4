#!/usr/bin/env bash
# The demo upgrade through a Firebird server beside the same through the
# embedded engine: a level-0 demo installation brought up to date by
# `kvupgrade --unattended`, timed as an operator sees it (the whole program,
# its copy into the version folder, the checks, the verified backup, every
# pack and the program files). Each round makes two fresh demos the same way
# and upgrades one through each engine, in alternating order; the figure is
# the median of the rounds and the ratio of the medians. The private server
# (scripts/fb-server.sh) starts once, before the rounds, and is not timed.
#
#   bash bench/server_bench.sh BUILD_DIR [--rounds N] [--dir FOLDER] [--keep]
set -euo pipefail
cd "$(dirname "$0")/.."

source bench/bench_common.sh
usage="usage: bench/server_bench.sh BUILD_DIR [--rounds N] [--dir FOLDER] [--keep]"
build_dir=${1:?$usage}
shift
bench_options server_bench 5 "$usage" "$@"
kvdemo=$(realpath "$build_dir/app/kvdemo")
kvupgrade=$(realpath "$build_dir/app/kvupgrade")

server="$work/firebird-server"
cleanup() {
  scripts/fb-server.sh stop "$server"
  ((keep)) || rm -rf "$work"
}
trap cleanup EXIT

embedded_env() { env -u FIREBIRD "$@"; }
eval "$(scripts/fb-server.sh start "$server" 1)"
server_env() { env FIREBIRD="$FIREBIRD" "$@"; }

# Prints the milliseconds `kvupgrade --unattended` took on a new level-0 demo in $2, through $1.
upgrade_ms() {
  local engine=$1 demo=$2 start end status=0
  "${engine}_env" "$kvdemo" "$demo" >"$demo.demo.log" 2>&1
  start=$(date +%s%N)
  "${engine}_env" env KV_REGISTRY="$demo/registry.reg" "$kvupgrade" --unattended >"$demo.out" 2>"$demo.err" ||
    status=$?
  end=$(date +%s%N)
  if ((status != 0)); then
    echo "server_bench: the $engine upgrade ended with status $status; see $demo.err" >&2
    exit 1
  fi
  echo $(((end - start) / 1000000))
}

embedded=() through_server=()
for ((i = 1; i <= rounds; i++)); do
  echo "Round $i of $rounds: two level-0 demos, one upgraded through each engine ..." >&2
  in_turn "$i" 'embedded+=("$(upgrade_ms embedded "$work/embedded$i")")' \
    'through_server+=("$(upgrade_ms server "$work/server$i")")'
done

echo
echo "Figure 3. The demo upgrade (level 0 to 12, kvupgrade --unattended, the whole program) through"
echo "a Firebird server on 127.0.0.1 beside the embedded engine, on identical demos (forced writes on)"
echo
row() { printf '%-8s %12s %12s %18s\n' "$@"; }
row round "embedded ms" "server ms" "server / embedded"
for ((i = 0; i < rounds; i++)); do
  row $((i + 1)) "${embedded[i]}" "${through_server[i]}" \
    "$(ratio "${through_server[i]}" "${embedded[i]}")"
done
e=$(median "${embedded[@]}") s=$(median "${through_server[@]}")
row median "$e" "$s" "$(ratio "$s" "$e")"
echo
echo "Medians of $rounds rounds: the server takes $(ratio "$s" "$e") times the embedded engine's wall time."
