// The real zorvak.exe runs with the UTF-8 active code page (its manifest):
// files named in Japanese, Cyrillic, Greek and with an emoji, in a folder
// named likewise, open, play, list and are saved; playlists, description
// files and the stored playlist that were written in the legacy code page
// (1252 here) are read right. This test program itself has no manifest and
// runs in 1252, so it makes such names with the wide file functions and
// hands them to the player as the UTF-8 bytes the player sees.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "startup/hand_over.h"
#include "testkit.h"

namespace {

using namespace ptest;

constexpr int kStartMs = 20000, kPlayMs = 20000;

std::wstring wide(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring w(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), w.data(), n);
  return w;
}

// Removes a tree whose names the 8-bit functions of this program cannot spell.
void removeTreeW(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  zv::UniqueFind find(FindFirstFileW((dir + L"\\*").c_str(), &fd));
  if (find) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = dir + L"\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        removeTreeW(full);
      else
        DeleteFileW(full.c_str());
    } while (FindNextFileW(find.get(), &fd));
  }
  RemoveDirectoryW(dir.c_str());
}

// A marked WAV under a name given in UTF-8: written under an ASCII name,
// then moved to the wide one. Returns the UTF-8 path.
std::string markedWavNamed(const std::string& dirUtf8, const std::string& nameUtf8, int mark, int seconds) {
  const std::string ascii = writeMarkedWav(zvtest::testDir(), "utf8-staging.wav", mark, seconds);
  const std::string path = dirUtf8 + "\\" + nameUtf8;
  EXPECT_TRUE(MoveFileExW(wide(ascii).c_str(), wide(path).c_str(), MOVEFILE_REPLACE_EXISTING)) << nameUtf8;
  return path;
}

bool writeBytes(const std::string& pathUtf8, const std::string& bytes) {
  zv::UniqueFile f(CreateFileW(wide(pathUtf8).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD put = 0;
  return f && WriteFile(f.get(), bytes.data(), DWORD(bytes.size()), &put, nullptr) && put == bytes.size();
}

std::string fileBytes(const std::string& path) {
  auto bytes = zvtest::readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

// The stored bytes for a failure message, bytes beyond ASCII as \xNN.
std::string printable(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    char hex[8];
    if (c >= 0x20 && c < 0x7F) out += char(c);
    else if (c >= 0x80) out += (std::snprintf(hex, sizeof(hex), "\\x%02X", c), hex);
  }
  return out;
}

bool open(HWND window, const std::vector<std::string>& items) {
  for (const zv::HandOverBlock& block : zv::handOverForItems(items, 0))
    if (!zv::sendHandOver(window, nullptr, block)) return false;
  return true;
}

class Utf8Program : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "the player needs a display";
    root_ = zvtest::rootDir();
    removeTree(root_ + "\\data");
    ASSERT_EQ(FindWindowA("ZVWindow", nullptr), nullptr) << "another player is running";
    media_ = zvtest::testDir() + "\\utf8-media";
    removeTreeW(wide(media_));
    ASSERT_TRUE(CreateDirectoryW(wide(media_).c_str(), nullptr));
  }
  void TearDown() override { removeTreeW(wide(media_)); }
  std::string root_, media_;
};

TEST_F(Utf8Program, namesBeyondTheLegacyCodePageOpenPlayAndAreSaved) {
  // Greek, Japanese and an emoji in the folder's name.
  const std::string folder = media_ + "\\\xCE\x9C\xCE\xBF\xCF\x85\xCF\x83\xCE\xB9\xCE\xBA\xCE\xAE "
                                      "\xE9\x9F\xB3\xE6\xA5\xBD \xF0\x9F\x8E\xB5";
  ASSERT_TRUE(CreateDirectoryW(wide(folder).c_str(), nullptr));
  const std::vector<std::string> names = {
      "1 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.wav",                  // Japanese
      "2 \xD0\x9A\xD0\xB8\xD1\x80\xD0\xB8\xD0\xBB\xD0\xBB\xD0\xB8\xD1\x86\xD0\xB0.wav",  // Cyrillic
      "3 \xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC.wav",  // Greek
      "4 \xF0\x9F\x8E\xB8.wav",                                       // emoji
  };
  std::vector<std::string> paths;
  for (size_t i = 0; i < names.size(); ++i) paths.push_back(markedWavNamed(folder, names[i], int(i) + 1, 2));

  Player player(root_, {});
  ASSERT_TRUE(player.started());
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(open(window, {folder}));
  for (int mark = 1; mark <= 4; ++mark)
    EXPECT_TRUE(zvtest::waitFor([mark] { return played(mark); }, kPlayMs)) << names[size_t(mark) - 1] << " plays";

  ASSERT_TRUE(sendCommand(window, "stop"));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(kStartMs), 0);
  const std::string saved = fileBytes(userDataDir(root_) + "\\playlist.dat");
  ASSERT_FALSE(saved.empty());
  for (const std::string& path : paths) EXPECT_NE(saved.find(path), std::string::npos) << "saved as UTF-8: " << path;
}

