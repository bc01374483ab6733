#!/usr/bin/env bash
# provix2 without a display, as `make run` starts it, beside a database file that is
# not a database: the message is printed, the session still runs to its end, and the
# file is left as it was.
#   provix2_bad_database.sh BIN_DIR
set -euo pipefail
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$bin/provix2" "$bin/Form1.frm" "$bin/libzeKalendo.so" "$work/"
export ZE_REGISTRO="$work/registro.db"
printf 'questo non è un database\n%.0s' $(seq 200) >"$work/provix2.db"
before=$(sha256sum <"$work/provix2.db")
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb  # inherited from a desktop session: must not stop the run

set +e
timeout 60 "$work/provix2" >"$work/out.txt" 2>&1
rc=$?
set -e
if [ "$rc" -eq 124 ]; then
  echo "provix2 did not finish: a dialog is waiting for an answer"
  cat "$work/out.txt"
  exit 1
fi
grep -q "finestra di messaggio" "$work/out.txt" || { echo "no message printed"; cat "$work/out.txt"; exit 1; }
grep -q "sessione con errori" "$work/out.txt" || { echo "the session did not run to its end"; cat "$work/out.txt"; exit 1; }
[ "$(sha256sum <"$work/provix2.db")" = "$before" ] || { echo "the file was changed"; exit 1; }
echo "1 passed, 0 failed"
