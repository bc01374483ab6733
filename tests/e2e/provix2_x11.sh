#!/usr/bin/env bash
# End to end under a real X server: provix2 in a window on Xvfb, a date typed with
# real X key events (xdotool), the next-record button clicked with the X pointer, and
# the database checked with the sqlite3 command line.
#   provix2_x11.sh BIN_DIR
set -euo pipefail
bin=$1
work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The program's folder: provix2 with its form, its library and (soon) its database.
cp "$bin/provix2" "$bin/Form1.frm" "$bin/libzeKalendo.so" "$work/"
export ZE_REGISTRO="$work/registro.db"

# A free display number.
for n in $(seq 90 140); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=$display
unset QT_QPA_PLATFORM

"$work/provix2" >"$work/provix2.log" 2>&1 &
app_pid=$!
window=$(timeout 20 xdotool search --sync --name "^Provix N" | head -n 1)
[ -n "$window" ] || { echo "provix2's window did not appear"; cat "$work/provix2.log"; exit 1; }
sleep 0.5
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"

# The first date field has the focus with its text selected: type over it, then Enter.
xdotool type --delay 30 "15082011"
xdotool key Return
sleep 0.3

# The data control's next-record button: the form's client area at 15 twips a pixel
# (Xvfb's 96 dots an inch), the button 345 twips wide, second from the right edge of the
# 4680-twip bar at the top 2760 twips.
eval "$(xdotool getwindowgeometry --shell "$window")"
x=$(( X + (4680 - 2 * 345 + 172) / 15 ))
y=$(( Y + (2760 + 217) / 15 ))
xdotool mousemove --sync "$x" "$y" click 1
sleep 0.5

stored=$(sqlite3 "$work/provix2.db" "SELECT DataIniziale FROM Data WHERE rowid = 1")
if [ "$stored" != "2011-08-15" ]; then
  echo "the database holds '$stored' for the first record, not 2011-08-15"
  cat "$work/provix2.log"
  exit 1
fi
echo "1 passed, 0 failed"
