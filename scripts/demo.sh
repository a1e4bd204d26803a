#!/usr/bin/env bash
# Builds everything and runs config.exe under Wine: on your $DISPLAY when you
# have one, otherwise inside a virtual display, where a screenshot is saved to
# build/screenshots/demo.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/setup.sh
scripts/build.sh native windows >/dev/null

build="$root/build/windows"
exe="$build/bin/config.exe"
run="$root/cmake/wine-run.sh"

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting config.exe on $DISPLAY (close its window to end the demo)"
  export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
  [ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }
  wine "$exe"
  exit 0
fi

"$run" "$build" --start >/dev/null
trap '"$run" "$build" --stop' EXIT
export DISPLAY=":$(tr -d '[:space:]' <"$build/wine-state/display")"
"$run" "$build" "$exe" &
app=$!
for _ in $(seq 150); do
  xdotool search --name '^DNX8 config$' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1
mkdir -p "$root/build/screenshots"
shot="$root/build/screenshots/demo.png"
import -window root "$shot"
echo "config.exe is running in a virtual display; screenshot: $shot"
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
