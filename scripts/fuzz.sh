#!/usr/bin/env bash
# Builds a fuzz target with clang's libFuzzer (plus ASan and UBSan) and runs it for a
# bounded time, starting from its saved corpus.
# Usage: scripts/fuzz.sh [seconds]            the automation's text conversions
#        scripts/fuzz.sh utilita [seconds]    zeUtilita's text routines
# (seconds default: FUZZ_SECONDS or 120)
# New interesting inputs go to build/fuzz/corpus (the saved corpus is only read); a
# crashing input is written to build/fuzz/ and the script exits non-zero. Copy a crash
# into fuzz/automation_text/corpus once it is fixed, so the regression test keeps it.
set -euo pipefail
cd "$(dirname "$0")/.."

command -v clang++ >/dev/null || { echo "clang++ is needed (make deps-test)" >&2; exit 2; }

if [[ "${1:-}" == utilita ]]; then
  # The routines sit on the whole platform layer, so they are built by CMake with clang.
  seconds=${2:-${FUZZ_SECONDS:-120}}
  out=build/fuzz-utilita
  mkdir -p "$out/corpus"
  cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DZE_TESTS=ON -DZE_BENCH=OFF -DZE_LIBFUZZER=ON \
    -DCMAKE_CXX_FLAGS="-O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
  cmake --build "$out" --target fuzz_utilita_text
  echo "fuzzing for ${seconds}s"
  exec env LC_ALL=C LANG= "$out/bin/fuzz_utilita_text" \
    -max_total_time="$seconds" -max_len=512 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$out/" -print_final_stats=1 \
    "$out/corpus" fuzz/utilita_text/corpus
fi

seconds=${1:-${FUZZ_SECONDS:-120}}
out=build/fuzz
mkdir -p "$out/corpus"

sources=(frame/automation/*.cpp fuzz/automation_text/automation_text_fuzz.cpp)
echo "building $out/fuzz_automation_text"
clang++ -std=c++20 -g -O1 -I. \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  "${sources[@]}" $(pkg-config --cflags --libs icu-i18n icu-uc) \
  -o "$out/fuzz_automation_text"

echo "fuzzing for ${seconds}s"
LC_ALL=C LANG= "$out/fuzz_automation_text" \
  -max_total_time="$seconds" -max_len=512 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$out/" -print_final_stats=1 \
  "$out/corpus" fuzz/automation_text/corpus
