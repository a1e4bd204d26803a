#!/usr/bin/env bash
# Runs one end-to-end scenario: config.exe under Wine, simulated converters
# on pseudo-terminals mapped as COM ports, and the driver that works the
# window. Usage:
#   run-scenario.sh BUILD_DIR CONFIG_EXE DRIVER_EXE DNX8SIM SCENARIO_FILE
#
# A scenario is a text file, one step per line ("#" starts a comment; words
# in "double quotes" may hold blanks). Steps handled here:
#   sim NAME [ARGS...]            start a simulator (ARGS go to dnx8sim)
#   port NAME COMn                map its line as COMn (through its --link, so the
#                                 mapping follows a line closed and opened again)
#                                 and list it in the registry
#   simctl NAME WORDS...          a line on the simulator's control channel
#   start                         start config.exe and wait for its window
#   shot LABEL                    screenshot of the display into the build tree
#   sleep SECONDS                 only before a check that nothing happened
#   trace-mark NAME               later request checks look only past this point
#   expect-requests NAME CODE...  the command codes (hex) of the requests since
#                                 the mark, exactly, in order
#   expect-request NAME BYTES...  a request since the mark with exactly these bytes
#   expect-request-count NAME CODE MIN MAX
#                                 at least MIN (waited for) and never more than
#                                 MAX such requests since the mark
#   expect-exit [SECONDS]         config.exe has ended (after the driver's close)
#   expect-layout FILE            the window's controls, as the driver's dump
#                                 lists them, equal FILE (beside the scenario)
#   file NAME LINE...             a text file in the scenario's work folder
# Every other line goes to the driver (tests/e2e/driver), whose answer must
# be "ok"; "@work@" in it stands for the work folder as a Windows path. The
# driver works the main window ("window", which waits until no dialog of it
# is left), or a dialog after "dialog TITLE" until "window". Controls are
# named by id ("101") or by the client position of their corner ("@120,35").
#   click CTL | select CTL ENTRY | type CTL TEXT | key TAB|DOWN|UP|SPACE [shift]
#   close                         close the window; waits until it is gone
#   text CTL | items CTL | info CTL | dump | colour CTL | sync
#   expect CTL TEXT [MS] | expect-sel CTL N [MS] | expect-check CTL N [MS]
#   expect-colour CTL R,G,B [MS] | expect-focus CTL | expect-items CTL ENTRY...
#   expect-steady CTL TEXT MS     the text stays so for MS, the window answering
#   expect-msgbox CAPTION TEXT [MS] (then OK, after MS) | expect-no-msgbox
#   expect-frame CLASS STYLE WxH | wait-gone [MS]
# The expect steps wait for their state (10 s unless MS says otherwise); a
# click, key or close that closes its own window succeeds when it is gone.
# Exits 0 on success, 1 on the first failed step, 77 when the scenario needs
# a simulator and none is built.
set -u

build=$(cd "$1" && pwd)
config=$2
driver=$3
simulator=$4
scenario=$5
root=$(cd "$(dirname "$0")/../.." && pwd)
run="$root/cmake/wine-run.sh"
name=$(basename "$scenario" .txt)

if grep -q '^[[:space:]]*sim ' "$scenario" && [ ! -x "$simulator" ]; then
  echo "SKIPPED: no dnx8sim at $simulator; build the native tree first (cmake --preset native && cmake --build --preset native), or configure with -DDNX8_SIM=<path>"
  exit 77
fi

work="$build/e2e/$name"
# The same folder as the programs under Wine see it (drive Z: is the root).
work_windows="Z:${work//\//\\}"
shots="$build/screenshots/e2e"
rm -rf "$work"
mkdir -p "$work" "$shots"
# Pictures of an earlier run of this scenario would mislead.
rm -f "$shots/$name"-*.png

"$run" "$build" --start >/dev/null || { echo "cannot start Wine"; exit 1; }
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
export DISPLAY=":$(tr -d '[:space:]' <"$build/wine-state/display")"

declare -A sim_pid=() sim_pty=() sim_control=() trace_mark=()
mapped_links=()
registry_values=()
app_pid=""
driver_pid=""
step_line=0

log() { echo "[$name:$step_line] $*"; }

