// Description files ("descript.ion", "files.bbs", "0index", "00index"): one
// line per file, the file's name (in double quotes when it holds blanks)
// and its description.
#pragma once
#include <string>
#include <string_view>

#include "foundation/text_util.h"

namespace zv {

inline std::string_view trimmedText(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// The description of `fileName` in the content of a description file: the
// first line whose name equals it (case-insensitive). A line without a
// separator behind its name has no name and never matches.
inline bool descriptionFromListing(std::string_view content, std::string_view fileName, std::string* out) {
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    std::string line(trimmedText(content.substr(start, end - start)));
    start = end + 1;
    for (char& c : line)
      if (static_cast<unsigned char>(c) < ' ') c = ' ';
    if (line.empty()) continue;
    std::string_view rest(line), name;
    size_t cut;
    if (rest.front() == '"') {
      cut = rest.find('"', 1);
      if (cut == std::string_view::npos) continue;
      name = rest.substr(1, cut - 1);
    } else {
      cut = rest.find(' ');
      if (cut == std::string_view::npos) continue;
      name = rest.substr(0, cut);
    }
    if (!sameTextIgnoringCase(trimmedText(name), fileName)) continue;
    *out = std::string(trimmedText(rest.substr(cut + 1)));
    return true;
  }
  return false;
}

// Looks in the folder of `path` for the description files in their order;
// false when none describes the file.
bool descriptionFromFiles(const char* path, std::string* out);

}  // namespace zv
