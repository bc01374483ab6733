#!/usr/bin/env bash
# Builds the text-conversion fuzz target with clang's libFuzzer (plus ASan and UBSan)
# and runs it for a bounded time, starting from the saved corpus.
# Usage: scripts/fuzz.sh [seconds]    (default: FUZZ_SECONDS or 120)
# New interesting inputs go to build/fuzz/corpus (the saved corpus is only read); a
# crashing input is written to build/fuzz/ and the script exits non-zero. Copy a crash
# into fuzz/automation_text/corpus once it is fixed, so the regression test keeps it.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${FUZZ_SECONDS:-120}}
out=build/fuzz
mkdir -p "$out/corpus"

command -v clang++ >/dev/null || { echo "clang++ is needed (make deps-test)" >&2; exit 2; }

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
