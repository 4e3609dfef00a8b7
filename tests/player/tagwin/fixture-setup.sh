#!/bin/sh
# Makes the media of the tag window tests into "$1/media" with Debian's
# tools: an MP3 with ID3v1 and ID3v2 tags written by lame and id3v2, and a
# WAVE file (a type that keeps no ID3 tags).
set -eu
out="$1/media"
rm -rf "$out"
mkdir -p "$out"
for tool in sox lame id3v2; do
  command -v "$tool" >/dev/null || { echo "fixture: $tool is not installed (tools/setup-packages.sh)"; exit 1; }
done
cd "$out"
sox -n -r 44100 -b 16 -c 2 tone.wav synth 0.4 sine 440 gain -6
lame --quiet -b 64 tone.wav tagged.mp3
id3v2 -1 -a "Lame Artist" -t "Lame Title" -A "Lame Album" -y 2001 -T 4 -g 17 tagged.mp3
id3v2 -2 -a "Lame Artist" -t "Lame Title" -A "Lame Album" -y 2001 -T 4 -c "first comment" tagged.mp3
