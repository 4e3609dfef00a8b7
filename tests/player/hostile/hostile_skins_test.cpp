// Hostile skins through the real player: a skin file that includes itself,
// one that goes round through a second file, one whose every number is
// enormous or negative, and one whose bitmap is damaged. Chosen by the
// setting "skin" at start-up and by the command "skin:" while running, each
// must leave a player that answers and paints: the cycles are refused and
// told as diagnostic lines, the skin without a readable bitmap is refused
// ("Default" at start-up, "Skin load failed" while running).
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cctype>
#include <string>
#include <vector>

#include "player_process.h"
#include "startup/program_dirs.h"
#include "testkit.h"

namespace {

using htest::PlayerProcess;

constexpr int kStartMs = 30000, kAnswerMs = 30000;

std::string textOf(const std::string& path) {
  const std::vector<uint8_t> bytes = zvtest::readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

void writeText(const std::string& path, const std::string& text) {
  ASSERT_TRUE(zvtest::writeFile(path, text.data(), text.size())) << path;
}

// Every run of digits replaced, in turn, by a value no skin should hold.
std::string withHostileNumbers(const std::string& text) {
  static const char* const kValues[] = {"99999999999", "-2147483648", "4294967295", "-1", "0x7FFFFFFF", "!-99999"};
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < text.size();) {
    if (std::isdigit(static_cast<unsigned char>(text[i]))) {
      while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
      out += kValues[next++ % (sizeof(kValues) / sizeof(kValues[0]))];
    } else {
      out += text[i++];
    }
  }
  return out;
}

struct SkinRow {
  const char* name;
  // Diagnostic line the player must write (empty: none asked for).
  const char* told;
  // Whether the skin is taken (else "Default" at start-up, the old skin while running).
  bool taken;
};

const SkinRow kRows[] = {
    {"SelfIncluding", "Skin \"SelfIncluding\" (full): include cycle: ", true},
    {"TwoFileCycle", "Skin \"TwoFileCycle\" (full): include cycle: ", true},
    {"HugeNumbers", "", true},
    {"DamagedBitmap", "Skin \"DamagedBitmap\" could not be loaded; \"Default\" is used", false},
};

class HostileSkins : public ::testing::Test {
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
    WritePrivateProfileStringA("Zorvak", "seenAbout", "1", config().c_str());
    makeSkins();
  }

  std::string config() const { return userData_ + "\\config.dat"; }
  std::string skinDir(const char* name) const { return root_ + "\\skins\\" + name; }

  void makeSkins() {
    const std::string content = textOf(skinDir("default") + "\\main.skn");
    const std::string bitmap = textOf(skinDir("default") + "\\main.bmp");
    ASSERT_FALSE(content.empty());
    ASSERT_GT(bitmap.size(), 54u);
    for (const SkinRow& row : kRows) CreateDirectoryA(skinDir(row.name).c_str(), nullptr);
    writeText(skinDir("SelfIncluding") + "\\main.skn", "INC:main.skn\r\n" + content + "\r\nINC:.\\MAIN.SKN\r\n");
    writeText(skinDir("SelfIncluding") + "\\main.bmp", bitmap);
    writeText(skinDir("TwoFileCycle") + "\\main.skn", "INC:cycle.inc\r\n" + content);
    writeText(skinDir("TwoFileCycle") + "\\cycle.inc", "INC:main.skn\r\n");
    writeText(skinDir("TwoFileCycle") + "\\main.bmp", bitmap);
    writeText(skinDir("HugeNumbers") + "\\main.skn", withHostileNumbers(content));
    writeText(skinDir("HugeNumbers") + "\\main.bmp", bitmap);
    // The header's width and height made enormous, the pixels cut short.
    std::string damaged = bitmap.substr(0, 4096);
    const int32_t huge[2] = {0x7FFFFFFF, -0x7FFFFFFF};
    damaged.replace(18, 8, reinterpret_cast<const char*>(huge), 8);
    writeText(skinDir("DamagedBitmap") + "\\main.skn", content);
    writeText(skinDir("DamagedBitmap") + "\\main.bmp", damaged);
  }

