#!/usr/bin/env bash
# Installs the Debian 12 packages that a build needs, and only those that are missing.
# Usage: scripts/install-deps.sh test|run
# "test" also brings inih (the INI benchmark's peer), clang (for the fuzz targets),
# Xvfb and xdotool (end-to-end tests), the sqlite3 command line and the PostgreSQL
# server (the tests start their own), mscompress and the mingw-w64 tool chain (files
# made by independent tools for the expander's and the version reader's tests);
# "run" brings what building and running provix2 need.
set -euo pipefail

want=(cmake ninja-build g++ make pkg-config libsqlite3-dev libicu-dev qt6-base-dev
      libgl-dev libxkbcommon-dev fonts-dejavu-core fonts-liberation2 libpq-dev)
case "${1:-test}" in
  test) want+=(libgtest-dev libgmock-dev libbenchmark-dev libinih-dev clang libclang-rt-14-dev
               xvfb xauth xdotool sqlite3 x11-utils postgresql
               mscompress binutils-mingw-w64-x86-64 gcc-mingw-w64-x86-64-win32) ;;
  run)  ;;
  *) echo "usage: $0 test|run" >&2; exit 2 ;;
esac

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
