#!/usr/bin/env bash
# The whole upgrade timed from outside, beside isql-fb: each round makes three
# fresh level-0 demo installations (forced writes on) and brings the first up
# to date with `kvupgrade-test --unattended --no-backup` (the whole program in
# its test build: its copy into the version folder, the checks, every pack and
# the program files; the pauses that let an operator read a line are skipped
# through KV_TEST_SKIP_PAUSES, which the shipped program does not read), the
# second with isql-fb scripts that make the same changes committing where the
# server needs it, and the third with the same changes committed wherever the
# program commits (one isql-fb per database, as an administrator would run
# them; made once by isql_scripts from a run of the packs). The order turns
# about from round to round; each figure is the median of the rounds' ratios.
#
#   bash bench/outside_check.sh BUILD_DIR [--rounds N] [--dir FOLDER] [--keep]
source "$(dirname "$0")/bench_common.sh"
usage="usage: bench/outside_check.sh BUILD_DIR [--rounds N] [--dir FOLDER] [--keep]"
build_dir=${1:?$usage} && shift
bench_options outside_check 3 "$usage" "$@"
bench_programs "$build_dir" kvupgrade-test
isql_scripts=$(realpath "$build_dir/bench/isql_scripts")

cleanup() { ((keep)) || rm -rf "$work"; }
trap cleanup EXIT

echo "Writing the isql-fb scripts from a run of the packs ..." >&2
"$isql_scripts" "$work/scripts" >"$work/scripts.log" 2>&1 || { cat "$work/scripts.log" >&2; exit 1; }

now_ns() { date +%s%N; }

# Prints the milliseconds the program took to upgrade a new level-0 demo in $1.
program_ms() {
  local demo=$1
  "$kvdemo" "$demo" >"$demo.demo.log" 2>&1
  elapsed_ms outside_check kvupgrade "$demo.out" "$demo.err" \
    env KV_REGISTRY="$demo/registry.reg" KV_TEST_SKIP_PAUSES=1 "$kvupgrade" --unattended --no-backup
}

# Prints the milliseconds the scripts of column $2 of scripts.txt (2: fewest
# commits, 3: the program's commits) took on a new level-0 demo in $1.
isql_ms() {
  local demo=$1 column=$2 start end rel fewest same user password script
  "$kvdemo" "$demo" >"$demo.demo.log" 2>&1
  start=$(now_ns)
  while IFS=$'\t' read -r rel fewest same user password; do
    script=$fewest
    ((column == 3)) && script=$same
    isql-fb -quiet -bail -user "$user" -password "$password" -charset UTF8 \
      -input "$work/scripts/$script" "$demo/$rel" >>"$demo.out" 2>&1 ||
      { echo "outside_check: isql-fb failed on $demo/$rel; see $demo.out" >&2; exit 1; }
  done <"$work/scripts/scripts.txt"
  end=$(now_ns)
  echo $(((end - start) / 1000000))
}

ours=() fewest=() same=()
for ((i = 1; i <= rounds; i++)); do
  echo "Round $i of $rounds: three level-0 demos, kvupgrade on one, isql-fb scripts on the others ..." >&2
  in_turn "$i" 'ours+=("$(program_ms "$work/program$i")")' 'fewest+=("$(isql_ms "$work/isql$i" 2)")' \
    'same+=("$(isql_ms "$work/isql-same$i" 3)")'
done

echo
echo "Outside check. The demo upgrade (level 0 to 12, forced writes on): kvupgrade --unattended --no-backup,"
echo "the whole program with its pauses skipped, beside isql-fb scripts making the same changes, committing"
echo "where the server needs it (fewest commits) or wherever the program commits (same commits)"
echo
row() { printf '%-8s %13s %18s %10s %17s %10s\n' "$@"; }
row round "kvupgrade ms" "isql fewest ms" "ratio" "isql same ms" "ratio"
r1=() r2=()
for ((i = 0; i < rounds; i++)); do
  r1+=("$(ratio "${ours[i]}" "${fewest[i]}")") r2+=("$(ratio "${ours[i]}" "${same[i]}")")
  row $((i + 1)) "${ours[i]}" "${fewest[i]}" "${r1[i]}" "${same[i]}" "${r2[i]}"
done
row median "$(median "${ours[@]}")" "$(median "${fewest[@]}")" "$(median "${r1[@]}")" \
  "$(median "${same[@]}")" "$(median "${r2[@]}")"
echo
echo "Median of $rounds rounds: kvupgrade takes $(median "${r1[@]}") times the isql-fb scripts with the fewest"
echo "commits, $(median "${r2[@]}") times those committing where it commits."
