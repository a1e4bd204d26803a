#!/usr/bin/env bash
# dnx8.exe under Wine (Winsock) through Debian's ser2net on 127.0.0.1, as
# rfc2217:// and as tcp://, against the native dnx8sim; a malformed address
# is bad usage; dnx8 doctor on a COM port that answers and one that is not
# there.
#   wine_network_test.sh BUILD_DIR DNX8_EXE DNX8SIM
# Exits 77 (skipped) without the simulator or ser2net.
set -u
program=$2
ser2net=$(command -v ser2net || echo /usr/sbin/ser2net)
[ -x "$ser2net" ] || { echo "SKIPPED: no ser2net (scripts/setup.sh installs it)"; exit 77; }
. "$(dirname "$0")/../wine_com_port.sh"
start_simulator_on "$1" "$3" COM32 --preset pt100
pty=$(head -n 1 "$work/sim.out")

server_pid=""
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null; stop_simulator' EXIT
fail() {
  echo "FAILED: $*"
  tail -n 20 "$work/trace"
  exit 1
}
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
rfc=$(free_port)
raw=$(free_port)
# One simulator behind both: the commands below run one after the other.
printf 'connection: &rfc\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%d\n  connector: serialdev,%s,9600n81,local\n' "$rfc" "$pty" >"$work/ser2net.yaml"
printf 'connection: &raw\n  accepter: tcp,127.0.0.1,%d\n  connector: serialdev,%s,9600n81,local\n' "$raw" "$pty" >>"$work/ser2net.yaml"
"$ser2net" -n -u -c "$work/ser2net.yaml" -P "$work/ser2net.pid" >"$work/ser2net.log" 2>&1 &
server_pid=$!
listening() { ss -ltnH "sport = :$1" | grep -q LISTEN; }
deadline=$((SECONDS + 30))
until listening "$rfc" && listening "$raw"; do
  [ "$SECONDS" -lt "$deadline" ] || fail "ser2net does not listen"
  sleep 0.05
done
# ser2net keeps the device a moment after a client leaves.
released() { ! ls -l "/proc/$server_pid/fd" 2>/dev/null | grep -q -- "-> $pty\$"; }

for address in "rfc2217://127.0.0.1:$rfc" "tcp://127.0.0.1:$raw"; do
  deadline=$((SECONDS + 30))
  until released; do
    [ "$SECONDS" -lt "$deadline" ] || fail "ser2net keeps the device"
    sleep 0.05
  done
  before=$(grep -c request "$work/trace")
  "$runner" "$build" "$program" info "$address" >"$work/info.txt" 2>&1 || fail "info $address: $(cat "$work/info.txt")"
  grep -q 'DNX8' "$work/info.txt" || fail "info $address printed: $(cat "$work/info.txt")"
  [ "$(grep -c request "$work/trace")" -gt "$before" ] || fail "no frames through $address"
done

"$runner" "$build" "$program" info "tcp://127.0.0.1:0" >"$work/bad.txt" 2>&1
status=$?
[ "$status" -eq 2 ] || fail "tcp://127.0.0.1:0 exited $status: $(cat "$work/bad.txt")"
# The port doctor on Windows: a port that is there and answers, one that is not.
until released; do sleep 0.05; done
"$runner" "$build" "$program" doctor COM32 >"$work/doctor.txt" 2>&1 || fail "doctor COM32: $(cat "$work/doctor.txt")"
grep -q 'ok: a DNX8 answers' "$work/doctor.txt" || fail "doctor COM32 printed: $(cat "$work/doctor.txt")"
"$runner" "$build" "$program" doctor COM77 >"$work/doctor.txt" 2>&1
status=$?
[ "$status" -eq 1 ] || fail "doctor COM77 exited $status"
grep -q 'COM77 is not present' "$work/doctor.txt" || fail "doctor COM77 printed: $(cat "$work/doctor.txt")"
echo "dnx8.exe under Wine: info through ser2net as rfc2217:// and tcp://, a refused address, and doctor passed"
