// The About window: what it lists is what the build ships, and it closes
// by button and key and comes back as the same window.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "about/about_window.h"
#include "about/third_party.h"
#include "testkit.h"
#include "about_fixture.h"

namespace {

bool fileHolds(const std::string& path, const std::string& text) {
  const std::vector<uint8_t> bytes = zvtest::readFile(path);
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

// Each library that leaves a text in the file it is linked into is found
// there: a library added, dropped or upgraded shows here before the About
// window tells users something untrue.
TEST(AboutWindow, everyListedLibraryIsInTheFileNamed) {
  const std::string root = zvtest::rootDir();
  int checked = 0;
  for (const zv::ThirdPartyLibrary& l : zv::thirdPartyLibraries()) {
    if (!l.marker) continue;
    const std::string file = root + "\\" + std::string(l.shippedIn).substr(0, std::string(l.shippedIn).find(','));
    if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
      ADD_FAILURE() << file << " is not in the installed root";
      continue;
    }
    EXPECT_TRUE(fileHolds(file, l.marker)) << l.name << ": \"" << l.marker << "\" not in " << file;
    EXPECT_TRUE(fileHolds(file, l.version) || std::string(l.name) == "libmpg123" || std::string(l.name) == "TagLib" ||
                std::string(l.name).rfind("FFmpeg", 0) == 0)
        << l.name << " " << l.version << " not in " << file;
    ++checked;
  }
  EXPECT_GE(checked, 6);
}

TEST(AboutWindow, linesNameLibraryVersionLicenceAndFile) {
  const auto libraries = zv::thirdPartyLibraries();
  ASSERT_FALSE(libraries.empty());
  for (size_t i = 0; i < libraries.size(); ++i) {
    const std::string line = zv::aboutLibraryLine(i);
    for (const char* part : {libraries[i].name, libraries[i].version, libraries[i].licence, libraries[i].shippedIn})
      EXPECT_NE(line.find(part), std::string::npos) << line;
  }
  EXPECT_EQ(zv::aboutLibraryLine(libraries.size()), "");
}

TEST(AboutWindow, okEscapeAndCloseHideIt_theSameWindowComesBack) {
  WINDOWS_NEED_DISPLAY();
  zv::TAboutWnd w;
  ASSERT_TRUE(w.create(zvtest::rootDir(), nullptr));
  EXPECT_TRUE(w.shown());
  HWND first = w.hwnd();
  wintest::sendClick(w.hwnd(), w.ok().rect());
  EXPECT_FALSE(w.shown());
  w.bringToFront();
  EXPECT_TRUE(w.shown());
  SendMessageA(w.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(w.shown());
  w.bringToFront();
  SendMessageA(w.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(w.shown());
  EXPECT_TRUE(IsWindow(first)) << "closing only hides it";
  w.bringToFront();
  EXPECT_EQ(w.hwnd(), first);
}

}  // namespace
