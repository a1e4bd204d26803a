#!/usr/bin/env bash
# Builds everything, starts a simulated converter (dnx8sim) on a
# pseudo-terminal that Wine sees as COM3, and runs config.exe under Wine.
#   scripts/demo.sh [PRESET]     PRESET of dnx8sim (default pt100; see
#                                build/native/bin/dnx8sim --help)
# With a $DISPLAY the window opens there: pick COM3 in "Port:" and tick
# "Číst" to watch the live values. Without one it runs in a virtual display,
# connects, polls for a few seconds and saves a screenshot to
# build/screenshots/demo.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
preset=${1:-pt100}
scripts/setup.sh
scripts/build.sh native windows >/dev/null

build="$root/build/windows"
exe="$build/bin/config.exe"
driver="$build/bin/e2e_driver.exe"
sim="$root/build/native/bin/dnx8sim"
run="$root/cmake/wine-run.sh"
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
state="$build/wine-state"
mkdir -p "$state"

virtual=0
if [ -z "${DISPLAY:-}" ]; then
  virtual=1
  "$run" "$build" --start >/dev/null
  export DISPLAY=":$(tr -d '[:space:]' <"$state/display")"
else
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  # Caption buttons need Marlett among the prefix's fonts.
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [ -f "$fonts/marlett.ttf" ] || cp /usr/share/wine/fonts/marlett.ttf "$fonts/" 2>/dev/null || true
fi

sim_pid=""
com3="$WINEPREFIX/dosdevices/com3"
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -f "$com3"
  if [ "$virtual" = 1 ]; then "$run" "$build" --stop; fi
}
trap cleanup EXIT

"$sim" --preset "$preset" >"$state/demo-sim.out" 2>"$state/demo-sim.err" &
sim_pid=$!
pty=""
for _ in $(seq 100); do
  pty=$(head -n 1 "$state/demo-sim.out" 2>/dev/null) && [ -n "$pty" ] && break
  sleep 0.05
done
[ -n "$pty" ] || { echo "dnx8sim did not start: $(cat "$state/demo-sim.err")" >&2; exit 1; }
ln -sfn "$pty" "$com3"

# The serial port list lives only as long as the Wine server: keep it up
# while the port is listed and config.exe starts.
wineserver -p30 2>/dev/null || true
wine reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v dnx8sim /t REG_SZ /d COM3 /f >/dev/null 2>&1

if [ "$virtual" = 0 ]; then
  echo "dnx8sim ($preset) answers on COM3. Pick COM3 in \"Port:\", tick \"Číst\"; close the window to end."
  wine "$exe"
  exit 0
fi

wine "$exe" &
app=$!
# Work the window as a user would: pick COM3, tick "Číst", watch a while.
printf '%s\n' "window" "select 101 COM3" "click 116" | wine "$driver" >"$state/demo-driver.out"
grep -q '^fail' "$state/demo-driver.out" && { cat "$state/demo-driver.out" >&2; exit 1; }
sleep 3
mkdir -p "$root/build/screenshots"
shot="$root/build/screenshots/demo.png"
import -window root -crop 700x540+0+0 +repage "$shot"
echo "config.exe connected to dnx8sim ($preset) on COM3 in a virtual display; screenshot: $shot"
printf '%s\n' "window" "close" | wine "$driver" >/dev/null
wait "$app" 2>/dev/null || true
