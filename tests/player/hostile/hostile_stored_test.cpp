// Binary playlists reach the player as its stored playlists ("playlist.dat"
// and "recent.dat", read at every start): truncated, bit-flipped, with
// enormous counts, or 2 GB of nothing. Each start must show the main window
// and answer; a file that does not load is put aside, and what the player
// saves at close loads again.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "hostile_files.h"
#include "player_process.h"
#include "startup/program_dirs.h"
#include "testkit.h"
#include "zv_playlist.h"

namespace {

using htest::PlayerProcess;

constexpr int kStartMs = 30000;

struct StoredRow {
  std::string name;
  std::string bytes;  // empty with `sparse`
  bool sparse = false;
};

class HostileStored : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "the player needs a display";
    root_ = zvtest::rootDir();
    char user[257] = {}, computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD userSize = sizeof(user), computerSize = sizeof(computer);
    GetUserNameA(user, &userSize);
    GetComputerNameA(computer, &computerSize);
    userData_ = zv::programDirs(root_ + "\\bin\\zorvak.exe", user, computer).userData;
    zvtest::waitFor([] { return FindWindowA("ZVWindow", nullptr) == nullptr; }, kStartMs);
    ASSERT_EQ(FindWindowA("ZVWindow", nullptr), nullptr) << "another player is running";
    SHCreateDirectoryExA(nullptr, userData_.c_str(), nullptr);
    const std::string config = userData_ + "\\config.dat";
    WritePrivateProfileStringA("Zorvak", "seenAbout", "1", config.c_str());
    WritePrivateProfileStringA("Zorvak", "autoStart", "0", config.c_str());
    WritePrivateProfileStringA("Zorvak", "skin", "Default", config.c_str());
  }

  // A sound stored playlist of a few lines, as the engine writes it.
  std::string goodPlaylist(const std::string& dir) const {
    Playlist pl = createPlaylist(0);
    for (const char* name : {"C:\\music\\a.wav", "C:\\music\\b.wav", "relative\\c.wav"}) {
      PlaylistLine rec = {};
      plAddLine(pl, &rec, name, "desc", "info");
    }
    const std::string path = dir + "\\good.dat";
    EXPECT_EQ(plSave(pl, path.c_str(), plSaveBinary), plResultOk);
    freePlaylist(pl);
    const std::vector<uint8_t> bytes = zvtest::readFile(path);
    return std::string(bytes.begin(), bytes.end());
  }

  void removeAside() const {
    for (const char* file : {"playlist.dat", "recent.dat"})
      for (const char* tail : {".damaged", ".damaged2", ".damaged3"})
        DeleteFileA((userData_ + "\\" + file + tail).c_str());
  }

  std::string root_, userData_;
};

TEST_F(HostileStored, aDamagedStoredPlaylistNeverStopsTheStartAndIsPutAside) {
  const std::string dir = zvtest::freshDir("stored");
  const std::string good = goodPlaylist(dir);
  ASSERT_GT(good.size(), 16u);
  std::vector<StoredRow> rows;
  for (const std::string& cut : zvtest::truncationsOf(good, good.size() / 5 + 1))
    rows.push_back({"truncated to " + std::to_string(cut.size()) + " bytes", cut});
  const std::vector<std::string> flips = zvtest::bitFlipsOf(good, 6);
  for (size_t i = 0; i < flips.size(); ++i) rows.push_back({"bit flip " + std::to_string(i), flips[i]});
  for (int32_t count : {0x7FFFFFFF, -1, 0x10000000})
    rows.push_back({"line count " + std::to_string(count), zvtest::withInt32At(good, 8, count)});
  rows.push_back({"2 GB of nothing", "", true});

  for (const StoredRow& row : rows) {
    SCOPED_TRACE(row.name);
    removeAside();
    for (const char* file : {"\\playlist.dat", "\\recent.dat"}) {
      const std::string path = userData_ + file;
      if (row.sparse)
        ASSERT_TRUE(zvtest::makeSparseFile(path, (int64_t(2) << 30) + 17));
      else
        ASSERT_TRUE(zvtest::writeFile(path, row.bytes.data(), row.bytes.size()));
    }
    const DWORD start = GetTickCount();
    {
      PlayerProcess player(root_, dir + "\\stderr.txt");
      ASSERT_TRUE(player.started());
      ASSERT_NE(player.waitMainWindow(kStartMs), nullptr) << "no main window";
      ASSERT_TRUE(player.settle(kStartMs)) << "the player does not answer";
      EXPECT_TRUE(player.boxes().empty()) << player.boxes().front();
      PostMessageA(player.window(), WM_CLOSE, 0, 0);
      EXPECT_EQ(player.waitExit(kStartMs), 0);
    }
    const bool putAside = GetFileAttributesA((userData_ + "\\playlist.dat.damaged").c_str()) != INVALID_FILE_ATTRIBUTES;
    std::printf("HostileStored: %-28s %5lu ms, %s\n", row.name.c_str(), static_cast<unsigned long>(GetTickCount() - start),
                putAside ? "put aside" : "loaded");
    // What the player saved at close is a playlist again.
    Playlist pl = createPlaylist(0);
    EXPECT_EQ(plLoad(pl, (userData_ + "\\playlist.dat").c_str(), plLoadBinary), plResultOk);
    EXPECT_LE(plGetCount(pl), 4) << "no more lines than the sound file held (and the root line)";
    freePlaylist(pl);
    if (row.sparse || row.bytes.size() < 12) {
      EXPECT_TRUE(putAside) << "a file that cannot hold a playlist is put aside";
    }
  }
  removeAside();
}

}  // namespace
