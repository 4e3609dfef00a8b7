#!/usr/bin/env bash
# Writes the tag tests' media into DIR: one short MPEG audio file made by
# sox and lame, and copies of it tagged by Debian's own tag tools.
#   make-tagged.sh DIR
set -euo pipefail
dir=$1
mkdir -p "$dir"
cd "$dir"
stamp=".media-v1"
[ -f "$stamp" ] && exit 0
find . -mindepth 1 -delete
export LC_ALL=C.UTF-8 PYTHONIOENCODING=utf-8

# Half a second of a quiet tone: a few dozen real MPEG frames, no tags.
sox -n -r 44100 -b 16 -c 2 tone.wav synth 0.5 sine 440 gain -20
lame --quiet -b 128 tone.wav audio.mp3
rm tone.wav

# ID3v2.3 in UTF-16, written by eyeD3. "Ω" has no place in code page 1252.
cp audio.mp3 utf16-v23.mp3
eyeD3 --quiet --no-color --to-v2.3 --encoding utf16 \
  --title "Café Überfluß – € Ω" --artist "Ærø" --album "Straße" utf16-v23.mp3 >/dev/null

# ID3v2.4 in UTF-8, written by mutagen, with a comment and a picture.
cp audio.mp3 utf8-v24.mp3
printf '\x89PNG\r\n\x1a\nnot really a picture\x00\x01\x02' > cover.png
mid3v2 --song "Naïve façade – €" --artist "Zoë" --album "Ünïcode" --year 2004 --track 5/12 \
  --comment "Notes:Plain comment:eng" --picture "cover.png:Front:3:image/png" utf8-v24.mp3

# ID3v1.1 (and ID3v2.3 in Latin-1) written by id3lib's id3v2.
cp audio.mp3 v1.mp3
id3v2 --artist "V1 Artist" --song "V1 Title" --album "V1 Album" --year 1999 --track 7 \
  --genre 17 --comment "V1 comment" v1.mp3 >/dev/null
# The same without the ID3v2 tag, so only the ID3v1 tag remains.
cp v1.mp3 v1-only.mp3
id3v2 --delete-v2 v1-only.mp3 >/dev/null

touch "$stamp"
