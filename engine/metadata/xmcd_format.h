// The xmcd text form of a disc's database entry: reading what real CD
// database files hold (freedb dumps included) and writing our own.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "zv_cddb.h"

namespace zv {

// One file's content as read, before it goes into an info record.
struct XmcdEntry {
  int32_t trackCount = 0;           // highest track index seen + 1
  std::vector<int32_t> offsets;     // frame offsets by track index
  int32_t leadOut = 0;
  int32_t discLengthSeconds = 0;
  int32_t revision = 0;
  std::string submittedVia;
  std::string mciId;
  std::string discTitle;
  std::string extendedDisc;                 // unescaped
  std::vector<int32_t> playOrder;
  std::vector<std::string> trackTitles;     // ZV_CDDB_MAX_TRACKS entries
  std::vector<std::string> extendedTracks;  // ZV_CDDB_MAX_TRACKS entries, unescaped
};

// Reads xmcd text with DOS or Unix line ends. Never fails: what it cannot
// understand is skipped.
XmcdEntry parseXmcd(std::string_view text);

// The file text of a record, CR LF line ends, with `revision` written as is.
std::string formatXmcd(const ZvCddbInfo& info, int32_t revision);

// Extended data as stored: line feed as "\n", tab as "\t", backslash doubled.
std::string escapeXmcd(std::string_view text);
std::string unescapeXmcd(std::string_view text);

// The program name written into every file we save.
inline constexpr const char* kCddbSubmittedVia = "Zorvak_CDDB_Engine 1.0alpha";

}  // namespace zv
