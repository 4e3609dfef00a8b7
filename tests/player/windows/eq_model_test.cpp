// The equalizer's state through the real engine (configuration, the
// information cache) and the output library: start-up from "dspData",
// presets, the source, auto-load per folder and settling at shutdown.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "eq_model.h"
#include "eq_scale.h"
#include "windows_fixture.h"
#include "zv_config.h"
#include "zv_infocache.h"
#include "zv_memory.h"

#include <cstring>
#include <memory>

using namespace zv::eq;

namespace {

std::string configText(const char* key) {
  char value[260] = {};
  configString(key, value, "");
  return value;
}

ZvEqualizer output() {
  ZvEqualizer b{};
  outGetEqualizer(&b);
  return b;
}

EqPreset presetWith(int band, int position) {
  EqPreset p;
  p.gains[band] = gainOfPosition(position);
  return p;
}

struct EqFixture : ::testing::Test {
  std::string base, presets;
  std::unique_ptr<EqModel> model;
  int changes = 0;
  void SetUp() override {
    wtest::ensureEngine();
    base = zvtest::freshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    presets = base + "\\eqpreset";
    setConfigRec("dspData", "", 0);
    setConfigInt("eqSource", 0);
    setConfigString("eqFile", "");
    setConfigRec("eqSave", "", 0);
    setConfigBool("eqChanged", ZV_FALSE);
    ZvEqualizer flat{};
    flat.preamp = 1.0f;
    for (float& g : flat.gains) g = 1.0f;
    outSetEqualizer(&flat);
    remake();
  }
  void remake() {
    model = std::make_unique<EqModel>(presets, [](const char* s) { return std::string(std::strstr(s, "###") + 3); });
    model->onChange = [this] { ++changes; };
    model->start();
  }
  std::string folder(const std::string& relative) {
    std::string path = base;
    size_t from = 0;
    while (from <= relative.size()) {
      size_t to = relative.find('\\', from);
      if (to == std::string::npos) to = relative.size();
      path += "\\" + relative.substr(from, to - from);
      CreateDirectoryA(path.c_str(), nullptr);
      from = to + 1;
    }
    return path;
  }
};

}  // namespace

TEST_F(EqFixture, startUpAppliesAStoredBlockMadeSafe) {
  ZvEqualizer stored{};
  stored.enabled = -1;
  stored.preamp = std::numeric_limits<float>::quiet_NaN();
  for (float& g : stored.gains) g = 2.0f;
  stored.gains[3] = std::numeric_limits<float>::infinity();
  stored.width = 70;
  setConfigRec("dspData", &stored, sizeof(stored));
  remake();
  const ZvEqualizer out = output();
  EXPECT_EQ(out.enabled, -1);
  EXPECT_EQ(out.preamp, 1.0f);
  EXPECT_EQ(out.gains[0], 2.0f);
  EXPECT_NEAR(out.gains[3], gainOfPosition(150), 1e-4);
  EXPECT_EQ(out.width, 70);
  EXPECT_EQ(model->block().gains[3], out.gains[3]);
}

TEST_F(EqFixture, withoutDspDataTheLibrarysBlockIsTaken) {
  ZvEqualizer lib{};
  lib.preamp = 0.5f;
  for (float& g : lib.gains) g = 1.5f;
  outSetEqualizer(&lib);
  remake();
  EXPECT_EQ(model->block().preamp, 0.5f);
  EXPECT_EQ(model->block().gains[7], 1.5f);
}

TEST_F(EqFixture, slidersApplyStoreAndMarkChanged) {
  model->setGain(4, gainOfPosition(60));
  EXPECT_TRUE(model->changed());
  EXPECT_NEAR(output().gains[4], 1.9953f, 1e-4);
  ZvEqualizer stored{};
  ASSERT_TRUE(configRec("dspData", &stored, sizeof(stored)));
  EXPECT_EQ(stored.gains[4], output().gains[4]);
  model->setBandOn(2, false);
  EXPECT_EQ(output().bandOff[2], -1);
  model->setGain(kPreamp, 1e9f);  // beyond the slider: held at its top
  EXPECT_NEAR(output().preamp, gainOfPosition(150), 1e-4);
}

