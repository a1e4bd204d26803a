#!/usr/bin/env bash
# Builds everything and runs every test: the native tests, the Windows tests
# under Wine, and the native tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer. Exits non-zero when anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1

failed=()
for p in native windows sanitize; do
  log=$(mktemp)
  if ! scripts/build.sh "$p" >"$log" 2>&1; then
    cat "$log"
    rm -f "$log"
    failed+=("build $p")
    continue
  fi
  rm -f "$log"
  echo "== test $p"
  ctest --preset "$p" || failed+=("test $p")
done

echo
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All builds and tests passed."
