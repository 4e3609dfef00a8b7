// The equalizer window as a real window under the test display, driven by
// mouse messages and by the notification the engine's mixer window answers.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "eq_scale.h"
#include "eq_window.h"
#include "windows_fixture.h"
#include "zv_config.h"
#include "zv_mixer.h"

using namespace zv::eq;

namespace {

ZvEqualizer output() {
  ZvEqualizer b{};
  outGetEqualizer(&b);
  return b;
}

struct EqWindow : ::testing::Test {
  std::string base;
  std::unique_ptr<EqModel> model;
  std::unique_ptr<TEqWnd> wnd;
  std::string playing;
  int transitionChanges = 0;

  void SetUp() override {
    WINDOWS_NEED_DISPLAY();
    wtest::ensureEngine();
    base = zvtest::freshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    setConfigRec("dspData", "", 0);
    // No preset chosen: the configuration outlives a run, and a run cut short
    // or filtered leaves the last test's choice behind.
    setConfigInt("eqSource", 0);
    setConfigString("eqFile", "");
    setConfigBool("eqChanged", ZV_FALSE);
    setConfigRec("eqSave", "", 0);
    ZvEqualizer flat{};
    flat.preamp = 1.0f;
    for (float& g : flat.gains) g = 1.0f;
    outSetEqualizer(&flat);
    // The window shows the stored transition keys: start from the defaults.
    for (const char* key : {"crossfade", "skipStart", "skipEnd", "skipStartS", "skipEndS"}) setConfigBool(key, ZV_FALSE);
    for (const char* key : {"skipStartL", "skipEndL"}) setConfigInt(key, 0);
    setConfigInt("cfduration", 3000);
    setConfigInt("silenceLevel", -80);
    openMixer();
    model = std::make_unique<EqModel>(base + "\\eqpreset", nullptr);
    model->start();
    wnd = std::make_unique<TEqWnd>(*model, nullptr, [this] { return playing; });
    wnd->onTransitionChanged = [this] { ++transitionChanges; };
    ASSERT_TRUE(wnd->open(zvtest::rootDir(), nullptr));
    wtest::pump();
  }
  void TearDown() override {
    wnd.reset();
    wtest::pump();
  }
  zv::ui::UiElement& element(const std::string& name) {
    zv::ui::UiElement* e = wnd->findElement(name);
    if (!e) throw std::runtime_error("no element " + name);
    return *e;
  }
  template <class T>
  T& as(const std::string& name) {
    return dynamic_cast<T&>(element(name));
  }
  void clickOn(const std::string& name) { wtest::click(wnd->hwnd(), wtest::centre(element(name).rect())); }
  // Presses a slider where it shows `value` and lets it go.
  void setSlider(const std::string& name, int value) {
    auto& s = as<zv::ui::TZSlider>(name);
    const RECT r = s.rect();
    POINT best = wtest::centre(r);
    for (int y = r.top; y < r.bottom; ++y)
      if (std::abs(s.valueAt({best.x, y}) - value) < std::abs(s.valueAt(best) - value)) best.y = y;
    wtest::click(wnd->hwnd(), best);
  }
};

}  // namespace

TEST_F(EqWindow, aReleasedSliderAppliesItsGainAndItsLabelReads) {
  setSlider("band4", 60);
  const int position = as<zv::ui::TZSlider>("band4").value();
  EXPECT_NEAR(position, 60, 3);
  EXPECT_NEAR(output().gains[4], gainOfPosition(position), 1e-5);
  EXPECT_EQ(as<zv::ui::TZText>("db4").text(), labelOfGain(gainOfPosition(position)));
  EXPECT_TRUE(model->changed());
  EXPECT_TRUE(element("save_current").enabled());
  // The bottom of the 40 Hz band is -20 dB.
  wtest::click(wnd->hwnd(), {wtest::centre(element("band0").rect()).x, element("band0").rect().bottom - 1});
  EXPECT_EQ(as<zv::ui::TZText>("db0").text(), "\x96" "20");
  EXPECT_NEAR(output().gains[0], 0.1f, 1e-5);
}