  // The player answers, paints its whole window, and answers again.
  static void paints(PlayerProcess& player) {
    ASSERT_TRUE(player.settle(kAnswerMs));
    RedrawWindow(player.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ASSERT_TRUE(player.settle(kAnswerMs));
    RECT r{};
    ASSERT_TRUE(GetWindowRect(player.window(), &r));
    EXPECT_GT(r.right - r.left, 0);
    EXPECT_GT(r.bottom - r.top, 0);
    ASSERT_TRUE(player.alive());
  }

  std::string root_, userData_;
};

TEST_F(HostileSkins, chosenAtStartUpEachLeavesAPlayerThatAnswersAndTellsWhatItRefused) {
  const std::string dir = zvtest::freshDir("skins_startup");
  for (const SkinRow& row : kRows) {
    SCOPED_TRACE(row.name);
    WritePrivateProfileStringA("Zorvak", "skin", row.name, config().c_str());
    const std::string diagnostics = dir + "\\" + row.name + ".txt";
    {
      PlayerProcess player(root_, diagnostics);
      ASSERT_TRUE(player.started());
      ASSERT_NE(player.waitMainWindow(kStartMs), nullptr) << "no main window";
      paints(player);
      EXPECT_TRUE(player.boxes().empty()) << player.boxes().front();
      PostMessageA(player.window(), WM_CLOSE, 0, 0);
      EXPECT_EQ(player.waitExit(kStartMs), 0);
    }
    const std::string told = textOf(diagnostics);
    std::printf("HostileSkins: start-up with %s:\n%s", row.name, told.c_str());
    if (row.told[0]) {
      EXPECT_NE(told.find(row.told), std::string::npos) << told;
    }
    char kept[64] = {};
    GetPrivateProfileStringA("Zorvak", "skin", "", kept, sizeof(kept), config().c_str());
    EXPECT_EQ(std::string(kept), row.name) << "a start-up fall-back does not change the setting";
  }
}

TEST_F(HostileSkins, chosenWhileRunningEachLeavesAPlayerThatAnswers) {
  const std::string dir = zvtest::freshDir("skins_running");
  WritePrivateProfileStringA("Zorvak", "skin", "Default", config().c_str());
  const std::string diagnostics = dir + "\\stderr.txt";
  PlayerProcess player(root_, diagnostics);
  ASSERT_TRUE(player.started());
  ASSERT_NE(player.waitMainWindow(kStartMs), nullptr);
  paints(player);
  std::string current = "Default";
  for (const SkinRow& row : kRows) {
    SCOPED_TRACE(row.name);
    player.forgetBoxes();
    ASSERT_TRUE(htest::runCommand(player, std::string("skin:") + row.name, kAnswerMs));
    paints(player);
    if (row.taken) {
      EXPECT_TRUE(player.boxes().empty()) << player.boxes().front();
      current = row.name;
    } else {
      ASSERT_EQ(player.boxes().size(), 1u) << "the refusal is shown";
      EXPECT_NE(player.boxes()[0].find("Skin load failed"), std::string::npos) << player.boxes()[0];
    }
    // Both states of every skin are shown.
    ASSERT_TRUE(htest::runCommand(player, "rollup", kAnswerMs));
    paints(player);
    ASSERT_TRUE(htest::runCommand(player, "rollup", kAnswerMs));
    paints(player);
  }
  PostMessageA(player.window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(kStartMs), 0);
  char stored[64] = {};
  GetPrivateProfileStringA("Zorvak", "skin", "", stored, sizeof(stored), config().c_str());
  EXPECT_EQ(std::string(stored), current) << "the setting names the last skin taken, not the refused one";
  const std::string told = textOf(diagnostics);
  std::printf("HostileSkins: while running:\n%s", told.c_str());
  for (const SkinRow& row : kRows)
    if (row.taken && row.told[0]) {
      EXPECT_NE(told.find(row.told), std::string::npos) << told;
    }
}

}  // namespace
