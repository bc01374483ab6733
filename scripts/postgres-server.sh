#!/usr/bin/env bash
# A private PostgreSQL server for the tests and benchmarks: its data and its Unix socket in one
# temporary folder, no TCP port, trust for local connections, run as the unprivileged
# "postgres" user when we are root (the server refuses to run as root).
#   postgres-server.sh start DIR    makes DIR (a stale one removed first), starts the server
#   postgres-server.sh stop DIR     stops it (open connections are cut) and removes DIR
#   postgres-server.sh halt DIR     stops it but keeps DIR, for a test that starts it again
#   postgres-server.sh resume DIR   starts a halted server again
# Clients reach it with PGHOST=DIR PGUSER=postgres PGDATABASE=postgres.
set -euo pipefail

action=${1:?usage: postgres-server.sh start|stop|halt|resume DIR}
dir=${2:?usage: postgres-server.sh start|stop|halt|resume DIR}

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bindir" ] && command -v pg_ctl >/dev/null; then bindir=$(dirname "$(command -v pg_ctl)"); fi
[ -n "$bindir" ] || { echo "no PostgreSQL server installed (Debian package postgresql)" >&2; exit 1; }

as_server() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

start() {
  as_server "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 \
    -o "-k $dir -c listen_addresses= -c fsync=off -c full_page_writes=off" start \
    </dev/null >/dev/null 2>&1
}

halt() {
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_server "$bindir/pg_ctl" -D "$dir/data" -m fast -w -t 30 stop >/dev/null || true
  fi
}

case "$action" in
  start)
    halt
    rm -rf "$dir"
    mkdir -p "$dir"
    chmod 700 "$dir"
    if [ "$(id -u)" -eq 0 ]; then chown postgres: "$dir"; fi
    as_server "$bindir/initdb" -D "$dir/data" -U postgres --auth=trust -E UTF8 \
      --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    start || { cat "$dir/server.log" >&2; exit 1; }
    ;;
  halt) halt ;;
  resume) start || { cat "$dir/server.log" >&2; exit 1; } ;;
  stop)
    halt
    rm -rf "$dir"
    ;;
  *) echo "usage: postgres-server.sh start|stop|halt|resume DIR" >&2; exit 2 ;;
esac