TEST_F(EqWindow, clickingADbLabelResetsItsSlider) {
  setSlider("preamp", -150);
  ASSERT_LT(output().preamp, 0.2f);
  clickOn("dbpre");
  EXPECT_EQ(output().preamp, 1.0f);
  EXPECT_EQ(as<zv::ui::TZSlider>("preamp").value(), 0);
  EXPECT_EQ(as<zv::ui::TZText>("dbpre").text(), "+0");
  EXPECT_TRUE(model->changed());
}

TEST_F(EqWindow, bandSwitchesAndTheOnOffBox) {
  clickOn("on3");
  EXPECT_EQ(output().bandOff[3], -1);
  clickOn("on3");
  EXPECT_EQ(output().bandOff[3], 0);
  const bool wasOn = output().enabled != 0;
  clickOn("eqon");
  EXPECT_EQ(output().enabled != 0, !wasOn);
  ZvEqualizer stored{};
  ASSERT_TRUE(configRec("dspData", &stored, sizeof(stored)));
  EXPECT_EQ(stored.enabled, output().enabled);
}

TEST_F(EqWindow, menusListPresetsAndFoldersOrSayThereAreNone) {
  EXPECT_EQ(wnd->menuDefinition("del"), "NoPresets###<No presets>|na\n");
  EXPECT_EQ(wnd->menuDefinition("load"), "EqAutoLoad###Auto-load|\\load_autoload\nEqFlat###Flat|load_flat\n");
  wnd->askPresetName = [](const std::string& proposed) {
    EXPECT_EQ(proposed, "");
    return std::optional<std::string>("Club|Night");
  };
  wnd->runCommand("save_other");
  EXPECT_EQ(wnd->menuDefinition("del"), "Club-Night|del:Club-Night\n");
  EXPECT_EQ(wnd->menuDefinition("save"),
            "EqAutoLoad###Auto-load|\\save_autoload\nClub-Night|save_preset:Club-Night\nEqSaveOther###New "
            "preset...|save_other\n");
  EXPECT_EQ(wnd->menuDefinition("extra"),
            "EqDel###Delete preset|\\del\nEqDelAutoLoad###Delete auto-load|\\del_autoload\n\nEqAdvanced###"
            "Advanced...|fr\n");
  EXPECT_EQ(as<zv::ui::TZText>("eqfile").text(), "Club-Night");
  EXPECT_FALSE(element("save_current").enabled());
  // The playing file's folders.
  const std::string folder = base + "\\Album";
  CreateDirectoryA(folder.c_str(), nullptr);
  playing = folder + "\\track.wav";
  EXPECT_EQ(wnd->menuDefinition("load_autoload"), "NoPresets###<No presets>|na\n");
  const std::string save = wnd->menuDefinition("save_autoload");
  EXPECT_EQ(save.rfind("Album|save_autoload:" + folder + "\n", 0), 0u) << save;
  wnd->runCommand("save_autoload:" + folder);
  EXPECT_EQ(wnd->menuDefinition("load_autoload"), "Album|load_autoload:" + folder + "\n");
  EXPECT_EQ(wnd->menuDefinition("del_autoload"), "Album|del_autoload:" + folder + "\n");
}

TEST_F(EqWindow, tabsShowOnePageAtATime) {
  EXPECT_TRUE(element("band0").visible());
  EXPECT_FALSE(element("vol0").visible());
  clickOn("page2");
  EXPECT_EQ(wnd->page(), TEqWnd::Page::mixer);
  EXPECT_FALSE(element("band0").visible());
  EXPECT_TRUE(element("vol0").visible());
  clickOn("page3");
  EXPECT_TRUE(element("crossfade").visible());
  EXPECT_FALSE(element("hidden:silenceLevel").visible());
  EXPECT_FALSE(element("vol0").visible());
}

