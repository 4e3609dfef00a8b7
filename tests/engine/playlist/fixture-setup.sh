#!/bin/sh
# Makes names that differ only in case, which a Windows program cannot create
# but a Linux folder (and so Wine) can hold, into "$1/casefold": two files
# that one spelling names, and a folder and a file that one spelling names.
set -eu
out="$1/casefold"
rm -rf "$out"
mkdir -p "$out/Mix"
: > "$out/Song.mp3"
: > "$out/SONG.mp3"
: > "$out/MIX"

# Names a Windows program cannot make either, for a folder listed as a
# playlist: trailing dots and spaces (the system strips them from a path it
# is given), a name outside code page 1252 (the A listing spells it with a
# best-fit or '?'), a Windows device name.
odd="$1/oddnames"
rm -rf "$odd"
mkdir -p "$odd/Sub." "$odd/Sub" "$odd/Lone." "$odd/Gap "
: > "$odd/plain.mp3"
: > "$odd/dot.mp3."
: > "$odd/space.mp3 "
: > "$odd/$(printf '\304\200')rrow.mp3"
: > "$odd/$(printf '\304\200')rrow.MP3"
: > "$odd/Arrow.mp3"
: > "$odd/nul.mp3"
: > "$odd/Sub./in.mp3"
: > "$odd/Sub/in.mp3"
: > "$odd/Lone./in.mp3"
: > "$odd/Gap /in.mp3"
: > "$odd/Song.mp3"
: > "$odd/SONG.mp3"