TEST_F(Utf8Program, legacyPlaylistDescriptionAndStoredPlaylistAreReadRight) {
  // "naïve.wav" and "résumé.dat" named in a playlist written in 1252, and
  // the second described in a description file written in 1252 (a file
  // no plug-in answers for takes its description from there).
  const std::string naive = markedWavNamed(media_, "na\xC3\xAFve.wav", 6, 2);
  ASSERT_TRUE(writeBytes(media_ + "\\r\xC3\xA9sum\xC3\xA9.dat", "not sound"));
  ASSERT_TRUE(writeBytes(media_ + "\\list.m3u", "#EXTM3U\r\nna\xEFve.wav\r\nr\xE9sum\xE9.dat\r\n"));
  ASSERT_TRUE(writeBytes(media_ + "\\descript.ion", "r\xE9sum\xE9.dat Sch\xF6n \x96 gr\xFC\xDF\r\n"));
  // A file the first run lists under an ASCII name; between the runs its
  // name in the stored playlist becomes 1252 bytes of the same length, as
  // a player in the legacy code page stored it, and the file is renamed.
  const std::string placeholder = writeMarkedWav(media_, "cafX.wav", 7, 2);

  {
    Player player(root_, {});
    HWND window = waitMainWindow(kStartMs);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(open(window, {media_ + "\\list.m3u", placeholder}));
    ASSERT_TRUE(zvtest::waitFor([] { return played(6); }, kPlayMs)) << "the 1252 playlist's line opens its file";
    ASSERT_TRUE(zvtest::waitFor([] { return played(7); }, kPlayMs));
    ASSERT_TRUE(sendCommand(window, "stop"));
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(player.waitExit(kStartMs), 0);
  }
  const std::string stored = userDataDir(root_) + "\\playlist.dat";
  std::string saved = fileBytes(stored);
  EXPECT_NE(saved.find(naive), std::string::npos) << "the line is stored in UTF-8";
  EXPECT_NE(saved.find("Sch\xC3\xB6n \xE2\x80\x93 gr\xC3\xBC\xC3\x9F"), std::string::npos)
      << "the 1252 description, read right; stored: " << printable(saved);

  const size_t at = saved.find("cafX.wav");
  ASSERT_NE(at, std::string::npos);
  saved[at + 3] = '\xE9';
  ASSERT_TRUE(zvtest::writeFile(stored, saved.data(), saved.size()));
  ASSERT_TRUE(MoveFileW(wide(placeholder).c_str(), wide(media_ + "\\caf\xC3\xA9.wav").c_str()));

  // The capture still holds the first run's sound.
  ASSERT_TRUE(zvtest::writeFile(zvtest::captureFile(), "", 0));
  Player player(root_, {});
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(sendCommand(window, "play"));
  ASSERT_TRUE(zvtest::waitFor([] { return played(7); }, kPlayMs)) << "the converted stored name opens the file";
  ASSERT_TRUE(sendCommand(window, "stop"));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(kStartMs), 0);
  saved = fileBytes(stored);
  EXPECT_NE(saved.find(media_ + "\\caf\xC3\xA9.wav"), std::string::npos) << "the next save writes UTF-8";
  EXPECT_EQ(saved.find("caf\xE9.wav"), std::string::npos);
}

}  // namespace
