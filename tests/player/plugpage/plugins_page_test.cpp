// The settings window's plug-ins page against the engine's own lists (the
// real decoders and two probe libraries in this test's private root), and
// the icon commands of its file-types page writing shell links into folders
// of this test's own inside the Wine prefix.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>
#include <mutex>
#include <optional>
#include <vector>

#include "setup/setup_window.h"
#include "testkit.h"
#include "win32/owners.h"
#include "zv_config.h"
#include "zv_playback.h"
#include "zv_plugins.h"

using namespace zv;

namespace {

#define NEED_DISPLAY() \
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display: window tests need Xvfb"

const char* const kSection = "zvtest_player_plugpage";
constexpr int kPicW = 24, kPicH = 16;
const COLORREF kPicColor = RGB(200, 40, 160);

std::string pluginsDir() { return zvtest::rootDir() + "\\plugins"; }

// A copy of the probe decoder carrying a "PLGICON" bitmap of one colour,
// written into the copy's resources before the engine loads the folder.
bool makePictureDecoder() {
  const std::string copy = pluginsDir() + "\\cfgpic.dec";
  if (!CopyFileA((pluginsDir() + "\\cfgprobe.dec").c_str(), copy.c_str(), FALSE)) return false;
  std::vector<uint8_t> dib(sizeof(BITMAPINFOHEADER) + kPicW * kPicH * 3);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = kPicW;
  header->biHeight = kPicH;
  header->biPlanes = 1;
  header->biBitCount = 24;
  header->biCompression = BI_RGB;
  uint8_t* pixel = dib.data() + sizeof(BITMAPINFOHEADER);
  for (int i = 0; i < kPicW * kPicH; ++i, pixel += 3)  // rows of 72 bytes: no padding
    pixel[0] = GetBValue(kPicColor), pixel[1] = GetGValue(kPicColor), pixel[2] = GetRValue(kPicColor);
  HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
  if (!update) return false;
  const BOOL put = UpdateResourceA(update, RT_BITMAP, "PLGICON", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), dib.data(),
                                   static_cast<DWORD>(dib.size()));
  return EndUpdateResourceA(update, !put) && put;
}

void ensureEngine() {
  static std::once_flag once;
  static bool pictureMade = false;
  std::call_once(once, [] {
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\Dovrik\\ZvEngine\\") + kSection).c_str());
    setConfigMode(kSection, 0);
    pictureMade = makePictureDecoder();
    initPlugins();
  });
  ASSERT_TRUE(pictureMade) << "the picture decoder could not be written";
}

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void clickElement(HWND window, const ui::UiElement& e) {
  const RECT& r = e.rect();
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(window, WM_MOUSEMOVE, 0, at);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(window, WM_LBUTTONUP, 0, at);
}

std::string cell(HWND list, int item, int column) {
  char text[300] = {};
  LVITEMA query{};
  query.iSubItem = column;
  query.pszText = text;
  query.cchTextMax = sizeof(text);
  SendMessageA(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&query));
  return text;
}

// The list line showing `text` in `column` (-1 when none does).
int lineOf(HWND list, const std::string& text, int column = 0) {
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    if (cell(list, i, column) == text) return i;
  return -1;
}

void clickLine(HWND list, int line) {
  RECT r{};
  r.left = LVIR_LABEL;
  SendMessageA(list, LVM_GETITEMRECT, line, reinterpret_cast<LPARAM>(&r));
  const LPARAM at = MAKELPARAM(r.left + 4, (r.top + r.bottom) / 2);
  // The list follows the mouse after a press until the release comes
  // through its queue: the release waits there first.
  PostMessageA(list, WM_LBUTTONUP, 0, at);
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  pump();
}

int32_t configCalls(void** parent) {
  HMODULE probe = GetModuleHandleA("cfgprobe.dec");
  auto calls = reinterpret_cast<int32_t(ZVAPI*)(void**)>(reinterpret_cast<void*>(GetProcAddress(probe, "configCalls")));
  return calls ? calls(parent) : -1;
}

struct PluginsPage : ::testing::Test {
  HKEY classes = nullptr;
  std::vector<std::string> messages;
  std::string shortcuts;

