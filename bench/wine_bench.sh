#!/usr/bin/env bash
# The demo upgrade by the Windows program under Wine beside the Linux program:
# a level-0 demo installation brought up to date by `kvupgrade --unattended`
# (Linux) and by `kvupgrade.exe --unattended` (Wine, through the stand-in
# Firebird client of the Windows tests, on the same embedded engine), each
# timed as an operator sees it: the whole program, its copy into the version
# folder, the checks, the verified backup, every pack and the program files.
# Each round makes two fresh demos the same way and upgrades one with each
# program, in alternating order; the figure is the median of the rounds and
# the ratio of the medians. The Wine prefix is made once and its server kept
# running; neither is timed. Reported, not a gate.
#
#   bash bench/wine_bench.sh BUILD_DIR WIN_BUILD_DIR [--rounds N] [--dir FOLDER] [--keep]
source "$(dirname "$0")/bench_common.sh"
usage="usage: bench/wine_bench.sh BUILD_DIR WIN_BUILD_DIR [--rounds N] [--dir FOLDER] [--keep]"
build_dir=${1:?$usage}
win_dir=${2:?$usage}
shift 2
bench_options wine_bench 5 "$usage" "$@"
bench_programs "$build_dir" kvupgrade
exe=$(realpath "$win_dir/app/kvupgrade.exe")

export WINEPREFIX="$work/wine" WINEDEBUG=-all LANG=ru_RU.UTF-8
export WINEDLLPATH=$(realpath "$win_dir/tests/win32/fbclient")
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  ((keep)) || rm -rf "$work"
}
trap cleanup EXIT
echo "A Wine prefix with the stand-in Firebird client ..." >&2
scripts/wine-demo.sh prefix "$WINEDLLPATH"
wineserver -p

# Prints the milliseconds the upgrade of a new level-0 demo in $2 took, by program $1 (linux or wine).
upgrade_ms() {
  local program=$1 demo=$2
  "$kvdemo" "$demo" >"$demo.demo.log" 2>&1
  if [[ $program == wine ]]; then
    scripts/wine-demo.sh adopt "$demo"
    elapsed_ms wine_bench "the wine upgrade" "$demo.out" "$demo.err" wine "$exe" --unattended
  else
    elapsed_ms wine_bench "the linux upgrade" "$demo.out" "$demo.err" \
      env KV_REGISTRY="$demo/registry.reg" "$kvupgrade" --unattended
  fi
}

linux=() wine=()
for ((i = 1; i <= rounds; i++)); do
  echo "Round $i of $rounds: two level-0 demos, one upgraded by each program ..." >&2
  in_turn "$i" 'linux+=("$(upgrade_ms linux "$work/linux$i")")' 'wine+=("$(upgrade_ms wine "$work/wine$i")")'
done

pair_figure "Figure 4. The demo upgrade (level 0 to 12, --unattended, the whole program) by the Windows" \
  "program under Wine beside the Linux program, on identical demos (embedded engine, forced writes on)" \
  "Linux ms" "Wine ms" "Wine / Linux" 14 linux wine
echo
echo "Medians of $rounds rounds: the Windows program under Wine takes $(medians_ratio linux wine) times the Linux program's wall time."
