// The real zorvak.exe's main window, further: the "Open file" dialog that
// Insert brings up, driven through its path field and list; a button's
// tooltip as the system shows it; the display menu's visualisation
// plug-ins with a real library in the plug-in folder; the playlist editor's
// description editor (F2) committed and cancelled.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "program_fixture.h"
#include "skin_loader.h"
#include "testkit.h"

namespace {

using namespace ptest;

constexpr int kStartMs = 20000, kWaitMs = 10000;

class MainWindowExtras : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "the player needs a display";
    root_ = zvtest::rootDir();
    removeTree(root_ + "\\data");
    ASSERT_EQ(FindWindowA("ZVWindow", nullptr), nullptr) << "another player is running";
    trace_ = zvtest::freshDir("trace") + "\\commands.txt";
    SetEnvironmentVariableA("ZORVAK_COMMAND_TRACE", trace_.c_str());
    userData_ = userDataDir(root_);
    CreateDirectoryA((root_ + "\\data").c_str(), nullptr);
    SHCreateDirectoryExA(nullptr, userData_.c_str(), nullptr);
    setting("seenAbout", "1");
  }
  void TearDown() override { SetEnvironmentVariableA("ZORVAK_COMMAND_TRACE", nullptr); }

  void setting(const char* key, const char* value) {
    WritePrivateProfileStringA("Zorvak", key, value, (userData_ + "\\config.dat").c_str());
  }
  std::vector<std::string> traced() {
    std::vector<std::string> lines;
    std::ifstream in(trace_);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }
  // Waits until the trace holds `line` after the first `before` lines.
  bool tracedLine(size_t before, const std::string& line, int ms = kWaitMs) {
    return zvtest::waitFor([&] {
      const auto lines = traced();
      for (size_t i = before; i < lines.size(); ++i)
        if (lines[i] == line) return true;
      return false;
    }, ms);
  }

  std::string root_, trace_, userData_;
};

// Asked of the window itself: a control of another process keeps its text
// where GetWindowText does not look.
std::string windowText(HWND w) {
  char text[1024] = {};
  SendMessageA(w, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const auto& l : lines) all += l + "|";
  return all;
}

std::string className(HWND w) {
  char name[64] = {};
  GetClassNameA(w, name, sizeof(name));
  return name;
}

struct Search {
  DWORD pid;
  std::function<bool(HWND)> match;
  HWND found = nullptr;
};

BOOL CALLBACK takeMatching(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner != s->pid || !IsWindowVisible(w) || !s->match(w)) return TRUE;
  s->found = w;
  return FALSE;
}

// A visible top-level window of `pid` that `match` accepts, within `ms`.
HWND waitTopLevel(DWORD pid, const std::function<bool(HWND)>& match, int ms) {
  Search s{pid, match};
  zvtest::waitFor([&] {
    s.found = nullptr;
    EnumWindows(takeMatching, reinterpret_cast<LPARAM>(&s));
    return s.found != nullptr;
  }, ms);
  return s.found;
}

HWND waitMenu(DWORD pid, int ms) {
  return waitTopLevel(pid, [](HWND w) { return className(w) == "#32768"; }, ms);
}

std::vector<std::string> listTexts(HWND list) {
  std::vector<std::string> out;
  const int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  // Asked in UTF-16: across processes the system hands the ANSI form over
  // cut at its first character.
  for (int i = 0; i < n; ++i) {
    wchar_t wide[MAX_PATH] = {};
    char text[MAX_PATH] = {};
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
    out.push_back(text);
  }
  return out;
}

// Types `text` over what an edit field holds, then Enter.
void typeAndEnter(HWND field, const std::string& text) {
  PostMessageA(field, EM_SETSEL, 0, -1);
  for (char c : text) PostMessageA(field, WM_CHAR, static_cast<unsigned char>(c), 1);
  PostMessageA(field, WM_KEYDOWN, VK_RETURN, 1);
}

void key(HWND w, UINT vk) { PostMessageA(w, WM_KEYDOWN, vk, 1); }

// ---- "Open file" ----