  void SetUp() override {
    ensureEngine();
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\zvtest_plugpage", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &classes,
                    nullptr);
  }
  void TearDown() override {
    if (classes) RegCloseKey(classes);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\zvtest_plugpage");
  }
  SetupContext context() {
    SetupContext c;
    c.root = zvtest::rootDir();
    c.playerExe = zvtest::rootDir() + "\\bin\\zorvak.exe";
    c.shell = ShellRoots{classes, classes};
    c.message = [this](const std::string& m) { messages.push_back(m); };
    c.shortcutFolder = [this](ShortcutPlace place) {
      static const char* const kNames[] = {"Desktop", "Start Menu", "Programs", "Quick Launch"};
      return shortcuts.empty() ? std::string() : shortcuts + "\\" + kNames[static_cast<int>(place)];
    };
    return c;
  }
};

TEST_F(PluginsPage, listsEveryDecoderAndKindOfTheEngineGroupedByKind) {
  NEED_DISPLAY();
  TSetupWnd w(context());
  ASSERT_TRUE(w.open(nullptr));
  w.showPage(TSetupWnd::plugins);
  setupui::PluginsPage& page = w.pluginsPage();
  HWND list = page.list();
  ASSERT_TRUE(IsWindowVisible(list));
  const int decoders = decoderCount(), kinds = pluginCount();
  ASSERT_GE(decoders, 3) << "wav, cfgprobe, cfgpic";
  ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), decoders + kinds);
  // The decoders first, in the engine's order, each with its library.
  for (int i = 0; i < decoders; ++i) {
    EXPECT_EQ(cell(list, i, 0), decoderInfoByNum(i)->description) << i;
    EXPECT_EQ(cell(list, i, 1), "Decoder") << i;
    EXPECT_EQ(cell(list, i, 2), decoderInfoByNum(i)->fileName) << i;
  }
  // Every kind once after them, grouped: inputs, visualisations, the rest;
  // built-ins say so instead of a file.
  const struct {
    const char* description;
    const char* kind;
    const char* file;
  } expected[] = {{"CD player", "Input", "(built in)"},
                  {"Decoder", "Input", "(built in)"},
                  {"Visualizer", "Visualization", "(built in)"},
                  {"Winamp vis", "Visualization", "(built in)"},
                  {"Probe visualisation", "Visualization", "visprobe.z"},
                  {"Sampler", "General", "(built in)"}};
  int last = decoders - 1;
  for (const auto& e : expected) {
    const int line = lineOf(list, e.description);
    ASSERT_GE(line, decoders) << e.description;
    EXPECT_EQ(cell(list, line, 1), e.kind) << e.description;
    EXPECT_EQ(cell(list, line, 2), e.file) << e.description;
    EXPECT_GT(line, last) << e.description << " keeps the group order";
    last = line;
  }
}

TEST_F(PluginsPage, configureHandsTheLibraryTheSettingsWindow) {
  NEED_DISPLAY();
  TSetupWnd w(context());
  ASSERT_TRUE(w.open(nullptr));
  w.showPage(TSetupWnd::plugins);
  setupui::PluginsPage& page = w.pluginsPage();
  HWND list = page.list();
  void* parent = nullptr;
  const int before = configCalls(&parent);
  ASSERT_GE(before, 0) << "the probe decoder is loaded";

  // A built-in kind has no settings: the button is off and does nothing.
  clickLine(list, lineOf(list, "Visualizer"));
  EXPECT_EQ(page.entries()[page.selected()].description, "Visualizer");
  EXPECT_FALSE(page.configureButton().enabled());
  EXPECT_EQ(page.details(), "Built into the engine");
  EXPECT_FALSE(page.configure());

  // The probe: its details, and a click on "Configure..." calls it with
  // the settings window as parent.
  clickLine(list, lineOf(list, "cfgprobe.dec", 2));
  EXPECT_EQ(page.details(), "File: cfgprobe.dec\nExtensions: .cfg1, .cfg2");
  ASSERT_TRUE(page.configureButton().enabled());
  clickElement(w.hwnd(), page.configureButton());
  EXPECT_EQ(configCalls(&parent), before + 1);
  EXPECT_EQ(parent, w.hwnd());
  // Enter on its line does the same.
  SendMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
  pump();
  EXPECT_EQ(configCalls(&parent), before + 2);

  // A library that exports no comConfig cannot be configured.
  clickLine(list, lineOf(list, "Probe visualisation"));
  EXPECT_FALSE(page.configureButton().enabled());
  EXPECT_EQ(page.details(), "File: visprobe.z");
  EXPECT_EQ(configCalls(&parent), before + 2);
}

