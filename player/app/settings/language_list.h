// The languages the settings window offers: the folders of the language
// directory that hold an "info.dat", each shown by "Name" of its section
// "Common" (the folder name when it has none), in folder-name order.
#pragma once
#include <string>
#include <vector>

namespace zv {

struct LanguageEntry {
  std::string folder;  // the value of "Lang"
  std::string name;
};

std::vector<LanguageEntry> listLanguages(const std::string& langDir);
// The entry of `folder` (compared without case), or -1.
int languageEntry(const std::vector<LanguageEntry>& list, const std::string& folder);

}  // namespace zv
