#!/usr/bin/env bash
# The main job of `make run`, given the release build folder: provix2, the sample
# program. With a display it opens in a window; without one it runs its scripted
# session on Qt's offscreen platform, printing each step, saving screenshots of the
# form and printing the database's rows at the end.
set -euo pipefail
build=${1:-build/release}
bin=$(cd "$build/bin" && pwd)
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/provix2"
fi
# A platform inherited from a desktop session would want the display that is not there.
export QT_QPA_PLATFORM=offscreen
exec "$bin/provix2" --session "$bin/provix2-schermate"
