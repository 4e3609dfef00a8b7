// The "DESC" and "INFO" records that keep descriptions and information texts
// in the information cache, with the stamps that tell whether they still
// hold for the file.
#pragma once
#include <cstdint>
#include <string>

namespace zv {

// A stamp that never goes stale (records of files on CD-ROM drives).
constexpr uint64_t kStampForever = ~uint64_t(0);

// What a directory search tells about a file.
struct FileFacts {
  bool found = false;
  uint64_t lastWrite = kStampForever;  // all ones when the file is missing
  uint64_t size = 0;
};
FileFacts fileFacts(const char* path);

// File size in KiB rounded to the nearest (halves to even); -1 when missing.
int32_t sizeInKib(const FileFacts& facts);

// The stamp for a record written now for `path`.
uint64_t freshStamp(const char* path);

// A record is valid when its stamp never goes stale or the file was not
// written after it.
inline bool stampValid(uint64_t stamp, const FileFacts& facts) {
  return stamp == kStampForever || facts.lastWrite <= stamp;
}

// "DESC": stamp (8 bytes) and the text with its zero.
bool readDescRecord(const char* path, const FileFacts& facts, std::string* text);
// Stores the text with a fresh stamp; an empty text deletes the record.
void writeDescRecord(const char* path, const std::string& text);

// Before plug-in tag fields were read, files whose tags only a decoder
// reads (FLAC, Ogg Vorbis, Opus) got their file name as description and the
// decoder's display text in place of tag lines. Such records are not
// trusted; the sources are asked again, which replaces them.
//
// A "DESC" text that is just the file name without extension: the last
// resort, which would hide the tags.
bool descIsFileNameStandIn(const char* path, const std::string& text);
// An "INFO" text whose first line is neither empty nor a name=value line
// (the engine writes tag lines, or nothing, before "\nformat=").
bool infoTextIsDisplayStandIn(const std::string& text);

// "INFO": size in KiB, length in ms, stamp, then the text with its zero.
struct InfoRecord {
  int32_t sizeKb = -1;
  int32_t lengthMs = 0;
  std::string text;
};
bool readInfoRecord(const char* path, const FileFacts& facts, InfoRecord* info);
void writeInfoRecord(const char* path, const InfoRecord& info);

}  // namespace zv
