#!/usr/bin/env bash
# Builds fuzz targets with clang's libFuzzer (plus ASan and UBSan) and runs each for a
# bounded time, one after the other, starting from its saved corpus.
# Usage: scripts/fuzz.sh [seconds] [target...]    (default: FUZZ_SECONDS or 120, every
# target: automation_text, property_bag, zeprova_script)
# New interesting inputs go to build/fuzz/TARGET/corpus (the saved corpus is only read);
# a crashing input is written to build/fuzz/TARGET/ and the script exits non-zero. Copy
# a crash into fuzz/TARGET/corpus once it is fixed, so the regression test keeps it.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${FUZZ_SECONDS:-120}}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(automation_text property_bag zeprova_script)

command -v clang++ >/dev/null || { echo "clang++ is needed (make deps-test)" >&2; exit 2; }

sources_of() {
  case $1 in
    automation_text) echo frame/automation/*.cpp ;;
    property_bag) echo frame/automation/*.cpp frame/container/*.cpp frame/system/regular_file.cpp ;;
    zeprova_script)
      echo frame/automation/*.cpp frame/container/*.cpp frame/system/regular_file.cpp \
        tools/zeprova/script_line.cpp tools/zeprova/script_text.cpp ;;
    *) echo "unknown fuzz target $1" >&2; return 1 ;;
  esac
}

for target in "${targets[@]}"; do
  out=build/fuzz/$target
  mkdir -p "$out/corpus"
  sources=$(sources_of "$target")
  echo "building $out/fuzz_$target"
  # shellcheck disable=SC2086
  clang++ -std=c++20 -g -O1 -I. \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    $sources "fuzz/$target/${target}_fuzz.cpp" $(pkg-config --cflags --libs icu-i18n icu-uc) \
    -o "$out/fuzz_$target"
  # Texts of the conversions are short; bags and scripts run to many lines.
  max_len=4096
  [ "$target" != automation_text ] || max_len=512
  echo "fuzzing $target for ${seconds}s"
  LC_ALL=C LANG= "$out/fuzz_$target" \
    -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$out/" -print_final_stats=1 \
    "$out/corpus" "fuzz/$target/corpus"
done
