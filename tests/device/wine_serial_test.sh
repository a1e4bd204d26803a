#!/usr/bin/env bash
# Runs the Windows serial test program under Wine with COM29 mapped to the
# pseudo-terminal of a dnx8sim that carries the faults the program expects.
#   wine_serial_test.sh BUILD_DIR TEST_PROGRAM DNX8SIM
# Exits 77 (skipped) when the simulator is not built.
set -u
build=$(cd "$1" && pwd)
program=$2
simulator=$3
here=$(cd "$(dirname "$0")" && pwd)
runner="$here/../../cmake/wine-run.sh"

if [ ! -x "$simulator" ]; then
  echo "SKIPPED: no dnx8sim at $simulator; build the native tree first (cmake --preset native && cmake --build --preset native), or configure with -DDNX8_SIM=<path>"
  exit 77
fi

"$runner" "$build" --start >/dev/null || exit 1

work=$(mktemp -d)
sim=""
link="$build/wineprefix/dosdevices/com29"
cleanup() {
  rm -f "$link"
  if [ -n "$sim" ]; then
    kill "$sim" 2>/dev/null
    wait "$sim" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# The test program's expectations, one fault per case it exercises:
#   FirmwareVersion is never answered (time-out);
#   InputType is refused (negative reply);
#   the first LiveInput reply has a bad checksum, LiveInput reads 2.5;
#   the first LiveValue reply claims more data than a frame holds, so
#   its bytes are still on the line when the link gives up.
"$simulator" --trace "$work/trace" \
  -c "fault silence on FirmwareVersion" \
  -c "fault nak on InputType" \
  -c "live LiveInput 2.5" \
  -c "fault checksum once LiveInput" \
  -c "fault overlong once LiveValue" \
  >"$work/sim.out" 2>"$work/sim.err" &
sim=$!
pty=""
for _ in $(seq 100); do
  pty=$(head -n 1 "$work/sim.out" 2>/dev/null)
  [ -n "$pty" ] && break
  kill -0 "$sim" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$pty" ]; then
  echo "dnx8sim did not start: $(cat "$work/sim.err")" >&2
  exit 1
fi

ln -sfn "$pty" "$link"
"$runner" "$build" "$program" --gtest_brief=1
status=$?
if [ "$status" -ne 0 ]; then
  echo "--- frames on COM29 (last 40)"
  tail -n 40 "$work/trace"
fi
exit $status
