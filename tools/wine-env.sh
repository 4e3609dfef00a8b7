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

# Creates the private prefix once (about 5-8 s) with its settings.
wine_prefix_ready() {
  if [ ! -f "$WINEPREFIX/.zv-ready" ]; then
    echo "setup: creating Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wine_quiet wineboot --init
    "$WINESERVER" -w
    touch "$WINEPREFIX/.zv-ready"
  fi
  wine_prefix_settings
}

# The registry settings of the prefix. The stamp holds their version: raise
# it when a setting is added, and prefixes made earlier get them at their
# next use. Wine reads them when its server starts, so this runs before.
#  - The ALSA driver, so a machine with a pulse server behaves like one
#    without.
#  - Unmanaged windows: on a display without a window manager Wine waits
#    about 2 s at every window's creation and destruction for a manager that
#    never answers; unmanaged, Wine places, focuses and minimizes windows
#    itself, in milliseconds.
#  - No crash dialog: a program that crashes gets its backtrace written to
#    its output and ends, instead of waiting for a click on a display
#    nobody looks at until its test's time runs out.
ZV_PREFIX_SETTINGS=3
wine_prefix_settings() {
  [ "$(cat "$WINEPREFIX/.zv-settings" 2>/dev/null)" = "$ZV_PREFIX_SETTINGS" ] && return 0
  wine_quiet reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f
  wine_quiet reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
  wine_quiet reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
  "$WINESERVER" -w
  echo "$ZV_PREFIX_SETTINGS" > "$WINEPREFIX/.zv-settings"
}

# Drive D: of the prefix is a CD-ROM drive holding an audio disc (an empty
# folder labelled "Audio CD"): the CD tests put a simulated disc into it
# through their own MCI driver. Wine reads drive types when its server
# starts, so this is done before the server is started, once per prefix.
wine_cd_drive_ready() {
  [ -f "$WINEPREFIX/.zv-cdrom" ] && return 0
  local folder="$ZV_BUILD/audio-cd"
  mkdir -p "$folder"
  printf 'Audio CD' > "$folder/.windows-label"
  printf '1a2b3c4d' > "$folder/.windows-serial"
  [ -e "$WINEPREFIX/dosdevices/d:" ] || ln -s "$folder" "$WINEPREFIX/dosdevices/d:"
  wine_quiet reg add 'HKLM\Software\Wine\Drives' /v 'd:' /d cdrom /f
  "$WINESERVER" -w
  touch "$WINEPREFIX/.zv-cdrom"
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
