#include "settings/language_list.h"

#include <windows.h>

#include <algorithm>

#include "win32/owners.h"

namespace zv {

std::vector<LanguageEntry> listLanguages(const std::string& langDir) {
  std::vector<LanguageEntry> list;
  WIN32_FIND_DATAA found{};
  UniqueFind find(FindFirstFileA((langDir + "\\*").c_str(), &found));
  if (!find) return list;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || found.cFileName[0] == '.') continue;
    const std::string info = langDir + "\\" + found.cFileName + "\\info.dat";
    if (GetFileAttributesA(info.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    char name[256] = {};
    GetPrivateProfileStringA("Common", "Name", found.cFileName, name, sizeof(name), info.c_str());
    list.push_back({found.cFileName, name[0] ? name : found.cFileName});
  } while (FindNextFileA(find.get(), &found));
  std::sort(list.begin(), list.end(), [](const LanguageEntry& a, const LanguageEntry& b) {
    return lstrcmpiA(a.folder.c_str(), b.folder.c_str()) < 0;
  });
  return list;
}

int languageEntry(const std::vector<LanguageEntry>& list, const std::string& folder) {
  for (size_t i = 0; i < list.size(); ++i)
    if (lstrcmpiA(list[i].folder.c_str(), folder.c_str()) == 0) return static_cast<int>(i);
  return -1;
}

}  // namespace zv
