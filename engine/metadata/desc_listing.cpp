// Reading a description file's bytes: apart from the finding and reading
// of the files so that the parser runs on any buffer.
#include <string>
#include <string_view>

#include "metadata/desc_file.h"

namespace zv {
namespace {

std::string_view trimmedText(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

bool descriptionFromListing(std::string_view content, std::string_view fileName, std::string* out) {
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

}  // namespace zv
