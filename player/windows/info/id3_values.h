// The ID3 page's values and the conversions between the page's texts and the
// ID3v1 record: the track as typed, the genre as chosen.
#pragma once
#include <string>
#include <vector>

#include "zvid3.h"

namespace zv::info {

struct Id3Values {
  std::string title, artist, album, year, comment;
  int track = 0;   // 0: none
  int genre = -1;  // the chosen item's number; -1 "<Unknown>" or none
};

// The track typed into the page: digits read as a number, anything else
// (or nothing) 0; numbers above 255 are cut to 255.
int trackFromText(const std::string& text);
// "" for 0, else the number.
std::string trackText(int track);
// The genre the record stores: 0..254 as chosen, anything else (the
// "<Unknown>" item's -1, nothing chosen) 255, the record's "none".
int storedGenre(int chosen);

// The record's values; a genre that the list does not hold is -1.
Id3Values valuesOfTag(const ZvId3v1Tag& tag, size_t genreCount);
ZvId3v1Tag tagOfValues(const Id3Values& v);

// The lines of a list file of the language folder ("genres.id3",
// "tcon.id3", ...): one item a line, the line index its number; a final
// empty line is no item. Empty when the file cannot be read.
std::vector<std::string> readIdList(const std::string& path);
// "<root>\lang\<language>\id3\<name>", or the English one when the language
// has none.
std::string idListPath(const std::string& rootDir, const std::string& language, const std::string& name);

}  // namespace zv::info
