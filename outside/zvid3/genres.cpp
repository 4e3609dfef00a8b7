// Genre names by ID3v1 number, from TagLib's list (the standard 80 plus the
// Winamp extensions).
#include <taglib/id3v1genres.h>

#include <cwctype>
#include <string>

#include "ansi_text.h"
#include "guard.h"
#include "zvid3.h"

using namespace zvid3;

namespace {

std::wstring foldedName(std::wstring name) {
  size_t begin = name.find_first_not_of(L' ');
  size_t end = name.find_last_not_of(L' ');
  name = begin == std::wstring::npos ? std::wstring() : name.substr(begin, end - begin + 1);
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
  return name;
}

}  // namespace

ZVEXPORT ZvBool ZVAPI getGenre(int32_t number, char* name) {
  return guarded("getGenre", ZvBool(ZV_FALSE), [&]() -> ZvBool {
    if (name) name[0] = '\0';
    TagLib::StringList list = TagLib::ID3v1::genreList();
    if (number < 0 || number >= static_cast<int32_t>(list.size())) return ZV_FALSE;
    if (name) copyOut(name, 256, toAnsi(list[number].toWString()));
    return ZV_TRUE;
  });
}

ZVEXPORT int32_t ZVAPI genreIdx(const char* name) {
  return guarded("genreIdx", int32_t(-1), [&]() -> int32_t {
    if (!name) return -1;
    std::wstring wanted = foldedName(toWide(name));
    if (wanted.empty()) return -1;
    TagLib::StringList list = TagLib::ID3v1::genreList();
    int32_t index = 0;
    for (const TagLib::String& genre : list) {
      if (foldedName(genre.toWString()) == wanted) return index;
      ++index;
    }
    return -1;
  });
}
