// The settings windows as real windows: controls filled from the store,
// driven by window messages and clicks, "OK" writing every key, the
// registrations (under private roots) and "userExt", and applying them;
// the resources usage window's lists from a source of known figures.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "debugstat/debug_stat_window.h"
#include "registry_snapshot.h"
#include "settings_fixture.h"
#include "setup/setup_window.h"
#include "testkit.h"
#include "zv_config.h"
#include "zv_plugins.h"
#include "zvdsp.h"

using namespace zv;

namespace {

#define NEED_DISPLAY() \
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display: window tests need Xvfb"

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// A press and release in the middle of an element.
void clickElement(HWND window, const ui::UiElement& e) {
  const RECT& r = e.rect();
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(window, WM_MOUSEMOVE, 0, at);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(window, WM_LBUTTONUP, 0, at);
}

ui::UiElement& element(const ui::TSkinnedWnd& w, const char* name) {
  ui::UiElement* e = w.findElement(name);
  if (!e) throw std::runtime_error(std::string("no element ") + name);
  return *e;
}

bool windowGone(HWND window) {
  return zvtest::waitFor([&] {
    pump();
    return !IsWindow(window);
  }, 5000);
}

struct SetupWindow : ::testing::Test {
  settingstest::PrivateRoot classes{"setupC"}, machine{"setupM"};
  int applied = 0, notified = 0;
  std::vector<std::string> answers, messages;