TEST_F(MainWindowExtras, insertOpensTheOpenFileDialog_chosenFilesPlay_foldersAndPlaylistsGoToRecent) {
  const std::string media = zvtest::freshDir("openmedia");
  writeMarkedWav(media, "a.wav", 1, 30);
  writeMarkedWav(media, "b.wav", 2, 30);
  CreateDirectoryA((media + "\\more").c_str(), nullptr);
  writeMarkedWav(media + "\\more", "c.wav", 3, 30);
  {
    std::ofstream list(media + "\\list.m3u");
    list << "b.wav\r\n";
  }
  Player player(root_, {});
  ASSERT_TRUE(player.started());
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);

  auto openDialog = [&] {
    key(window, VK_INSERT);
    return waitTopLevel(player.id(), [](HWND w) { return windowText(w) == "Open file"; }, kWaitMs);
  };
  HWND dialog = openDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(tracedLine(0, "1 openfile"));
  EXPECT_TRUE(zvtest::waitFor([&] { return !IsWindowEnabled(window); }, kWaitMs)) << "modal over the main window";
  HWND field = FindWindowExA(dialog, nullptr, "Edit", nullptr);
  HWND list = FindWindowExA(dialog, nullptr, "ListBox", nullptr);
  ASSERT_NE(field, nullptr);
  ASSERT_NE(list, nullptr);

  // The folder typed into the field is shown: sub-folders, playable files and playlists.
  typeAndEnter(field, media);
  const std::vector<std::string> expected{"[more]", "a.wav", "b.wav", "list.m3u"};
  EXPECT_TRUE(zvtest::waitFor([&] { return listTexts(list) == expected; }, kWaitMs)) << joined(listTexts(list));
  // A folder and a file chosen, Enter: a new playlist that plays.
  SendMessageA(list, LB_SETSEL, TRUE, 0);
  SendMessageA(list, LB_SETSEL, TRUE, 1);
  key(list, VK_RETURN);
  ASSERT_TRUE(zvtest::waitFor([&] { return !IsWindowVisible(dialog) || !IsWindow(dialog); }, kWaitMs));
  EXPECT_TRUE(zvtest::waitFor([&] { return IsWindowEnabled(window) != FALSE; }, kWaitMs));
  EXPECT_TRUE(zvtest::waitFor([] { return played(3) || played(1); }, kStartMs)) << "the chosen files play";
  const std::string recent = userData_ + "\\recent.dat";
  EXPECT_TRUE(zvtest::waitFor([&] { return fileText(recent).find(media + "\\more") != std::string::npos; }, kWaitMs));
  EXPECT_EQ(fileText(recent).find("a.wav"), std::string::npos) << "a single file is no recent entry";

  // Again: the dialog is where it was; a playlist typed by name opens.
  dialog = openDialog();
  ASSERT_NE(dialog, nullptr);
  field = FindWindowExA(dialog, nullptr, "Edit", nullptr);
  EXPECT_EQ(windowText(field), media);
  typeAndEnter(field, "list.m3u");
  ASSERT_TRUE(zvtest::waitFor([&] { return !IsWindowVisible(dialog) || !IsWindow(dialog); }, kWaitMs));
  EXPECT_TRUE(zvtest::waitFor([] { return played(2); }, kStartMs)) << "the playlist's file plays";
  EXPECT_TRUE(
      zvtest::waitFor([&] { return fileText(recent).find(media + "\\list.m3u") != std::string::npos; }, kWaitMs));

  // Escape cancels and gives the main window back.
  dialog = openDialog();
  ASSERT_NE(dialog, nullptr);
  list = FindWindowExA(dialog, nullptr, "ListBox", nullptr);
  const size_t before = traced().size();
  key(list, VK_ESCAPE);
  ASSERT_TRUE(zvtest::waitFor([&] { return !IsWindowVisible(dialog) || !IsWindow(dialog); }, kWaitMs));
  EXPECT_TRUE(zvtest::waitFor([&] { return IsWindowEnabled(window) != FALSE; }, kWaitMs));
  EXPECT_EQ(traced().size(), before);

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(kStartMs), 0);
}

// ---- Tooltips ----

