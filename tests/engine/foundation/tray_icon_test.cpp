// The tray icon calls against the system tray of the test display.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <string>

#include "testkit.h"
#include "zv_paths.h"

namespace {

constexpr UINT kTrayMessage = WM_APP + 7;

struct Window {
  HWND handle = CreateWindowA("STATIC", "tray test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ~Window() {
    if (handle) DestroyWindow(handle);
  }
};

}  // namespace

TEST(TrayIcon, addEditBalloonAndRemove) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display: no tray";
  Window w;
  ASSERT_NE(w.handle, nullptr);
  HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
  HICON other = LoadIcon(nullptr, IDI_INFORMATION);

  // Editing, balloons and removal need an icon that exists.
  EXPECT_EQ(editTrayIcon(w.handle, 100, icon, "none yet"), 0);
  EXPECT_EQ(delTrayIcon(w.handle, 100), 0);

  ASSERT_NE(addTrayIcon(w.handle, 100, kTrayMessage, icon, "Zorvak"), 0);
  EXPECT_NE(addTrayIcon(w.handle, 101, kTrayMessage, icon, "second button"), 0);
  EXPECT_NE(editTrayIcon(w.handle, 100, other, "Playing: \xC9t\xE9"), 0);
  EXPECT_NE(trayHintV5(w.handle, 100, "Now playing", "Artist - Title", NIIF_INFO, 5), 0);
  EXPECT_EQ(trayHintV5(w.handle, 102, "Nobody", "no icon 102", NIIF_INFO, 5), 0);

  EXPECT_NE(delTrayIcon(w.handle, 100), 0);
  EXPECT_EQ(delTrayIcon(w.handle, 100), 0);
  EXPECT_EQ(editTrayIcon(w.handle, 100, icon, "gone"), 0);
  EXPECT_NE(editTrayIcon(w.handle, 101, other, "still there"), 0);  // the other id is untouched
  EXPECT_NE(delTrayIcon(w.handle, 101), 0);
}

// Texts longer than the record's fields are cut, not written past them.
TEST(TrayIcon, overlongTextsAreCut) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display: no tray";
  Window w;
  ASSERT_NE(w.handle, nullptr);
  HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
  const std::string longText(2000, 'w');
  ASSERT_NE(addTrayIcon(w.handle, 200, kTrayMessage, icon, longText.c_str()), 0);
  EXPECT_NE(editTrayIcon(w.handle, 200, icon, longText.c_str()), 0);
  EXPECT_NE(trayHintV5(w.handle, 200, longText.c_str(), longText.c_str(), NIIF_WARNING, 0xFFFFFFFFu), 0);
  EXPECT_NE(editTrayIcon(w.handle, 200, icon, nullptr), 0);
  EXPECT_NE(trayHintV5(w.handle, 200, nullptr, nullptr, NIIF_NONE, 1), 0);
  EXPECT_NE(delTrayIcon(w.handle, 200), 0);
}
