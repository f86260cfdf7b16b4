# What the benchmarks that time the whole program share, for them to source
# first: strict mode, the project's root as the working folder, the helpers.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# Their options, [--rounds N] [--dir FOLDER] [--keep]:
#   bench_options NAME DEFAULT_ROUNDS USAGE "$@"
# sets rounds, keep and work: FOLDER (made, and refused unless empty) or a new
# folder /tmp/NAME.XXXXXX. A wrong option ends the script with status 64.
bench_options() {
  local name=$1 usage=$3 dir=
  rounds=$2 keep=0
  shift 3
  while (($#)); do
    case "$1" in
      --rounds) rounds=${2:?--rounds needs a number}; shift 2 ;;
      --dir) dir=${2:?--dir needs a folder}; shift 2 ;;
      --keep) keep=1; shift ;;
      *) echo "$usage" >&2; exit 64 ;;
    esac
  done
  [[ $rounds =~ ^[1-9][0-9]*$ ]] || { echo "$name: --rounds needs a positive number" >&2; exit 64; }
  if [[ -n $dir ]]; then
    mkdir -p "$dir"
    [[ -z $(ls -A "$dir") ]] || { echo "$name: $dir is not empty" >&2; exit 64; }
    work=$(realpath "$dir")
  else
    work=$(mktemp -d "/tmp/$name.XXXXXX")
  fi
}

# Runs the commands, given as words for eval, in order in odd rounds and in
# the reverse order in even ones, so that neither side always goes first.
#   in_turn ROUND COMMAND...
in_turn() {
  local round=$1
  shift
  local commands=("$@") k
  if ((round % 2)); then
    for ((k = 0; k < ${#commands[@]}; k++)); do eval "${commands[k]}"; done
  else
    for ((k = ${#commands[@]} - 1; k >= 0; k--)); do eval "${commands[k]}"; done
  fi
}

# Runs COMMAND with its output in OUT and ERR and prints the milliseconds it
# took; when it fails, names WHAT and ERR and ends the script.
#   elapsed_ms NAME WHAT OUT ERR COMMAND...
elapsed_ms() {
  local name=$1 what=$2 out=$3 err=$4 start end status=0
  shift 4
  start=$(date +%s%N)
  "$@" >"$out" 2>"$err" || status=$?
  end=$(date +%s%N)
  ((status == 0)) || { echo "$name: $what ended with status $status; see $err" >&2; exit 1; }
  echo $(((end - start) / 1000000))
}

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { LC_ALL=C awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Prints the rounds of two sides as a table, each with the ratio of the second
# to the first, then their medians and the ratio of those. The sides are named
# arrays of milliseconds, one entry a round.
#   pair_table HEAD_FIRST HEAD_SECOND HEAD_RATIO RATIO_WIDTH FIRST SECOND
pair_table() {
  local -n first_ms=$5 second_ms=$6
  local row="%-8s %12s %12s %${4}s\n" i m1 m2
  # shellcheck disable=SC2059
  printf "$row" round "$1" "$2" "$3"
  for ((i = 0; i < ${#first_ms[@]}; i++)); do
    # shellcheck disable=SC2059
    printf "$row" $((i + 1)) "${first_ms[i]}" "${second_ms[i]}" "$(ratio "${second_ms[i]}" "${first_ms[i]}")"
  done
  m1=$(median "${first_ms[@]}") m2=$(median "${second_ms[@]}")
  # shellcheck disable=SC2059
  printf "$row" median "$m1" "$m2" "$(ratio "$m2" "$m1")"
}

# The programs of BUILD_DIR they run: kvdemo, and kvupgrade as PROGRAM.
#   bench_programs BUILD_DIR PROGRAM
bench_programs() { kvdemo=$(realpath "$1/app/kvdemo") kvupgrade=$(realpath "$1/app/$2"); }

# Prints a figure: its two title lines, then the pair table of its rounds.
#   pair_figure TITLE1 TITLE2 PAIR_TABLE_ARGUMENTS...
pair_figure() {
  printf '\n%s\n%s\n\n' "$1" "$2"
  shift 2
  pair_table "$@"
}

# The ratio of the median of the second array to that of the first.
#   medians_ratio FIRST SECOND
medians_ratio() {
  local -n first_ms=$1 second_ms=$2
  ratio "$(median "${second_ms[@]}")" "$(median "${first_ms[@]}")"
}