TEST_F(MainWindowExtras, thePlayButtonsTooltip_namesItsShiftCommand) {
  Player player(root_, {});
  ASSERT_TRUE(player.started());
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);
  zv::ui::SkinLoadResult skin =
      zv::ui::loadSkin(root_ + "\\skins\\default\\main.skn", root_ + "\\skins\\default\\main.bmp");
  ASSERT_TRUE(skin.ok());
  const zv::ui::TSkinCtl* play = skin.skin->findControl("toggleplay");
  ASSERT_NE(play, nullptr);
  ASSERT_EQ(play->action1, "fadetoggleplay") << "the shipped skin's Shift command";
  RECT w{};
  GetWindowRect(window, &w);
  const RECT r = play->bounds(w.right - w.left, w.bottom - w.top);
  const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  // The pointer rests on the button: the system's tooltip comes up.
  HWND tip = nullptr;
  ASSERT_TRUE(zvtest::waitFor([&] {
    SetForegroundWindow(window);
    SetCursorPos(w.left + at.x, w.top + at.y);
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    tip = waitTopLevel(player.id(), [](HWND t) { return className(t) == "tooltips_class32"; }, 1500);
    return tip != nullptr;
  }, kWaitMs));
  EXPECT_EQ(windowText(tip), "Play/stop / [+Shift] Play/stop with fading");
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(kStartMs), 0);
}

// ---- The display menu's visualisation plug-ins ----

TEST_F(MainWindowExtras, displayMenuListsTheVisualisationLibraries_startsStopsConfiguresAndRemembers) {
  const std::string media = zvtest::freshDir("vismedia");
  const std::string a = writeMarkedWav(media, "a.wav", 1, 30);
  Player player(root_, {a});
  ASSERT_TRUE(player.started());
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);
  HWND panel = nullptr;
  ASSERT_TRUE(zvtest::waitFor([&] { return (panel = FindWindowExA(window, nullptr, "ZvVisPanel", nullptr)) != nullptr; },
                              kWaitMs));

  // A click on the display opens its menu; the keys walk it as a user would.
  // A miss says which step it was and what the program ran meanwhile.
  auto choose = [&](std::initializer_list<UINT> keys, const std::string& command) -> testing::AssertionResult {
    // The last menu gone first: keys for the new one must not reach a
    // closing one, which is still visible for a moment on a busy machine.
    if (!zvtest::waitFor([&] { return waitMenu(player.id(), 0) == nullptr; }, kWaitMs))
      return testing::AssertionFailure() << "the last menu stayed open";
    const size_t before = traced().size();
    PostMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(panel, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    HWND menu = waitMenu(player.id(), kWaitMs);
    if (!menu) return testing::AssertionFailure() << "no menu came up";
    for (UINT k : keys) key(menu, k);
    if (tracedLine(before, command)) return testing::AssertionSuccess();
    const auto lines = traced();
    testing::AssertionResult miss = testing::AssertionFailure();
    miss << "not run: " << command << "; foreground " << GetForegroundWindow() << ", menu still up: "
         << (waitMenu(player.id(), 0) != nullptr) << "; ran meanwhile:";
    for (size_t i = before; i < lines.size(); ++i) miss << " [" << lines[i] << "]";
    return miss;
  };
  // The library's window is shown and then brought to the front from the
  // visualisation's thread; a menu opened between the two would be closed by
  // that activation, so the window counts as up only once it is in front.
  auto visWindow = [&](int ms) {
    return waitTopLevel(player.id(), [](HWND w) { return className(w) == "Winamp 1.x"; }, ms);
  };
  auto visStarted = [&] {
    HWND w = visWindow(kWaitMs);
    if (w) {
      EXPECT_TRUE(zvtest::waitFor([&] { return GetForegroundWindow() == w; }, kWaitMs));
      // Its thread also takes the display's focus events of that activation;
      // one still pending when the menu opens would bring it to the front
      // again. A message answered by that thread means it has taken them.
      EXPECT_TRUE(SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, nullptr));
    }
    return w;
  };
  // "Start plug-in" (first item), its first entry: the library's module.
  ASSERT_TRUE(choose({VK_DOWN, VK_RIGHT, VK_RETURN}, "0 _vis:vis_recording.dll,0"));
  HWND vis = visStarted();
  ASSERT_NE(vis, nullptr) << "the library runs in its window";
  // Its last entry, "Off", stops it.
  ASSERT_TRUE(choose({VK_DOWN, VK_RIGHT, VK_UP, VK_RETURN}, "0 _vis:"));
  EXPECT_TRUE(zvtest::waitFor([&] { return !IsWindow(vis) || !IsWindowVisible(vis); }, kWaitMs));
  // A double click on the display starts the last one again.
  size_t before = traced().size();
  PostMessageA(panel, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_TRUE(tracedLine(before, "0 _vis:vis_recording.dll,0"));
  EXPECT_NE(visStarted(), nullptr);
  // "Configure" (second item) lists the same module.
  EXPECT_TRUE(choose({VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}, "0 _cfg:vis_recording.dll,0"));
  // A name with a folder part loads nothing and is not remembered (the
  // settings read at the end), and the running one stays.
  before = traced().size();
  ASSERT_TRUE(sendCommand(window, "vis:..\\bin\\vis_recording.dll,0"));
  EXPECT_TRUE(tracedLine(before, "0 vis:..\\bin\\vis_recording.dll,0"));
  EXPECT_NE(visWindow(1000), nullptr);

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(kStartMs), 0);
  EXPECT_EQ(configValue(userData_, "lastVisC"), "vis_recording.dll");
  EXPECT_EQ(configValue(userData_, "lastVisN"), "0");
}

