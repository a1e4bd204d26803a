#!/usr/bin/env bash
# Builds everything and runs every test: the native tests, the Windows tests
# under Wine, the native tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the release build (scripts/release.sh) with
# its config.exe checked and the point-file and fit tests compiled with its
# flags. Exits non-zero when anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."

failed=()
summary=()
timings=()
# timed NAME COMMAND...: runs the command and notes how long it took.
timed() {
  local name=$1 start=$SECONDS rc
  shift
  "$@"
  rc=$?
  timings+=("$(printf '%-28s %4d s' "$name" $((SECONDS - start)))")
  return $rc
}

timed setup scripts/setup.sh || exit 1
# run_tests NAME CTEST-ARGUMENTS...
run_tests() {
  local name=$1 log
  shift
  echo "== test $name"
  log=$(mktemp)
  ctest "$@" 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || failed+=("test $name")
  summary+=("$name: $(grep -E 'tests passed|No tests were found' "$log" | tail -n 1)")
  rm -f "$log"
}

for p in native windows sanitize; do
  log=$(mktemp)
  if ! timed "build $p" scripts/build.sh "$p" >"$log" 2>&1; then
    cat "$log"
    rm -f "$log"
    failed+=("build $p")
    continue
  fi
  rm -f "$log"
  timed "test $p" run_tests "$p" --preset "$p"
done

log=$(mktemp)
if timed "build release" scripts/release.sh >"$log" 2>&1 &&
  timed "build release tests" cmake --build build/release-native --target tests/linearization/all >>"$log" 2>&1; then
  awk '/^release /{on=1} on && !/^(release |  )/{exit} on' "$log"
  timed "test release-windows" run_tests release-windows --test-dir build/release-windows -R '^config_executable$' --no-tests=error \
    --output-on-failure
  timed "test release-native" run_tests release-native --test-dir build/release-native/tests/linearization --no-tests=error \
    --output-on-failure -j 2
  version=$(sed -n 's/^#define DNX8_VERSION_TEXT "\(.*\)"$/\1/p' build/release-native/generated/dnx8_version.h)
  echo "== test debian-package"
  if timed "test debian-package" bash tests/package/check-deb.sh "dist/dnx8_${version}_amd64.deb" "$version"; then
    summary+=("debian-package: passed")
  else
    failed+=("test debian-package")
    summary+=("debian-package: FAILED")
  fi
else
  cat "$log"
  failed+=("build release")
fi
rm -f "$log"

echo
echo "Time of each step:"
printf '  %s\n' "${timings[@]}"
printf '  %-28s %4d s\n' "all (setup included)" "$SECONDS"
echo
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All builds and tests passed."