TEST_F(EqFixture, onOffIsStoredWithoutMarkingChanged) {
  model->setEnabled(true);
  EXPECT_FALSE(model->changed());
  EXPECT_EQ(output().enabled, -1);
  ZvEqualizer stored{};
  ASSERT_TRUE(configRec("dspData", &stored, sizeof(stored)));
  EXPECT_EQ(stored.enabled, -1);
}

TEST_F(EqFixture, presetsRoundTripThroughTheirFiles) {
  model->setGain(0, gainOfPosition(-120));
  model->setGain(11, gainOfPosition(90));
  ASSERT_TRUE(model->command("save_preset:Rock"));
  EXPECT_FALSE(model->changed());
  EXPECT_EQ(configInt("eqSource", -1), 1);
  EXPECT_EQ(configText("eqFile"), "Rock");
  EXPECT_EQ(zvtest::readFile(presets + "\\Rock").size(), 52u);
  ASSERT_TRUE(model->command("load_flat"));
  EXPECT_EQ(output().gains[0], 1.0f);
  EXPECT_EQ(configInt("eqSource", -1), 0);
  EXPECT_EQ(configText("eqFile"), "Flat");
  ASSERT_TRUE(model->command("load_preset:Rock"));
  EXPECT_EQ(positionOfGain(output().gains[0]), -120);
  EXPECT_EQ(positionOfGain(output().gains[11]), 90);
  EXPECT_EQ(model->presetNames(), std::vector<std::string>{"Rock"});
  ASSERT_TRUE(model->command("del:Rock"));
  EXPECT_TRUE(model->presetNames().empty());
}

TEST_F(EqFixture, damagedOrMissingPresetsLeaveTheCurve) {
  model->setGain(5, gainOfPosition(40));
  CreateDirectoryA(presets.c_str(), nullptr);
  const char shortFile[40] = {};
  ASSERT_TRUE(zvtest::writeFile(presets + "\\Short", shortFile, sizeof(shortFile)));
  model->command("load_preset:Short");
  EXPECT_EQ(positionOfGain(output().gains[5]), 40);
  model->command("load_preset:Nothing");
  EXPECT_EQ(positionOfGain(output().gains[5]), 40);
  // A name from a command is never a path.
  ASSERT_TRUE(zvtest::writeFile(base + "\\outside", shortFile, 4));
  model->command("del:..\\outside");
  EXPECT_EQ(zvtest::readFile(base + "\\outside").size(), 4u);
}

TEST_F(EqFixture, saveOtherCleansTheTypedName) {
  EXPECT_FALSE(model->saveOther("   "));
  EXPECT_TRUE(model->saveOther("Live: a/b?"));
  EXPECT_EQ(model->sourceName(), "Live- a-b-");
  EXPECT_EQ(zvtest::readFile(presets + "\\Live- a-b-").size(), 52u);
}

TEST_F(EqFixture, ancestorFoldersDeepestFirst) {
  EXPECT_EQ(EqModel::ancestorFolders("C:\\music\\jazz\\a.mp3"),
            (std::vector<std::string>{"C:\\music\\jazz", "C:\\music", "C:"}));
  EXPECT_TRUE(EqModel::ancestorFolders("a.mp3").empty());
}

