#!/usr/bin/env bash
# The main job run twice in a row prints the same session, and leaves the database a
# user edits beside the program as it was.
#   main_job_twice.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1 build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ZE_REGISTRO=$work/registro.db
unset DISPLAY WAYLAND_DISPLAY
user_db=$build/bin/provix2.db
before=$( [ -e "$user_db" ] && sha256sum <"$user_db" || echo none)
bash "$src/scripts/main-job.sh" "$build" >"$work/first.txt" 2>&1
bash "$src/scripts/main-job.sh" "$build" >"$work/second.txt" 2>&1
diff "$work/first.txt" "$work/second.txt" || { echo "the second run printed another session"; exit 1; }
grep -q "sessione completata" "$work/first.txt" || { cat "$work/first.txt"; exit 1; }
grep -q "registrato nel registro $ZE_REGISTRO: .*libzeKalendo.so" "$work/first.txt" \
  || { echo "no registration printed"; cat "$work/first.txt"; exit 1; }
after=$( [ -e "$user_db" ] && sha256sum <"$user_db" || echo none)
[ "$before" = "$after" ] || { echo "the user's provix2.db was changed"; exit 1; }
echo "1 passed, 0 failed"
