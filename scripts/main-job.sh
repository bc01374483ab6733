#!/usr/bin/env bash
# The main job of `make run`, given the release build folder: provix2, the sample
# program. With a display it opens in a window on the database beside it; without one
# it runs its scripted session on Qt's offscreen platform, on a fresh sample database
# of its own each time (the provix2.db a user edits in the window is never touched),
# printing each step, saving screenshots of the form and printing the database's
# rows at the end, then where the component library is registered.
set -euo pipefail
build=${1:-build/release}
bin=$(cd "$build/bin" && pwd)
# Qt wants a private runtime folder and warns on every start without one.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="${TMPDIR:-/tmp}/zekalendo-runtime-$(id -u)"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/provix2"
fi
# A platform inherited from a desktop session would want the display that is not there.
export QT_QPA_PLATFORM=offscreen
data="$bin/provix2-sessione"
rm -rf "$data"
mkdir -p "$data"
rc=0
"$bin/provix2" --session "$bin/provix2-schermate" --data "$data" || rc=$?

store=${ZE_REGISTRO:-${XDG_CONFIG_HOME:-$HOME/.config}/zekalendo/registro.db}
clsid=$("$bin/zereg" query 'HKCR\zeKalendo.Kalendo\CLSID' /ve 2>/dev/null | grep -o '{[^}]*}' || true)
library=""
if [ -n "$clsid" ]; then
  library=$("$bin/zereg" query "HKCR\\CLSID\\$clsid\\InprocServer32" /ve 2>/dev/null |
            sed -n 's/.*(Default) *REG_SZ *//p')
fi
echo "zeKalendo.Kalendo registrato nel registro $store: ${library:-(nessuna libreria)}"
exit $rc