TEST_F(EqFixture, autoLoadFollowsTheFolderAndRestoresTheUsersCurve) {
  const std::string a = folder("A"), b = folder("B"), c = folder("C"), deep = folder("A\\sub");
  const EqPreset boost = presetWith(4, 60);
  setCacheRecBuf(a.c_str(), "EQ", &boost, sizeof(boost));
  setCacheRecBuf(b.c_str(), "EQ", &boost, 40);  // 40 bytes: no auto-load record
  // The user's own curve, from a preset file, then edited.
  model->setGain(9, gainOfPosition(-80));
  model->saveOther("Mine");
  model->setGain(10, gainOfPosition(30));
  ASSERT_TRUE(model->changed());

  model->autoLoad(a + "\\one.wav");
  EXPECT_TRUE(model->autoMode());
  EXPECT_EQ(model->source(), EqSource::autoLoad);
  EXPECT_EQ(positionOfGain(output().gains[4]), 60);
  EXPECT_EQ(output().gains[9], 1.0f);
  EXPECT_EQ(configText("eqFile"), "Mine");  // auto mode stores no source
  EqPreset saved{};
  ASSERT_TRUE(configRec("eqSave", &saved, sizeof(saved)));
  EXPECT_EQ(positionOfGain(saved.gains[9]), -80);
  EXPECT_TRUE(configBool("eqChanged", ZV_FALSE));

  // The same folder (also from below it) applies its preset once.
  model->setGain(0, gainOfPosition(20));
  model->autoLoad(a + "\\two.wav");
  model->autoLoad(deep + "\\three.wav");
  EXPECT_EQ(positionOfGain(output().gains[0]), 20);

  // The menus offer only 52-byte records.
  EXPECT_EQ(model->autoLoadFolders(deep + "\\x.wav", true), (std::vector<std::string>{a}));
  EXPECT_TRUE(model->autoLoadFolders(b + "\\x.wav", true).empty());
  EXPECT_EQ(model->autoLoadFolders(b + "\\x.wav", false).front(), b);

  // A folder whose record is 40 bytes: back to the user's curve and source.
  model->autoLoad(b + "\\four.wav");
  EXPECT_FALSE(model->autoMode());
  EXPECT_EQ(model->source(), EqSource::file);
  EXPECT_EQ(model->sourceName(), "Mine");
  EXPECT_TRUE(model->changed());
  EXPECT_EQ(positionOfGain(output().gains[9]), -80);
  EXPECT_EQ(positionOfGain(output().gains[10]), 30);
  EXPECT_EQ(output().gains[4], 1.0f);
  // Nothing to leave: the curve stays.
  model->autoLoad(c + "\\five.wav");
  EXPECT_EQ(positionOfGain(output().gains[10]), 30);

  model->command("del_autoload:" + a);
  EXPECT_FALSE(EqModel::hasAutoLoadRecord(a));
}

TEST_F(EqFixture, shutdownInAutoModeStoresTheUsersCurve) {
  const std::string a = folder("A");
  const EqPreset boost = presetWith(2, 100);
  setCacheRecBuf(a.c_str(), "EQ", &boost, sizeof(boost));
  model->setGain(7, gainOfPosition(-50));
  model->autoLoad(a + "\\x.wav");
  ASSERT_EQ(positionOfGain(output().gains[2]), 100);
  model->settle();
  EXPECT_FALSE(model->autoMode());
  ZvEqualizer stored{};
  ASSERT_TRUE(configRec("dspData", &stored, sizeof(stored)));
  EXPECT_EQ(positionOfGain(stored.gains[7]), -50);
  EXPECT_EQ(stored.gains[2], 1.0f);
  // The next start is the user's curve, not the folder's.
  remake();
  EXPECT_EQ(positionOfGain(output().gains[7]), -50);
  EXPECT_EQ(output().gains[2], 1.0f);
}

TEST_F(EqFixture, savingAnAutoLoadRecordWritesExactly52Bytes) {
  const std::string a = folder("A");
  model->setGain(1, gainOfPosition(-30));
  ASSERT_TRUE(model->command("save_autoload:" + a));
  void* data = nullptr;
  int32_t length = 0;
  cacheRecBuf(a.c_str(), "EQ", &data, &length);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(length, 52);
  _mfree(data);
  model->command("load_flat");
  ASSERT_TRUE(model->command("load_autoload:" + a));
  EXPECT_EQ(positionOfGain(output().gains[1]), -30);
}
