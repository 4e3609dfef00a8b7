// The language list of the settings window, from real folders.
#include <gtest/gtest.h>

#include <windows.h>

#include "settings/language_list.h"
#include "testkit.h"

using namespace zv;

namespace {

void language(const std::string& dir, const char* folder, const char* name) {
  CreateDirectoryA((dir + "\\" + folder).c_str(), nullptr);
  const std::string info = dir + "\\" + folder + "\\info.dat";
  WritePrivateProfileStringA("Common", "ID", "409", info.c_str());
  if (name) WritePrivateProfileStringA("Common", "Name", name, info.c_str());
}

TEST(LanguageList, foldersWithInfoDatShownByTheirName) {
  const std::string dir = zvtest::freshDir("languages");
  language(dir, "ru", "Russian");
  language(dir, "en", "English");
  language(dir, "xx", nullptr);
  CreateDirectoryA((dir + "\\id3").c_str(), nullptr);  // no info.dat: not a language
  zvtest::writeFile(dir + "\\info.dat", "x", 1);       // a file, not a folder
  const auto list = listLanguages(dir);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].folder, "en");
  EXPECT_EQ(list[0].name, "English");
  EXPECT_EQ(list[1].name, "Russian");
  EXPECT_EQ(list[2].name, "xx") << "no Name: the folder";
  EXPECT_EQ(languageEntry(list, "RU"), 1);
  EXPECT_EQ(languageEntry(list, "de"), -1);
  EXPECT_TRUE(listLanguages(dir + "\\missing").empty());
}

}  // namespace
