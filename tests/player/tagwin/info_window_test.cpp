// The file information window on real files: tags typed into its pages are
// written through the tag library and read back from the file; frames are
// added through the real frame editors (driven by messages); the lyrics of
// hostile tags stay in their folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "child_controls.h"
#include "info_wnd.h"
#include "picture_decode.h"
#include "progress_wnd.h"
#include "win32/owners.h"
#include "testkit.h"
#include "zv_desc.h"
#include "zv_config.h"
#include "zv_plugins.h"
#include "zvid3.h"

using namespace zv::info;

namespace {

std::string mediaDir() { return zvtest::testDir() + "\\media"; }

// A copy of a media file in a fresh folder of the running test.
std::string copyMedia(const char* name) {
  const std::string dir = zvtest::freshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
  const std::string target = dir + "\\" + name;
  EXPECT_TRUE(CopyFileA((mediaDir() + "\\" + name).c_str(), target.c_str(), FALSE)) << name;
  return target;
}

// Types into a control as the user would: the control's text changes and
// its parent hears EN_CHANGE.
void type(HWND edit, const std::string& text) { SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); }

class InfoWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static bool started = false;
    if (!started) initPlugins(), started = true;
  }
  void SetUp() override {
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
    window_ = std::make_unique<TInfoWnd>(zvtest::rootDir(), "en");
    ASSERT_TRUE(window_->create(nullptr));
    window_->setMessageSink([this](const std::string& text) { messages_ += text + ";"; });
  }
  std::unique_ptr<TInfoWnd> window_;
  std::string messages_;
};

}  // namespace

TEST_F(InfoWindow, pagesShowTheTagsOfAnMp3) {
  const std::string file = copyMedia("tagged.mp3");
  window_->showFile(file);
  EXPECT_EQ(window_->capabilities(), 3u);
  EXPECT_EQ(windowText(window_->control("title")), "Lame Title");
  EXPECT_EQ(windowText(window_->control("artist")), "Lame Artist");
  EXPECT_EQ(windowText(window_->control("track")), "4");
  EXPECT_EQ(windowText(window_->control("genre")), "Rock");
  EXPECT_TRUE(IsWindowEnabled(window_->control("title")));
  bool comment = false;
  for (const FrameLine& line : window_->frameLines())
    if (line.id == "comm") comment = true;
  EXPECT_TRUE(comment);
  // The file info page: the path, then the decoder's type name.
  HWND finfo = window_->control("finfo");
  ASSERT_GE(SendMessageA(finfo, LB_GETCOUNT, 0, 0), 3);
  char first[MAX_PATH] = {};
  SendMessageA(finfo, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
  EXPECT_EQ(std::string(first), file);
  EXPECT_EQ(messages_, "");
}

TEST_F(InfoWindow, id3EditsAreWrittenToTheFileWhenAnotherFileIsShown) {
  const std::string file = copyMedia("tagged.mp3");
  window_->showFile(file);
  type(window_->control("title"), "New Title");
  type(window_->control("track"), "abc");
  HWND genre = window_->control("genre");
  const LRESULT unknown = SendMessageA(genre, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>("<Unknown>"));
  ASSERT_NE(unknown, CB_ERR);
  SendMessageA(genre, CB_SETCURSEL, unknown, 0);
  SendMessageA(window_->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(genre), CBN_SELCHANGE), LPARAM(genre));
  EXPECT_TRUE(window_->id3Dirty());
  window_->showFile("");
  ZvId3v1Tag tag{};
  ASSERT_EQ(readTag(file.c_str(), &tag), 0);
  char title[31] = {};
  int32_t track = -1, genreNumber = -1;
  decodeTag(&tag, title, nullptr, nullptr, nullptr, nullptr, &track, &genreNumber);
  EXPECT_STREQ(title, "New Title");
  EXPECT_EQ(track, 0);
  EXPECT_EQ(genreNumber, 255);
  EXPECT_EQ(messages_, "");
}

TEST_F(InfoWindow, removeId3TakesTheTagAwayAndAWaveFileDisablesThePage) {
  const std::string file = copyMedia("tagged.mp3");
  window_->showFile(file);
  window_->button("remove")->onClick();
  ZvId3v1Tag tag{};
  EXPECT_EQ(readTag(file.c_str(), &tag), 1);
  EXPECT_EQ(windowText(window_->control("title")), "");
  window_->showFile(copyMedia("tone.wav"));
  EXPECT_FALSE(IsWindowEnabled(window_->control("title")));
  EXPECT_EQ(messages_, "");
}