  void SetUp() override {
    settingstest::ensureEngine();
    RegDeleteTreeA(HKEY_CURRENT_USER, settingstest::configKeyPath().c_str());
  }
  SetupContext context() {
    SetupContext c;
    c.root = zvtest::rootDir();
    c.playerExe = "C:\\Zorvak\\bin\\zorvak.exe";
    c.shell = ShellRoots{classes.get(), machine.get()};
    c.applied = [this] { ++applied; };
    c.notifyShell = [this] { ++notified; };
    c.ask = [this](const std::string&, const std::string&) -> std::optional<std::string> {
      if (answers.empty()) return std::nullopt;
      std::string a = answers.front();
      answers.erase(answers.begin());
      return a;
    };
    c.message = [this](const std::string& m) { messages.push_back(m); };
    c.decoders = [] { return std::vector<ExtensionSource>{{"Test decoder", ".tst,.tsx"}}; };
    return c;
  }
};

TEST_F(SetupWindow, controlsShowTheStoredValuesAndDefaults) {
  NEED_DISPLAY();
  setConfigBool("tbSeek", ZV_TRUE);
  setConfigInt("minMode_1", 3);
  setConfigString("cdAutoOpen", "a.m3u|b.pls|c.z3u");
  classes.put(".tst", nullptr, "Zorvak file");
  TSetupWnd w(context());
  ASSERT_TRUE(w.open(nullptr));
  EXPECT_TRUE(static_cast<ui::TZCheck*>(w.keyElement("tbSeek"))->checked());
  EXPECT_TRUE(static_cast<ui::TZCheck*>(w.keyElement("autoStart"))->checked()) << "default on";
  EXPECT_FALSE(static_cast<ui::TZCheck*>(w.keyElement("autoOemCvt"))->checked()) << "default off";
  EXPECT_EQ(setupui::comboSelection(w.keyWindow("minMode_1")), 3);
  EXPECT_EQ(setupui::comboSelection(w.keyWindow("minMode_0")), 2);
  EXPECT_EQ(static_cast<ui::TZSlider*>(w.keyElement("alphaconst"))->value(), 220);
  EXPECT_EQ(setupui::windowText(w.keyWindow("TagFmt")), "@[%a%t][@[%n][%n. ]%a \"%t\"]");
  EXPECT_EQ(SendMessageA(w.autoOpenList(), LB_GETCOUNT, 0, 0), 3);
  EXPECT_GE(SendMessageA(w.keyWindow("Lang"), CB_GETCOUNT, 0, 0), 1) << "languages of <root>\\lang";
  EXPECT_EQ(SendMessageA(w.extensionTree(), TVM_GETCOUNT, 0, 0), 1 + 4 + 1 + 2 + 1) << "groups and extensions";
}

TEST_F(SetupWindow, okWritesEveryKeyRegistersAndApplies) {
  NEED_DISPLAY();
  TSetupWnd w(context());
  ASSERT_TRUE(w.open(nullptr));
  HWND h = w.hwnd();
  // General page: a check box by a click.
  clickElement(h, element(w, "autoStart"));
  // Tray page: a check box and a combo box.
  clickElement(h, element(w, "page2"));
  clickElement(h, element(w, "tbSeek"));
  setupui::selectComboEntry(w.keyWindow("minMode_0"), 1);
  setupui::selectComboEntry(w.keyWindow("hotkeyMod"), 4);
  SetWindowTextA(w.keyWindow("cddbDir"), "C:\\cd");
  static_cast<ui::TZSlider*>(w.keyElement("alphamain"))->setValue(99);
  // The auto-open list: one added, a bad one refused, the first removed.
  answers = {"disc.m3u", "a|b"};
  w.addAutoOpen();
  w.addAutoOpen();
  SendMessageA(w.autoOpenList(), LB_SETCURSEL, 0, 0);
  w.removeAutoOpen();
  // File types: a user extension (typed without its dot), a bad one, checks.
  answers = {"MOD", "bad\\key"};
  w.addExtension();
  w.addExtension();
  EXPECT_EQ(messages.size(), 1u) << "the bad extension is refused with a message";
  EXPECT_TRUE(w.setExtensionChecked(".mod", true));
  EXPECT_TRUE(w.setExtensionChecked(".tst", true));
  EXPECT_TRUE(w.setExtensionChecked(".m3u", true));
  clickElement(h, element(w, "page5"));
  clickElement(h, element(w, "dirs"));

  clickElement(h, element(w, "ok"));
  EXPECT_TRUE(windowGone(h));
  EXPECT_EQ(applied, 1);
  EXPECT_FALSE(configBool("autoStart", ZV_TRUE));
  EXPECT_TRUE(configBool("tbSeek", ZV_FALSE));
  EXPECT_EQ(configInt("minMode_0", -1), 1);
  EXPECT_EQ(configInt("hotkeyMod", -1), 4);
  EXPECT_EQ(configInt("alphamain", -1), 99);
  EXPECT_EQ(configInt("alphagrad", -1), 255) << "an untouched key is written with its value";
  char text[260];
  configString("cddbDir", text, "");
  EXPECT_STREQ(text, "C:\\cd");
  configString("cdAutoOpen", text, "");
  EXPECT_STREQ(text, "cd.m3u|disc.m3u");
  configString("userExt", text, "");
  EXPECT_STREQ(text, ".mod");
  configString("Lang", text, "");
  EXPECT_STREQ(text, "en");
  EXPECT_EQ(classes.get(".mod"), "Zorvak file");
  EXPECT_EQ(classes.get(".tst"), "Zorvak file");
  EXPECT_EQ(classes.get(".m3u"), "Zorvak playlist");
  EXPECT_EQ(classes.get(".tsx"), std::nullopt);
  EXPECT_EQ(classes.get("Directory\\shell\\zvplay\\command"), "\"C:\\Zorvak\\zorvak.exe\" /enqueue /start /find \"%1\"");
  EXPECT_EQ(machine.get("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zorvak.exe"), "C:\\Zorvak\\zorvak.exe");
  EXPECT_EQ(notified, 1);
  setConfigString("userExt", "");
  reloadSuppExt();
}

TEST_F(SetupWindow, aGroupsBoxChecksAllOfItsExtensionsAndFollowsThem) {
  NEED_DISPLAY();
  TSetupWnd w(context());
  ASSERT_TRUE(w.open(nullptr));
  SetWindowPos(w.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE);
  w.showPage(TSetupWnd::fileTypes);
  auto settled = [&](const std::function<bool()>& done) {
    return zvtest::waitFor([&] {
      pump();
      return done();
    }, 3000);
  };
  w.clickBox("Test decoder");
  EXPECT_TRUE(settled([&] { return w.extensionChecked(".tst") && w.extensionChecked(".tsx"); }));
  EXPECT_FALSE(w.extensionChecked(".m3u")) << "other groups keep theirs";
  w.clickBox(".tsx");
  EXPECT_TRUE(settled([&] { return !w.extensionChecked(".tsx"); }));
  w.clickBox("Test decoder");  // not all checked: the box was cleared, a click checks all again
  EXPECT_TRUE(settled([&] { return w.extensionChecked(".tsx") && w.extensionChecked(".tst"); }));
}

TEST_F(SetupWindow, aRefusedRegistrationIsShownAndTheKeysAreStillWritten) {
  NEED_DISPLAY();
  // A local machine root deleted under its open handle refuses App Paths.
  settingstest::PrivateRoot gone{"setupGone"};
  HKEY handle = nullptr;
  ASSERT_EQ(RegOpenKeyExA(gone.get(), nullptr, 0, KEY_ALL_ACCESS, &handle), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, ("Software\\ZorvakTest\\setupGone" + std::to_string(GetCurrentProcessId())).c_str()),
            ERROR_SUCCESS);
  SetupContext c = context();
  c.shell.machine = handle;
  TSetupWnd w(std::move(c));
  ASSERT_TRUE(w.open(nullptr));
  HWND h = w.hwnd();
  EXPECT_TRUE(w.setExtensionChecked(".tst", true));
  clickElement(h, element(w, "autoStart"));
  clickElement(h, element(w, "ok"));
  EXPECT_TRUE(windowGone(h));
  RegCloseKey(handle);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "You don't have enough rights to register file associations");
  EXPECT_EQ(notified, 0);
  EXPECT_EQ(classes.get(".tst"), "Zorvak file") << "written before the refusal";
  EXPECT_FALSE(configBool("autoStart", ZV_TRUE)) << "the settings themselves are stored";
  EXPECT_EQ(applied, 1);
}

