#!/usr/bin/env bash
# Runs a Windows program of a build tree under Wine, inside a virtual X display.
#   wine-run.sh BUILD_DIR --start           create the prefix, start the display
#   wine-run.sh BUILD_DIR --stop            stop the prefix's server and the display
#   wine-run.sh BUILD_DIR PROGRAM [ARGS...]  run a program (starts what is missing)
# The prefix is BUILD_DIR/wineprefix; the display is shared by all programs of
# one test run and recorded in BUILD_DIR/wine-state.
set -u
build=$(cd "$1" && pwd); shift
export WINEPREFIX="$build/wineprefix"
# Wine wants a home folder; a bare CI environment may have none.
export HOME="${HOME:-$build}"
export WINEDEBUG=-all
# An English locale, so that text handled in the wrong code page shows.
export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
# No download prompts for the .NET and HTML runtimes.
export WINEDLLOVERRIDES="mscoree,mshtml="
state="$build/wine-state"
mkdir -p "$state"

# Programs started while a lock is held get 9>&-: an inherited descriptor
# would keep the lock for as long as they live.
ensure_prefix() {
  (
    flock 9
    if [ ! -f "$state/prefix-ready" ]; then
      wineboot -i >/dev/null 2>&1 9>&-
      # Wine draws the window frames itself: the virtual display has no
      # window manager, and screenshots should show captions.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 9>&-
      # A crashing test prints its backtrace and ends, instead of waiting
      # for someone to close the crash dialog until its time-out.
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 9>&-
      wineserver -w 9>&-
      touch "$state/prefix-ready"
    fi
    # Caption buttons are drawn with Marlett, which this Wine finds only
    # among the prefix's own fonts.
    fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ -f "$fonts/marlett.ttf" ] || cp /usr/share/wine/fonts/marlett.ttf "$fonts/" 2>/dev/null
  ) 9>"$state/lock"
}

display_alive() {
  [ -f "$state/display" ] && [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null
}

ensure_display() {
  (
    flock 9
    if ! display_alive; then
      rm -f "$state/display"
      Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$state/display" 9>&- >/dev/null 2>&1 &
      local pid=$!
      echo $pid >"$state/xvfb.pid"
      # The number is written once the display takes connections; a busy
      # machine may take its time.
      local deadline=$((SECONDS + 120))
      until [ -s "$state/display" ]; do
        if ! kill -0 $pid 2>/dev/null || [ "$SECONDS" -ge "$deadline" ]; then
          echo "wine-run: Xvfb did not start" >&2
          exit 1
        fi
        sleep 0.05
      done
    fi
  ) 9>"$state/lock.display" || exit 1
  export DISPLAY=":$(tr -d '[:space:]' <"$state/display")"
}

# One server for the prefix, kept while the tests run: between two programs
# it would otherwise stop (this Wine starts its servers with no delay at all)
# and be started again by the next, saving and loading the registry each
# time. It ends a minute after its last program, or at --stop. Nothing of
# ours may hold its output.
#
# The first program of a new server also starts the session's own processes.
# When two test programs start together on a fresh server, one of them waits
# more than a minute for that start-up (and a start in that window has been
# seen to fail), so one small program runs alone first.
ensure_server() {
  wineserver -p60 </dev/null >/dev/null 2>&1 9>&-
  wine cmd /c exit 0 </dev/null >/dev/null 2>&1 9>&-
  return 0
}

case "${1:-}" in
  --start)
    ensure_display
    ensure_prefix
    ensure_server
    echo "wine prefix $WINEPREFIX on display $DISPLAY"
    ;;
  --stop)
    wineserver -k 2>/dev/null
    if [ -f "$state/xvfb.pid" ]; then
      kill "$(cat "$state/xvfb.pid")" 2>/dev/null
      rm -f "$state/xvfb.pid" "$state/display"
    fi
    exit 0
    ;;
  *)
    ensure_display
    ensure_prefix
    exec wine "$@"
    ;;
esac
