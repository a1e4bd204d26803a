#!/usr/bin/env bash
# Runs dnx8.exe serve under Wine against the native dnx8sim on a
# pseudo-terminal mapped to COM31: the converter connects, its reading
# arrives as JSON, and a filter write reaches the line.
#   wine_serve_test.sh BUILD_DIR DNX8_EXE DNX8SIM
# Exits 77 (skipped) when the simulator is not built.
set -u
program=$2
. "$(dirname "$0")/../wine_com_port.sh"
start_simulator_on "$1" "$3" COM31 --preset pt100

server_pid=""
stop_all() {
  # The server runs in a process group of its own: end it whole.
  [ -n "$server_pid" ] && kill -TERM -- "-$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  stop_simulator
}
trap stop_all EXIT

fail() {
  echo "FAILED: $*"
  echo "--- server output"
  cat "$work/serve.out" "$work/serve.err" 2>/dev/null | tail -n 20
  echo "--- frames on COM31 (last 20)"
  tail -n 20 "$work/trace"
  exit 1
}

setsid "$runner" "$build" "$program" serve --listen 127.0.0.1:0 COM31 >"$work/serve.out" 2>"$work/serve.err" &
server_pid=$!

# The first line is the page's address; Wine takes its time on a busy machine.
url=""
deadline=$((SECONDS + 120))
until [ -n "$url" ]; do
  url=$(head -n 1 "$work/serve.out" 2>/dev/null | tr -d '\r')
  [ -n "$url" ] && break
  kill -0 "$server_pid" 2>/dev/null || fail "dnx8.exe serve ended before it printed its address"
  [ "$SECONDS" -lt "$deadline" ] || fail "no address within 120 s"
  sleep 0.1
done

python3 - "$url" <<'PY' || fail "the API did not answer as expected"
import http.client, json, sys, time, urllib.parse

url = urllib.parse.urlsplit(sys.argv[1])
origin = f"http://{url.netloc}"

def ask(method, path, body=None):
    connection = http.client.HTTPConnection(url.hostname, url.port, timeout=30)
    headers = {"Host": url.netloc}
    if body is not None:
        headers.update({"Content-Type": "application/json", "Origin": origin})
    connection.request(method, path, body=json.dumps(body) if body is not None else None, headers=headers)
    reply = connection.getresponse()
    return reply.status, json.loads(reply.read() or b"null")

deadline = time.monotonic() + 60
while True:
    status, converters = ask("GET", "/api/converters")
    if status == 200 and converters and converters[0]["state"] == "connected":
        break
    assert time.monotonic() < deadline, f"never connected: {status} {converters}"
    time.sleep(0.2)
ident = converters[0]["id"]
assert converters[0]["identity"] == "DNX8", converters

status, reading = ask("GET", f"/api/converters/{ident}/reading")
assert status == 200, (status, reading)
assert reading["input"]["sensor"] == "Pt 100 (3850)", reading

status, reply = ask("POST", f"/api/converters/{ident}/settings", {"Filter": 9})
assert status == 200 and reply["echo"]["Filter"] == 9, (status, reply)
status, reply = ask("POST", f"/api/converters/{ident}/settings", {"Filter": 31})
assert status == 400, (status, reply)
PY

grep -q 'request 01 3E 01 09 B7' "$work/trace" || fail "no Filter write on the wire"
[ "$(grep -c 'request 01 3E 01' "$work/trace")" -eq 1 ] || fail "a refused Filter reached the line"
echo "dnx8.exe serve under Wine: connected, read and wrote through the API"
