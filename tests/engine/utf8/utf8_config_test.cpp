// The configuration file under the UTF-8 active code page (this program has
// the player's manifest): values written before in the legacy code page
// (1252) are read as their characters, values in UTF-8 as they are, and the
// next write stores UTF-8. The program has a root of its own, so config.dat
// is written whole here.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "testkit.h"
#include "zv_config.h"

namespace {

std::string userDataDir() {
  char user[257] = {}, computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD userSize = sizeof(user), computerSize = sizeof(computer);
  GetUserNameA(user, &userSize);
  GetComputerNameA(computer, &computerSize);
  return zvtest::rootDir() + "\\data\\" + user + "@" + computer;
}

std::string value(const char* name) {
  char buffer[260] = {};
  configString(name, buffer, "\x01missing");
  return buffer;
}

TEST(Utf8Config, legacyValuesReadConvertedAndWrittenBackInUtf8) {
  ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
  const std::string dir = userDataDir();
  SHCreateDirectoryExA(nullptr, dir.c_str(), nullptr);
  const std::string file = dir + "\\config.dat";
  const std::string text =
      "[Utf8Config]\r\n"
      "legacy=Bj\xF6rk \x96 Live\r\n"
      "modern=\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1\r\n"
      "quoted=\"caf\xE9\"\r\n";
  ASSERT_TRUE(zvtest::writeFile(file, text.data(), text.size()));
  ASSERT_EQ(setConfigMode("Utf8Config", 1), 1);

  EXPECT_EQ(value("legacy"), "Bj\xC3\xB6rk \xE2\x80\x93 Live");
  EXPECT_EQ(value("modern"), "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1");
  EXPECT_EQ(value("quoted"), "caf\xC3\xA9") << "one pair of quotes dropped, as the system's reader does";
  EXPECT_EQ(value("absent"), "\x01missing");

  setConfigString("legacy", value("legacy").c_str());
  auto bytes = zvtest::readFile(file);
  const std::string saved(bytes.begin(), bytes.end());
  EXPECT_NE(saved.find("legacy=Bj\xC3\xB6rk \xE2\x80\x93 Live\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("modern=\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1\r\n"), std::string::npos);
  EXPECT_EQ(value("legacy"), "Bj\xC3\xB6rk \xE2\x80\x93 Live");
}

}  // namespace