// ---- The playlist editor's description editor ----

struct ChildSearch {
  const char* cls;
  HWND found;
};

BOOL CALLBACK takeChildOfClass(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<ChildSearch*>(p);
  if (className(w) != f->cls) return TRUE;
  f->found = w;
  return FALSE;
}

HWND findChildOfClass(HWND parent, const char* cls) {
  ChildSearch f{cls, nullptr};
  EnumChildWindows(parent, takeChildOfClass, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// Line `line` of an editor's list focused (Home, then Down), F2: the edit
// field that opens over it, or null.
HWND openDescEditor(HWND list, int line) {
  key(list, VK_HOME);
  for (int i = 0; i < line; ++i) key(list, VK_DOWN);
  key(list, VK_F2);
  HWND edit = nullptr;
  zvtest::waitFor([&] { return (edit = FindWindowExA(list, nullptr, "Edit", nullptr)) && IsWindowVisible(edit); },
                  kWaitMs);
  return edit;
}

bool describe(HWND list, int line, const std::string& text) {
  HWND edit = openDescEditor(list, line);
  if (!edit) return false;
  typeAndEnter(edit, text);
  return true;
}

TEST_F(MainWindowExtras, f2InThePlaylistEditor_entersADescription_escapeLeavesIt) {
  const std::string media = zvtest::freshDir("descmedia");
  writeMarkedWav(media, "one.wav", 1, 30);
  writeMarkedWav(media, "two.wav", 2, 30);
  Player player(root_, {media});
  ASSERT_TRUE(player.started());
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(zvtest::waitFor([] { return played(1); }, kStartMs));
  ASSERT_TRUE(sendCommand(window, "editcpl"));
  HWND editor = waitTopLevel(player.id(), [](HWND w) { return findChildOfClass(w, "SysListView32") != nullptr; },
                             kWaitMs);
  ASSERT_NE(editor, nullptr);
  HWND list = findChildOfClass(editor, "SysListView32");

  // The group's line (the first), F2: an edit field over it.
  HWND edit = openDescEditor(list, 0);
  ASSERT_NE(edit, nullptr);
  typeAndEnter(edit, "Kitchen mix");
  EXPECT_TRUE(zvtest::waitFor([&] { return !IsWindow(edit) || !IsWindowVisible(edit); }, kWaitMs));

  edit = openDescEditor(list, 0);
  ASSERT_NE(edit, nullptr);
  PostMessageA(edit, EM_SETSEL, 0, -1);
  for (char c : std::string("Thrown away")) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
  PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_TRUE(zvtest::waitFor([&] { return !IsWindow(edit) || !IsWindowVisible(edit); }, kWaitMs));
  // A later command marks that the cancel was handled.
  const size_t before = traced().size();
  ASSERT_TRUE(sendCommand(window, "info"));
  ASSERT_TRUE(tracedLine(before, "0 info"));

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(kStartMs), 0);
  // The saved playlist keeps the committed text, not the cancelled one.
  const std::string saved = fileText(userData_ + "\\playlist.dat");
  EXPECT_NE(saved.find("Kitchen mix"), std::string::npos);
  EXPECT_EQ(saved.find("Thrown away"), std::string::npos);
}

}  // namespace

