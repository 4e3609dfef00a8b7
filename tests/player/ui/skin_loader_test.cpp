// Loading skins from real files: the per-file fall-back to the default skin,
// the start-up policy (try "Default", then give up with 255) and the running
// policy (a failed change leaves everything as it was).
#include <gtest/gtest.h>

#include "skin_loader.h"
#include "testkit.h"
#include "ui_fixture.h"

using namespace zv::ui;

namespace {

void makeSkin(const std::string& root, const std::string& name, const std::string& text, uint32_t colour,
              bool withMini = true) {
  std::string dir = root + "\\skins\\" + name;
  CreateDirectoryA((root + "\\skins").c_str(), nullptr);
  CreateDirectoryA(dir.c_str(), nullptr);
  if (!text.empty() || true) uitest::writeText(dir + "\\main.skn", text);
  uitest::writeBmp(dir + "\\main.bmp", uitest::solidImage(60, 30, colour));
  if (withMini) {
    CreateDirectoryA((dir + "\\mini").c_str(), nullptr);
    uitest::writeText(dir + "\\mini\\main.skn", text + "\n..\nmini=1");
    uitest::writeBmp(dir + "\\mini\\main.bmp", uitest::solidImage(40, 10, colour));
  }
}

}  // namespace

TEST(SkinLoad, readsTheSkinFileAndItsBitmap) {
  std::string dir = zvtest::freshDir("load_one");
  uitest::writeText(dir + "\\a.skn", "name=x\n..\nrollup=14");
  uitest::writeBmp(dir + "\\a.bmp", uitest::solidImage(30, 20, 0xff0000));
  SkinLoadResult r = loadSkin(dir + "\\a.skn", dir + "\\a.bmp");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.skin->defSize.cx, 30);
  EXPECT_EQ(r.skin->attr("rollup"), "14");
  EXPECT_EQ(r.skin->bitmap.image().at(0, 0), 0xff0000u);
  EXPECT_EQ(r.skin->folder, dir + "\\");
}

TEST(SkinLoad, aSkinFileWithoutLinesFailsWithTheErrorCaption) {
  std::string dir = zvtest::freshDir("load_empty");
  uitest::writeText(dir + "\\a.skn", "");
  uitest::writeText(dir + "\\blank.skn", "\r\n  \r\n");
  SkinLoadResult r = loadSkin(dir + "\\a.skn", dir + "\\a.bmp");
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.error, SkinLoadError::noLines);
  EXPECT_STREQ(skinLoadFailedCaption(r.error), "Error");
  EXPECT_EQ(loadSkin(dir + "\\blank.skn", dir + "\\a.bmp").error, SkinLoadError::noLines);
  SkinLoadResult missing = loadSkin(dir + "\\none.skn", dir + "\\a.bmp");
  EXPECT_EQ(missing.error, SkinLoadError::missingFiles);
  EXPECT_STREQ(skinLoadFailedCaption(missing.error), "Zorvak");
  EXPECT_STREQ(skinLoadFailedText(), "Skin load failed");
}

TEST(SkinLoad, aMissingBitmapStillGivesASkinThatDraws) {
  std::string dir = zvtest::freshDir("load_nobmp");
  uitest::writeText(dir + "\\a.skn", "name=x\nshape=0 0 10 10\n..\ndefsize=50 20");
  SkinLoadResult r = loadSkin(dir + "\\a.skn", dir + "\\missing.bmp");
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(r.skin->bitmap.empty());
  EXPECT_FALSE(r.skin->problems.empty());
}

TEST(MainSkins, eachMissingFileComesFromTheDefaultSkin) {
  std::string root = zvtest::freshDir("main_fallback");
  makeSkin(root, "default", "name=fromdefault", 0x0000ff);
  // "Blue" has its own bitmap but no skin file.
  CreateDirectoryA((root + "\\skins\\Blue").c_str(), nullptr);
  uitest::writeBmp(root + "\\skins\\Blue\\main.bmp", uitest::solidImage(80, 40, 0x00ff00));
  MainSkinResult r = loadMainSkins(root, "Blue", MainSkinPurpose::change);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.skins.name, "Blue");
  EXPECT_NE(r.skins.full->findControl("fromdefault"), nullptr);
  EXPECT_EQ(r.skins.full->defSize.cx, 80);  // its own bitmap
  ASSERT_NE(r.skins.mini, nullptr);
  EXPECT_EQ(r.skins.mini->attr("mini"), "1");  // the default's mini state
}

