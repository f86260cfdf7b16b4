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
source "$(dirname "$0")/bench_common.sh"
usage="usage: bench/server_bench.sh BUILD_DIR [--rounds N] [--dir FOLDER] [--keep]"
build_dir=${1:?$usage} && shift
bench_options server_bench 5 "$usage" "$@"
bench_programs "$build_dir" kvupgrade

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
  local engine=$1 demo=$2
  "${engine}_env" "$kvdemo" "$demo" >"$demo.demo.log" 2>&1
  elapsed_ms server_bench "the $engine upgrade" "$demo.out" "$demo.err" \
    "${engine}_env" env KV_REGISTRY="$demo/registry.reg" "$kvupgrade" --unattended
}

embedded=() through_server=()
for ((i = 1; i <= rounds; i++)); do
  echo "Round $i of $rounds: two level-0 demos, one upgraded through each engine ..." >&2
  in_turn "$i" 'embedded+=("$(upgrade_ms embedded "$work/embedded$i")")' \
    'through_server+=("$(upgrade_ms server "$work/server$i")")'
done

pair_figure "Figure 3. The demo upgrade (level 0 to 12, kvupgrade --unattended, the whole program) through" \
  "a Firebird server on 127.0.0.1 beside the embedded engine, on identical demos (forced writes on)" \
  "embedded ms" "server ms" "server / embedded" 18 embedded through_server
echo
echo "Medians of $rounds rounds: the server takes $(medians_ratio embedded through_server) times the embedded engine's wall time."