TEST_F(SetupWindow, cancelWritesNothing) {
  NEED_DISPLAY();
  TSetupWnd w(context());
  ASSERT_TRUE(w.open(nullptr));
  HWND h = w.hwnd();
  clickElement(h, element(w, "autoStart"));
  const auto before = settingstest::snapshot(classes.get());
  clickElement(h, element(w, "cancel"));
  EXPECT_TRUE(windowGone(h));
  EXPECT_EQ(applied, 0);
  EXPECT_TRUE(configBool("autoStart", ZV_TRUE)) << "still absent";
  EXPECT_EQ(settingstest::snapshot(classes.get()), before);
}

TEST_F(SetupWindow, advancedOkStoresPrioritiesOutParamsAndBroadcasts) {
  NEED_DISPLAY();
  MSG drop;
  PeekMessageA(&drop, nullptr, 0, 0, PM_NOREMOVE);
  addBroadcastFilter(GetCurrentThreadId(), msgConfigChanged);
  ZvOutParams before{};
  outGetParams(&before);
  TSetupWnd w(context());
  ASSERT_TRUE(w.open(nullptr));
  clickElement(w.hwnd(), element(w, "advanced"));
  TAdvSetupWnd* adv = w.advancedWindow();
  ASSERT_NE(adv, nullptr);
  EXPECT_EQ(setupui::comboSelection(adv->combo("winampvis_priority")), 1) << "default 1";
  setupui::selectComboEntry(adv->combo("decoder_priority"), 3);
  setupui::selectComboEntry(adv->combo("waveOutPriority"), 1);
  setupui::selectComboEntry(adv->combo("visFrames"), 2);
  clickElement(adv->hwnd(), element(*adv, "PreferFP"));
  HWND advWindow = adv->hwnd();
  clickElement(advWindow, element(*adv, "ok"));
  // The window goes and the broadcast arrives as a thread message.
  bool broadcast = false;
  EXPECT_TRUE(zvtest::waitFor([&] {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!msg.hwnd && msg.message == msgConfigChanged) broadcast = true;
      if (!msg.hwnd) finishMsg(&msg);
      else DispatchMessageA(&msg);
    }
    return broadcast && !IsWindow(advWindow);
  }, 5000)) << "broadcast " << broadcast;
  EXPECT_EQ(configInt("decoder_priority", -1), 15);
  EXPECT_EQ(configInt("vis_priority", -1), 2);
  EXPECT_FALSE(configBool("PreferFP", ZV_TRUE));
  ZvOutParams stored{};
  ASSERT_TRUE(configRec("outParams", &stored, sizeof(stored)));
  EXPECT_EQ(stored.priority, 1);
  EXPECT_EQ(stored.visFrames, 2048);
  delBroadcastFilter(GetCurrentThreadId(), msgConfigChanged);
  outSetParams(&before);
}

TEST(DebugStatWindow, listsShowTheThreadTableAndTheMemoryPageEachTick) {
  NEED_DISPLAY();
  int tick = 0;
  DebugStatSource source{
      [] { return std::string("\x01ID\tName\tPr\tKrn\tUsr\n12\tdecode\tH\t0,00%\t1,00%\n\x02" "7\tvis\tN\t30,00%\t0,00%\n"); },
      [&] {
        MallocStat s{};
        s[ZV_STAT_HEAP_ALLOCATED] = 4096 * (++tick);
        s[ZV_STAT_MESSAGES_POSTED] = 10 * tick;
        return s;
      },
      [] { return int64_t{5 * 1024}; }};
  TDebugStatWnd w(zvtest::rootDir(), source);
  ASSERT_TRUE(w.open(nullptr));
  auto threads = TDebugStatWnd::listLines(w.threadList());
  ASSERT_EQ(threads.size(), 3u);
  EXPECT_EQ(threads[1], "12\tdecode\tH\t0,00%\t1,00%");
  auto memory = TDebugStatWnd::listLines(w.memoryList());
  ASSERT_EQ(memory.size(), 10u);
  EXPECT_EQ(memory[2], "Allocated/s: 4k\tFreed/s: 0k\tCopied/s: 0k") << "the first tick against zeros";
  EXPECT_EQ(memory[6], "Allocated/s: 0 [0]\tFreed/s: 0 [0]\tMessages/s: 10");
  EXPECT_EQ(memory[9], "Mem used: 5k");
  // The window's own timer ticks once a second.
  EXPECT_TRUE(zvtest::waitFor([&] {
    pump();
    return tick >= 2;
  }, 4000));
  memory = TDebugStatWnd::listLines(w.memoryList());
  EXPECT_EQ(memory[2], "Allocated/s: 4k\tFreed/s: 0k\tCopied/s: 0k") << "a second's change";
  clickElement(w.hwnd(), element(w, "List1"));
  EXPECT_TRUE(IsWindowVisible(w.memoryList()));
  EXPECT_FALSE(IsWindowVisible(w.threadList()));
}

}  // namespace
