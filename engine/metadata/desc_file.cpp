#include "metadata/desc_file.h"

#include <windows.h>

#include "win32/owners.h"

namespace zv {
namespace {

// Description files of a whole archive run to megabytes; beyond this much
// the rest of a file is not read.
constexpr DWORD kMaxListing = 8 << 20;

std::string_view trimmedText(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

bool readListing(const std::string& file, std::string* content) {
  DWORD attributes = GetFileAttributesA(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  UniqueFile f(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(f.get(), &size)) return false;
  DWORD want = size.QuadPart > kMaxListing ? kMaxListing : DWORD(size.QuadPart);
  content->resize(want);
  DWORD got = 0;
  if (want && !ReadFile(f.get(), content->data(), want, &got, nullptr)) return false;
  content->resize(got);
  return true;
}

}  // namespace

bool descriptionFromFiles(const char* path, std::string* out) {
  std::string_view p = path ? path : "";
  std::string folder = directoryPart(p);
  std::string name = fileNamePart(p);
  if (folder.empty() || name.empty()) return false;
  for (const char* listing : {"descript.ion", "files.bbs", "0index", "00index"}) {
    std::string content;
    if (readListing(folder + listing, &content) && descriptionFromListing(content, name, out)) return true;
  }
  return false;
}

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
