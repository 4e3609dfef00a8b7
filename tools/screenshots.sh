#!/usr/bin/env bash
# Renders the toolkit's windows for every skin under <root>/skins into PNG
# files: run by "./zv screenshots" with a private display and wineserver.
#   screenshots.sh ROOT OUT DOCS
# ROOT: the installed root (bin/skinview.exe, skins/); OUT: the folder for the
# PNG files; DOCS: where the default skin's main window is copied for the README.
set -uo pipefail
root=$1 out=$2 docs=$3
rm -rf "$out"
mkdir -p "$out"
# Wine would wait for a window manager at every window otherwise.
for viewer in skinview.exe toolview.exe editorview.exe; do
  "$WINE64" reg add "HKCU\\Software\\Wine\\AppDefaults\\$viewer\\X11 Driver" /v Managed /d N /f </dev/null >/dev/null 2>&1
done

# shot NAME ARGS...: starts skinview, waits until it reports its drawn window,
# grabs that rectangle of the screen and ends the program.
shot() {
  local name=$1 log="$out/.$1.log" line="" pid
  shift
  "$WINE64" "$root/bin/${VIEWER:-${program:-skinview.exe}}" /at 40 40 "$@" </dev/null >"$log" 2>&1 &
  pid=$!
  for _ in $(seq 1 150); do
    line=$(tr -d '\r' <"$log" | grep -a '^window ' | head -1)
    [ -n "$line" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -n "$line" ]; then
    local x y w h
    read -r _ _ x y w h <<<"$line"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$name.png"
    echo "  $out/$name.png"
  else
    echo "zv: $name: skinview showed no window" >&2
    cat "$log" >&2
  fi
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  rm -f "$log"
}

found=0
for dir in "$root"/skins/*/; do
  [ -f "$dir/main.skn" ] || continue
  name=$(basename "$dir")
  found=1
  shot "main-$name-full" /skin "$name"
  shot "main-$name-mini" /skin "$name" /mini
  shot "main-$name-full-states" /skin "$name" /hot toggleplay /hot next /down next
  VIEWER=editorview.exe shot "editor-$name" /skin "$name"
done
[ $found -eq 1 ] && VIEWER=editorview.exe shot "editor-save-options" /skin default /save
[ $found -eq 1 ] || echo "zv: no skins under $root/skins; only the frame and dialog are shown (plain pictures)"
shot frame /frame
shot dialog /dialog
shot autoplay /autoplay
shot about /about
shot openfile /openfile
# The tool windows, with the engine behind them.
if [ -f "$root/bin/toolview.exe" ]; then
  program=toolview.exe
  shot eq-equalizer /eq 1
  shot eq-mixer /eq 2
  shot eq-transition /eq 3
  shot eq-response /fr
  shot timer /timer
  shot countdown /countdown
  shot prompt /prompt
  shot setup-filetypes /setup 5
  shot setup-plugins /setup 6
  program=skinview.exe
fi
if [ -f "$out/main-default-full.png" ]; then
  cp "$out/main-default-full.png" "$docs/screenshot-main.png"
  echo "  $docs/screenshot-main.png"
fi
