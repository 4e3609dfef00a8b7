#!/usr/bin/env bash
# Writes the conformance suite's media into DIR: encoded files made by the
# Debian encoders, each with the reference decoder's raw output (16-bit
# little-endian signed at the file's own rate and channel count), and a
# manifest the test reads:
#   file  plugin  rate  channels  bits  tolerance  reference  [expected format text]
# The reference is raw little-endian signed PCM of `bits` bits at the file's
# own rate and channel count; tolerance is the largest allowed difference in
# steps of those bits (0 = bit-exact).
#   make-media.sh DIR
set -euo pipefail
dir=$1
mkdir -p "$dir"
cd "$dir"
stamp=".media-v4"
[ -f "$stamp" ] && [ -f manifest.txt ] && exit 0
# Start clean: some encoders refuse to overwrite what an older run left.
find . -mindepth 1 -delete
tags=(Conformance Zorvak)  # title, artist

# Test signals never hold an all-zero frame: sweeps in both channels.
sox -n -r 44100 -b 16 -c 2 s44.wav synth 3.1 sine 200-6000 sine 6000-300 gain -4
sox -n -r 96000 -b 24 -c 2 s96.wav synth 2.3 sine 100-20000 sine 440 gain -2
sox -n -r 22050 -b 16 -c 1 s22m.wav synth 1.7 sine 300-3000 gain -3
sox -n -r 48000 -b 16 -c 6 s48x6.wav synth 1.2 sine 200 sine 300 sine 400 sine 500 sine 600 sine 700 gain -8
sox -n -r 8000 -b 8 -c 1 s8k8.wav synth 1.3 sine 250-1500 gain -2
sox -n -r 32000 -b 16 -c 2 s32.wav synth 1.9 sine 150-2000 sine 800 gain -5

# Plain bit-depth conversions only: sox must not dither (it would by default).
raw16() { sox "$1" -t raw -e signed -b 16 -L "$2"; }
add() { echo "$*" >> manifest.txt; }

# WAVE (wav.dec, bit-exact): the sox files themselves, and the 16-bit signal
# stored again as 32-bit integers, 32- and 64-bit floats (exact for 16-bit
# values, so their reference is the 16-bit one). sox writes the extensible
# format for more than two channels and more than 16 bits.
raw16 s44.wav s44.wav.raw
add s44.wav wav.dec 44100 2 16 0 s44.wav.raw "PCM 16-bit 44 kHz stereo"
sox s96.wav -t raw -e signed -b 24 -L s96.wav.raw24
add s96.wav wav.dec 96000 2 24 0 s96.wav.raw24 "PCM 24-bit 96 kHz stereo"
raw16 s22m.wav s22m.wav.raw
add s22m.wav wav.dec 22050 1 16 0 s22m.wav.raw "PCM 16-bit 22 kHz mono"
raw16 s48x6.wav s48x6.wav.raw
add s48x6.wav wav.dec 48000 6 16 0 s48x6.wav.raw "PCM 16-bit 48 kHz 6 channels"
raw16 s8k8.wav s8k8.wav.raw
add s8k8.wav wav.dec 8000 1 16 0 s8k8.wav.raw "PCM 8-bit 8 kHz mono"
sox s44.wav -e signed -b 32 i32.wav
add i32.wav wav.dec 44100 2 16 0 s44.wav.raw "PCM 32-bit 44 kHz stereo"
sox s44.wav -e floating-point -b 32 f32.wav
add f32.wav wav.dec 44100 2 16 0 s44.wav.raw "Float 32-bit 44 kHz stereo"
sox s44.wav -e floating-point -b 64 f64.wav
add f64.wav wav.dec 44100 2 16 0 s44.wav.raw "Float 64-bit 44 kHz stereo"

# MP3 (reference: mpg123, gapless like the plug-in). The lossy tolerance
# covers float rounding differences between builds of the same decoder.
lame --quiet -b 320 --tt "${tags[0]}" --ta "${tags[1]}" s44.wav cbr320.mp3
lame --quiet -V 2 s44.wav vbr.mp3
lame --quiet -t -b 128 s44.wav notag.mp3                     # no Info header: length by scan
lame --quiet -b 64 --resample 22.05 s44.wav mpeg2.mp3
lame --quiet -b 32 -m m --resample 11.025 s44.wav mpeg25.mp3
twolame --quiet -b 192 s44.wav layer2.mp2
for f in cbr320.mp3 vbr.mp3 notag.mp3 mpeg2.mp3 mpeg25.mp3 layer2.mp2; do
  mpg123 -q -s "$f" > "$f.raw"
