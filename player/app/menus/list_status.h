// The status texts of the list menus (groups, files, favourites): play time,
// for a group the number of its direct file lines with the word for
// "file(s)", for a file its format, and the size, joined with ", ".
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace zv {

// Which form of a counted noun a number takes.
enum class PluralForm { one, few, many };
// English: 1 one, else many. Russian: by the last two digits (1, 21, 101: one;
// 2-4, 22-24: few; 0, 5-20, 11-14, 25...: many).
PluralForm pluralForm(int64_t n, const std::string& language);
// The localised word: "NFile###file", "NFilesFew###files" or "NFiles###files".
const char* fileCountKey(PluralForm form);

// "m:ss", or "h:mm:ss" from one hour.
std::string playTimeText(int64_t ms);
// "N KB", or "N.N MB" from 1024 KB.
std::string sizeText(int64_t kilobytes);

struct ListEntry {
  bool group = false;
  int64_t timeMs = 0;       // 0: unknown, not shown
  int32_t directFiles = 0;  // a group's direct file lines
  std::string format;       // a file's "format" tag value
  int64_t sizeKb = 0;       // 0: unknown, not shown
};

using Translate = std::function<std::string(const char* localised)>;
std::string listStatusText(const ListEntry& entry, bool showTime, const std::string& language,
                           const Translate& translate);

}  // namespace zv
