#!/bin/sh
# Makes the tag media of the UTF-8 tests into "$1/tagmedia" with Debian's
# tools, under names beyond code page 1252 (Linux names are UTF-8, which the
# Windows side sees as those characters):
#   "日本語 曲.mp3"  ID3v2.3 in UTF-16 by eyeD3, Japanese and Greek texts
#   "Ωδή 🎵.mp3"     an ID3v1 record written byte by byte in code page 1252
#                    ("Café € naïve"), as players on Western systems wrote it
set -eu
out="$1/tagmedia"
rm -rf "$out"
mkdir -p "$out"
for tool in sox lame eyeD3; do
  command -v "$tool" >/dev/null || { echo "fixture: $tool is not installed (tools/setup-packages.sh)"; exit 1; }
done
export LC_ALL=C.UTF-8 PYTHONIOENCODING=utf-8
cd "$out"
sox -n -r 44100 -b 16 -c 2 tone.wav synth 0.4 sine 440 gain -6
lame --quiet -b 64 tone.wav audio.mp3
rm tone.wav

cp audio.mp3 "日本語 曲.mp3"
eyeD3 --quiet --no-color --to-v2.3 --encoding utf16 \
  --title "夜の歌 🎸" --artist "Ελληνικά" --album "Альбом" "日本語 曲.mp3" >/dev/null

# ID3v1.1: "TAG", title, artist, album (30 bytes each), year (4),
# comment (28), 0, track, genre.
pad() { printf '%s' "$1"; n=$(printf '%s' "$1" | wc -c); while [ "$n" -lt "$2" ]; do printf '\000'; n=$((n + 1)); done; }
cp audio.mp3 "Ωδή 🎵.mp3"
{
  printf 'TAG'
  pad "$(printf 'Caf\351 \200 na\357ve')" 30
  pad "$(printf 'Bj\366rk')" 30
  pad "$(printf 'Gr\374\337e')" 30
  pad 1997 4
  pad "" 28
  printf '\000\003\021'
} >> "Ωδή 🎵.mp3"
rm audio.mp3
