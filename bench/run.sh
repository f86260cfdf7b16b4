#!/usr/bin/env bash
# Builds the benchmarks in Release and prints five figures: the whole catalogue
# on a demo installation and the data steps on a large one, each beside its
# isql-fb baseline, the demo upgrade through a Firebird server beside the same
# through the embedded engine, the demo upgrade by the Windows program under
# Wine beside the Linux program, and the whole unattended program beside isql-fb
# scripts, timed from outside.
#
#   bash bench/run.sh              full scale (a million o_Paid rows), medians of 3; 5 server rounds, 3 Wine rounds
#   bash bench/run.sh --quick      scale 0.1, one run per step, one server round, one Wine round, one outside round
#   bash bench/run.sh --scale F    another scale for the second figure
set -euo pipefail
cd "$(dirname "$0")/.."

scale=1
repeat=3
while (($#)); do
  case "$1" in
    --quick) scale=0.1; repeat=1; shift ;;
    --scale) scale=${2:?--scale needs a number}; shift 2 ;;
    *) echo "usage: bash bench/run.sh [--quick | --scale F]" >&2; exit 64 ;;
  esac
done

scripts/install-deps.sh
build_dir=${KV_BENCH_BUILD_DIR:-build-bench}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j 2 --target catalogue_bench scale_bench isql_scripts kvupgrade kvdemo >/dev/null

"$build_dir/bench/catalogue_bench"
"$build_dir/bench/scale_bench" --scale "$scale" --repeat "$repeat"
bash bench/server_bench.sh "$build_dir" --rounds "$((repeat == 1 ? 1 : 5))"
scripts/build-windows.sh >/dev/null
bash bench/wine_bench.sh "$build_dir" "${KV_WIN_BUILD_DIR:-build-win}" --rounds "$((repeat == 1 ? 1 : 3))"
bash bench/outside_check.sh "$build_dir" --rounds "$repeat"