TEST_F(InfoWindow, framesAddedThroughTheirEditorsAreSavedAndReadBack) {
  const std::string file = copyMedia("tagged.mp3");
  window_->showFile(file);
  // The editors run as real windows; the runner types into their fields
  // and presses OK instead of waiting for a user.
  window_->setEditorRunner([](TFrameEditorWnd& editor, HWND owner) {
    if (!editor.open(owner)) return false;
    if (HWND language = editor.field("language")) type(language, "rus");
    if (HWND desc = editor.field("desc")) type(desc, "made here");
    if (HWND content = editor.field("content")) type(content, "line one\r\nline two");
    if (HWND involvement = editor.field("involvement")) type(involvement, "producer\r\nmixer");
    if (HWND people = editor.field("people")) type(people, "Ann\r\nBob");
    auto* ok = dynamic_cast<zv::ui::TZButton*>(editor.findElement("ok"));
    if (!ok) return false;
    ok->onClick();
    return editor.accepted();
  });
  window_->runCommand("uslt");
  window_->runCommand("ipls");
  window_->runCommand("@id3");
  EXPECT_TRUE(window_->id3v2Dirty());
  const int before = progressWindowsOpened();
  window_->saveChanges();
  EXPECT_GT(progressWindowsOpened(), before);
  EXPECT_EQ(openProgressWindow(), nullptr);
  EXPECT_EQ(messages_, "");

  ZvId3v2Tag tag = id3v2Create();
  ASSERT_EQ(id3v2Load(tag, file.c_str()), 0);
  ZvId3v2Frame uslt = id3v2FindFrame(tag, "uslt");
  ASSERT_NE(uslt, nullptr);
  EXPECT_EQ(frameField(uslt, "content"), "line one\nline two");
  EXPECT_EQ(frameField(uslt, "language"), "rus");
  EXPECT_EQ(frameField(uslt, "desc"), "made here");
  ZvId3v2Frame ipls = id3v2FindFrame(tag, "ipls");
  ASSERT_NE(ipls, nullptr);
  EXPECT_EQ(frameField(ipls, "content"), "producer\nAnn\nmixer\nBob");
  ZvId3v2Frame tofn = id3v2FindFrame(tag, "tofn");
  ASSERT_NE(tofn, nullptr);
  EXPECT_EQ(frameField(tofn, "content"), "tagged.mp3");
  EXPECT_EQ(frameField(id3v2FindFrame(tag, "tit2"), "content"), "Lame Title");
  id3v2Free(tag);
}

TEST_F(InfoWindow, cancelledEditorLeavesNoFrameAndDeleteKeepsThePosition) {
  const std::string file = copyMedia("tagged.mp3");
  window_->showFile(file);
  const size_t lines = window_->frameLines().size();
  ASSERT_GE(lines, 3u);
  window_->setEditorRunner([](TFrameEditorWnd& editor, HWND owner) {
    if (!editor.open(owner)) return false;
    auto* cancel = dynamic_cast<zv::ui::TZButton*>(editor.findElement("cancel"));
    if (cancel) cancel->onClick();
    return editor.accepted();
  });
  window_->runCommand("comm");
  EXPECT_EQ(window_->frameLines().size(), lines);
  EXPECT_FALSE(window_->id3v2Dirty());
  HWND list = window_->control("id3v2list");
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  // Del in the list acts as the Delete button.
  SendMessageA(window_->hwnd(), WM_VKEYTOITEM, MAKEWPARAM(VK_DELETE, 1), LPARAM(list));
  EXPECT_EQ(window_->frameLines().size(), lines - 1);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(window_->id3v2Dirty());
}