done
add cbr320.mp3 mp3.dec 44100 2 16 1 cbr320.mp3.raw "MP3 320 kbps"
add vbr.mp3 mp3.dec 44100 2 16 1 vbr.mp3.raw
add notag.mp3 mp3.dec 44100 2 16 1 notag.mp3.raw "MP3 128 kbps"
add mpeg2.mp3 mp3.dec 22050 2 16 1 mpeg2.mp3.raw
add mpeg25.mp3 mp3.dec 11025 1 16 1 mpeg25.mp3.raw
add layer2.mp2 mp3.dec 44100 2 16 1 layer2.mp2.raw "MP2 192 kbps"

# FLAC (reference: flac -d, bit-exact). 16/44.1 with tags, 24/96, 8-bit
# mono, six channels, Ogg FLAC.
flac_ref() { flac -s -d --force-raw-format --endian=little --sign=signed -o "$2" "$1"; }
flac -s -8 -T "TITLE=${tags[0]}" -T "ARTIST=${tags[1]}" -o s44.flac s44.wav
flac -s -5 -o s96.flac s96.wav
flac_ref s96.flac s96.flac.raw24
flac -s -5 -o s8k8.flac s8k8.wav
flac -s -5 -o s48x6.flac s48x6.wav
flac -s -5 --ogg -o s32.oga s32.wav
raw16 s44.flac s44.flac.raw
raw16 s8k8.flac s8k8.flac.raw
raw16 s48x6.flac s48x6.flac.raw
raw16 s32.wav s32.oga.raw
add s44.flac flac.dec 44100 2 16 0 s44.flac.raw "FLAC 16/44.1"
add s96.flac flac.dec 96000 2 24 0 s96.flac.raw24 "FLAC 24/96"
add s8k8.flac flac.dec 8000 1 16 0 s8k8.flac.raw "FLAC 8/8"
add s48x6.flac flac.dec 48000 6 16 0 s48x6.flac.raw "FLAC 16/48"
add s32.oga flac.dec 32000 2 16 0 s32.oga.raw "FLAC 16/32"


# Ogg Vorbis (reference: oggdec, 16-bit, rounding may differ by one step).
oggenc -Q -q 4 -s 1001 -t "${tags[0]}" -a "${tags[1]}" -o vorbis.ogg s44.wav
oggenc -Q -q 2 -s 1002 -o vorbis22.ogg s22m.wav
oggdec -Q -R -b 16 -e 0 -s 1 -o vorbis.ogg.raw vorbis.ogg
add vorbis.ogg ogg.dec 44100 2 16 1 vorbis.ogg.raw
# A chained stream of two links at the same rate and channel count.
oggenc -Q -q 3 -s 1003 -o link2.ogg s44.wav
cat vorbis.ogg link2.ogg > chained.ogg
oggdec -Q -R -b 16 -e 0 -s 1 -o chained.ogg.raw chained.ogg
add chained.ogg ogg.dec 44100 2 16 1 chained.ogg.raw
# A chain whose links differ in rate and channels: no reference, played only.
cat vorbis.ogg vorbis22.ogg > mixedchain.ogg

# Ogg Opus (reference: opusdec at 48 kHz without dither).
opusenc --quiet --serial 2001 --bitrate 96 --title "${tags[0]}" --artist "${tags[1]}" s44.wav opus.opus
opusenc --quiet --serial 2002 --bitrate 64 s44.wav opus2.opus
opusdec --quiet --rate 48000 --no-dither opus.opus opus.opus.raw
# (Opus is VBR: its average rate depends on the signal, so no format text is expected)
add opus.opus ogg.dec 48000 2 16 1 opus.opus.raw
cat opus.opus opus2.opus > chained.opus
opusdec --quiet --rate 48000 --no-dither chained.opus chained.opus.raw
add chained.opus ogg.dec 48000 2 16 1 chained.opus.raw

touch "$stamp"
