// The equalizer and the timer in the real zorvak.exe: timers whose moments
// passed while it was not running are disarmed at start-up without acting
// and without a message (this root has no zvsched.dll), the "eq" and
// "timer" commands open their windows, and the record is stored at exit.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "program_fixture.h"
#include "testkit.h"

namespace {

using namespace ptest;

#pragma pack(push, 1)
struct Timer2 {
  int32_t onTime, offTime;
  double offMoment, onMoment;
  uint8_t onArmed, offArmed;
  int32_t offAction;
};
#pragma pack(pop)
static_assert(sizeof(Timer2) == 30);

struct BoxSearch {
  DWORD pid;
  bool found;
};

BOOL CALLBACK findBox(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<BoxSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  char cls[32] = {};
  GetClassNameA(w, cls, sizeof(cls));
  if (owner == s->pid && std::strcmp(cls, "#32770") == 0 && IsWindowVisible(w)) s->found = true;
  return TRUE;
}

// A visible message box (dialog) of the process.
bool anyBoxOf(DWORD pid) {
  BoxSearch search{pid, false};
  EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

TEST(EqTimerProgram, passedTimersAreDisarmedQuietlyAndTheToolWindowsOpen) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "the player needs a display";
  const std::string root = zvtest::rootDir();
  removeTree(root + "\\data");
  ASSERT_EQ(FindWindowA("ZVWindow", nullptr), nullptr) << "another player is running";
  ASSERT_EQ(GetFileAttributesA((root + "\\bin\\zvsched.dll").c_str()), INVALID_FILE_ATTRIBUTES);
  const std::string userData = userDataDir(root);
  SHCreateDirectoryExA(nullptr, userData.c_str(), nullptr);
  // Both timers armed for moments long past; an off action outside 0..3.
  Timer2 stored{};
  stored.offArmed = stored.onArmed = 1;
  stored.offMoment = 40000.5;  // 1909
  stored.onMoment = 40000.75;
  stored.offTime = 600;
  stored.onTime = 1500;
  stored.offAction = 9;
  ASSERT_TRUE(zvtest::writeFile(userData + "\\timer2.dat", &stored, sizeof(stored)));
  const std::string media = zvtest::freshDir("eqtimer");
  const std::string a = writeMarkedWav(media, "a.wav", 5, 3);

  Player player(root, {a});
  ASSERT_TRUE(player.started());
  HWND window = waitMainWindow(20000);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(zvtest::waitFor([] { return played(5); }, 20000)) << "playing, not stopped by the passed off timer";
  EXPECT_FALSE(anyBoxOf(player.id())) << "no message at start-up";
  // Disarmed and stored at once, the action made safe.
  const std::vector<uint8_t> bytes = zvtest::readFile(userData + "\\timer2.dat");
  ASSERT_EQ(bytes.size(), 30u);
  Timer2 now{};
  std::memcpy(&now, bytes.data(), sizeof(now));
  EXPECT_EQ(now.offArmed, 0);
  EXPECT_EQ(now.onArmed, 0);
  EXPECT_EQ(now.offAction, 0);
  EXPECT_EQ(now.onTime, 60);

  ASSERT_TRUE(sendCommand(window, "eq"));
  EXPECT_TRUE(zvtest::waitFor([] { return FindWindowA(nullptr, "Equalizer") != nullptr; }, 5000));
  ASSERT_TRUE(sendCommand(window, "timer"));
  EXPECT_TRUE(zvtest::waitFor([] { return FindWindowA(nullptr, "Timer") != nullptr; }, 5000));
  // The same command again brings the one window forward.
  ASSERT_TRUE(sendCommand(window, "eq"));
  int equalizers = 0;
  for (HWND w = FindWindowA(nullptr, "Equalizer"); w; w = FindWindowExA(nullptr, w, nullptr, "Equalizer")) ++equalizers;
  EXPECT_EQ(equalizers, 1);

  ASSERT_TRUE(sendCommand(window, "stop"));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(20000), 0);
  EXPECT_EQ(zvtest::readFile(userData + "\\timer2.dat").size(), 30u);
}
