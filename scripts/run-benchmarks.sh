#!/usr/bin/env bash
# Runs every benchmark of a release build, one after the other. The data engines'
# benchmark gets a private PostgreSQL server for the run (unless PGHOST names one),
# stopped and removed at the end.
set -euo pipefail
build=${1:-build/release}
here=$(cd "$(dirname "$0")" && pwd)
server=""
if [ -z "${PGHOST:-}" ]; then
  server=$(mktemp -u /tmp/zekalendo-bench-pg-XXXXXX)
  if bash "$here/postgres-server.sh" start "$server"; then
    export PGHOST=$server PGUSER=postgres PGDATABASE=postgres
    trap 'bash "$here/postgres-server.sh" stop "$server"' EXIT
  else
    echo "no PostgreSQL server for the benchmarks: its cases are skipped" >&2
  fi
fi
for b in "$build"/bin/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_min_time=0.2
done
