#!/bin/sh
# Test videos for the video input, made at test time by Debian's ffmpeg
# command: SMPTE colour bars whose top strip shows the frame number in
# binary (eight 40x30 blocks, block i white when bit i is set) and a 440 Hz
# tone, in each container and codec the input plays, plus damaged copies.
# Run before the tests with the test's folder; the videos go to "$1/media".
set -eu
command -v ffmpeg >/dev/null || { echo "fixture: ffmpeg is not installed (tools/setup-packages.sh)"; exit 1; }
dir="$1/media"
rm -rf "$dir"
mkdir -p "$dir"
cd "$dir"

counter="drawbox=x=0:y=0:w=320:h=30:color=black:t=fill"
i=0
while [ $i -lt 8 ]; do
  counter="$counter,drawbox=x=$((i * 40)):y=0:w=40:h=30:color=white:t=fill:enable='gt(bitand(n\\,$((1 << i)))\\,0)'"
  i=$((i + 1))
done
bars() { echo "smptebars=size=320x240:rate=25,$counter"; }
tone="sine=frequency=440:sample_rate=44100"
ff() { ffmpeg -nostdin -v error -y "$@"; }

ff -f lavfi -i "$(bars)" -f lavfi -i "$tone" -t 4 -c:v libx264 -preset veryfast -g 25 -pix_fmt yuv420p \
   -c:a aac -shortest bars.mp4
ff -f lavfi -i "$(bars)" -f lavfi -i "$tone" -t 2 -c:v libvpx-vp9 -deadline realtime -cpu-used 8 -g 25 \
   -c:a libopus -shortest bars-vp9.webm
ff -f lavfi -i "$(bars)" -f lavfi -i "$tone" -t 2 -c:v libvpx -deadline realtime -cpu-used 8 -g 25 \
   -c:a libvorbis -shortest bars-vp8.webm
ff -f lavfi -i "$(bars)" -f lavfi -i "$tone" -t 2 -c:v mpeg4 -q:v 3 -g 25 -c:a libmp3lame -shortest bars-mpeg4.mkv
ff -f lavfi -i "$(bars)" -f lavfi -i "$tone" -t 2 -c:v libx265 -preset ultrafast -x265-params log-level=error \
   -pix_fmt yuv420p -c:a flac -shortest bars-hevc.mkv
ff -f lavfi -i "$(bars)" -f lavfi -i "$tone" -t 2 -c:v mjpeg -q:v 3 -pix_fmt yuvj420p -c:a libmp3lame \
   -shortest bars-mjpeg.avi
ff -f lavfi -i "$(bars)" -t 2 -c:v libx264 -preset veryfast -g 25 -pix_fmt yuv420p pictures-only.mp4
ff -f lavfi -i "$tone" -t 2 -c:a aac sound-only.m4a
# The same file under a name no input registers: claimed by its content.
cp bars.mp4 bars-renamed.dat
# Not a video at all, under a video name.
printf 'This is a text file, not a video.\n%.0s' $(seq 1 200) > text.mp4
# Damaged: cut short, a head only, and runs of other bytes written over
# parts of each container (the same bytes every time: from a fixed pattern).
size=$(stat -c %s bars.mp4)
head -c $((size * 2 / 5)) bars.mp4 > truncated.mp4
head -c 200 bars.mp4 > head-only.mp4
pattern() { head -c "$1" /dev/zero | tr '\000' '\245'; }
overwrite() {  # overwrite SOURCE TARGET OFFSET LENGTH
  cp "$1" "$2"
  pattern "$4" | dd of="$2" bs=1 seek="$3" conv=notrunc status=none
}
msize=$(stat -c %s bars-mpeg4.mkv)
overwrite bars-mpeg4.mkv garbled.mkv $((msize / 3)) $((msize / 3))
overwrite bars.mp4 garbled.mp4 3000 20000
# A table of damage: each container cut at five lengths and hit in five places.
for src in bars.mp4 bars-vp9.webm bars-mjpeg.avi bars-hevc.mkv; do
  n=$(stat -c %s "$src")
  for part in 1 3 5 7 9; do
    head -c $((n * part / 10)) "$src" > "damaged-cut$part-$src"
    overwrite "$src" "damaged-hit$part-$src" $((n * part / 10)) 512
  done
done
