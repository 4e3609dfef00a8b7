#!/bin/sh
# The video window's test videos, made at test time by Debian's ffmpeg
# command: 320x240 SMPTE colour bars with a 440 Hz tone, long enough to be
# still playing while a test looks at them, in two folders (each folder has
# its own information cache). Run with the test's folder; the videos go to
# "$1/media".
set -eu
command -v ffmpeg >/dev/null || { echo "fixture: ffmpeg is not installed (tools/setup-packages.sh)"; exit 1; }
dir="$1/media"
rm -rf "$dir"
mkdir -p "$dir/a" "$dir/b"
ffmpeg -nostdin -v error -y -f lavfi -i "smptebars=size=320x240:rate=25" -f lavfi -i "sine=frequency=440:sample_rate=44100" \
  -t 40 -c:v libx264 -preset veryfast -g 50 -pix_fmt yuv420p -c:a aac -shortest "$dir/a/bars.mp4"
cp "$dir/a/bars.mp4" "$dir/b/bars.mp4"
