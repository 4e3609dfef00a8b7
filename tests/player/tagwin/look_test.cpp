// How the tag windows look: every page and editor captured from the screen
// (kept under <testDir>\shots for people to look at) and checked for what
// must show: each page its own controls, the chosen tab pressed, an
// embedded picture in the preview.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "cddb_wnd.h"
#include "info_wnd.h"
#include "screen_capture.h"
#include "testkit.h"
#include "zv_cddb.h"
#include "zv_memory.h"
#include "zv_plugins.h"

using namespace zv::info;

namespace {

std::string copyMedia(const char* name, const std::string& dir) {
  const std::string target = dir + "\\" + name;
  CopyFileA((zvtest::testDir() + "\\media\\" + name).c_str(), target.c_str(), FALSE);
  return target;
}

RECT inWindow(HWND parent, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  RECT p;
  GetWindowRect(parent, &p);
  OffsetRect(&r, -p.left, -p.top);
  return r;
}

}  // namespace

TEST(TagWindowsLook, everyPageShowsItsOwnControls) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
  static bool started = false;
  if (!started) initPlugins(), started = true;
  const std::string dir = zvtest::freshDir("look_pages");
  const std::string file = copyMedia("tagged.mp3", dir);
  TInfoWnd window(zvtest::rootDir(), "en");
  ASSERT_TRUE(window.create(nullptr));
  window.showFile(file);
  SetWindowTextA(window.control("lyrics"), "First line of the song\r\nSecond line");
  std::vector<tagwin::Capture> pages;
  for (int page = 0; page < 4; ++page) {
    window.selectPage(page);
    pages.push_back(tagwin::captureWindow(window.hwnd()));
    tagwin::keepCapture(pages.back(), "info-page" + std::to_string(page + 1));
  }
  // The pages differ where their controls are, the tabs stay.
  const RECT lyrics = inWindow(window.hwnd(), window.control("lyrics"));
  for (int page = 1; page < 4; ++page) EXPECT_GT(tagwin::differingPixels(pages[0], pages[page], lyrics), 200) << page;
  // The chosen tab is drawn otherwise than when it is not chosen.
  EXPECT_GT(tagwin::differingPixels(pages[0], pages[1], {10, 40, 80, 60}), 20);
}

TEST(TagWindowsLook, thePictureEditorShowsTheEmbeddedPicture) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
  const std::string dir = zvtest::freshDir("look_picture");
  // A 160 x 80 picture, red.
  std::vector<uint8_t> bmp(54 + 160 * 3 * 80, 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&bmp[at], &v, 4); };
  bmp[0] = 'B', bmp[1] = 'M';
  put32(2, uint32_t(bmp.size())), put32(10, 54), put32(14, 40), put32(18, 160), put32(22, 80);
  bmp[26] = 1, bmp[28] = 24;
  for (size_t i = 54; i + 2 < bmp.size(); i += 3) bmp[i + 2] = 220;
  ZvId3v2Tag tag = id3v2Create();
  ZvId3v2Frame apic = id3v2AddFrame(tag, "apic");
  id3v2SetBinaryField(apic, "data", bmp.data(), int32_t(bmp.size()));
  id3v2SetStringField(apic, "mimetype", "image/bmp");
  id3v2SetStringField(apic, "desc", "Cover");
  {
    TFrameEditorWnd editor(apic, {zvtest::rootDir(), "en"});
    ASSERT_TRUE(editor.open(nullptr));
    const tagwin::Capture shot = tagwin::captureWindow(editor.hwnd());
    tagwin::keepCapture(shot, "editor-picture");
    const RECT box = editor.previewRect();
    const uint32_t centre = shot.at((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    EXPECT_EQ(centre, 0xDC0000u);
    EXPECT_EQ(editor.preview().width, editor.preview().height * 2);
  }
  for (const char* id : {"comm", "ipls", "txxx", "tcon"}) {
    ZvId3v2Frame frame = id3v2AddFrame(tag, id);
    TFrameEditorWnd editor(frame, {zvtest::rootDir(), "en"});
    ASSERT_TRUE(editor.open(nullptr));
    const tagwin::Capture shot = tagwin::captureWindow(editor.hwnd());
    tagwin::keepCapture(shot, std::string("editor-") + id);
    EXPECT_NE(editor.field("content") ? editor.field("content") : editor.field("people"), nullptr) << id;
  }
  {
    id3v2SetStringField(id3v2AddFrame(tag, "tit2"), "content", "A title");
    TTextFieldsWnd grid(tag, zvtest::rootDir(), "en");
    ASSERT_TRUE(grid.open(nullptr));
    const tagwin::Capture shot = tagwin::captureWindow(grid.hwnd());
    tagwin::keepCapture(shot, "editor-textfields");
    EXPECT_GT(grid.rows().size(), 20u);
  }
  id3v2Free(tag);
}

TEST(TagWindowsLook, theCdDatabaseWindowListsTracks) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
  static bool started = false;
  if (!started) initPlugins(), started = true;
  ZvCddbInfo info = {};
  info.trackCount = 3;
  for (int t = 0; t < 3; ++t) info.frameOffsets[t] = 150 + t * 15000;
  info.leadOut = 150 + 3 * 15000;
  std::strcpy(info.discTitle, "Look / Disc");
  info.trackTitles[0] = _stralloc("Opening");
  info.trackTitles[1] = _stralloc("Middle");
  ASSERT_TRUE(cddbSetInfo(0x0C0FFEE0, &info));
  cddbFreeInfo(&info);
  zv::cddb::TCDDBWnd window(zvtest::rootDir(), "en");
  ASSERT_TRUE(window.create(nullptr, "CD:\\0C0FFEE0.m3u"));
  const tagwin::Capture shot = tagwin::captureWindow(window.hwnd());
  tagwin::keepCapture(shot, "cddb");
  EXPECT_EQ(window.tracks().size(), 3u);
}