TEST_F(InfoWindow, picturesAreLoadedShownAtTheirAspectAndDamagedOnesNeverCrash) {
  const std::string file = copyMedia("tagged.mp3");
  const std::string dir = file.substr(0, file.rfind('\\'));
  // A 200 x 100 BMP and a damaged one.
  std::vector<uint8_t> bmp(54 + 200 * 3 * 100, 0x40);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&bmp[at], &v, 4); };
  std::fill(bmp.begin(), bmp.begin() + 54, 0);
  bmp[0] = 'B', bmp[1] = 'M';
  put32(2, uint32_t(bmp.size())), put32(10, 54), put32(14, 40), put32(18, 200), put32(22, 100);
  bmp[26] = 1, bmp[28] = 24, bmp[30] = 0;
  ASSERT_TRUE(zvtest::writeFile(dir + "\\cover.bmp", bmp.data(), bmp.size()));
  std::vector<uint8_t> damaged(bmp.begin(), bmp.begin() + 70);
  ASSERT_TRUE(zvtest::writeFile(dir + "\\damaged.bmp", damaged.data(), damaged.size()));

  window_->showFile(file);
  std::string chosen = dir + "\\cover.bmp";
  TFrameEditorWnd::fileChooser() = [&](HWND, bool, const std::string&) { return chosen; };
  int previewWidth = 0, previewHeight = 0;
  window_->setEditorRunner([&](TFrameEditorWnd& editor, HWND owner) {
    if (!editor.open(owner)) return false;
    auto* load = dynamic_cast<zv::ui::TZButton*>(editor.findElement("LoadObject"));
    EXPECT_NE(load, nullptr);
    if (!load) return false;
    load->onClick();
    EXPECT_FALSE(editor.objectData().empty()) << chosen;
    EXPECT_NE(editor.field("mimetype"), nullptr);
    previewWidth = editor.preview().width, previewHeight = editor.preview().height;
    editor.renderAll();
    type(editor.field("desc"), "front");
    editor.accept();
    return editor.accepted();
  });
  window_->runCommand("apic");
  EXPECT_GT(previewWidth, 0);
  EXPECT_EQ(previewWidth, previewHeight * 2);

  chosen = dir + "\\damaged.bmp";
  window_->runCommand("geob");
  EXPECT_EQ(previewWidth, 0);
  window_->saveChanges();
  EXPECT_EQ(messages_, "");

  ZvId3v2Tag tag = id3v2Create();
  ASSERT_EQ(id3v2Load(tag, file.c_str()), 0);
  ZvId3v2Frame apic = id3v2FindFrame(tag, "apic");
  ASSERT_NE(apic, nullptr);
  int32_t length = 0;
  const void* data = id3v2GetBinaryField(apic, "data", &length);
  ASSERT_EQ(length, int32_t(bmp.size()));
  EXPECT_EQ(std::memcmp(data, bmp.data(), bmp.size()), 0);
  EXPECT_EQ(frameField(apic, "mimetype"), "image/bmp");
  EXPECT_EQ(frameField(apic, "desc"), "front");
  id3v2Free(tag);
  // The window shows the stored picture's frame again after a reload.
  window_->showFile(file);
  bool listed = false;
  for (const FrameLine& line : window_->frameLines()) listed = listed || line.id == "apic";
  EXPECT_TRUE(listed);
  TFrameEditorWnd::fileChooser() = nullptr;
}

