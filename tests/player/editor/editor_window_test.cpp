// The real editor window driven by messages: keys to its list, the context
// menu's WM_COMMANDs, drops of lines between editors, the quick search, the
// in-place description, the saving rules with the files they write, the
// close prompt, column widths in the registry and the state files across a
// "restart" of the editor set.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>

#include "editor_columns.h"
#include "editor_menu.h"
#include "editor_set.h"
#include "editor_test_lists.h"
#include "testkit.h"
#include "win_pos.h"
#include "win32/owners.h"
#include "zv_desc.h"

using namespace zv::editor;
using edtest::kFile;
using edtest::kGroup;
using edtest::kHeading;
using edtest::List;
using edtest::shape;

namespace {


void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (TPLEditorWnd::translateEditorMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Answers the dialogs from a script and records what was asked.
class ScriptedDialogs final : public EditorDialogs {
 public:
  std::deque<int> answers;
  std::deque<std::optional<std::string>> files;
  std::vector<std::string> asked, filters;
  std::vector<std::string> openFiles(HWND, const std::string& filter) override {
    filters.push_back(filter);
    if (files.empty() || !files.front()) return {};
    std::string f = *files.front();
    files.pop_front();
    return {f};
  }
  std::optional<std::string> openPlaylist(HWND, const std::string&) override { return next(); }
  std::optional<std::string> saveFile(HWND, const std::string& filter, const char*) override {
    filters.push_back(filter);
    return next();
  }
  // The options the "lsd2" dialog answers with, and the box texts it showed.
  std::deque<SaveOptions> optionAnswers;
  std::vector<std::string> optionTexts;
  std::optional<std::string> saveFileWithOptions(HWND, const std::string& filter, const char*, SaveOptions& options,
                                                 const std::vector<std::string>& texts) override {
    filters.push_back(filter);
    optionTexts = texts;
    if (!optionAnswers.empty()) {
      options = optionAnswers.front();
      optionAnswers.pop_front();
    }
    return next();
  }
  std::optional<std::string> chooseFolder(HWND, const std::string&) override { return next(); }
  int ask(HWND, const std::string& text, UINT) override {
    asked.push_back(text);
    if (answers.empty()) return IDCANCEL;
    const int a = answers.front();
    answers.pop_front();
    return a;
  }

 private:
  std::optional<std::string> next() {
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
  }
};

// The main window's part: a main playlist whose current line follows edits
// through its mark, as the sequencing rules do.
class TestHost final : public EditorHost {
 public:
  List main;
  int32_t current = -1;
  int32_t played = -1;
  int edits = 0;
  ScriptedDialogs dialogsScript;
  std::string rootDir() override { return zvtest::rootDir(); }
  std::string lang = "en";
  std::string language() override { return lang; }
  const zv::ui::TSkin* mainSkin() override { return nullptr; }
  Playlist mainPlaylist() override { return main; }
  int32_t currentLine() override { return current; }
  void editMainPlaylist(const std::function<void()>& edit) override {
    ++edits;
    plDelMarks(main);
    if (current >= 0) plMarkLine(main, current, 1);
    edit();
    current = plFindMark(main, 1);
    plDelMarks(main);
  }
  void replaceMainPlaylist(Playlist pl) override { plCopy(main, pl); }
  void playMainLine(int32_t line) override { played = line; }
  void showFileInfo(const std::string& path) override { info = path; }
  MenuSources menuSources() override { return {}; }
  EditorDialogs& dialogs() override { return dialogsScript; }
  std::string info;
};

std::vector<edtest::Line> tree() {
  return {{kGroup, 0, "Z:\\music", "root", ""},       {kGroup, 1, "Z:\\music\\A", "A", ""},
          {kFile, 2, "Z:\\music\\A\\a1.mp3", "a1", ""}, {kFile, 2, "Z:\\music\\A\\a2.mp3", "a2", ""},
          {kGroup, 1, "Z:\\music\\B", "B", ""},       {kFile, 2, "Z:\\music\\B\\b1.mp3", "b1", ""},
          {kFile, 1, "Z:\\music\\c.mp3", "c", ""}};
}

Playlist ownedTree() {
  Playlist pl = createPlaylist(-1);
  List t(tree());
  plCopy(pl, t);
  return pl;
}

void key(HWND list, UINT vk) {
  SendMessageA(list, WM_KEYDOWN, vk, 1);
  SendMessageA(list, WM_KEYUP, vk, 0xC0000001);
  pump();
}

void command(TPLEditorWnd& e, const char* cmd) {
  SendMessageA(e.hwnd(), WM_COMMAND, commandIdOf(cmd), 0);
  pump();
}

// The list point at the middle of a line's row, `x` pixels in.
POINT rowPoint(TPLEditorWnd& e, int32_t line, int x, bool upper = false) {
  RECT r{};
  ListView_GetItemRect(e.listWindow(), line, &r, LVIR_BOUNDS);
  return {r.left + x, upper ? r.top + 1 : r.bottom - 2};
}

LinesDragData dragOf(TPLEditorWnd& e) {
  LinesDragData d{};
  std::memcpy(d.magic, "ZORVAKPL", 8);
  d.editor = e.number();
  d.serial = e.serial();
  return d;
}

struct EditorFixture : ::testing::Test {
  TestHost host;
  std::unique_ptr<EditorSet> set;
  void SetUp() override {
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display: window tests need Xvfb";
    set = std::make_unique<EditorSet>(host);
  }
  void TearDown() override {
    set.reset();
    pump();
  }
};

TEST_F(EditorFixture, deleteKeyDeletesTheBranchAndCtrlZBringsItBack) {
  TPLEditorWnd* e = set->openOwned(ownedTree(), "tree");
  ASSERT_TRUE(e);
  e->selectOnly(1, false);
  key(e->listWindow(), VK_DELETE);
  EXPECT_EQ(shape(e->playlist()), "root@0 B@1 b1@2 c@1");
  EXPECT_TRUE(e->modified());
  EXPECT_EQ(ListView_GetItemCount(e->listWindow()), 4);
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  key(e->listWindow(), 'Z');
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(shape(e->playlist()), "root@0 A@1 a1@2 a2@2 B@1 b1@2 c@1");
  // The root line is never deleted.
  e->selectOnly(0, false);
  key(e->listWindow(), VK_DELETE);
  EXPECT_EQ(plGetCount(e->playlist()), 7);
}

TEST_F(EditorFixture, contextMenuCommandsAddGroupsSortAndAddFiles) {
  TPLEditorWnd* e = set->openOwned(ownedTree(), "tree");
  ASSERT_TRUE(e);
  e->selectOnly(4, false);
  command(*e, "add_group");
  EXPECT_EQ(shape(e->playlist()), "root@0 A@1 a1@2 a2@2 B@1 b1@2 New group@2 c@1");
  EXPECT_EQ(e->selection(), (std::vector<int32_t>{6}));
  e->selectOnly(0, false);
  command(*e, "sort_rev");
  EXPECT_EQ(shape(e->playlist()), "root@0 c@1 B@1 b1@2 New group@2 A@1 a1@2 a2@2");
  // Ins: the chosen file right after the selected file at its level.
  const std::string dir = zvtest::freshDir("add");
  const std::string file = dir + "\\new.mp3";
  zvtest::writeFile(file, "x", 1);
  host.dialogsScript.files.push_back(file);
  e->selectOnly(6, false);
  key(e->listWindow(), VK_INSERT);
  ASSERT_EQ(plGetCount(e->playlist()), 9);
  EXPECT_STREQ(plGetName(e->playlist(), 7), file.c_str());
  EXPECT_EQ(plGetRec(e->playlist(), 7)->level, 2);
  // "add:" + location, on a group: its last child.
  e->selectOnly(2, false);
  e->runCommand("add:" + file);
  EXPECT_STREQ(plGetName(e->playlist(), 5), file.c_str());
  EXPECT_EQ(plGetRec(e->playlist(), 5)->level, 2);
}

TEST_F(EditorFixture, editsOfTheMainPlaylistKeepPlaybackOnItsLine) {
  host.main.add(tree());
  host.current = 5;  // b1
  TPLEditorWnd* e = set->openMain();
  ASSERT_TRUE(e);
  EXPECT_FALSE(e->ownsPlaylist());
  e->selectOnly(1, false);
  key(e->listWindow(), VK_DELETE);
  EXPECT_EQ(host.edits, 1);
  EXPECT_EQ(host.current, 2);
  EXPECT_STREQ(plGetDesc(host.main, host.current), "b1");
  EXPECT_EQ(e->currentLine(), 2);
  // Find current selects the playing line.
  e->selectOnly(0, false);
  command(*e, "findcur");
  EXPECT_EQ(e->selection(), (std::vector<int32_t>{2}));
  EXPECT_FALSE(e->modified());
}

TEST_F(EditorFixture, playOfAnOwnedListReplacesTheMainOneAndDetachesItsEditors) {
  host.main.add({{kFile, 0, "Z:\\old.mp3", "old", ""}});
  TPLEditorWnd* mainEditor = set->openMain();
  TPLEditorWnd* e = set->openOwned(ownedTree(), "tree");
  ASSERT_TRUE(mainEditor && e);
  e->selectOnly(3, false);
  key(e->listWindow(), VK_RETURN);
  EXPECT_EQ(host.played, 3);
  EXPECT_EQ(shape(host.main), "root@0 A@1 a1@2 a2@2 B@1 b1@2 c@1");
  EXPECT_FALSE(e->ownsPlaylist());
  EXPECT_EQ(e->playlist(), static_cast<Playlist>(host.main));
  // The other editor keeps what it showed, as its own copy.
  EXPECT_TRUE(mainEditor->ownsPlaylist());
  EXPECT_EQ(shape(mainEditor->playlist()), "old@0");
}

TEST_F(EditorFixture, dropsOfLinesFollowTheLevelRuleAndCheckTheSource) {
  TPLEditorWnd* a = set->openOwned(ownedTree(), "a");
  Playlist other = createPlaylist(-1);
  {
    List l({{kGroup, 0, "Z:\\other", "other", ""}, {kFile, 1, "Z:\\x.mp3", "x", ""}});
    plCopy(other, l);
  }
  TPLEditorWnd* b = set->openOwned(other, "b");
  ASSERT_TRUE(a && b);
  // Within one editor: B's branch onto a1 at x for level 2 moves it into A.
  a->selectOnly(4, false);
  EXPECT_TRUE(a->dropLines(dragOf(*a), rowPoint(*a, 2, 24), false));
  EXPECT_EQ(shape(a->playlist()), "root@0 A@1 a1@2 B@2 b1@3 a2@2 c@1");
  // Onto a line inside the dragged branch: nothing.
  a->selectOnly(1, false);
  EXPECT_FALSE(a->dropLines(dragOf(*a), rowPoint(*a, 3, 40), false));
  // Upper half of x's row: the target is the line before (other), level 1.
  a->selectOnly(6, false);
  EXPECT_TRUE(b->dropLines(dragOf(*a), rowPoint(*b, 1, 0, true), true));
  EXPECT_EQ(shape(b->playlist()), "other@0 c@1 x@1");
  EXPECT_EQ(plGetCount(a->playlist()), 7);  // copied
  EXPECT_TRUE(b->modified());
  // A move takes the lines out of the source editor.
  a->selectOnly(1, false);
  EXPECT_TRUE(b->dropLines(dragOf(*a), rowPoint(*b, 2, 0), false));
  EXPECT_EQ(shape(a->playlist()), "root@0 c@1");
  EXPECT_EQ(shape(b->playlist()), "other@0 c@1 x@1 A@1 a1@2 B@2 b1@3 a2@2");
  // A block naming an editor that is gone (or a wrong serial) is refused.
  LinesDragData stale = dragOf(*a);
  stale.serial += 100;
  EXPECT_FALSE(b->dropLines(stale, rowPoint(*b, 1, 0), true));
  LinesDragData wrong = dragOf(*a);
  wrong.magic[0] = 'X';
  EXPECT_FALSE(b->dropLines(wrong, rowPoint(*b, 1, 0), true));
}

TEST_F(EditorFixture, dragWithTheMouseMovesLines) {
  TPLEditorWnd* a = set->openOwned(ownedTree(), "a");
  ASSERT_TRUE(a);
  SetWindowPos(a->hwnd(), HWND_TOPMOST, 50, 50, 0, 0, SWP_NOSIZE);
  pump();
  a->selectOnly(6, false);
  // The list reports the start of a drag; the mouse then moves over a2 (level 2) and is let go.
  NMLISTVIEW begin{};
  begin.hdr.hwndFrom = a->listWindow();
  begin.hdr.idFrom = 100;
  begin.hdr.code = LVN_BEGINDRAG;
  begin.iItem = 6;
  SendMessageA(a->hwnd(), WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&begin));
  POINT p = rowPoint(*a, 3, 30);
  MapWindowPoints(a->listWindow(), a->hwnd(), &p, 1);
  SendMessageA(a->hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  SendMessageA(a->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  pump();
  EXPECT_EQ(shape(a->playlist()), "root@0 A@1 a1@2 a2@2 c@2 B@1 b1@2");
}

TEST_F(EditorFixture, quickSearchTypingAndArrowsAndEscape) {
  TPLEditorWnd* e = set->openOwned(ownedTree(), "tree");
  ASSERT_TRUE(e);
  SetWindowTextA(e->searchWindow(), "A");  // EN_CHANGE: from line 1 on, ignoring case
  pump();
  EXPECT_EQ(e->selection(), (std::vector<int32_t>{1}));
  MSG down{e->searchWindow(), WM_KEYDOWN, VK_DOWN, 1, 0, {}};
  EXPECT_TRUE(TPLEditorWnd::translateEditorMessage(down));
  EXPECT_EQ(e->selection(), (std::vector<int32_t>{2}));
  SetWindowTextA(e->searchWindow(), "root");  // only the root has it: nothing changes
  pump();
  EXPECT_EQ(e->selection(), (std::vector<int32_t>{2}));
  MSG esc{e->searchWindow(), WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
  EXPECT_TRUE(TPLEditorWnd::translateEditorMessage(esc));
  char text[16] = "?";
  GetWindowTextA(e->searchWindow(), text, sizeof(text));
  EXPECT_STREQ(text, "");
  EXPECT_FALSE(TPLEditorWnd::translateEditorMessage(esc));  // empty: not used
}

TEST_F(EditorFixture, f2EditsAHeadingsOwnDescription) {
  Playlist pl = ownedTree();
  PlaylistLine heading{};
  heading.flags = kHeading;
  heading.level = 1;
  plAddLine(pl, &heading, "", "Old title", "");
  TPLEditorWnd* e = set->openOwned(pl, "tree");
  ASSERT_TRUE(e);
  e->selectOnly(7, false);
  key(e->listWindow(), VK_F2);
  HWND edit = ListView_GetEditControl(e->listWindow());
  ASSERT_TRUE(edit);
  char text[64] = {};
  GetWindowTextA(edit, text, sizeof(text));
  EXPECT_STREQ(text, "Old title");
  SetWindowTextA(edit, "New title");
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
  SendMessageA(edit, WM_CHAR, VK_RETURN, 1);
  pump();
  EXPECT_STREQ(plGetDesc(e->playlist(), 7), "New title");
  EXPECT_TRUE(e->modified());
}

TEST_F(EditorFixture, savingRulesWriteTheFilesTheyShould) {
  const std::string dir = zvtest::freshDir("saving");
  const std::string m3u = dir + "\\mix.m3u";
  const std::string song = dir + "\\one.mp3";
  zvtest::writeFile(song, "x", 1);
  const std::string text = "Z:\\a\\first.mp3\r\nZ:\\a\\second.mp3\r\n";
  zvtest::writeFile(m3u, text.data(), text.size());
  TPLEditorWnd* e = set->openLocation(m3u);
  ASSERT_TRUE(e);
  ASSERT_EQ(plGetCount(e->playlist()), 3);
  // Flat contents: straight into the M3U file, without a question.
  e->selectOnly(2, false);
  key(e->listWindow(), VK_DELETE);
  EXPECT_TRUE(e->save());
  EXPECT_TRUE(host.dialogsScript.asked.empty());
  EXPECT_FALSE(e->modified());
  {
    List back;
    ASSERT_EQ(plLoad(back, m3u.c_str(), 0), plResultOk);
    ASSERT_EQ(plGetCount(back), 1);
    EXPECT_STREQ(plGetName(back, 0), "Z:\\a\\first.mp3");
  }
  // A group: the warning; Cancel writes nothing, OK asks for a Z3U file.
  e->selectOnly(1, false);
  command(*e, "add_group");
  host.dialogsScript.answers = {IDCANCEL};
  EXPECT_FALSE(e->save());
  ASSERT_EQ(host.dialogsScript.asked.size(), 1u);
  EXPECT_EQ(host.dialogsScript.asked[0], "Playlist contains groups and therefore can be saved only in Z3U format.");
  const std::string z3u = dir + "\\mix.z3u";
  host.dialogsScript.answers = {IDOK};
  host.dialogsScript.files = {z3u};
  EXPECT_TRUE(e->save());
  EXPECT_EQ(host.dialogsScript.filters.back(), "Z3U playlists (*.z3u)|*.z3u");
  List back;
  ASSERT_EQ(plLoad(back, z3u.c_str(), 0), plResultOk);
  std::string found;
  for (int32_t i = 0; i < plGetCount(back); ++i) found += std::string(plGetDesc(back, i)) + "|" + plGetName(back, i) + ";";
  EXPECT_NE(found.find("New group"), std::string::npos) << found;
  EXPECT_NE(found.find("first.mp3"), std::string::npos) << found;
  // The M3U file kept its flat contents.
  List m3uBack;
  plLoad(m3uBack, m3u.c_str(), 0);
  EXPECT_EQ(plGetCount(m3uBack), 1);
}

TEST_F(EditorFixture, closePromptCancelKeepsNoClosesYesSaves) {
  const std::string dir = zvtest::freshDir("closing");
  const std::string m3u = dir + "\\list.m3u";
  const std::string text = "Z:\\a\\first.mp3\r\nZ:\\a\\second.mp3\r\n";
  zvtest::writeFile(m3u, text.data(), text.size());
  TPLEditorWnd* e = set->openLocation(m3u);
  ASSERT_TRUE(e);
  HWND window = e->hwnd();
  e->selectOnly(1, false);
  key(e->listWindow(), VK_DELETE);
  host.dialogsScript.answers = {IDCANCEL};
  SendMessageA(window, WM_CLOSE, 0, 0);
  pump();
  ASSERT_TRUE(IsWindow(window));
  ASSERT_EQ(host.dialogsScript.asked.size(), 1u);
  EXPECT_EQ(host.dialogsScript.asked[0], "Save changes to list?");
  host.dialogsScript.answers = {IDYES};
  SendMessageA(window, WM_CLOSE, 0, 0);
  pump();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(set->count(), 0u);
  List back;
  plLoad(back, m3u.c_str(), 0);
  ASSERT_EQ(plGetCount(back), 1);
  EXPECT_STREQ(plGetName(back, 0), "Z:\\a\\second.mp3");
}

TEST_F(EditorFixture, columnWidthsAreStoredPerEditorNumber) {
  TPLEditorWnd* e = set->openOwned(ownedTree(), "tree");
  ASSERT_TRUE(e);
  const int number = e->number();
  ListView_SetColumnWidth(e->listWindow(), 3, 123);
  e->closeQuietly();
  pump();
  DWORD value = 0, size = sizeof(value);
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, zv::ui::winPosKeyPath().c_str(),
                         columnWidthValueName(number, 3).c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 123u);
  TPLEditorWnd* again = set->openOwned(ownedTree(), "tree");
  ASSERT_TRUE(again);
  EXPECT_EQ(again->number(), number);
  EXPECT_EQ(ListView_GetColumnWidth(again->listWindow(), 3), 123);
  // The window's place and size are the number's too.
  SetWindowPos(again->hwnd(), nullptr, 70, 90, 520, 330, SWP_NOZORDER);
  again->closeQuietly();
  pump();
  TPLEditorWnd* third = set->openOwned(ownedTree(), "tree");
  ASSERT_TRUE(third);
  RECT r{};
  GetWindowRect(third->hwnd(), &r);
  EXPECT_EQ(r.left, 70);
  EXPECT_EQ(r.top, 90);
  EXPECT_EQ(r.right - r.left, 520);
  EXPECT_EQ(r.bottom - r.top, 330);
}

TEST_F(EditorFixture, stateFilesBringTheEditorsBackAfterARestart) {
  const std::string folder = zvtest::freshDir("editors");
  host.main.add(tree());
  zvtest::writeFile(folder + "\\00000777", "ZORV0002 too short", 18);  // stale and damaged
  TPLEditorWnd* owned = set->openOwned(ownedTree(), "Owned one");
  TPLEditorWnd* mainEd = set->openMain();
  ASSERT_TRUE(owned && mainEd);
  owned->selectOnly(4, false);
  key(owned->listWindow(), VK_DELETE);  // modified
  mainEd->selectOnly(3, false);
  const int ownedNumber = owned->number(), mainNumber = mainEd->number();
  set->saveAndCloseAll(folder);
  pump();
  EXPECT_EQ(set->count(), 0u);
  EXPECT_EQ(GetFileAttributesA((folder + "\\00000777").c_str()), INVALID_FILE_ATTRIBUTES);

  set = std::make_unique<EditorSet>(host);
  EXPECT_EQ(set->restoreAll(folder), 2);
  TPLEditorWnd* a = nullptr;
  TPLEditorWnd* b = nullptr;
  for (TPLEditorWnd* e : set->editors()) (e->ownsPlaylist() ? a : b) = e;
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->number(), ownedNumber);
  EXPECT_EQ(b->number(), mainNumber);
  EXPECT_EQ(shape(a->playlist()), "root@0 A@1 a1@2 a2@2 c@1");
  EXPECT_TRUE(a->modified());
  EXPECT_EQ(a->selection(), (std::vector<int32_t>{4}));
  char caption[64] = {};
  GetWindowTextA(a->hwnd(), caption, sizeof(caption));
  EXPECT_STREQ(caption, "Owned one");
  EXPECT_EQ(b->playlist(), static_cast<Playlist>(host.main));
  EXPECT_EQ(b->selection(), (std::vector<int32_t>{3}));
}

TEST_F(EditorFixture, aHundredThousandLinesOpenAsAVirtualList) {
  Playlist pl = createPlaylist(-1);
  PlaylistLine root{};
  root.flags = kGroup;
  plAddLine(pl, &root, "Z:\\big", "big", "");
  PlaylistLine line{};
  line.level = 1;
  line.time = 1000;
  for (int i = 0; i < 100000; ++i) {
    const std::string name = "Z:\\big\\song" + std::to_string(i) + ".mp3";
    plAddLine(pl, &line, name.c_str(), ("Song " + std::to_string(i)).c_str(), "");
  }
  TPLEditorWnd* e = set->openOwned(pl, "big");
  ASSERT_TRUE(e);
  EXPECT_EQ(ListView_GetItemCount(e->listWindow()), 100001);
  SetWindowTextA(e->searchWindow(), "Song 99999");
  pump();
  EXPECT_EQ(e->selection(), (std::vector<int32_t>{100000}));
  EXPECT_GE(e->topLine(), 99000);
}

}  // namespace

namespace {

TEST_F(EditorFixture, descriptionsFillInAsTheScannerAnswers) {
  const std::string dir = zvtest::freshDir("scanned");
  // A file the scanner can describe without a decoder (its size) and one
  // that is missing.
  const std::string file = dir + "\\Harbour Song.xyz";
  const std::vector<char> bytes(3000, 'x');
  zvtest::writeFile(file, bytes.data(), bytes.size());
  Playlist pl = createPlaylist(-1);
  PlaylistLine root{};
  root.flags = kGroup;
  plAddLine(pl, &root, dir.c_str(), "", "");
  PlaylistLine line{};
  line.level = 1;
  plAddLine(pl, &line, file.c_str(), "", "");
  TPLEditorWnd* e = set->openOwned(pl, "scanned");
  ASSERT_TRUE(e);
  // Until the answer: the short description of the name.
  EXPECT_EQ(cellText(e->playlist(), 1, colName), "Harbour Song");
  ASSERT_TRUE(zvtest::waitFor(
      [&] {
        pump();
        return plGetRec(e->playlist(), 1)->size > 0;
      },
      10000))
      << "the scanner's answer reached the editor";
  EXPECT_EQ(cellText(e->playlist(), 1, colSize), "3 KB");
  EXPECT_FALSE(cellText(e->playlist(), 1, colName).empty());

  // A description given to the file elsewhere (the main window, another
  // editor, a saved tag) is news that reaches this editor's own list too.
  setDesc(file.c_str(), "Harbour Song (live)");
  EXPECT_TRUE(zvtest::waitFor(
      [&] {
        pump();
        return std::string(plGetDesc(e->playlist(), 1)) == "Harbour Song (live)";
      },
      10000))
      << plGetDesc(e->playlist(), 1);
  setDesc(file.c_str(), "");
}

}  // namespace

namespace {

// A shell drop as Explorer sends it: a DROPFILES block with the point and the
// file names (ANSI, each NUL-terminated, a final NUL).
HDROP shellDrop(const std::vector<std::string>& files, POINT at) {
  std::string names;
  for (const std::string& f : files) names += f + '\0';
  names += '\0';
  HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = at;
  drop->fNC = FALSE;
  drop->fWide = FALSE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
  GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

TEST_F(EditorFixture, filesDroppedFromTheShellGoAfterTheTargetLine) {
  const std::string dir = zvtest::freshDir("shell");
  const std::string one = dir + "\\one.mp3", two = dir + "\\two.mp3";
  zvtest::writeFile(one, "x", 1);
  zvtest::writeFile(two, "x", 1);
  TPLEditorWnd* e = set->openOwned(ownedTree(), "tree");
  ASSERT_TRUE(e);
  // Onto a2 (its lower half) at level 2; the point is in the window's coordinates.
  POINT p = rowPoint(*e, 3, 24);
  MapWindowPoints(e->listWindow(), e->hwnd(), &p, 1);
  SendMessageA(e->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(shellDrop({one, two}, p)), 0);
  pump();
  ASSERT_EQ(plGetCount(e->playlist()), 9);
  EXPECT_STREQ(plGetName(e->playlist(), 4), one.c_str());
  EXPECT_STREQ(plGetName(e->playlist(), 5), two.c_str());
  EXPECT_EQ(plGetRec(e->playlist(), 4)->level, 2);
  EXPECT_EQ(plGetRec(e->playlist(), 5)->level, 2);
  EXPECT_TRUE(e->modified());
}

}  // namespace

namespace {

COLORREF listPixel(TPLEditorWnd& e, int32_t line) {
  UpdateWindow(e.listWindow());
  RECT client{}, row{};
  GetClientRect(e.listWindow(), &client);
  ListView_GetItemRect(e.listWindow(), line, &row, LVIR_BOUNDS);
  HDC dc = GetDC(e.listWindow());
  const COLORREF c = GetPixel(dc, client.right - 3, (row.top + row.bottom) / 2);
  ReleaseDC(e.listWindow(), dc);
  return c;
}

TEST_F(EditorFixture, theLineUnderTheMouseIsLitUntilTheMouseLeaves) {
  TPLEditorWnd* e = set->openOwned(ownedTree(), "tree");
  ASSERT_TRUE(e);
  SetWindowPos(e->hwnd(), HWND_TOPMOST, 60, 60, 0, 0, SWP_NOSIZE);
  // Columns narrower than the list: the light reaches the list's edge.
  for (int c = 0; c < kColumnCount; ++c) ListView_SetColumnWidth(e->listWindow(), c, 30);
  pump();
  e->selectOnly(5, false);
  pump();
  EXPECT_EQ(listPixel(*e, 2), e->palette().background);
  POINT p = rowPoint(*e, 2, 120);
  ClientToScreen(e->listWindow(), &p);
  SetCursorPos(p.x, p.y);
  SendMessageA(e->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(e->listWindow()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(listPixel(*e, 2), e->palette().hover);
  EXPECT_EQ(listPixel(*e, 5), e->palette().selection);
  // Gone to somewhere else on the screen: the next check clears it.
  SetCursorPos(2, 1000);
  SendMessageA(e->hwnd(), WM_TIMER, 1, 0);
  EXPECT_EQ(listPixel(*e, 2), e->palette().background);
}

}  // namespace

// A playlist without a file of its own, saved through the dialog with the
// options: "Edit created playlist" makes this editor edit the written file
// (later saves go there without asking) or opens a new editor on it.
TEST_F(EditorFixture, theCreatedPlaylistIsEditedInThisWindowOrInANewOne) {
  const std::string dir = zvtest::freshDir("edit_created");
  for (const char* name : {"a.mp3", "b.mp3"}) zvtest::writeFile(dir + "\\" + name, "x", 1);
  auto newList = [&] {
    Playlist pl = createPlaylist(-1);
    List lines({{kHeading, 0, "", "New playlist", ""},
                {kFile, 1, dir + "\\a.mp3", "", ""},
                {kFile, 1, dir + "\\b.mp3", "", ""}});
    plCopy(pl, lines);
    return pl;
  };
  TPLEditorWnd* e = set->openOwned(newList(), "New playlist");
  ASSERT_TRUE(e);
  e->setModified(true);
  const std::string first = dir + "\\first.m3u";
  SaveOptions inThisWindow;
  inThisWindow.editCreated = true;
  inThisWindow.editInNewWindow = false;
  host.dialogsScript.optionAnswers.push_back(inThisWindow);
  host.dialogsScript.files.push_back(first);
  const size_t editors = set->count();
  ASSERT_TRUE(e->save());
  EXPECT_EQ(host.dialogsScript.optionTexts,
            (std::vector<std::string>{"Edit created playlist", "Edit in new window", "Save subplaylists",
                                      "Save structure"}));
  EXPECT_EQ(set->count(), editors);
  EXPECT_EQ(_stricmp(plGetName(e->playlist(), 0), first.c_str()), 0) << plGetName(e->playlist(), 0);
  EXPECT_EQ(plGetCount(e->playlist()), 3);
  EXPECT_FALSE(e->modified());
  // The next save goes straight to that file.
  e->selectOnly(2, false);
  key(e->listWindow(), VK_DELETE);
  ASSERT_TRUE(e->save());
  EXPECT_TRUE(host.dialogsScript.files.empty());
  const auto written = zvtest::readFile(first);
  const std::string text(written.begin(), written.end());
  EXPECT_NE(text.find("a.mp3"), std::string::npos);
  EXPECT_EQ(text.find("b.mp3"), std::string::npos);

  // The default of the second box: a new editor edits the file.
  TPLEditorWnd* other = set->openOwned(newList(), "New playlist");
  ASSERT_TRUE(other);
  SaveOptions inNewWindow;
  inNewWindow.editCreated = true;
  host.dialogsScript.optionAnswers.push_back(inNewWindow);
  host.dialogsScript.files.push_back(dir + "\\second.m3u");
  const size_t before = set->count();
  ASSERT_TRUE(other->save());
  ASSERT_EQ(set->count(), before + 1);
  EXPECT_EQ(plGetName(other->playlist(), 0), std::string()) << "this editor keeps its list";
  bool found = false;
  for (TPLEditorWnd* w : set->editors())
    if (_stricmp(plGetName(w->playlist(), 0), (dir + "\\second.m3u").c_str()) == 0) found = true;
  EXPECT_TRUE(found);
}

// The editors' texts come from "pleditor.lng" of the chosen language, as the
// program installs it.
TEST_F(EditorFixture, theEditorsTextsComeFromTheirLanguageFile) {
  set.reset();
  host.lang = "ru";
  set = std::make_unique<EditorSet>(host);
  EXPECT_EQ(set->text("FindCur###Find current"), "\xcd\xe0\xe9\xf2\xe8 \xf2\xe5\xea\xf3\xf9\xe8\xe9");
  EXPECT_EQ(set->text("SaveSubPl###Save subplaylists"),
            "\xd1\xee\xf5\xf0\xe0\xed\xe8\xf2\xfc \xe2\xeb\xee\xe6\xe5\xed\xed\xfb\xe5 \xf1\xef\xe8\xf1\xea\xe8");
  set.reset();
  host.lang = "en";
  set = std::make_unique<EditorSet>(host);
  EXPECT_EQ(set->text("SaveSubPl###-"), "Save subplaylists") << "the English file, not the built-in text";
}

namespace {

// The pixels of a rectangle of a window as it is on the screen.
std::vector<uint32_t> grab(HWND w, const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(w);
  zv::UniqueMemoryDc mem(CreateCompatibleDC(screen));
  zv::UniqueBitmap dib(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  std::vector<uint32_t> px;
  if (mem && dib && bits) {
    HGDIOBJ old = SelectObject(mem.get(), dib.get());
    BitBlt(mem.get(), 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    px.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + width * height);
    SelectObject(mem.get(), old);
  }
  ReleaseDC(w, screen);
  return px;
}

// The share of the pixels of `after` that equal those of `before` `dx` to the right.
double shiftedMatch(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after, int width, int dx) {
  if (before.empty() || before.size() != after.size()) return 0;
  const int height = static_cast<int>(before.size()) / width;
  size_t same = 0, all = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x + dx < width; ++x, ++all)
      if ((after[y * width + x] & 0xFFFFFF) == (before[y * width + x + dx] & 0xFFFFFF)) ++same;
  return all ? static_cast<double>(same) / all : 0;
}

bool hasHorizontalBar(HWND list) {
  SCROLLINFO si{sizeof(si), SIF_ALL};
  return (GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL) && GetScrollInfo(list, SB_HORZ, &si) &&
         si.nMax >= static_cast<int>(si.nPage) && si.nPage > 0;
}

}  // namespace

// Columns wider than the window: the list has the system's horizontal
// scroll bar, and scrolling it moves the rows the editor draws and its
// column header alike; columns that fit need no bar.
TEST_F(EditorFixture, wideColumnsScrollSidewaysWithTheirHeader) {
  TPLEditorWnd* e = set->openOwned(ownedTree(), "tree");
  ASSERT_TRUE(e);
  SetWindowPos(e->hwnd(), HWND_TOPMOST, 60, 60, 420, 300, SWP_SHOWWINDOW);
  HWND list = e->listWindow();
  for (int c = 0; c < kColumnCount; ++c) ListView_SetColumnWidth(list, c, 120);
  RedrawWindow(e->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  pump();
  ASSERT_TRUE(hasHorizontalBar(list)) << "nine columns of 120 pixels in a 420-pixel window";
  SCROLLINFO si{sizeof(si), SIF_ALL};
  GetScrollInfo(list, SB_HORZ, &si);
  EXPECT_EQ(si.nPos, 0);

  RECT rows{};
  GetClientRect(list, &rows);
  rows.bottom = std::min<LONG>(rows.bottom, 100);
  RECT header{};
  GetClientRect(e->hwnd(), &header);
  POINT listTop{0, 0};
  MapWindowPoints(list, e->hwnd(), &listTop, 1);
  header = {listTop.x, listTop.y - 20, listTop.x + rows.right, listTop.y};
  const auto rowsBefore = grab(list, rows);
  const auto headerBefore = grab(e->hwnd(), header);

  constexpr int kShift = 100;
  ListView_Scroll(list, kShift, 0);
  RedrawWindow(e->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  pump();
  GetScrollInfo(list, SB_HORZ, &si);
  EXPECT_EQ(si.nPos, kShift);
  const auto rowsAfter = grab(list, rows);
  const auto headerAfter = grab(e->hwnd(), header);
  // Mostly background: what counts is how many pixels differ, in place and
  // when shifted by the scrolled distance.
  const double unmoved = 1 - shiftedMatch(rowsBefore, rowsAfter, rows.right, 0);
  const double moved = 1 - shiftedMatch(rowsBefore, rowsAfter, rows.right, kShift);
  EXPECT_GT(unmoved, 0.005) << "the rows changed";
  EXPECT_LT(moved * 4, unmoved) << "the rows moved by the scrolled distance";
  const int headerWidth = header.right - header.left;
  const double headerUnmoved = 1 - shiftedMatch(headerBefore, headerAfter, headerWidth, 0);
  const double headerMoved = 1 - shiftedMatch(headerBefore, headerAfter, headerWidth, kShift);
  EXPECT_GT(headerUnmoved, 0.005);
  EXPECT_LT(headerMoved * 4, headerUnmoved) << "the header follows the rows";

  // Narrow columns fit: no bar.
  ListView_Scroll(list, -kShift, 0);
  for (int c = 0; c < kColumnCount; ++c) ListView_SetColumnWidth(list, c, 30);
  pump();
  EXPECT_FALSE(hasHorizontalBar(list));
  // The next test's editor of this number starts with the usual widths.
  for (int c = 0; c < kColumnCount; ++c) ListView_SetColumnWidth(list, c, defaultColumnWidth(c));
}