TEST_F(EqWindow, mixerNotificationsUpdateTheControls) {
  const MixerIds ids = wnd->mixerIds();
  if (ids.volume[0] == -1) GTEST_SKIP() << "no mixer";
  // Wine has no MIDI, CD or line sources nor bass and treble: shown disabled.
  for (int i = 2; i < kMixerEntries; ++i) EXPECT_EQ(element("vol" + std::to_string(i)).enabled(), ids.volume[i] != -1);
  // This process's mixer window: other test programs beside this one have
  // their own on the same desktop.
  const std::vector<HWND> mixerWindows = zvtest::ownWindowsOfClass("MixerControlWnd");
  ASSERT_EQ(mixerWindows.size(), 1u);
  HWND mixerWindow = mixerWindows.front();
  // A change made elsewhere, then the notification the system would send.
  setVolume(ids.volume[0], 20000, 0);
  ASSERT_NE(wnd->mixerValue(0), 20000);
  SendMessageA(mixerWindow, MM_MIXM_CONTROL_CHANGE, 0, ids.volume[0]);
  EXPECT_TRUE(zvtest::waitFor([&] {
    wtest::pump();
    return wnd->mixerValue(0) == 20000;
  }, 5000));
  if (ids.mute[0] != -1) {
    setMute(ids.mute[0], ZV_TRUE);
    SendMessageA(mixerWindow, MM_MIXM_CONTROL_CHANGE, 0, ids.mute[0]);
    EXPECT_TRUE(zvtest::waitFor([&] {
      wtest::pump();
      return !wnd->muteBox(0);
    }, 5000));
    setMute(ids.mute[0], ZV_FALSE);
  }
  setVolume(ids.volume[0], 65535, 0);
}

TEST_F(EqWindow, movingTheMasterKnobSetsTheMixer) {
  const MixerIds ids = wnd->mixerIds();
  if (ids.volume[0] == -1) GTEST_SKIP() << "no mixer";
  setVolume(ids.volume[0], 65535, 0);
  clickOn("page2");
  const POINT c = wtest::centre(element("vol0").rect());
  wtest::press(wnd->hwnd(), c);
  SendMessageA(wnd->hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.x, c.y + 40));
  wtest::release(wnd->hwnd(), {c.x, c.y + 40});
  int32_t volume = 0, balance = 0;
  getVolume(ids.volume[0], &volume, &balance);
  EXPECT_LT(volume, 65535);
  EXPECT_EQ(volume, wnd->mixerValue(0));
  // Muting through the box: checked is sound on.
  if (ids.mute[0] != -1) {
    clickOn("mute0");
    EXPECT_EQ(getMute(ids.mute[0]), ZV_TRUE);
    clickOn("mute0");
    EXPECT_EQ(getMute(ids.mute[0]), ZV_FALSE);
  }
  setVolume(ids.volume[0], 65535, 0);
}

TEST_F(EqWindow, choosingAnOutputDeviceStoresWord3AndReopensTheMixer) {
  ASSERT_GE(wnd->deviceList().size(), 1u);
  EXPECT_EQ(wnd->deviceList()[0], "<Default device>");
  if (wnd->deviceList().size() < 2) GTEST_SKIP() << "no wave-out device";
  // The main window hears of the reopened mixer with the new device's ids.
  std::vector<MixerIds> reopened;
  wnd->onMixerReopened = [&](const MixerIds& ids) { reopened.push_back(ids); };
  wnd->chooseDevice(1);
  ASSERT_EQ(reopened.size(), 1u);
  const MixerIds fresh = lookUpMixerIds();  // asked of the mixer open now
  EXPECT_EQ(reopened[0].volume, fresh.volume);
  EXPECT_EQ(reopened[0].mute, fresh.mute);
  EXPECT_EQ(reopened[0].volume, wnd->mixerIds().volume);
  ZvOutParams stored{};
  ASSERT_TRUE(configRec("outParams", &stored, sizeof(stored)));
  EXPECT_EQ(stored.device, 0);
  EXPECT_EQ(as<zv::ui::TZButton>("device").caption().rfind(wnd->deviceList()[1], 0), 0u);
  EXPECT_NE(wnd->mixerIds().volume[0], -1);
  wnd->chooseDevice(0);
  ASSERT_TRUE(configRec("outParams", &stored, sizeof(stored)));
  EXPECT_EQ(stored.device, -1);
  EXPECT_EQ(reopened.size(), 2u);
}

TEST_F(EqWindow, transitionControlsWriteTheirKeys) {
  clickOn("page3");
  clickOn("crossfade");
  EXPECT_TRUE(configBool("crossfade", ZV_FALSE));
  EXPECT_GE(transitionChanges, 1);
  auto& duration = as<zv::ui::TZSlider>("cfduration");
  wtest::click(wnd->hwnd(), {duration.rect().right - 1, wtest::centre(duration.rect()).y});
  EXPECT_EQ(configInt("cfduration", 0), 10000);
  clickOn("skipStart");
  EXPECT_TRUE(configBool("skipStart", ZV_FALSE));
  HWND field = FindWindowExA(wnd->hwnd(), nullptr, "EDIT", nullptr);
  ASSERT_NE(field, nullptr);
  SetWindowTextA(field, "1500");
  EXPECT_EQ(configInt("skipStartL", 0), 1500);
  // Every skip change stores all seven keys, the hidden ones too.
  EXPECT_EQ(configInt("silenceLevel", 0), -80);
  EXPECT_FALSE(configBool("skipEndS", ZV_TRUE));
}