TEST_F(InfoWindow, lyricsOfHostileTagsStayInTheLyricsFolder) {
  const std::string file = copyMedia("tagged.mp3");
  const std::string dir = file.substr(0, file.rfind('\\'));
  const std::string lyrics = dir + "\\lyrics";
  setConfigString("lyrDir", lyrics.c_str());
  ZvId3v1Tag tag{};
  encodeTag(&tag, "evil", "..\\..\\..\\escaped", "", "", "", 0, 255);
  ASSERT_EQ(writeTag(file.c_str(), &tag), 0);
  ZvId3v2Tag v2 = id3v2Create();
  id3v2Load(v2, file.c_str());
  id3v2SetStringField(id3v2FindFrame(v2, "tpe1"), "content", "..\\..\\..\\escaped");
  id3v2SetStringField(id3v2FindFrame(v2, "tit2"), "content", "evil");
  ASSERT_EQ(id3v2Save(v2, file.c_str(), 0, nullptr), 0);
  id3v2Free(v2);

  window_->showFile(file);
  const std::string path = window_->lyricsPath();
  EXPECT_EQ(path.rfind(lyrics + "\\", 0), 0u) << path;
  type(window_->control("lyrics"), "la la la");
  SendMessageA(window_->control("lyrics"), EM_SETMODIFY, TRUE, 0);
  window_->showFile("");
  EXPECT_EQ(GetFileAttributesA((lyrics + "\\escaped - evil.txt").c_str()) != INVALID_FILE_ATTRIBUTES, true);
  // Nothing named "escaped..." above the lyrics folder.
  for (std::string up = dir; up.size() > 3; up = up.substr(0, up.rfind('\\'))) {
    EXPECT_EQ(GetFileAttributesA((up + "\\escaped - evil.txt").c_str()), INVALID_FILE_ATTRIBUTES) << up;
  }
  // Emptied, the lyrics file goes; only that one.
  window_->showFile(file);
  EXPECT_EQ(windowText(window_->control("lyrics")), "la la la");
  type(window_->control("lyrics"), "");
  SendMessageA(window_->control("lyrics"), EM_SETMODIFY, TRUE, 0);
  window_->showFile("");
  EXPECT_EQ(GetFileAttributesA((lyrics + "\\escaped - evil.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
  setConfigString("lyrDir", (zvtest::rootDir() + "\\lyrics").c_str());
  EXPECT_EQ(messages_, "");
}

TEST_F(InfoWindow, theTextFieldsGridWritesChangedRowsIntoTheTag) {
  const std::string file = copyMedia("tagged.mp3");
  window_->showFile(file);
  window_->setTextFieldsRunner([](TTextFieldsWnd& grid, HWND owner) {
    if (!grid.open(owner)) return false;
    int album = -1, composer = -1;
    for (size_t i = 0; i < grid.rows().size(); ++i) {
      if (grid.rows()[i].id == "talb") album = int(i);
      if (grid.rows()[i].id == "tcom") composer = int(i);
      EXPECT_NE(grid.rows()[i].id, "txxx");
    }
    EXPECT_GE(album, 0);
    EXPECT_GE(composer, 0);
    if (album < 0 || composer < 0) return false;
    EXPECT_EQ(grid.rows()[album].value, "Lame Album");
    // The album through the in-place editor's end, the composer typed into
    // the field below the grid.
    NMLVDISPINFOA edit{};
    edit.hdr.hwndFrom = grid.grid();
    edit.hdr.code = LVN_ENDLABELEDITA;
    edit.item.iItem = album;
    char text[] = "Grid Album";
    edit.item.pszText = text;
    SendMessageA(grid.hwnd(), WM_NOTIFY, 0, LPARAM(&edit));
    ListView_SetItemState(grid.grid(), composer, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageA(grid.valueField(), WM_SETTEXT, 0, LPARAM("Someone"));
    auto* ok = dynamic_cast<zv::ui::TZButton*>(grid.findElement("ok"));
    if (ok) ok->onClick();
    return grid.accepted();
  });
  window_->runCommand("text");
  EXPECT_TRUE(window_->id3v2Dirty());
  window_->showFile("");
  ZvId3v2Tag tag = id3v2Create();
  ASSERT_EQ(id3v2Load(tag, file.c_str()), 0);
  EXPECT_EQ(frameField(id3v2FindFrame(tag, "talb"), "content"), "Grid Album");
  ASSERT_NE(id3v2FindFrame(tag, "tcom"), nullptr);
  EXPECT_EQ(frameField(id3v2FindFrame(tag, "tcom"), "content"), "Someone");
  EXPECT_EQ(frameField(id3v2FindFrame(tag, "tit2"), "content"), "Lame Title");
  id3v2Free(tag);
}

TEST_F(InfoWindow, aFreshDescriptionOfTheShownFileBecomesTheCaption) {
  const std::string file = copyMedia("tagged.mp3");
  window_->showFile(file);
  setDesc(file.c_str(), "Described by hand");
  const bool shown = zvtest::waitFor(
      [&] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        return windowText(window_->hwnd()) == "Described by hand";
      },
      5000);
  EXPECT_TRUE(shown) << windowText(window_->hwnd());
  setDesc(file.c_str(), "");
}

TEST_F(InfoWindow, aTagForAFileInUseWaitsForTheBatchAndIsWrittenThen) {
  const std::string file = copyMedia("tagged.mp3");
  window_->showFile(file);
  window_->setTextFieldsRunner([](TTextFieldsWnd& grid, HWND owner) {
    if (!grid.open(owner)) return false;
    for (size_t i = 0; i < grid.rows().size(); ++i)
      if (grid.rows()[i].id == "talb") grid.setValue(int(i), "Deferred Album");
    grid.accept();
    return grid.accepted();
  });
  window_->runCommand("text");
  {
    // Another program holds the file open (as a playing stream does).
    zv::UniqueFile held(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.valid());
    window_->showFile("");
    EXPECT_EQ(messages_, "") << "a deferred write is no failure";
  }
  ZvId3v2Tag tag = id3v2Create();
  ASSERT_EQ(id3v2Load(tag, file.c_str()), 0);
  EXPECT_EQ(frameField(id3v2FindFrame(tag, "talb"), "content"), "Lame Album");
  // What the player does when a stream has stopped.
  const int before = progressWindowsOpened();
  EXPECT_EQ(id3v2DoBatch(tagProgress), 0);
  EXPECT_GT(progressWindowsOpened(), before);
  ASSERT_EQ(id3v2Load(tag, file.c_str()), 0);
  EXPECT_EQ(frameField(id3v2FindFrame(tag, "talb"), "content"), "Deferred Album");
  id3v2Free(tag);
}

// The player moves on while a frame editor is open: the window waits with
// the new file (the editor holds a frame of the loaded tag), the edit is
// taken and saved into the file it was made for, then the new file shows.
TEST_F(InfoWindow, aFileShownWhileAFrameEditorIsOpenWaitsAndTheEditIsSavedToItsOwnFile) {
  const std::string first = copyMedia("tagged.mp3");
  const std::string second = first.substr(0, first.find_last_of('\\')) + "\\next.mp3";
  ASSERT_TRUE(CopyFileA((mediaDir() + "\\tagged.mp3").c_str(), second.c_str(), FALSE));
  window_->showFile(first);
  bool waitedDuringEdit = false;
  window_->setEditorRunner([&](TFrameEditorWnd& editor, HWND owner) {
    if (!editor.open(owner)) return false;
    window_->showFile(second);  // as the current file's change would, from the message loop
    waitedDuringEdit = window_->busy() && window_->path() == first && window_->pendingPath() == second;
    if (HWND desc = editor.field("desc")) type(desc, "kept");
    if (HWND content = editor.field("content")) type(content, "made while the player moved on");
    auto* ok = dynamic_cast<zv::ui::TZButton*>(editor.findElement("ok"));
    if (!ok) return false;
    ok->onClick();
    return editor.accepted();
  });
  window_->runCommand("comm");
  EXPECT_TRUE(waitedDuringEdit);
  EXPECT_EQ(window_->path(), second);
  EXPECT_FALSE(window_->id3v2Dirty());
  EXPECT_EQ(messages_, "");
  ZvId3v2Tag tag = id3v2Create();
  ASSERT_EQ(id3v2Load(tag, first.c_str()), 0);
  bool found = false;
  for (int32_t i = 0; i < id3v2FrameCount(tag); ++i) {
    ZvId3v2Frame frame = id3v2GetFrame(tag, i);
    if (frameField(frame, "content") == "made while the player moved on") found = true;
  }
  EXPECT_TRUE(found) << "the edit went into the file it was made for";
  ASSERT_EQ(id3v2Load(tag, second.c_str()), 0);
  for (int32_t i = 0; i < id3v2FrameCount(tag); ++i)
    EXPECT_NE(frameField(id3v2GetFrame(tag, i), "content"), "made while the player moved on");
  id3v2Free(tag);
}

static void pumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Only a window that follows the current file and is open takes it.
TEST_F(InfoWindow, theCurrentFileIsTakenOnlyByAnOpenWindowThatFollowsIt) {
  const std::string first = copyMedia("tagged.mp3");
  const std::string second = first.substr(0, first.find_last_of('\\')) + "\\tone.wav";
  ASSERT_TRUE(CopyFileA((mediaDir() + "\\tone.wav").c_str(), second.c_str(), FALSE));
  window_->showFile(first);
  ShowWindow(window_->hwnd(), SW_SHOWNOACTIVATE);
  window_->currentFileChanged(second);
  pumpMessages();
  EXPECT_EQ(window_->path(), first) << "a window showing an editor's line keeps it";
  window_->setFollowsCurrent(true);
  window_->currentFileChanged(second);
  EXPECT_EQ(window_->path(), first) << "shown from the message loop, not inside the playback step";
  pumpMessages();
  EXPECT_EQ(window_->path(), second);
  // Told, then shown for an editor's line before the message comes: it keeps that line.
  window_->currentFileChanged(first);
  window_->setFollowsCurrent(false);
  pumpMessages();
  EXPECT_EQ(window_->path(), second);
  window_->setFollowsCurrent(true);
  ShowWindow(window_->hwnd(), SW_HIDE);
  window_->currentFileChanged(first);
  pumpMessages();
  EXPECT_EQ(window_->path(), second) << "a closed window loads nothing";
}
