#!/usr/bin/env bash
# Builds a fuzz target with clang's libFuzzer (plus ASan and UBSan) and runs it for a
# bounded time on one core, starting from its saved corpus.
# Usage: scripts/fuzz.sh [TARGET] [seconds]
#   TARGET: automation_text (the text conversions, the default), reg_file (the .reg
#   reader), utilita_text (zeUtilita's text routines), ini_text (the INI text rules),
#   property_bag (the property-bag reader), zeprova_script (zeprova's script
#   reading), szdd (the SZDD expander) or pe_version (the PE version-resource
#   reader); seconds: default FUZZ_SECONDS or 120.
# New interesting inputs go to build/fuzz/TARGET/corpus (the saved corpus is only
# read); a crashing input is written to build/fuzz/TARGET/ and the script exits
# non-zero. Copy a crash into fuzz/TARGET/corpus once it is fixed, so the regression
# test keeps it.
set -euo pipefail
cd "$(dirname "$0")/.."

target=automation_text
if [[ $# -gt 0 && ! $1 =~ ^[0-9]+$ ]]; then
  target=$1
  shift
fi
seconds=${1:-${FUZZ_SECONDS:-120}}

case "$target" in
  automation_text)
    sources=(frame/automation/*.cpp)
    libs=(icu-i18n icu-uc)
    max_len=512
    ;;
  reg_file)
    sources=(frame/automation/*.cpp frame/sqlite/*.cpp frame/registry/*.cpp)
    libs=(icu-i18n icu-uc sqlite3)
    max_len=4096
    ;;
  utilita_text)
    # The routines sit on the platform layers below the components.
    sources=(frame/automation/*.cpp frame/sqlite/*.cpp frame/registry/*.cpp frame/system/*.cpp
             frame/com/*.cpp frame/container/*.cpp frame/ui/*.cpp frame/platform_version.cpp
             utilita/*.cpp)
    libs=(icu-i18n icu-uc sqlite3)
    max_len=512
    ;;
  ini_text)
    # The INI text rules need only the automation layer's code-page helpers.
    sources=(frame/automation/string.cpp frame/system/ini_text.cpp)
    libs=()
    max_len=4096
    ;;
  property_bag)
    sources=(frame/automation/*.cpp frame/container/*.cpp frame/system/atomic_file.cpp
             frame/system/regular_file.cpp)
    libs=(icu-i18n icu-uc)
    max_len=4096
    ;;
  szdd)
    sources=(frame/system/szdd.cpp)
    libs=()
    max_len=8192
    ;;
  pe_version)
    sources=(frame/system/pe_version.cpp)
    libs=()
    max_len=8192
    ;;
  zeprova_script)
    sources=(frame/automation/*.cpp frame/container/*.cpp frame/system/atomic_file.cpp
             frame/system/regular_file.cpp tools/zeprova/script_line.cpp
             tools/zeprova/script_text.cpp)
    libs=(icu-i18n icu-uc)
    max_len=4096
    ;;
  *)
    echo "unknown fuzz target $target (automation_text, reg_file, utilita_text, ini_text, property_bag, zeprova_script, szdd, pe_version)" >&2
    exit 2
    ;;
esac

out=build/fuzz/$target
mkdir -p "$out/corpus"

command -v clang++ >/dev/null || { echo "clang++ is needed (make deps-test)" >&2; exit 2; }

flags=()
if [[ ${#libs[@]} -gt 0 ]]; then
  read -r -a flags <<<"$(pkg-config --cflags --libs "${libs[@]}")"
fi

echo "building $out/fuzz_$target"
clang++ -std=c++20 -g -O1 -I. \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  "${sources[@]}" "fuzz/$target/${target}_fuzz.cpp" "${flags[@]}" \
  -ldl -o "$out/fuzz_$target"

echo "fuzzing $target for ${seconds}s"
LC_ALL=C LANG= "$out/fuzz_$target" \
  -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$out/" -print_final_stats=1 \
  "$out/corpus" "fuzz/$target/corpus"
