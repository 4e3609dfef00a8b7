// The CD database window against CD database records of this test's root:
// the disc list, play orders saved and read back from the record, tracks
// and discs renamed in the record.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <memory>

#include "cddb_wnd.h"
#include "testkit.h"
#include "zv_cddb.h"
#include "zv_memory.h"
#include "zv_plugins.h"

using namespace zv::cddb;

namespace {

struct Record {
  ZvCddbInfo info = {};
  bool ok = false;
  explicit Record(uint32_t id) { ok = cddbGetInfo(id, &info) != ZV_FALSE; }
  ~Record() {
    if (ok) cddbFreeInfo(&info);
  }
};

// A disc of four tracks of 10, 20, 30 and 40 seconds.
void storeDisc(uint32_t id, const char* title) {
  ZvCddbInfo info = {};
  info.trackCount = 4;
  int frame = 150;
  for (int t = 0; t < 4; ++t) info.frameOffsets[t] = frame, frame += (t + 1) * 10 * 75;
  info.leadOut = frame;
  info.discLengthSeconds = frame / 75;
  std::strcpy(info.discTitle, title);
  const char* names[] = {"Alpha", "Bravo", "Charlie", nullptr};
  for (int t = 0; t < 3; ++t) info.trackTitles[t] = _stralloc(names[t]);
  ASSERT_TRUE(cddbSetInfo(id, &info));
  cddbFreeInfo(&info);
}

std::string order(const TCDDBWnd& w) {
  std::string s;
  for (const auto& item : w.tracks().items()) s += std::to_string(item.track);
  return s;
}

class CddbWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static bool started = false;
    if (!started) initPlugins(), started = true;
  }
  void SetUp() override {
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
    storeDisc(kDisc, "Band / First Album");
    storeDisc(kOther, "Another / Second");
  }
  std::unique_ptr<TCDDBWnd> open(const std::string& current = {}) {
    auto w = std::make_unique<TCDDBWnd>(zvtest::rootDir(), "en");
    EXPECT_TRUE(w->create(nullptr, current));
    return w;
  }
  int indexOf(const TCDDBWnd& w, uint32_t id) {
    for (size_t i = 0; i < w.discs().size(); ++i)
      if (w.discs()[i].discId == id) return int(i);
    return -1;
  }
  static const uint32_t kDisc = 0x2A05C104, kOther = 0x1B0A7702;
};

}  // namespace

TEST_F(CddbWindow, listsTheDiscsAndLoadsTheCurrentFilesDisc) {
  auto w = open("CD:\\2A05C104\\track02.cda");
  ASSERT_GE(indexOf(*w, kDisc), 0);
  ASSERT_GE(indexOf(*w, kOther), 0);
  EXPECT_EQ(w->selectedDisc(), indexOf(*w, kDisc));
  EXPECT_EQ(order(*w), "1234");
  EXPECT_EQ(w->tracks().items()[1].name, "Bravo");
  EXPECT_EQ(w->tracks().items()[3].lengthMs, 40000);
  EXPECT_EQ(ListView_GetItemCount(w->trackView()), 4);
  char time[16] = {};
  ListView_GetItemText(w->trackView(), 1, 2, time, sizeof(time));
  EXPECT_STREQ(time, "0:20");
}

TEST_F(CddbWindow, aReorderedListIsSavedAsThePlayOrderAndReadBack) {
  {
    auto w = open();
    // The disc is chosen in its drop-down list, as a user does.
    SendMessageA(w->discBox(), CB_SETCURSEL, indexOf(*w, kDisc), 0);
    SendMessageA(w->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w->discBox()), CBN_SELCHANGE),
                 LPARAM(w->discBox()));
    ASSERT_EQ(order(*w), "1234");
    w->selectTrack(0);
    w->button("down")->onClick();
    w->selectTrack(3);
    // Del in the list deletes the selected track.
    NMLVKEYDOWN key{};
    key.hdr.hwndFrom = w->trackView();
    key.hdr.code = LVN_KEYDOWN;
    key.wVKey = VK_DELETE;
    SendMessageA(w->hwnd(), WM_NOTIFY, 0, LPARAM(&key));
    EXPECT_EQ(order(*w), "213");
    EXPECT_TRUE(w->tracks().dirty());
    // Choosing the other disc saves this one first.
    w->selectDisc(indexOf(*w, kOther));
  }
  {
    Record r(kDisc);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.info.playOrderCount, 3);
    EXPECT_EQ(r.info.playOrder[0], 1);
    EXPECT_EQ(r.info.playOrder[1], 0);
    EXPECT_EQ(r.info.playOrder[2], 2);
  }
  // Opened again, the disc lists its tracks in that order; "Reset" and a
  // save on closing bring every track back.
  auto w = open("CD:\\2A05C104.m3u");
  EXPECT_EQ(order(*w), "213");
  w->runCommand("reset");
  EXPECT_EQ(order(*w), "1234");
  EXPECT_EQ(w->tracks().items()[3].name, "Track 4");
  w->runCommand("rev");
  w.reset();
  Record r(kDisc);
  ASSERT_EQ(r.info.playOrderCount, 4);
  EXPECT_EQ(r.info.playOrder[0], 3);
}

