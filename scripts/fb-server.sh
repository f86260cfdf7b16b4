#!/usr/bin/env bash
# A private Firebird server on the loopback interface, for tests and the demo.
#
#   fb-server.sh prepare DIR PORT [N...]  writes DIR/server (configuration, lock
#                                         folder, security database with SYSDBA and
#                                         the installation users kv5.N) and DIR/client
#   fb-server.sh start DIR [N...]         prepare on a free port, start the server in
#                                         the background, wait until it listens
#   fb-server.sh stop DIR                 stop the server started by start, by its pid
#
# Everything lives in DIR: the server reads DIR/server/firebird.conf (FIREBIRD),
# keeps its locks in DIR/server/lock (FIREBIRD_LOCK), its users in
# DIR/server/security3.fdb, and listens on 127.0.0.1:PORT. A system instance and
# its configuration are never read or touched. A client with FIREBIRD=DIR/client
# reaches the server for plain file paths, as a workstation does on Windows: its
# providers leave the embedded engine out.
set -euo pipefail

server_bin=${KV_FIREBIRD_SERVER:-/usr/sbin/firebird}

die() { echo "fb-server.sh: $*" >&2; exit 1; }

# The password the installation's connection derives for installation N.
installation_password() { printf '%08X' $(( ($1 * $1 * $1) & 0xFFFFFFFF )); }

listening() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

prepare() {
  local dir=$1 port=$2; shift 2
  local users=("$@"); ((${#users[@]})) || users=(1)
  command -v isql-fb >/dev/null || die "isql-fb is missing (package firebird3.0-utils)"
  local server="$dir/server" client="$dir/client"
  rm -rf "$server" "$client"
  mkdir -p "$server/lock" "$client"
  cat >"$server/firebird.conf" <<EOF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $server/security3.fdb
EOF
  : >"$server/databases.conf"
  # The character sets and the messages come from the installed engine's root.
  # The engine loads the character-set module from its own root ($(root)/intl)
  # and finds no character set in a module reached through a symbolic link: copy it.
  local root
  root=$(ls -d /usr/lib/*/firebird/3.0 2>/dev/null | head -n 1)
  [[ -n $root ]] || die "the Firebird 3.0 engine is missing (package firebird3.0-server-core)"
  mkdir "$server/intl"
  cp "$root/intl/libfbintl.so" "$server/intl/"
  ln -s "$root/firebird.msg" "$server/firebird.msg"
  ln -s "$root/firebird.msg" "$client/firebird.msg"
  cat >"$client/firebird.conf" <<EOF
Providers = Remote, Loopback
RemoteServicePort = $port
EOF
  local sysdba
  sysdba=$(head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n' | head -c 8)
  printf '%s\n' "$sysdba" >"$server/sysdba.password"
  chmod 600 "$server/sysdba.password"
  {
    echo "CREATE DATABASE '$server/security3.fdb' USER 'SYSDBA';"
    echo "CREATE USER SYSDBA PASSWORD '$sysdba' USING PLUGIN Srp;"
    for n in "${users[@]}"; do
      echo "CREATE USER \"kv5.$n\" PASSWORD '$(installation_password "$n")';"
      echo "GRANT CREATE DATABASE TO USER \"kv5.$n\";"
    done
    echo "COMMIT;"
  } | FIREBIRD="$server" FIREBIRD_LOCK="$server/lock" isql-fb -q -bail >"$server/prepare.log" 2>&1 ||
    die "cannot create the security database: $(cat "$server/prepare.log")"
}

start() {
  local dir; dir=$(realpath -m "$1"); shift
  [[ -x $server_bin ]] || die "$server_bin is missing (package firebird3.0-server)"
  mkdir -p "$dir"
  local attempt port pid
  for attempt in 1 2 3 4 5; do
    port=$((20000 + RANDOM % 30000))
    listening "$port" && continue
    prepare "$dir" "$port" "$@"
    FIREBIRD="$dir/server" FIREBIRD_LOCK="$dir/server/lock" setsid "$server_bin" \
      >"$dir/server/server.log" 2>&1 </dev/null &
    pid=$!
    echo "$pid" >"$dir/server.pid"
    for _ in $(seq 100); do
      if listening "$port"; then
        echo "$port" >"$dir/server.port"
        echo "export FIREBIRD='$dir/client'"
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    stop "$dir"
  done
  die "the server did not start; see $dir/server/server.log"
}

stop() {
  local dir=$1 pid
  [[ -f $dir/server.pid ]] || return 0
  pid=$(cat "$dir/server.pid")
  if kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
  fi
  rm -f "$dir/server.pid"
}

case ${1:-} in
  prepare) shift; (($# >= 2)) || die "usage: fb-server.sh prepare DIR PORT [N...]"; prepare "$@" ;;
  start) shift; (($# >= 1)) || die "usage: fb-server.sh start DIR [N...]"; start "$@" ;;
  stop) shift; (($# == 1)) || die "usage: fb-server.sh stop DIR"; stop "$(realpath -m "$1")" ;;
  *) die "usage: fb-server.sh prepare|start|stop DIR ..." ;;
esac