screenshot() {
  import -window root "$shots/$name-$1.png" 2>/dev/null && log "screenshot $shots/$name-$1.png"
}

cleanup() {
  if [ -n "$driver_pid" ]; then
    for v in "${registry_values[@]}"; do
      "$run" "$build" reg delete 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v "$v" /f >/dev/null 2>&1
    done
    echo quit >&"${DRIVER[1]}" 2>/dev/null
    exec {DRIVER[1]}>&- 2>/dev/null
  fi
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
    kill "$app_pid" 2>/dev/null
  fi
  for s in "${!sim_pid[@]}"; do
    kill "${sim_pid[$s]}" 2>/dev/null
  done
  for link in "${mapped_links[@]}"; do
    rm -f "$link"
  done
  [ -n "$app_pid" ] && wait "$app_pid" 2>/dev/null
  [ -n "$driver_pid" ] && wait "$driver_pid" 2>/dev/null
  for s in "${!sim_pid[@]}"; do
    wait "${sim_pid[$s]}" 2>/dev/null
  done
}
trap cleanup EXIT

fail() {
  log "FAILED: $*"
  screenshot "failure"
  for s in "${!sim_pid[@]}"; do
    echo "--- trace of $s (last 40 lines)"
    tail -n 40 "$work/$s.trace" 2>/dev/null
  done
  exit 1
}

# The driver runs for the whole scenario; while it lives, the Wine server
# does too, so the registry entries made below stay in place.
coproc DRIVER { exec "$run" "$build" "$driver" 2>"$work/driver.err"; }
driver_pid=$DRIVER_PID

driver_lines=()
to_driver() {
  printf '%s\n' "$1" >&"${DRIVER[1]}" || fail "driver has gone"
  local reply
  driver_lines=()
  while IFS= read -r -t 120 reply <&"${DRIVER[0]}"; do
    case "$reply" in
      "| "*) driver_lines+=("${reply#| }") ;;
      ok*)
        [ "$reply" = ok ] || log "$reply"
        [ -n "${quiet_driver:-}" ] || [ ${#driver_lines[@]} -eq 0 ] || printf '    %s\n' "${driver_lines[@]}"
        return 0
        ;;
      fail*) fail "$1: ${reply#fail }" ;;
      *) echo "    $reply" ;;
    esac
  done
  fail "$1: no answer from the driver"
}

# --- simulator ---------------------------------------------------------------

