// The settings windows' keys through the engine's real configuration store:
// defaults, a write and read back of every key, and the advanced window's
// "OK" (priorities, "outParams" words 8 and 6 in the output library and the
// store, the msgConfigChanged broadcast).
#include <gtest/gtest.h>

#include <windows.h>

#include "settings/setup_keys.h"
#include "settings_fixture.h"
#include "testkit.h"
#include "win32/owners.h"
#include "zv_config.h"
#include "zv_plugins.h"
#include "zvdsp.h"

using namespace zv;

namespace {

void clearKeys() {
  settingstest::ensureEngine();
  RegDeleteTreeA(HKEY_CURRENT_USER, settingstest::configKeyPath().c_str());
}

TEST(SetupKeys, absentKeysReadAsTheirDefaults) {
  clearKeys();
  const SetupValues v = readSetupValues("C:\\Zv\\data", "C:\\Zv\\bin");
  struct Row {
    const char* key;
    int32_t number;
  } numbers[] = {{"autoStart", 1},   {"tbPlaylist", 1}, {"tbFile", 1},       {"tbSeek", 0},        {"tbPlay", 1},
                 {"scrollTitle", 1}, {"trayAnim", 1},   {"tbHints", 1},      {"minMode_0", 2},     {"minMode_1", 1},
                 {"hotkeyMod", 0},   {"lyrInDb", 1},    {"videoFx", 0},      {"alphaconst", 220},  {"alphamain", 180},
                 {"alphagrad", 255}, {"newStyleBrowse", 1}, {"newStyleOpen", 1}, {"menuStyle", 0}, {"showGroupTime", 1},
                 {"showTrackTime", 1}, {"showTooltips", 1}, {"autoOemCvt", 0}};
  for (const Row& r : numbers) EXPECT_EQ(v.number(r.key), r.number) << r.key;
  EXPECT_EQ(v.text("TagFmt"), "@[%a%t][@[%n][%n. ]%a \"%t\"]");
  EXPECT_EQ(v.text("cddbDir"), "C:\\Zv\\data\\cddb");
  EXPECT_EQ(v.text("lyrDir"), "C:\\Zv\\lyrics");
  EXPECT_EQ(v.text("lyrSrcFmt"), "%f.%e.txt");
  EXPECT_EQ(v.text("texture"), "");
  EXPECT_EQ(v.text("cdAutoOpen"), "playlist.m3u|cd.m3u");
  EXPECT_EQ(v.text("Lang"), "en");
  EXPECT_EQ(v.numbers.size() + v.texts.size(), setupKeys().size());
}

TEST(SetupKeys, everyKeyWrittenIsReadBack) {
  clearKeys();
  SetupValues v = readSetupValues("C:\\b", "C:\\p\\bin");
  int n = 3;
  for (auto& [key, value] : v.numbers) {
    bool boolean = false;
    for (const SetupKey& k : setupKeys())
      if (key == k.name) boolean = k.kind == SetupKind::boolean;
    value = boolean ? !value : value + n++;
  }
  for (auto& [key, value] : v.texts) value = key == "Lang" ? "ru" : "x" + key;
  writeSetupValues(v);
  const SetupValues back = readSetupValues("C:\\b", "C:\\p\\bin");
  EXPECT_EQ(back.numbers, v.numbers);
  EXPECT_EQ(back.texts, v.texts);
  // The engine reads the same key the window wrote.
  char format[260];
  configString("tagfmt", format, "");
  EXPECT_STREQ(format, "xTagFmt");
}

TEST(SetupKeys, anEmptyLanguageIsStoredAsEnglish) {
  clearKeys();
  SetupValues v = readSetupValues("C:\\b", "C:\\p\\bin");
  v.texts["Lang"] = "";
  writeSetupValues(v);
  char lang[260];
  configString("Lang", lang, "zz");
  EXPECT_STREQ(lang, "en");
}

TEST(SetupKeys, autoOpenListSplitsAndJoinsWithBars) {
  EXPECT_EQ(splitAutoOpen("playlist.m3u|cd.m3u"), (std::vector<std::string>{"playlist.m3u", "cd.m3u"}));
  EXPECT_EQ(splitAutoOpen("||a||"), (std::vector<std::string>{"a"}));
  EXPECT_TRUE(splitAutoOpen("").empty());
  EXPECT_EQ(joinAutoOpen({"a.m3u", "", "bad|name", "b.pls"}), "a.m3u|b.pls");
}

TEST(SetupKeys, prioritiesAndIntervalsMapToTheirEntries) {
  struct {
    int32_t stored;
    int entry;
  } rows[] = {{0, 0}, {1, 1}, {2, 2}, {15, 3}, {-2, 0}, {7, 2}, {99, 3}};
  for (auto r : rows) EXPECT_EQ(priorityEntry(r.stored), r.entry) << r.stored;
  EXPECT_EQ(visFramesEntry(512), 0);
  EXPECT_EQ(visFramesEntry(2048), 2);
  EXPECT_EQ(visFramesEntry(64), 0);
  EXPECT_EQ(visFramesEntry(4096), 2);
}

TEST(AdvSetup, okWritesKeysSetsOutParamsWordsAndBroadcastsConfigChanged) {
  clearKeys();
  MSG drop;
  PeekMessageA(&drop, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
  const ZvTarget self = GetCurrentThreadId();
  addBroadcastFilter(self, msgConfigChanged);

  ZvOutParams before{};
  outGetParams(&before);
  AdvSetupValues v = readAdvSetupValues();
  EXPECT_EQ(v.decoderPriority, 2);
  EXPECT_EQ(v.winampVisPriority, 1);
  EXPECT_TRUE(v.preferFP);
  v.decoderPriority = 15, v.visPriority = 0, v.winampVisPriority = 2, v.samplerPriority = 1;
  v.noSampler = true, v.preferFP = false;
  v.waveOutPriority = 15;
  v.visFrames = before.visFrames == 2048 ? 512 : 2048;
  applyAdvSetupValues(v);

  EXPECT_EQ(configInt("decoder_priority", -9), 15);
  EXPECT_EQ(configInt("vis_priority", -9), 0);
  EXPECT_EQ(configInt("winampvis_priority", -9), 2);
  EXPECT_EQ(configInt("sampler_priority", -9), 1);
  EXPECT_TRUE(configBool("noSampler", ZV_FALSE));
  EXPECT_FALSE(configBool("PreferFP", ZV_TRUE));
  ZvOutParams now{};
  outGetParams(&now);
  EXPECT_EQ(now.priority, 15);
  EXPECT_EQ(now.visFrames, v.visFrames);
  EXPECT_EQ(now.sampleRate, before.sampleRate) << "other words kept";
  ZvOutParams stored{};
  ASSERT_TRUE(configRec("outParams", &stored, sizeof(stored)));
  EXPECT_EQ(stored.priority, 15);
  EXPECT_EQ(stored.visFrames, v.visFrames);

  MSG msg{};
  EXPECT_TRUE(zvtest::waitFor([&] { return PeekMessageA(&msg, nullptr, msgConfigChanged, msgConfigChanged, PM_REMOVE) != 0; }, 3000))
      << "msgConfigChanged broadcast";
  finishMsg(&msg);
  delBroadcastFilter(self, msgConfigChanged);
  outSetParams(&before);
}

}  // namespace
