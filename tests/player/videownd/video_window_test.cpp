// The video window in the real zorvak.exe, playing videos made by Debian's
// ffmpeg with the video input: the window appears for a stream with
// pictures, the picture read back from the screen has the size the size
// modes and the image controls give it, the modes place the window, and a
// file's zoom is written to its folder's information cache at close and
// read back when the file plays again. Each start of the program is costly
// under Wine, so one test walks through several steps.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "startup/hand_over.h"
#include "startup/program_dirs.h"
#include "testkit.h"
#include "video_settings.h"
#include "win32/owners.h"
#include "zv_infocache.h"
#include "zv_memory.h"

namespace {

constexpr int kStartMs = 30000, kWaitMs = 15000;

class Player {
 public:
  Player(const std::string& root, const std::vector<std::string>& files) {
    std::string command = "\"" + root + "\\bin\\zorvak.exe\"";
    for (const std::string& f : files) command += " \"" + f + "\"";
    STARTUPINFOA si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, (root + "\\bin").c_str(), &si,
                        &pi))
      return;
    process_.reset(pi.hProcess);
    zv::UniqueKernelHandle thread(pi.hThread);
  }
  ~Player() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.get(), 1);
      WaitForSingleObject(process_.get(), 5000);
    }
  }
  bool started() const { return process_.get() != nullptr; }
  // Closes the main window as a user does; true when the program ended.
  bool close() {
    HWND main = FindWindowA("ZVWindow", nullptr);
    if (main) PostMessageA(main, WM_CLOSE, 0, 0);
    return process_ && WaitForSingleObject(process_.get(), kWaitMs) == WAIT_OBJECT_0;
  }

 private:
  zv::UniqueKernelHandle process_;
};

HWND videoWindow() { return FindWindowA("ZVVideoWindow", nullptr); }
HWND pictureSurface() { return FindWindowExA(videoWindow(), nullptr, "ZvVideoPicture", nullptr); }

SIZE clientSize(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return {r.right, r.bottom};
}

// One row of the surface as the screen shows it (the video window is
// owned by the main window, so it lies above it).
std::vector<COLORREF> screenRow(HWND surface, int y) {
  const SIZE size = clientSize(surface);
  std::vector<COLORREF> row;
  if (size.cx <= 0) return row;
  POINT origin{0, y};
  ClientToScreen(surface, &origin);
  zv::WindowDc screen(nullptr);
  for (int x = 0; x < size.cx; ++x) row.push_back(GetPixel(screen.get(), origin.x + x, origin.y));
  return row;
}

bool isBlack(COLORREF c) { return GetRValue(c) < 24 && GetGValue(c) < 24 && GetBValue(c) < 24; }

// Where the bars lie on the surface's middle row: [first, last + 1) of the
// pixels that are not black; {-1, -1} when none is.
std::pair<int, int> pictureSpan(HWND surface) {
  const std::vector<COLORREF> row = screenRow(surface, clientSize(surface).cy / 2);
  int first = -1, last = -1;
  for (int x = 0; x < int(row.size()); ++x)
    if (!isBlack(row[x])) {
      if (first < 0) first = x;
      last = x;
    }
  return {first, last < 0 ? -1 : last + 1};
}

// Waits until the picture spans [left, right) (within a pixel).
bool waitSpan(int left, int right) {
  return zvtest::waitFor([&] {
    const std::pair<int, int> s = pictureSpan(pictureSurface());
    return std::abs(s.first - left) <= 1 && std::abs(s.second - right) <= 1;
  }, kWaitMs);
}

void key(UINT vk, int times = 1) {
  for (int i = 0; i < times; ++i) PostMessageA(videoWindow(), WM_KEYDOWN, vk, 0);
}

RECT windowRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

// The file's "VIDSET" record: its four words, or none.
std::vector<int32_t> vidset(const std::string& file) {
  void* buffer = nullptr;
  int32_t length = 0;
  cacheRecBuf(file.c_str(), zvplayer::kVidsetName, &buffer, &length);
  std::vector<int32_t> words;
  if (!buffer) return words;
  if (length == int32_t(zvplayer::kVidsetSize)) {
    words.resize(4);
    std::memcpy(words.data(), buffer, 16);
  }
  _mfree(buffer);
  return words;
}

std::string userDataDir(const std::string& root) {
  char user[257] = {}, computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD userSize = sizeof(user), computerSize = sizeof(computer);
  if (!GetUserNameA(user, &userSize)) user[0] = 0;
  if (!GetComputerNameA(computer, &computerSize)) computer[0] = 0;
  return zv::programDirs(root + "\\bin\\zorvak.exe", user, computer).userData;
}

std::string configValue(const std::string& root, const char* key) {
  char value[64] = {};
  GetPrivateProfileStringA("Zorvak", key, "", value, sizeof(value), (userDataDir(root) + "\\config.dat").c_str());
  return value;
}

void removeTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  zv::UniqueFind find(FindFirstFileA((dir + "\\*").c_str(), &fd));
  if (find) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = dir + "\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        removeTree(path);
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(find.get(), &fd));
  }
  RemoveDirectoryA(dir.c_str());
}

class VideoWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "the player needs a display";
    root_ = zvtest::rootDir();
    removeTree(root_ + "\\data");
    ASSERT_EQ(FindWindowA("ZVWindow", nullptr), nullptr) << "another player is running";
    a_ = zvtest::testDir() + "\\media\\a\\bars.mp4";
    b_ = zvtest::testDir() + "\\media\\b\\bars.mp4";
    // The cache files themselves: this process's engine keeps what it read
    // of a folder, so the test reads each folder's records only after the
    // program wrote them.
    for (const char* folder : {"a", "b"}) DeleteFileA((zvtest::testDir() + "\\media\\" + folder + "\\zvcache").c_str());
  }
  std::string root_, a_, b_;
};

