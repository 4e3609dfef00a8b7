#!/usr/bin/env bash
# Makes the demo playlist's pieces for "./zv run": short tunes synthesised by
# sox (plucked strings over a soft pad) as 16-bit stereo WAV files in two
# folders, so that the player shows two groups. Made once per build folder.
#   demo-media.sh DIR
set -euo pipefail
dir=$1
[ -f "$dir/.complete" ] && exit 0
command -v sox >/dev/null || { echo "zv: sox is needed for the demo pieces (apt-get install sox)" >&2; exit 1; }
rm -rf "$dir"
mkdir -p "$dir/Morning Walk" "$dir/Evening Harbour"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# piece FILE TEMPO NOTE...: one plucked note per beat (a "-" holds the last
# note longer), under a quiet chord of the first note.
piece() {
  local out=$1 beat=$2 n=0 parts=() note
  shift 2
  for note in "$@"; do
    n=$((n + 1))
    if [ "$note" = "-" ]; then
      sox -n -r 44100 -c 2 -b 16 "$tmp/$n.wav" synth "$beat" sine 0 vol 0
    else
      sox -n -r 44100 -c 2 -b 16 "$tmp/$n.wav" synth "$beat" pluck "$note" fade q 0.005 "$beat" 0.05 vol 0.7
    fi
    parts+=("$tmp/$n.wav")
  done
  sox "${parts[@]}" "$tmp/melody.wav"
  local length
  length=$(soxi -D "$tmp/melody.wav")
  sox -n -r 44100 -c 2 -b 16 "$tmp/pad.wav" synth "$length" sine "$3" sine "$3" fade h 0.5 "$length" 1 vol 0.12
  sox -m "$tmp/melody.wav" "$tmp/pad.wav" "$tmp/mix.wav"
  # A little echo and a gentle end; no digital silence inside the piece.
  sox "$tmp/mix.wav" "$out" echo 0.8 0.7 120 0.25 fade 0 "$length" 0.4 dither
  rm -f "$tmp"/*.wav
}

piece "$dir/Morning Walk/01 First Light.wav" 0.30 C4 E4 G4 C5 G4 E4 D4 F4 A4 D5 A4 F4 C4 E4 G4 C5 - -
piece "$dir/Morning Walk/02 Dew on the Grass.wav" 0.25 G3 B3 D4 G4 D4 B3 A3 C4 E4 A4 E4 C4 G3 B3 D4 G4 - -
piece "$dir/Morning Walk/03 Open Road.wav" 0.22 D4 F#4 A4 D5 C#5 A4 B4 G4 E4 G4 A4 F#4 D4 - D5 -
piece "$dir/Evening Harbour/01 Low Tide.wav" 0.40 A3 C4 E4 A4 G4 E4 F4 D4 B3 C4 A3 - -
piece "$dir/Evening Harbour/02 Lanterns.wav" 0.33 E4 G4 B4 E5 D5 B4 C5 A4 F4 G4 E4 - -
touch "$dir/.complete"