// The main window's labels (controls 1000 and 1001) follow a description
// entered in the editor of the main playlist at once: the current group's
// and the current file's.
TEST_F(MainWindowExtras, f2InTheMainPlaylistsEditor_updatesTheMainWindowsGroupAndFileLabels) {
  const std::string media = zvtest::freshDir("labelmedia");
  writeMarkedWav(media, "one.wav", 1, 30);
  writeMarkedWav(media, "two.wav", 2, 30);
  Player player(root_, {media});
  ASSERT_TRUE(player.started());
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(zvtest::waitFor([] { return played(1); }, kStartMs));
  // Stopped, the current line stays where it is (playback here runs faster
  // than the clock and would move on to the next file, which draws the
  // labels again); the descriptions and times asked for at the start have
  // all come in once the playlist's total time shows.
  ASSERT_TRUE(sendCommand(window, "stop"));
  HWND groupLabel = nullptr, fileLabel = nullptr, totalLabel = nullptr;
  ASSERT_TRUE(zvtest::waitFor([&] {
    groupLabel = GetDlgItem(window, 1000), fileLabel = GetDlgItem(window, 1001), totalLabel = GetDlgItem(window, 1004);
    return groupLabel && fileLabel && totalLabel && windowText(groupLabel) == "labelmedia" &&
           windowText(fileLabel).find("one.wav") != std::string::npos &&
           windowText(totalLabel).find_first_of("123456789") != std::string::npos;
  }, kWaitMs)) << windowText(groupLabel) << " / " << windowText(fileLabel);
  ASSERT_TRUE(sendCommand(window, "editcpl"));
  HWND editor = waitTopLevel(player.id(), [](HWND w) { return findChildOfClass(w, "SysListView32") != nullptr; },
                             kWaitMs);
  ASSERT_NE(editor, nullptr);
  HWND list = findChildOfClass(editor, "SysListView32");

  // Line 0 is the playlist's own heading; the folder's group (the current
  // group) is line 1, its first file (playing) line 2.
  ASSERT_TRUE(describe(list, 1, "Kitchen mix"));
  EXPECT_TRUE(zvtest::waitFor([&] { return windowText(groupLabel) == "Kitchen mix"; }, kWaitMs))
      << windowText(groupLabel);
  ASSERT_TRUE(describe(list, 2, "Morning song"));
  EXPECT_TRUE(zvtest::waitFor([&] { return windowText(fileLabel).find("Morning song") != std::string::npos; }, kWaitMs))
      << windowText(fileLabel);
  EXPECT_EQ(windowText(groupLabel), "Kitchen mix") << "the group keeps its new text";

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(kStartMs), 0);
}

// A description belongs to the file, not to one line: typed on one line of
// a file listed twice, it reaches the other line too, here the current one
// that the main window's label shows, and both are saved with it.
TEST_F(MainWindowExtras, aDescriptionTypedForAFileListedTwice_reachesBothLinesAndTheLabel) {
  const std::string media = zvtest::freshDir("twicemedia");
  const std::string one = writeMarkedWav(media, "one.wav", 1, 30);
  writeMarkedWav(media, "two.wav", 2, 30);
  Player player(root_, {media, one});
  ASSERT_TRUE(player.started());
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(zvtest::waitFor([] { return played(1); }, kStartMs));
  ASSERT_TRUE(sendCommand(window, "stop"));
  HWND fileLabel = nullptr;
  ASSERT_TRUE(zvtest::waitFor([&] {
    fileLabel = GetDlgItem(window, 1001);
    return fileLabel && windowText(fileLabel).find("one.wav") != std::string::npos;
  }, kWaitMs)) << windowText(fileLabel);
  ASSERT_TRUE(sendCommand(window, "editcpl"));
  HWND editor = waitTopLevel(player.id(), [](HWND w) { return findChildOfClass(w, "SysListView32") != nullptr; },
                             kWaitMs);
  ASSERT_NE(editor, nullptr);
  HWND list = findChildOfClass(editor, "SysListView32");
  // The heading, the folder's group, its two files, then one.wav again:
  // the current line is the first one.wav (line 2); the text goes on line 4.
  ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 5);
  ASSERT_TRUE(describe(list, 4, "Morning song"));
  EXPECT_TRUE(zvtest::waitFor([&] { return windowText(fileLabel).find("Morning song") != std::string::npos; }, kWaitMs))
      << windowText(fileLabel);

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(kStartMs), 0);
  const std::string saved = fileText(userData_ + "\\playlist.dat");
  const size_t first = saved.find("Morning song");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(saved.find("Morning song", first + 1), std::string::npos) << "both lines keep the text";
}
