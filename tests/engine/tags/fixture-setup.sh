#!/bin/sh
# Makes the tagged media that the tag tests read, with Debian's encoders and
# tag writers, into "$1/media": one file per format whose tags only its
# decoder reads (FLAC, Ogg Vorbis, Opus), an MP3 whose ID3 tags the engine
# reads itself, and an untagged FLAC.
set -eu
out="$1/media"
rm -rf "$out"
mkdir -p "$out"
for tool in sox flac metaflac oggenc vorbiscomment opusenc lame; do
  command -v "$tool" >/dev/null || { echo "fixture: $tool is not installed (tools/setup-packages.sh)"; exit 1; }
done
cd "$out"
sox -n -r 44100 -b 16 -c 2 tone.wav synth 0.5 sine 300-3000 sine 500 gain -6

# FLAC: a comment long enough that it and the five description tags cannot
# all share the decoder's 255-character tag field, written before them.
long=$(printf 'L%.0s' $(seq 1 200))
flac -s -5 -o tagged.flac tone.wav
metaflac --remove-all-tags --set-tag="COMMENT=$long" --set-tag="TITLE=Flac Title" --set-tag="ARTIST=Flac Artist" \
  --set-tag="ALBUM=Flac Album" --set-tag="DATE=2003" --set-tag="TRACKNUMBER=3/12" tagged.flac
flac -s -5 -o plain.flac tone.wav
metaflac --remove-all-tags plain.flac

oggenc -Q -q 0 -o tagged.ogg tone.wav
vorbiscomment -w -t "title=Vorbis Title" -t "artist=Vorbis Artist" -t "album=Vorbis Album" -t "date=2005" \
  -t "tracknumber=5" tagged.ogg

opusenc --quiet --title "Opus Title" --artist "Opus Artist" --album "Opus Album" --date 2011 --tracknumber 7 \
  tone.wav tagged.opus

lame --quiet -b 64 --tt "Mp3 Title" --ta "Mp3 Artist" --tl "Mp3 Album" --ty 1999 --tn 9 tone.wav tagged.mp3
rm tone.wav
