#!/usr/bin/env bash
# Refreshes the README's pictures of the controls from the offscreen session of the
# main job: given a release build folder, runs provix2's scripted session and copies
# the screenshots that show the form, the field with its calendar button, the open
# calendar and the about box into docs/immagini/.
set -euo pipefail
build=${1:-build/release}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
env -u DISPLAY -u WAYLAND_DISPLAY bash "$here/main-job.sh" "$build" >/dev/null
shots="$build/bin/provix2-schermate"
out="$root/docs/immagini"
mkdir -p "$out"
cp "$shots/01-avvio.png" "$out/provix2.png"
cp "$shots/06-data-dal-calendario.png" "$out/kalendo-pulsante.png"
cp "$shots/05-calendario.png" "$out/calendario.png"
cp "$shots/07-informazioni.png" "$out/informazioni.png"
echo "pictures written to $out"