namespace {

// The highest pixel of the curve's colour in a column of the plot.
int curveTop(TFrWnd& fr, int column) {
  fr.renderAll();
  const RECT plot = fr.plotRect();
  for (int y = plot.top; y < plot.bottom; ++y)
    if (fr.bufferPixel(column, y) == TFrWnd::curveColor()) return y;
  return -1;
}

}  // namespace

TEST_F(EqWindow, theResponseWindowFollowsTheCurveAndSetsTheBandWidth) {
  clickOn("eqon");
  if (output().enabled == 0) clickOn("eqon");
  ASSERT_EQ(output().enabled, -1);
  ASSERT_NE(wnd->menuDefinition("extra").find("EqAdvanced###Advanced...|fr"), std::string::npos);
  wnd->runCommand("fr");
  TFrWnd* fr = wnd->responseWindow();
  ASSERT_NE(fr, nullptr);
  const int at1k = fr->columnOf(1000), at40 = fr->columnOf(40);
  const int flat1k = curveTop(*fr, at1k), flat40 = curveTop(*fr, at40);
  ASSERT_GT(flat1k, 0);
  EXPECT_NEAR(flat1k, flat40, 2);
  // Raising the 1K band in the equalizer window lifts the curve there only.
  setSlider("band4", 120);
  const int raised1k = curveTop(*fr, at1k);
  EXPECT_LT(raised1k, flat1k - 10);
  EXPECT_NEAR(curveTop(*fr, at40), flat40, 2);
  // The width slider writes word 26.
  auto& width = dynamic_cast<zv::ui::TZSlider&>(*fr->findElement("width"));
  wtest::click(fr->hwnd(), {width.rect().right - 1, wtest::centre(width.rect()).y});
  EXPECT_EQ(output().width, 300);
  EXPECT_EQ(model->block().width, 300);
  // A second "fr" keeps the one window.
  wnd->runCommand("fr");
  EXPECT_EQ(wnd->responseWindow(), fr);
  SendMessageA(fr->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(wnd->responseWindow(), nullptr);
}

TEST_F(EqWindow, saveOtherAsksForANameInThePromptDialog) {
  setSlider("band6", -90);
  // The dialog is modal: the answer is typed once it shows.
  struct Typist {
    static void CALLBACK type(HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      HWND dialog = FindWindowA(nullptr, "Save preset");
      HWND field = dialog ? FindWindowExA(dialog, nullptr, "EDIT", nullptr) : nullptr;
      if (!field) return;
      SetWindowTextA(field, "Evening: soft");
      PostMessageA(field, WM_KEYDOWN, VK_RETURN, 0);
    }
  };
  SetTimer(nullptr, 0, 10, &Typist::type);
  wnd->runCommand("save_other");
  EXPECT_EQ(model->sourceName(), "Evening- soft");
  EXPECT_EQ(zvtest::readFile(base + "\\eqpreset\\Evening- soft").size(), 52u);
  EXPECT_EQ(FindWindowA(nullptr, "Save preset"), nullptr);
  EXPECT_TRUE(IsWindowEnabled(wnd->hwnd()));
  // Escape cancels: nothing is saved and the source stays.
  struct Escaper {
    static void CALLBACK press(HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      HWND dialog = FindWindowA(nullptr, "Save preset");
      HWND field = dialog ? FindWindowExA(dialog, nullptr, "EDIT", nullptr) : nullptr;
      if (field) PostMessageA(field, WM_KEYDOWN, VK_ESCAPE, 0);
    }
  };
  SetTimer(nullptr, 0, 10, &Escaper::press);
  wnd->runCommand("save_other");
  EXPECT_EQ(model->sourceName(), "Evening- soft");
  EXPECT_EQ(model->presetNames(), std::vector<std::string>{"Evening- soft"});
}