// The window's rectangle of the screen, written as a 32-bit BMP.
void saveWindowPicture(HWND window, const std::string& file) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  WindowDc screen(nullptr);
  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return;
  {
    SelectedObject selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
  }
  GdiFlush();
  BITMAPFILEHEADER head{};
  head.bfType = 0x4D42;
  head.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  head.bfSize = head.bfOffBits + static_cast<DWORD>(w * h * 4);
  std::string bytes(reinterpret_cast<const char*>(&head), sizeof(head));
  bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
  bytes.append(static_cast<const char*>(bits), static_cast<size_t>(w) * h * 4);
  zvtest::writeFile(file, bytes.data(), bytes.size());
}

TEST_F(PluginsPage, aLibrarysPictureIsShownBesideItsDescription) {
  NEED_DISPLAY();
  TSetupWnd w(context());
  ASSERT_TRUE(w.open(nullptr));
  w.showPage(TSetupWnd::plugins);
  setupui::PluginsPage& page = w.pluginsPage();
  clickLine(page.list(), lineOf(page.list(), "cfgprobe.dec", 2));
  EXPECT_FALSE(page.picture().shown()) << "the probe has no picture";
  // Its copy with the picture.
  clickLine(page.list(), lineOf(page.list(), "cfgpic.dec", 2));
  ASSERT_TRUE(page.picture().shown());
  // Drawn in its box at its own size, centred.
  SetWindowPos(w.hwnd(), HWND_TOPMOST, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  RedrawWindow(w.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const RECT box = page.picture().rect();
  const POINT centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  HDC dc = GetDC(w.hwnd());
  const COLORREF middle = GetPixel(dc, centre.x, centre.y);
  const COLORREF outside = GetPixel(dc, centre.x - kPicW / 2 - 3, centre.y);
  ReleaseDC(w.hwnd(), dc);
  EXPECT_EQ(middle, kPicColor);
  EXPECT_NE(outside, kPicColor) << "not stretched over the box";
  saveWindowPicture(w.hwnd(), zvtest::freshDir("pictures") + "\\plugins-page.bmp");  // for people to look at
  page.select(lineOf(page.list(), "Sampler"));
  EXPECT_FALSE(page.picture().shown());
}

// ---- The icon commands ----


struct LinkRead {
  std::string target, arguments, workingDir, iconFile;
  int iconIndex = -1;
};

// The test's own reading of a shell link through IShellLink.
std::optional<LinkRead> readLink(const std::string& path) {
  ComRef<IShellLinkA> link;
  ComRef<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.putVoid())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid())))
    return std::nullopt;
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
  if (FAILED(file->Load(wide, STGM_READ))) return std::nullopt;
  LinkRead r;
  char text[MAX_PATH] = {};
  link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
  r.target = text;
  text[0] = 0;
  link->GetArguments(text, MAX_PATH);
  r.arguments = text;
  text[0] = 0;
  link->GetWorkingDirectory(text, MAX_PATH);
  r.workingDir = text;
  text[0] = 0;
  link->GetIconLocation(text, MAX_PATH, &r.iconIndex);
  r.iconFile = text;
  return r;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void removeTree(const std::string& path) {
  std::string from = path + std::string(1, '\0');
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  SHFileOperationA(&op);
}

