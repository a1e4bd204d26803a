#!/usr/bin/env bash
# Runs dnx8.exe under Wine against the native dnx8sim on a pseudo-terminal
# mapped to COM28: read as text and as JSON, and a set whose frame the
# simulator must see. Czech texts must arrive as UTF-8.
#   wine_dnx8_test.sh BUILD_DIR DNX8_EXE DNX8SIM
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
link="$build/wineprefix/dosdevices/com28"
cleanup() {
  rm -f "$link"
  if [ -n "$sim" ]; then
    kill "$sim" 2>/dev/null
    wait "$sim" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

"$simulator" --preset pt100 --trace "$work/trace" >"$work/sim.out" 2>"$work/sim.err" &
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

fail() {
  echo "FAILED: $*"
  echo "--- frames on COM28 (last 20)"
  tail -n 20 "$work/trace"
  exit 1
}

# Text mode on Windows ends lines with CR LF.
"$runner" "$build" "$program" read COM28 >"$work/read.crlf" 2>"$work/read.err" || fail "read: $(cat "$work/read.err")"
tr -d '\r' <"$work/read.crlf" >"$work/read.txt"
grep -q '^Zapojení: *Třídrát$' "$work/read.txt" || fail "read printed: $(cat "$work/read.txt")"
grep -q '^Výstup: *Pasivní 4 až 20 mA$' "$work/read.txt" || fail "read printed: $(cat "$work/read.txt")"

"$runner" "$build" "$program" read COM28 --json >"$work/read.json" 2>"$work/read.err" || fail "read --json: $(cat "$work/read.err")"
python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); assert d["input"]["sensor"]=="Pt 100 (3850)", d' \
  "$work/read.json" || fail "read --json printed: $(cat "$work/read.json")"

"$runner" "$build" "$program" set COM28 filter=9 >"$work/set.txt" 2>&1 || fail "set: $(cat "$work/set.txt")"
grep -q 'request 01 3E 01 09 B7' "$work/trace" || fail "no Filter write on the wire"

"$runner" "$build" "$program" set COM28 filter=31 >"$work/bad.txt" 2>&1
status=$?
[ "$status" -eq 2 ] || fail "filter=31 exited $status: $(cat "$work/bad.txt")"
echo "dnx8.exe under Wine: read, read --json, set and a refused setting passed"
