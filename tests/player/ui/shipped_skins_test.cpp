// The skins installed under <root>\skins load, and the main window finds
// every named control and every button it needs in each of them. The skins
// come from the generator; without them (a tree where they are not built
// yet) the test is skipped with a message.
#include <gtest/gtest.h>

#include <set>

#include "frame_window.h"
#include "skin_loader.h"
#include "testkit.h"

using namespace zv::ui;

namespace {

std::string installedRoot() { return zvtest::rootDir(); }

bool haveShippedSkins() { return fileExists(installedRoot() + "\\skins\\default\\main.skn"); }

// Every folder of <root>\skins with a main.skn is a skin.
std::vector<std::string> shippedSkinNames() {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  zv::UniqueFind find(FindFirstFileA((installedRoot() + "\\skins\\*").c_str(), &fd));
  if (!find) return names;
  do {
    std::string name = fd.cFileName;
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != ".." &&
        fileExists(installedRoot() + "\\skins\\" + name + "\\main.skn"))
      names.push_back(name);
  } while (FindNextFileA(find.get(), &fd));
  return names;
}

bool hasButtonFor(const TSkin& skin, std::initializer_list<const char*> actions) {
  for (const TSkinCtl& c : skin.controls)
    for (const char* a : actions)
      if (c.isButton() && c.action == a) return true;
  return false;
}

}  // namespace

#define NEED_SHIPPED_SKINS()                                                                          \
  if (!haveShippedSkins())                                                                            \
  GTEST_SKIP() << "no shipped skins under " << installedRoot()                                        \
               << "\\skins (the skin generator installs them); nothing to check here yet"

TEST(ShippedSkins, thereAreAtLeastTwoAndDefaultIsOne) {
  NEED_SHIPPED_SKINS();
  std::vector<std::string> names = shippedSkinNames();
  EXPECT_GE(names.size(), 2u);
  std::set<std::string> lower;
  for (auto& n : names) lower.insert(toLowerAscii(n));
  EXPECT_TRUE(lower.count("default"));
}

TEST(ShippedSkins, eachLoadsWithEveryControlTheMainWindowNeeds) {
  NEED_SHIPPED_SKINS();
  for (const std::string& name : shippedSkinNames()) {
    SCOPED_TRACE(name);
    MainSkinResult r = loadMainSkins(installedRoot(), name, MainSkinPurpose::change);
    ASSERT_TRUE(r.ok());
    for (const TSkin* skin : {r.skins.full.get(), r.skins.mini.get()}) {
      ASSERT_NE(skin, nullptr);
      EXPECT_FALSE(skin->bitmap.empty());
      EXPECT_TRUE(skin->problems.empty()) << (skin->problems.empty() ? "" : skin->problems[0]);
      EXPECT_GT(skin->defSize.cx, 0);
      for (const char* needed : {"l1", "l2", "pos", "total", "pltotal", "vis", "tb"})
        EXPECT_NE(skin->findControl(needed), nullptr) << needed;
      EXPECT_TRUE(hasButtonFor(*skin, {"rollup"}));
    }
    const TSkin& full = *r.skins.full;
    const std::initializer_list<const char*> needs[] = {
        {"toggleplay", "play", "stop", "fadetoggleplay"}, {"prev"}, {"next"}, {"prevpl"}, {"nextpl"},
        {"openmenu", "openfile"}, {"favmenu"}, {"plmenu"}, {"seqmenu"}, {"toolsmenu"}, {"eq"},
        {"minimize"}, {"close"}, {"rollup"}};
    for (const auto& actions : needs) EXPECT_TRUE(hasButtonFor(full, actions)) << *actions.begin();
  }
}

TEST(ShippedSkins, everyPictureOfEveryButtonLiesInsideItsBitmap) {
  NEED_SHIPPED_SKINS();
  for (const std::string& name : shippedSkinNames()) {
    MainSkinResult r = loadMainSkins(installedRoot(), name, MainSkinPurpose::change);
    ASSERT_TRUE(r.ok()) << name;
    for (const TSkin* skin : {r.skins.full.get(), r.skins.mini.get()})
      for (const TSkinCtl& c : skin->controls) {
        if (c.fill != sfBitmap || !c.isButton()) continue;
        RECT b = c.bounds(skin->defSize.cx, skin->defSize.cy);
        if (b.right <= b.left) continue;  // not shown in this state
        for (const StatePicture& p : c.pictures) {
          EXPECT_GE(p.source.left, 0) << name << " " << c.name();
          EXPECT_GE(p.source.top, 0) << name << " " << c.name();
          EXPECT_LE(p.source.right, skin->bitmap.width()) << name << " " << c.name();
          EXPECT_LE(p.source.bottom, skin->bitmap.height()) << name << " " << c.name();
        }
      }
  }
}

TEST(ShippedSkins, theFramesAndControlPicturesAreThere) {
  NEED_SHIPPED_SKINS();
  const std::string skins = installedRoot() + "\\skins\\";
  for (FrameKind kind : {FrameKind::fixed, FrameKind::sizeable, FrameKind::dialog}) {
    SkinLoadResult frame = loadSkin(skins + frameSkinFile(kind), skins + "window.bmp");
    ASSERT_TRUE(frame.ok()) << frameSkinFile(kind);
    EXPECT_FALSE(frame.skin->bitmap.empty());
    EXPECT_FALSE(frame.skin->attr("client").empty()) << frameSkinFile(kind);
    EXPECT_NE(frame.skin->findControl("close"), nullptr) << frameSkinFile(kind);
  }
  for (const char* file : {"controls\\button.bmp", "controls\\knob.bmp", "controls\\check.bmp", "controls\\slider_bk.bmp",
                           "controls\\slider_bkh.bmp", "controls\\slider_th.bmp", "controls\\slider_thh.bmp",
                           "misc\\confirm.bmp"})
    EXPECT_FALSE(loadBitmapFile(skins + file).empty()) << file;
}
