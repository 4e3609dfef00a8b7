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
