#!/usr/bin/env bash
# install_examples.sh BUILD EXAMPLES CXX FLAGS LAUNCHER QT
# Installs BUILD into a temporary prefix, checks the installed libraries' dynamic
# sections, builds EXAMPLES against the prefix with find_package and with pkg-config,
# and runs each build: every host must read back the date it set.
set -euo pipefail
build=$1 examples=$2 cxx=$3 flags=$4 launcher=$5 qt=$6
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
export ZE_REGISTRO=$work/registro.db XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "install"; }

# Every library: a SONAME with the major version, a RUNPATH only relative to itself.
libs=$(find "$prefix" -name '*.so.*' -type f)
[ -n "$libs" ] || fail "no library installed"
for lib in $libs "$prefix"/bin/*; do
  dyn=$(readelf -d "$lib")
  if [[ $lib == *.so.* ]]; then
    soname=$(sed -n 's/.*Library soname: \[\(.*\)\]/\1/p' <<<"$dyn")
    [[ $soname =~ ^lib[A-Za-z]+\.so\.[0-9]+$ ]] || fail "$lib: SONAME '$soname'"
    [ -e "$(dirname "$lib")/$soname" ] || fail "$lib: no $soname beside it"
  fi
  runpath=$(sed -n 's/.*R\(UN\)\{0,1\}PATH.*: \[\(.*\)\]/\2/p' <<<"$dyn")
  IFS=: read -ra entries <<<"$runpath"
  for entry in "${entries[@]}"; do
    [[ -z $entry || $entry == '$ORIGIN'* ]] || fail "$lib: RUNPATH entry $entry"
  done
done
grep -rqs "$build" "$prefix"/lib/cmake "$prefix"/lib/pkgconfig && fail "the build folder in the package files"
"$prefix/bin/zereg" /? >/dev/null || fail "installed zereg does not start"
"$prefix/bin/zeprova" --version >/dev/null || fail "installed zeprova does not start"

# A host's transcript must show the date it set read back.
check() {  # check NAME COMMAND...
  local name=$1; shift
  "$@" >"$work/$name.out" 2>&1 || { cat "$work/$name.out"; fail "$name exited $?"; }
  grep -q '25/12/2005' "$work/$name.out" || { cat "$work/$name.out"; fail "$name: no date read back"; }
  echo "$name: $(tr '\n' ' ' <"$work/$name.out")"
}

cmake -S "$examples" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$flags" \
  ${launcher:+-DCMAKE_CXX_COMPILER_LAUNCHER="$launcher"} >"$work/configure.log" \
  || { cat "$work/configure.log"; fail "configure with find_package"; }
cmake --build "$work/cmake" >"$work/build.log" || { cat "$work/build.log"; fail "build with find_package"; }
check cmake.headless "$work/cmake/headless_host"
# The library the host registered is the installed one.
clsid=$("$prefix/bin/zereg" query 'HKCR\zeKalendo.Kalendo\CLSID' /ve | grep -o '{[^}]*}')
"$prefix/bin/zereg" query "HKCR\\CLSID\\$clsid\\InprocServer32" /ve \
  | grep -q "$prefix/lib/zekalendo/libzeKalendo.so" || fail "registered elsewhere"

export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
component=$(pkg-config --variable=componentlibrary zekalendo)
[ -f "$component" ] || fail "pkg-config names no component library ($component)"
libdir=$(pkg-config --variable=libdir zekalendo)
# shellcheck disable=SC2086  # the flags are words
$cxx -std=c++20 $flags "$examples/headless_host.cpp" -o "$work/pc_headless" \
  -DZE_COMPONENT_LIBRARY="\"$component\"" $(pkg-config --cflags --libs zekalendo) \
  -Wl,-rpath,"$libdir" || fail "build with pkg-config"
check pkgconfig.headless "$work/pc_headless" "$component" "$work/pc.bag"

if [ "$qt" = 1 ]; then
  check cmake.qt "$work/cmake/qt_host" --quit
  # shellcheck disable=SC2086
  $cxx -std=c++20 -fPIC $flags "$examples/qt_host.cpp" -o "$work/pc_qt" \
    -DZE_COMPONENT_LIBRARY="\"$component\"" $(pkg-config --cflags --libs zekalendo-qt) \
    -Wl,-rpath,"$libdir" || fail "Qt build with pkg-config"
  check pkgconfig.qt "$work/pc_qt" --quit
fi
echo "installed, built and ran the examples"
