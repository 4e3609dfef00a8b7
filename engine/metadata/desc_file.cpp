#include "metadata/desc_file.h"

#include <windows.h>

#include "foundation/legacy_text.h"
#include "win32/owners.h"

namespace zv {
namespace {

// Description files of a whole archive run to megabytes; beyond this much
// the rest of a file is not read.
constexpr DWORD kMaxListing = 8 << 20;

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
  // Listings come from other programs, often in the legacy code page.
  *content = fileTextToActive(*content).text;
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

}  // namespace zv
