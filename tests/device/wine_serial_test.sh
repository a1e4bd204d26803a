#!/usr/bin/env bash
# Runs the Windows serial test program under Wine with COM29 mapped to a
# pseudo-terminal on which a small converter peer answers.
#   wine_serial_test.sh BUILD_DIR TEST_PROGRAM
set -u
build=$(cd "$1" && pwd)
program=$2
here=$(cd "$(dirname "$0")" && pwd)
runner="$here/../../cmake/wine-run.sh"

"$runner" "$build" --start >/dev/null || exit 1

work=$(mktemp -d)
python3 "$here/pty_peer.py" >"$work/peer.out" &
peer=$!
trap 'kill "$peer" 2>/dev/null; wait "$peer" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do
  [ -s "$work/peer.out" ] && break
  sleep 0.05
done
pty=$(head -n1 "$work/peer.out")
if [ -z "$pty" ]; then
  echo "the converter peer did not start" >&2
  exit 1
fi
ln -sfn "$pty" "$build/wineprefix/dosdevices/com29"
"$runner" "$build" "$program" --gtest_brief=1
status=$?
rm -f "$build/wineprefix/dosdevices/com29"
exit $status
