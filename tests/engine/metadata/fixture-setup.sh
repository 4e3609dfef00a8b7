#!/bin/sh
# Makes the tagged files that the metadata tests read, with Debian's own tag
# writer (id3v2), into "$1/tagged". Each file is a block of stand-in audio
# bytes; the tag writer does not care what lies behind its tags.
set -eu
out="$1/tagged"
rm -rf "$out"
mkdir -p "$out"
command -v id3v2 >/dev/null || { echo "fixture: id3v2 is not installed (tools/setup-packages.sh)"; exit 1; }
audio() { head -c 4096 /dev/zero | tr '\0' '\125' > "$out/$1"; }

audio full.mp3
id3v2 -2 -t "Title" -a "Artist" -A "Album" -y 1999 -T 5 "$out/full.mp3"

# ID3v2 holds only the title; ID3v1 (written second, so ID3v2 stays as it is)
# adds the artist and the track.
audio split.mp3
id3v2 -2 -t "T" "$out/split.mp3"
id3v2 -1 -a "A" -T 5 "$out/split.mp3"

# "3/12" is no track number; the ID3v1 track fills it.
audio slash.mp3
id3v2 -2 -t "Slash" -a "S" -T 3/12 "$out/slash.mp3"
id3v2 -1 -T 7 "$out/slash.mp3"

audio v1only.mp3
id3v2 -1 -t "Old" -a "Timer" -A "Record" -y 1987 -T 3 "$out/v1only.mp3"

audio untagged.mp3
