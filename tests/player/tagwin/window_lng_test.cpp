// Window translations: a window's ".lng" file gives its texts, and the keys
// it lacks are appended with the built-in texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "info_wnd.h"
#include "testkit.h"
#include "window_lng.h"

namespace {

std::string readText(const std::string& path) {
  const std::vector<uint8_t> bytes = zvtest::readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

std::string langRoot(const char* name, const std::string& fileName, const std::string& content) {
  const std::string root = zvtest::freshDir(name);
  CreateDirectoryA((root + "\\lang").c_str(), nullptr);
  CreateDirectoryA((root + "\\lang\\de").c_str(), nullptr);
  CreateDirectoryA((root + "\\lang\\de\\windows").c_str(), nullptr);
  zvtest::writeFile(root + "\\lang\\de\\windows\\" + fileName, content.data(), content.size());
  return root;
}

}  // namespace

TEST(WindowLng, translatesKnownKeysAndAppendsMissingOnes) {
  const std::string root = langRoot("lng_units", "TestWnd.lng", "TestWnd=Testfenster\r\nremove=Entfernen\r\nremoveX=nope");
  {
    zv::ui::WindowLng lng(root, "de", "TestWnd.lng");
    ASSERT_TRUE(lng.loaded());
    EXPECT_EQ(lng.text("TestWnd", "Test window"), "Testfenster");
    EXPECT_EQ(lng.text("remove", "Remove"), "Entfernen");
    // A key that is the head of another key is not that key.
    EXPECT_EQ(lng.text("remov", "Rem"), "Rem");
    EXPECT_EQ(lng.item("menu[0]", "Sort by number|number"), "Sort by number|number");
    // Digits and punctuation only: never translated nor added.
    EXPECT_EQ(lng.text("count", "12:30"), "12:30");
  }
  const std::string after = readText(root + "\\lang\\de\\windows\\TestWnd.lng");
  EXPECT_EQ(after, "TestWnd=Testfenster\r\nremove=Entfernen\r\nremoveX=nope\r\nremov=Rem\r\nmenu[0]=Sort by number");
  // A language without the file keeps the built-in texts and writes nothing.
  zv::ui::WindowLng none(root, "fr", "TestWnd.lng");
  EXPECT_FALSE(none.loaded());
  EXPECT_EQ(none.text("remove", "Remove"), "Remove");
  none.flush();
  EXPECT_EQ(GetFileAttributesA((root + "\\lang\\fr\\windows\\TestWnd.lng").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(WindowLng, theInformationWindowTakesItsTextsFromItsFile) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
  const std::string root = langRoot("lng_info", "InfoWnd.lng", "InfoWnd=Dateiinformation\r\nremove=ID3 entfernen\r\n");
  zv::info::TInfoWnd window(root, "de");
  ASSERT_TRUE(window.create(nullptr));
  char caption[64] = {};
  GetWindowTextA(window.hwnd(), caption, sizeof(caption));
  EXPECT_STREQ(caption, "Dateiinformation");
  EXPECT_EQ(window.button("remove")->caption(), "ID3 entfernen");
  const std::string file = readText(root + "\\lang\\de\\windows\\InfoWnd.lng");
  EXPECT_NE(file.find("\r\npages[2]=ID3v2 tags"), std::string::npos);
  EXPECT_NE(file.find("\r\nid3v2del=Delete"), std::string::npos);
}
