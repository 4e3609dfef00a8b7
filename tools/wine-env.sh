# Sourced by ./zv: the Wine environment of one build folder.
#   ZV_BUILD (build folder), sets WINEPREFIX and the wine helpers.
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
export WINEPREFIX="$ZV_BUILD/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# Runs a Wine program with no terminal attached: Wine's helper processes would
# otherwise keep our pipes open long after the program ended.
wine_quiet() { "$WINE64" "$@" </dev/null >/dev/null 2>&1; }

# Creates the private prefix once (about 5-8 s) and forces the ALSA driver,
# so a machine with a pulse server behaves like one without.
wine_prefix_ready() {
  [ -f "$WINEPREFIX/.zv-ready" ] && return 0
  echo "setup: creating Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wine_quiet wineboot --init
  wine_quiet reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f
  "$WINESERVER" -w
  touch "$WINEPREFIX/.zv-ready"
}

# A persistent wineserver started outside CTest: without it every test pays
# Wine's start-up, and one first started under CTest makes CTest hang.
wine_server_start() { "$WINESERVER" -p </dev/null >/dev/null 2>&1; wine_quiet wineboot; }
wine_server_stop() { "$WINESERVER" -k >/dev/null 2>&1 || true; }

# A private X display for the duration of a command; no display of the user's
# is touched. Sets DISPLAY and XVFB_PID.
xvfb_start() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    trap xvfb_stop EXIT
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "zv: could not start Xvfb" >&2
  return 1
}
xvfb_stop() {
  [ -n "${XVFB_PID:-}" ] || return 0
  kill "$XVFB_PID" 2>/dev/null
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=""
}
