#!/usr/bin/env bash
# Runs the Windows serial test program under Wine with COM29 mapped to the
# pseudo-terminal of a dnx8sim that carries the faults the program expects.
#   wine_serial_test.sh BUILD_DIR TEST_PROGRAM DNX8SIM
# Exits 77 (skipped) when the simulator is not built.
set -u
program=$2
. "$(dirname "$0")/../wine_com_port.sh"
# The test program's expectations, one fault per case it exercises:
#   FirmwareVersion is never answered (time-out);
#   InputType is refused (negative reply);
#   the first LiveInput reply has a bad checksum, LiveInput reads 2.5;
#   the first LiveValue reply claims more data than a frame holds, so
#   its bytes are still on the line when the link gives up.
start_simulator_on "$1" "$3" COM29 \
  -c "fault silence on FirmwareVersion" \
  -c "fault nak on InputType" \
  -c "live LiveInput 2.5" \
  -c "fault checksum once LiveInput" \
  -c "fault overlong once LiveValue"
"$runner" "$build" "$program" --gtest_brief=1
status=$?
if [ "$status" -ne 0 ]; then
  echo "--- frames on COM29 (last 40)"
  tail -n 40 "$work/trace"
fi
exit $status