TEST_F(PluginsPage, iconCommandsWriteShortcutsToTheLauncher) {
  NEED_DISPLAY();
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // Wine hands every saved link to its menu builder, which writes desktop
  // entries outside the prefix: not for these.
  SetEnvironmentVariableA("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d");
  // The folders: below the prefix's own temporary folder, never the user's
  // desktop (Wine links that to the Linux home).
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  shortcuts = std::string(temp) + "zvtest-shortcuts-" + std::to_string(GetCurrentProcessId());
  removeTree(shortcuts);
  const std::string root = zvtest::rootDir();
  // The programs group links the read-me when the root has one.
  SHCreateDirectoryExA(nullptr, (root + "\\doc\\en").c_str(), nullptr);
  ASSERT_TRUE(zvtest::writeFile(root + "\\doc\\en\\readme.html", "<p>read me</p>", 14));

  TSetupWnd w(context());
  ASSERT_TRUE(w.open(nullptr));
  const struct {
    const char* command;
    const char* link;
  } cases[] = {{"idesk", "Desktop\\Zorvak.lnk"},
               {"istart", "Start Menu\\Zorvak.lnk"},
               {"iprg", "Programs\\Zorvak\\Zorvak.lnk"},
               {"iql", "Quick Launch\\Zorvak.lnk"}};
  for (const auto& c : cases) {
    const std::string path = shortcuts + "\\" + c.link;
    ASSERT_FALSE(exists(path)) << path;
    EXPECT_EQ(w.runIconCommand(c.command), S_OK) << c.command;
    const std::optional<LinkRead> link = readLink(path);
    ASSERT_TRUE(link) << c.command << ": " << path;
    EXPECT_EQ(link->target, root + "\\zorvak.exe") << c.command;
    EXPECT_EQ(link->arguments, "") << c.command;
    EXPECT_EQ(link->workingDir, root) << c.command;
    EXPECT_EQ(link->iconFile, root + "\\bin\\zorvak.exe") << c.command;
    EXPECT_EQ(link->iconIndex, 0) << c.command;
  }
  const std::optional<LinkRead> readme = readLink(shortcuts + "\\Programs\\Zorvak\\Read me.lnk");
  ASSERT_TRUE(readme);
  EXPECT_EQ(readme->target, root + "\\doc\\en\\readme.html");
  // Again: the links are replaced, not doubled.
  EXPECT_EQ(w.runIconCommand("idesk"), S_OK);
  WIN32_FIND_DATAA found;
  int links = 0;
  UniqueFind find(FindFirstFileA((shortcuts + "\\Desktop\\*.lnk").c_str(), &found));
  for (bool more = find.valid(); more; more = FindNextFileA(find.get(), &found)) ++links;
  EXPECT_EQ(links, 1);
  EXPECT_TRUE(messages.empty());

  // An unknown command does nothing; a place without a folder says so.
  EXPECT_EQ(w.runIconCommand("inowhere"), E_INVALIDARG);
  EXPECT_TRUE(messages.empty());
  removeTree(shortcuts);
  shortcuts.clear();
  EXPECT_TRUE(FAILED(w.runIconCommand("idesk")));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "The shortcut could not be created");
  DeleteFileA((root + "\\doc\\en\\readme.html").c_str());
  CoUninitialize();
}

TEST(ShortcutFolders, everyPlaceHasAFolderOfTheUser) {
  // Asked only: nothing is written there.
  for (ShortcutPlace place : {ShortcutPlace::desktop, ShortcutPlace::startMenu, ShortcutPlace::programsGroup,
                              ShortcutPlace::quickLaunch})
    EXPECT_FALSE(shortcutFolder(place).empty()) << static_cast<int>(place);
  const std::string quick = shortcutFolder(ShortcutPlace::quickLaunch);
  const std::string tail = "\\Microsoft\\Internet Explorer\\Quick Launch";
  ASSERT_GT(quick.size(), tail.size());
  EXPECT_EQ(quick.substr(quick.size() - tail.size()), tail);
  char appData[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)));
  EXPECT_EQ(quick, std::string(appData) + tail);
  for (const char* command : {"idesk", "istart", "iprg", "iql"}) EXPECT_TRUE(shortcutPlaceOf(command)) << command;
  EXPECT_FALSE(shortcutPlaceOf("desk"));
}

}  // namespace
