#!/usr/bin/env bash
# Builds everything and runs every test: the native tests, the Windows tests
# under Wine, and the native tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer. Exits non-zero when anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1

failed=()
summary=()
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
  log=$(mktemp)
  ctest --preset "$p" 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || failed+=("test $p")
  summary+=("$p: $(grep -E 'tests passed|No tests were found' "$log" | tail -n 1)")
  rm -f "$log"
done

echo
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All builds and tests passed."