TEST_F(VideoWindow, appearsShowsThePictureChangesSizeModesAndKeepsEachFilesZoom) {
  {
    Player player(root_, {a_});
    ASSERT_TRUE(player.started());
    ASSERT_TRUE(zvtest::waitFor([] { return IsWindowVisible(videoWindow()) && pictureSurface(); }, kStartMs))
        << "a stream with pictures shows the video window";
    HWND surface = pictureSurface();
    // Normal size: the picture's own size, the bars across all of it.
    EXPECT_TRUE(zvtest::waitFor([&] { return clientSize(surface).cx == 320 && clientSize(surface).cy == 240; }, kWaitMs));
    EXPECT_TRUE(waitSpan(0, 320)) << pictureSpan(surface).first << " " << pictureSpan(surface).second;
    const COLORREF middle = screenRow(surface, 120)[20];
    EXPECT_GT(GetRValue(middle) + GetGValue(middle) + GetBValue(middle), 300) << "the grey bar on the left";

    // (2) double size.
    key('2');
    EXPECT_TRUE(zvtest::waitFor([&] { return clientSize(surface).cx == 640 && clientSize(surface).cy == 480; }, kWaitMs));
    EXPECT_TRUE(waitSpan(0, 640));

    // (3) desktop: the work area, a tool window, not on top.
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    key('3');
    EXPECT_TRUE(zvtest::waitFor([&] {
      const RECT r = windowRect(videoWindow());
      return EqualRect(&work, &r) && (GetWindowLongPtrA(videoWindow(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    }, kWaitMs)) << "the work area";
    EXPECT_FALSE(GetWindowLongPtrA(videoWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // (4) full screen: the whole screen, on top. (Taken last: Wine keeps a
    // window on top once it was, whatever SetWindowPos asks afterwards.)
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    key('4');
    EXPECT_TRUE(zvtest::waitFor([&] {
      const RECT r = windowRect(videoWindow());
      return r.left == 0 && r.top == 0 && r.right == sw && r.bottom == sh &&
             (GetWindowLongPtrA(videoWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    }, kWaitMs)) << "the whole screen, on top";
    EXPECT_FALSE(GetWindowLongPtrA(FindWindowA("ZVWindow", nullptr), GWL_EXSTYLE) & WS_EX_TOPMOST)
        << "the main window keeps its own order";
    // The surface is the screen; the picture is as wide as the 4:3 fit gives.
    const int fitWidth = std::min(sw, sh * 320 / 240);
    EXPECT_TRUE(waitSpan((sw - fitWidth) / 2, (sw - fitWidth) / 2 + fitWidth));

    // (1) normal again, then the horizontal size (the current control) down
    // to 80 %: 256 of 320 pixels, centred.
    key('1');
    EXPECT_TRUE(zvtest::waitFor([&] { return clientSize(surface).cx == 320; }, kWaitMs));
    // Brightness (the fifth control) up by half: the grey bar on the left
    // gets lighter; back to the horizontal size.
    auto greyBar = [&] {
      const std::vector<COLORREF> row = screenRow(surface, 60);
      return row.size() > 20 ? GetGValue(row[20]) : 0;
    };
    const int grey = greyBar();
    key(VK_DOWN, 4);
    key(VK_ADD, 50);
    EXPECT_TRUE(zvtest::waitFor([&] { return greyBar() >= grey + 20; }, kWaitMs)) << grey << " " << greyBar();
    key(VK_SUBTRACT, 50);
    EXPECT_TRUE(zvtest::waitFor([&] { return std::abs(greyBar() - grey) <= 4; }, kWaitMs)) << grey << " " << greyBar();
    key(VK_UP, 4);
    key(VK_SUBTRACT, 20);
    EXPECT_TRUE(waitSpan(32, 288)) << pictureSpan(surface).first << " " << pictureSpan(surface).second;
    ASSERT_TRUE(player.close());
  }
  EXPECT_EQ(vidset(a_), (std::vector<int32_t>{800, 1000, 0, 0})) << "written at close";
  EXPECT_EQ(configValue(root_, "videoctl0"), "800");
  EXPECT_EQ(configValue(root_, "video_cw"), "1000");

  {
    // The other folder's file has no record: full width. Its horizontal size
    // goes to 90 %; then the first file's record is read back when it plays.
    Player player(root_, {b_, a_});
    ASSERT_TRUE(player.started());
    ASSERT_TRUE(zvtest::waitFor([] { return IsWindowVisible(videoWindow()) && pictureSurface(); }, kStartMs));
    EXPECT_TRUE(waitSpan(0, 320));
    key(VK_SUBTRACT, 10);
    EXPECT_TRUE(waitSpan(16, 304));
    HWND main = FindWindowA("ZVWindow", nullptr);
    ASSERT_TRUE(zv::sendHandOver(main, nullptr, zv::encodeHandOver(zv::handOverCommand, 0, "next")));
    EXPECT_TRUE(waitSpan(32, 288)) << "the record of the first file";
    // Back at the defaults: the first file's record goes at close.
    key(VK_ADD, 20);
    EXPECT_TRUE(waitSpan(0, 320));
    ASSERT_TRUE(player.close());
  }
  EXPECT_EQ(vidset(b_), (std::vector<int32_t>{900, 1000, 0, 0})) << "written when the next file was shown";
  {
    Player player(root_, {a_});
    ASSERT_TRUE(player.started());
    ASSERT_TRUE(zvtest::waitFor([] { return IsWindowVisible(videoWindow()) && pictureSurface(); }, kStartMs));
    EXPECT_TRUE(waitSpan(0, 320)) << "no record: the whole width";
    ASSERT_TRUE(player.close());
  }
}

}  // namespace
