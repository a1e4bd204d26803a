#!/usr/bin/env bash
# Builds the libFuzzer targets with Clang and runs each for a while
# (default 60 s each; FUZZ_SECONDS overrides). Corpora stay in build/fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
seconds=${FUZZ_SECONDS:-60}
for target in number_text_fuzz reply_fuzz point_file_fuzz; do
  corpus="build/fuzz/corpus/$target"
  mkdir -p "$corpus"
  echo "== $target for ${seconds}s"
  "build/fuzz/bin/$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$corpus" 2>&1 | tail -n 4
done
