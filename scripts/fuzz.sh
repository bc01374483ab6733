#!/usr/bin/env bash
# Builds the fuzz targets (text conversions, INI text) with clang's libFuzzer (plus ASan
# and UBSan) and runs each for a bounded time, starting from its saved corpus.
# Usage: scripts/fuzz.sh [seconds per target]    (default: FUZZ_SECONDS or 120)
# New interesting inputs go to build/fuzz/TARGET/corpus (the saved corpus is only read);
# a crashing input is written to build/fuzz/TARGET/ and the script exits non-zero. Copy
# a crash into fuzz/TARGET/corpus once it is fixed, so the regression test keeps it.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${FUZZ_SECONDS:-120}}

command -v clang++ >/dev/null || { echo "clang++ is needed (make deps-test)" >&2; exit 2; }

# fuzz NAME MAX_LEN SOURCES... -- LIBRARIES...
fuzz() {
  local name=$1 max_len=$2
  shift 2
  local sources=() libraries=()
  while [[ $# -gt 0 && $1 != -- ]]; do sources+=("$1"); shift; done
  [[ $# -gt 0 ]] && shift
  libraries=("$@")
  local out=build/fuzz/$name
  mkdir -p "$out/corpus"
  echo "building $out/fuzz_$name"
  clang++ -std=c++20 -g -O1 -I. \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "${sources[@]}" "${libraries[@]}" -o "$out/fuzz_$name"
  echo "fuzzing $name for ${seconds}s"
  LC_ALL=C LANG= "$out/fuzz_$name" \
    -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$out/" -print_final_stats=1 \
    "$out/corpus" "fuzz/$name/corpus"
}

icu=$(pkg-config --cflags --libs icu-i18n icu-uc)
# shellcheck disable=SC2086
fuzz automation_text 512 frame/automation/*.cpp fuzz/automation_text/automation_text_fuzz.cpp \
  -- $icu
# The INI text rules need only the encoding helpers of the automation layer.
fuzz ini_text 4096 frame/system/ini_text.cpp frame/automation/string.cpp \
  fuzz/ini_text/ini_text_fuzz.cpp
