# What the benchmarks that time the whole program share, for them to source.

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

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { LC_ALL=C awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
