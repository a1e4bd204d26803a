# Sourced by the tests that run a Windows program under Wine against the
# native dnx8sim on a pseudo-terminal mapped as a COM port:
#   . tests/wine_com_port.sh
#   start_simulator_on BUILD_DIR DNX8SIM COMn [SIMULATOR OPTIONS...]
# It exits 77 (skipped) when the simulator is not built, starts the Wine
# prefix of the build tree, runs the simulator with its trace in
# $work/trace and maps COMn to its pseudo-terminal. Afterwards $build,
# $runner and $work are set, and the simulator, the mapping and $work go
# when the script exits.

start_simulator_on() {
  build=$(cd "$1" && pwd)
  local simulator=$2 port=$3
  shift 3
  runner="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/../cmake/wine-run.sh"
  if [ ! -x "$simulator" ]; then
    echo "SKIPPED: no dnx8sim at $simulator; build the native tree first (cmake --preset native && cmake --build --preset native), or configure with -DDNX8_SIM=<path>"
    exit 77
  fi
  "$runner" "$build" --start >/dev/null || exit 1

  work=$(mktemp -d)
  mapped_port="$build/wineprefix/dosdevices/${port,,}"
  simulator_pid=""
  trap stop_simulator EXIT
  "$simulator" --trace "$work/trace" "$@" >"$work/sim.out" 2>"$work/sim.err" &
  simulator_pid=$!
  # The first line is the pseudo-terminal's path; it comes at once unless
  # the machine is very busy.
  local pty="" deadline=$((SECONDS + 30))
  while [ -z "$pty" ] && [ "$SECONDS" -lt "$deadline" ] && kill -0 "$simulator_pid" 2>/dev/null; do
    pty=$(head -n 1 "$work/sim.out" 2>/dev/null)
    [ -n "$pty" ] || sleep 0.05
  done
  if [ -z "$pty" ]; then
    echo "dnx8sim did not start: $(cat "$work/sim.err")" >&2
    exit 1
  fi
  ln -sfn "$pty" "$mapped_port"
}

stop_simulator() {
  rm -f "$mapped_port"
  if [ -n "$simulator_pid" ]; then
    kill "$simulator_pid" 2>/dev/null
    wait "$simulator_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