TEST(MainSkins, startUpTriesDefaultBeforeGivingUp) {
  std::string root = zvtest::freshDir("main_startup");
  makeSkin(root, "default", "name=d", 0x0000ff);
  makeSkin(root, "Broken", "", 0xff0000);  // a skin file without lines
  MainSkinResult r = loadMainSkins(root, "Broken", MainSkinPurpose::startUp);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(r.fellBackToDefault);
  EXPECT_EQ(r.skins.name, "Default");
  EXPECT_EQ(r.exitCode, 0);
}

TEST(MainSkins, startUpEndsWith255OnlyWhenDefaultFailsToo) {
  std::string root = zvtest::freshDir("main_nothing");
  MainSkinResult r = loadMainSkins(root, "Anything", MainSkinPurpose::startUp);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.exitCode, 255);
  EXPECT_EQ(r.error, SkinLoadError::missingFiles);
  makeSkin(root, "default", "", 0x0000ff);
  MainSkinResult empty = loadMainSkins(root, "default", MainSkinPurpose::startUp);
  EXPECT_EQ(empty.exitCode, 255);
  EXPECT_EQ(empty.error, SkinLoadError::noLines);
}

TEST(MainSkins, aFailedChangeWhileRunningNeverAsksToExit) {
  std::string root = zvtest::freshDir("main_change");
  makeSkin(root, "default", "name=d", 0x0000ff);
  makeSkin(root, "Broken", "", 0xff0000);
  MainSkinResult r = loadMainSkins(root, "Broken", MainSkinPurpose::change);
  EXPECT_FALSE(r.ok());
  EXPECT_FALSE(r.fellBackToDefault);  // the caller keeps its current skin and its setting
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.error, SkinLoadError::noLines);
}

TEST(MainSkins, aSkinWithoutAMiniStateShowsItsFullStateThere) {
  std::string root = zvtest::freshDir("main_nomini");
  makeSkin(root, "default", "name=d", 0x0000ff, false);
  MainSkinResult r = loadMainSkins(root, "default", MainSkinPurpose::startUp);
  ASSERT_TRUE(r.ok());
  ASSERT_NE(r.skins.mini, nullptr);
  EXPECT_NE(r.skins.mini->findControl("d"), nullptr);
}

TEST(MainSkins, aMainBitmapThatCannotBeReadFailsTheLoadAndStartUpFallsBackToDefault) {
  std::string root = zvtest::freshDir("main_badbmp");
  makeSkin(root, "default", "name=d", 0x0000ff);
  makeSkin(root, "Damaged", "name=x", 0xff0000);
  // A header that claims an enormous picture, then nothing.
  uitest::writeText(root + "\\skins\\Damaged\\main.bmp", std::string("BM\xff\xff\xff\x7f\0\0\0\0\x36\0\0\0(\0\0\0\xff\xff\xff\x7f", 26));
  MainSkinResult change = loadMainSkins(root, "Damaged", MainSkinPurpose::change);
  EXPECT_FALSE(change.ok());
  EXPECT_EQ(change.error, SkinLoadError::missingFiles);
  MainSkinResult start = loadMainSkins(root, "Damaged", MainSkinPurpose::startUp);
  ASSERT_TRUE(start.ok());
  EXPECT_TRUE(start.fellBackToDefault);
}

TEST(MainSkins, includeCyclesAreRefusedAndToldOnePerLine) {
  std::string root = zvtest::freshDir("main_cycles");
  makeSkin(root, "default", "name=d", 0x0000ff);
  // Full state includes itself; the mini state goes round through a second file.
  makeSkin(root, "Loops", "INC:main.skn\nname=x", 0xff0000, false);
  CreateDirectoryA((root + "\\skins\\Loops\\mini").c_str(), nullptr);
  uitest::writeText(root + "\\skins\\Loops\\mini\\main.skn", "INC:other.inc\nname=m");
  uitest::writeText(root + "\\skins\\Loops\\mini\\other.inc", "INC:MAIN.SKN\nname=o");
  uitest::writeBmp(root + "\\skins\\Loops\\mini\\main.bmp", uitest::solidImage(40, 10, 0));
  MainSkinResult r = loadMainSkins(root, "Loops", MainSkinPurpose::change);
  ASSERT_TRUE(r.ok());
  EXPECT_NE(r.skins.full->findControl("x"), nullptr) << "the rest of the file is read";
  EXPECT_NE(r.skins.mini->findControl("o"), nullptr);
  const std::vector<std::string> lines = skinProblemLines(r.skins);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("Skin \"Loops\" (full): include cycle: ", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind("Skin \"Loops\" (mini): include cycle: ", 0), 0u) << lines[1];
  makeSkin(root, "Clean", "name=c", 0x00ff00);
  EXPECT_TRUE(skinProblemLines(loadMainSkins(root, "Clean", MainSkinPurpose::change).skins).empty());
}
