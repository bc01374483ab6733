#!/usr/bin/env bash
# The main job of `make run`, given the release build folder: a short tour of the
# platform runtime, then a host session with the date field through zeprova.
set -euo pipefail
build=${1:-build/release}
here=$(cd "$(dirname "$0")" && pwd)
"$build/bin/zedemo"
echo
echo "== zeprova: a host creates Kalendo through the registry and types into it"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
lib=$(cd "$build/bin" && pwd)/libzeKalendo.so
sed "s|@LIB@|$lib|g" "$here/demo/kalendo.zp" > "$work/kalendo.zp"
ZE_REGISTRO="$work/registro.db" "$build/bin/zeprova" "$work/kalendo.zp" |
  sed 's/^/    /'