TEST_F(CddbWindow, addingAChosenTrackAppendsItAndSortingByNameOrders) {
  auto w = open("CD:\\2A05C104.m3u");
  w->runCommand("add:2");
  EXPECT_EQ(order(*w), "12342");
  w->runCommand("name");
  EXPECT_EQ(order(*w), "12234");
  w->runCommand("number");
  EXPECT_EQ(order(*w), "12234");
  w->setRandomSeed(5);
  w->runCommand("rand");
  EXPECT_EQ(w->tracks().size(), 5u);
}

TEST_F(CddbWindow, renamingATrackRenamesThatTrackInTheRecord) {
  auto w = open("CD:\\2A05C104.m3u");
  w->runCommand("rev");  // the track, not the line, is renamed
  w->renameTrackAt(0, "Delta");
  EXPECT_EQ(w->tracks().items()[0].name, "Delta");
  Record r(kDisc);
  ASSERT_TRUE(r.ok);
  ASSERT_NE(r.info.trackTitles[3], nullptr);
  EXPECT_STREQ(r.info.trackTitles[3], "Delta");
  EXPECT_STREQ(r.info.trackTitles[0], "Alpha");
}

TEST_F(CddbWindow, renamingTheDiscStoresItsTitle) {
  auto w = open("CD:\\1B0A7702.m3u");
  w->setNameAsker([](std::string& name) {
    EXPECT_NE(name.find("Second"), std::string::npos);
    name = "Renamed / Disc";
    return true;
  });
  w->button("ren")->onClick();
  Record r(kOther);
  ASSERT_TRUE(r.ok);
  EXPECT_STREQ(r.info.discTitle, "Renamed / Disc");
  const int at = indexOf(*w, kOther);
  ASSERT_GE(at, 0);
  EXPECT_EQ(w->selectedDisc(), at);
  // A cancelled prompt changes nothing.
  w->setNameAsker([](std::string& name) { return name = "ignored", false; });
  w->button("ren")->onClick();
  Record again(kOther);
  EXPECT_STREQ(again.info.discTitle, "Renamed / Disc");
}

TEST_F(CddbWindow, withoutARecordAddResetAndQueryChangeNothing) {
  auto w = open();
  w->selectDisc(-1);
  w->runCommand("reset");
  w->runCommand("add:1");
  w->runCommand("query");
  EXPECT_EQ(w->tracks().size(), 0u);
  EXPECT_FALSE(w->tracks().dirty());
}

TEST_F(CddbWindow, dragReordersAndTheInPlaceEditorRenames) {
  auto w = open("CD:\\2A05C104.m3u");
  ASSERT_EQ(order(*w), "1234");
  // Drag the first line onto the third.
  NMLISTVIEW begin{};
  begin.hdr.hwndFrom = w->trackView();
  begin.hdr.code = LVN_BEGINDRAG;
  begin.iItem = 0;
  SendMessageA(w->hwnd(), WM_NOTIFY, 0, LPARAM(&begin));
  RECT third{};
  ListView_GetItemRect(w->trackView(), 2, &third, LVIR_BOUNDS);
  POINT p{(third.left + third.right) / 2, (third.top + third.bottom) / 2};
  MapWindowPoints(w->trackView(), w->hwnd(), &p, 1);
  SendMessageA(w->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  EXPECT_EQ(order(*w), "2314");
  EXPECT_TRUE(w->tracks().dirty());
  // The label editor's end renames the track of that line.
  NMLVDISPINFOA edit{};
  edit.hdr.hwndFrom = w->trackView();
  edit.hdr.code = LVN_ENDLABELEDITA;
  edit.item.iItem = 2;
  char text[] = "Renamed First";
  edit.item.pszText = text;
  SendMessageA(w->hwnd(), WM_NOTIFY, 0, LPARAM(&edit));
  w.reset();
  Record r(kDisc);
  ASSERT_TRUE(r.ok);
  EXPECT_STREQ(r.info.trackTitles[0], "Renamed First");
  ASSERT_EQ(r.info.playOrderCount, 4);
  EXPECT_EQ(r.info.playOrder[0], 1);
  EXPECT_EQ(r.info.playOrder[2], 0);
}

TEST_F(CddbWindow, findInTheWindowsCdDatabaseFillsMissingTitles) {
  const uint32_t id = 0x3C0FFE03;
  {
    ZvCddbInfo info = {};
    info.trackCount = 2;
    info.frameOffsets[0] = 150, info.frameOffsets[1] = 3150, info.leadOut = 6150;
    std::strcpy(info.discTitle, "Query / Me");
    std::strcpy(info.mciId, "C0FFEE01");
    info.trackTitles[0] = _stralloc("Known");
    ASSERT_TRUE(cddbSetInfo(id, &info));
    cddbFreeInfo(&info);
  }
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string ini = std::string(windows) + "\\cdplayer.ini";
  WritePrivateProfileStringA("C0FFEE01", "1", "From the ini", ini.c_str());
  auto w = open("CD:\\3C0FFE03.m3u");
  ASSERT_EQ(w->tracks().size(), 2u);
  EXPECT_EQ(w->tracks().items()[1].name, "Track 2");
  w->runCommand("query");
  WritePrivateProfileStringA("C0FFEE01", nullptr, nullptr, ini.c_str());
  EXPECT_EQ(w->tracks().items()[1].name, "From the ini");
  EXPECT_EQ(w->tracks().items()[0].name, "Known");
  EXPECT_FALSE(w->tracks().dirty());
  Record r(id);
  ASSERT_TRUE(r.ok);
  ASSERT_NE(r.info.trackTitles[1], nullptr);
  EXPECT_STREQ(r.info.trackTitles[1], "From the ini");
}
