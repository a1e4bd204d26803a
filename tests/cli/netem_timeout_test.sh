#!/usr/bin/env bash
# --timeout against a slow network: a network namespace of its own whose
# loopback delays every packet (tc netem), ser2net there exporting a
# dnx8sim pseudo-terminal as raw tcp. A 50 ms round trip works as it is; a
# 300 ms one fails with the default time-out and works with --timeout.
# Exit 77 (skipped) where the machine has no namespaces or no netem.
#   netem_timeout_test.sh DNX8 DNX8SIM
set -uo pipefail
dnx8=$1
sim=$2
skip() { echo "skipped: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "needs root for a network namespace"
command -v ser2net >/dev/null || [ -x /usr/sbin/ser2net ] || skip "no ser2net"
ser2net=$(command -v ser2net || echo /usr/sbin/ser2net)
ns=dnx8-netem-$$
work=$(mktemp -d)
sim_pid=""
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  ip netns del "$ns" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
ip netns add "$ns" 2>/dev/null || skip "cannot make a network namespace"
ip -n "$ns" link set lo up || skip "cannot bring up the namespace's loopback"
ip netns exec "$ns" tc qdisc add dev lo root netem delay 25ms 2>/dev/null || skip "no tc netem on this kernel"

"$sim" --preset pt100 >"$work/sim.out" &
sim_pid=$!
for _ in $(seq 1 500); do [ -s "$work/sim.out" ] && break; sleep 0.02; done
pty=$(head -n 1 "$work/sim.out")
[ -n "$pty" ] || fail "dnx8sim did not start"

# Any port is free in a namespace of our own.
port=4001
printf 'connection: &raw\n  accepter: tcp,127.0.0.1,%d\n  connector: serialdev,%s,9600n81,local\n' "$port" "$pty" \
  >"$work/ser2net.yaml"
ip netns exec "$ns" "$ser2net" -n -u -c "$work/ser2net.yaml" -P "$work/pid" &
server_pid=$!
listening() { ip netns exec "$ns" ss -ltnH "sport = :$port" | grep -q LISTEN; }
for _ in $(seq 1 500); do listening && break; sleep 0.02; done
listening || fail "ser2net does not listen"

in_ns() { ip netns exec "$ns" "$dnx8" "$@" </dev/null; }
in_ns info "tcp://127.0.0.1:$port" >"$work/out" 2>&1 || fail "50 ms round trip: $(cat "$work/out")"
grep -q DNX8 "$work/out" || fail "50 ms round trip: no identity"

ip netns exec "$ns" tc qdisc change dev lo root netem delay 150ms || fail "cannot change the delay"
in_ns info "tcp://127.0.0.1:$port" >"$work/out" 2>&1
[ $? -eq 1 ] || fail "a 300 ms round trip should time out by default"
in_ns info "tcp://127.0.0.1:$port" --timeout 1000 >"$work/out" 2>&1 || fail "--timeout 1000: $(cat "$work/out")"
grep -q DNX8 "$work/out" || fail "--timeout 1000: no identity"
echo "passed"
