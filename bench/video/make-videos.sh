#!/bin/sh
# The video benchmark's files, made once by Debian's ffmpeg into DIR, and
# the native baseline: the CPU seconds Debian's ffmpeg needs to decode each
# (-f null, two threads), written to DIR/native.txt as "file seconds".
#   make-videos.sh DIR
set -eu
dir=$1
mkdir -p "$dir"
cd "$dir"
command -v ffmpeg >/dev/null || { echo "bench: ffmpeg is not installed"; exit 1; }
ff() { ffmpeg -nostdin -v error -y "$@"; }
# Pictures only: without sound the input keeps time by the wall clock, so
# playback runs at real speed (the test sound device plays at four times).
[ -f h264-1080p.mp4 ] || ff -f lavfi -i testsrc2=size=1920x1080:rate=30 -t 10 -c:v libx264 -preset veryfast \
  -pix_fmt yuv420p h264-1080p.mp4
[ -f vp9-720p.webm ] || ff -f lavfi -i testsrc2=size=1280x720:rate=30 -t 10 -c:v libvpx-vp9 -deadline realtime \
  -cpu-used 8 -b:v 2M vp9-720p.webm
: > native.txt
for f in h264-1080p.mp4 vp9-720p.webm; do
  # user + system CPU seconds of the decode alone, as ffmpeg measures them
  secs=$(ffmpeg -nostdin -benchmark -threads 2 -i "$f" -f null - 2>&1 |
         sed -n 's/^bench: utime=\([0-9.]*\)s stime=\([0-9.]*\)s.*/\1 \2/p' | awk '{ print $1 + $2 }')
  echo "$f $secs" >> native.txt
done
