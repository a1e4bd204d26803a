#!/usr/bin/env bash
# Runs dnx8.exe under Wine against the native dnx8sim on a pseudo-terminal
# mapped to COM28: read as text and as JSON, and a set whose frame the
# simulator must see. Czech texts must arrive as UTF-8.
#   wine_dnx8_test.sh BUILD_DIR DNX8_EXE DNX8SIM
# Exits 77 (skipped) when the simulator is not built.
set -u
program=$2
. "$(dirname "$0")/../wine_com_port.sh"
start_simulator_on "$1" "$3" COM28 --preset pt100

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