# Runs "$@" every 50 ms until it succeeds; false after LIMIT seconds.
wait_until() {
  local limit=$1; shift
  local deadline=$((SECONDS + limit))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

sim_ready() {
  local s=$1
  [ -n "$(head -n 1 "$work/$s.out" 2>/dev/null)" ] || ! kill -0 "${sim_pid[$s]}" 2>/dev/null
}

start_sim() {
  local s=$1; shift
  # The link is what the COM port maps to: it follows the line when a
  # control line closes it and opens a new pseudo-terminal.
  "$simulator" --trace "$work/$s.trace" --control-socket "$work/$s.sock" --link "$work/$s.pty" "$@" \
    >"$work/$s.out" 2>"$work/$s.err" &
  sim_pid[$s]=$!
  wait_until 30 sim_ready "$s"
  local pty
  pty=$(head -n 1 "$work/$s.out" 2>/dev/null)
  # The socket and the link are made before the path is printed.
  [ -n "$pty" ] && [ -S "$work/$s.sock" ] || fail "simulator $s did not start: $(cat "$work/$s.err")"
  sim_pty[$s]=$pty
}

# A line on the simulator's control socket; fails unless it answers "ok".
sim_send() {
  local s=$1; shift
  local answer
  answer=$(python3 - "$work/$s.sock" "$*" <<'PY'
import socket, sys
c = socket.socket(socket.AF_UNIX)
c.settimeout(10)
c.connect(sys.argv[1])
c.sendall((sys.argv[2] + "\n").encode())
for line in c.makefile():
    line = line.rstrip("\n")
    print(line)
    if line == "ok" or line.startswith("error"):
        break
PY
)
  [ "$(tail -n 1 <<<"$answer")" = ok ] || fail "simulator $s: $* -> $answer"
}

# Reads a trace ("SECONDS KIND BYTES" lines); prints its request frames.
trace_requests() {
  awk '$2 == "request" { $1 = ""; $2 = ""; sub(/^  /, ""); print }'
}

# Request frames in the trace, one line of upper-case hex bytes each.
requests() {
  local s=$1
  tail -n "+$(( ${trace_mark[$s]:-0} + 1 ))" "$work/$s.trace" | trace_requests
}

requests_are() {
  got=$(requests "$1" | awk '{print $2}')
  [ "$got" = "$want" ]
}

expect_requests() {
  local s=$1; shift
  local want got
  want=$(printf '%s\n' "$@" | tr 'a-f' 'A-F')
  wait_until 10 requests_are "$s" || fail "requests to $s: $(echo $got), expected $(echo $want)"
}

has_request() {
  requests "$1" | grep -qxF "$2"
}

# Requests with this command code since the mark; fails the step at once
# when there are more than MAX.
request_count_reaches() {
  local s=$1 code=$2 min=$3 max=$4
  count=$(requests "$s" | awk -v c="$code" '$2 == c' | wc -l)
  [ "$count" -le "$max" ] || fail "${count} requests $code to $s, expected $min to $max"
  [ "$count" -ge "$min" ]
}

# --- steps -------------------------------------------------------------------

app_ended() {
  ! kill -0 "$app_pid" 2>/dev/null
}

run_step() {
  local line=$1
  local -a w
  eval "w=($line)"
  case "${w[0]}" in
    sim) start_sim "${w[@]:1}" ;;
    port)
      local s=${w[1]} com=${w[2]}
      local link="$WINEPREFIX/dosdevices/${com,,}"
      ln -sfn "$work/$s.pty" "$link"
      mapped_links+=("$link")
      "$run" "$build" reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v "dnx8sim-$s" /t REG_SZ /d "$com" /f \
        >/dev/null 2>&1 || fail "cannot list $com in the registry"
      registry_values+=("dnx8sim-$s")
      ;;
    simctl) sim_send "${w[1]}" "${w[@]:2}" ;;
    start)
      "$run" "$build" "$config" >"$work/config.out" 2>&1 &
      app_pid=$!
      to_driver "window"
      ;;
    shot) screenshot "${w[1]}" ;;
    expect-layout)
      quiet_driver=1 to_driver dump
      printf '%s\n' "${driver_lines[@]}" >"$work/layout.txt"
      diff -u "$(dirname "$scenario")/${w[1]}" "$work/layout.txt" || fail "the controls differ from ${w[1]}"
      ;;
    sleep) sleep "${w[1]}" ;;
    trace-mark) trace_mark[${w[1]}]=$(wc -l <"$work/${w[1]}.trace") ;;
    expect-requests) expect_requests "${w[1]}" "${w[@]:2}" ;;
    expect-request)
      local want
      want=$(echo "${w[@]:2}" | tr 'a-f' 'A-F')
      wait_until 10 has_request "${w[1]}" "$want" || fail "no request $want to ${w[1]}"
      ;;
    expect-request-count)
      local count=0
      wait_until 10 request_count_reaches "${w[1]}" "${w[2]^^}" "${w[3]}" "${w[4]}" ||
        fail "${count} requests ${w[2]} to ${w[1]}, expected ${w[3]} to ${w[4]}"
      ;;
    expect-exit)
      local limit=${w[1]:-30}
      wait_until "$limit" app_ended || fail "config.exe still runs ${limit} s after its window was closed"
      wait "$app_pid"
      local rc=$?
      app_pid=""
      [ "$rc" -eq 0 ] || fail "config.exe ended with exit code $rc"
      ;;
    # file NAME LINE...: a text file in the work folder, one argument a line.
    file) printf '%s\r\n' "${w[@]:2}" >"$work/${w[1]}" ;;
    # @work@ in a driver line is the work folder as a Windows path.
    *) to_driver "${line//@work@/$work_windows}" ;;
  esac
}

while IFS= read -r line || [ -n "$line" ]; do
  step_line=$((step_line + 1))
  line="${line#"${line%%[![:space:]]*}"}"
  [ -z "$line" ] || [ "${line:0:1}" = "#" ] && continue
  run_step "$line"
done <"$scenario"
log "passed"
