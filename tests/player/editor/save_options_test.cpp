// The options of the save dialog for a playlist without a file of its own:
// subplaylists written back to their own files, with or without the files
// referring to them, the format rule per file, and the real system dialog
// (its dependent boxes shown only while the box above is checked).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "editor_save_options.h"
#include "editor_test_lists.h"
#include "save_options_dialog.h"
#include "testkit.h"
#include "win32/owners.h"

using namespace zv::editor;
using edtest::kFile;
using edtest::kHeading;
using edtest::List;

namespace {

constexpr uint32_t kSubPlaylist = lfGroup | lfPlaylist, kPlaylistLineOnly = lfPlaylist;

std::string fileText(const std::string& path) {
  const auto bytes = zvtest::readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

// A new playlist: "mix.m3u" (two songs) as a subplaylist, then a song.
std::vector<edtest::Line> withSubPlaylist(const std::string& dir, const std::string& subName) {
  return {{kHeading, 0, "", "New playlist", ""},
          {kSubPlaylist, 1, dir + "\\" + subName, "", ""},
          {kFile, 2, dir + "\\one.mp3", "", ""},
          {kFile, 2, dir + "\\two.mp3", "", ""},
          {kFile, 1, dir + "\\three.mp3", "", ""}};
}

// The file names a text playlist lists, in order (comments left out).
std::vector<std::string> listed(const std::string& path) {
  std::vector<std::string> out;
  std::string text = fileText(path), line;
  for (char c : text + "\n") {
    if (c == '\r') continue;
    if (c != '\n') {
      line += c;
      continue;
    }
    if (!line.empty() && line[0] != '#') out.push_back(line.substr(line.find_last_of('\\') + 1));
    line.clear();
  }
  return out;
}

}  // namespace

TEST(EditorSaveOptions, hiddenBoxesCountAsUnchecked) {
  SaveOptions o;
  o.editCreated = false;
  o.editInNewWindow = true;
  o.saveSubPlaylists = false;
  o.saveStructure = true;
  EXPECT_FALSE(shownOptions(o).editInNewWindow);
  EXPECT_FALSE(shownOptions(o).saveStructure);
  const SaveOptions e = effectiveOptions(o);
  EXPECT_FALSE(e.editInNewWindow);
  EXPECT_FALSE(e.saveStructure);
  o.editCreated = o.saveSubPlaylists = true;
  EXPECT_TRUE(shownOptions(o).editInNewWindow);
  EXPECT_TRUE(effectiveOptions(o).saveStructure);
}

TEST(EditorSaveOptions, onlyGroupsOfLocalPlaylistFilesAreSubPlaylists) {
  List pl({{kHeading, 0, "", "root", ""},
           {kSubPlaylist, 1, "C:\\lists\\a.m3u", "", ""},
           {kSubPlaylist | lfDirectory, 1, "C:\\music", "", ""},
           {kSubPlaylist, 1, "http://host/list.m3u", "", ""},
           {kHeading, 1, "", "heading", ""},
           {kPlaylistLineOnly, 1, "C:\\lists\\b.m3u", "", ""}});
  EXPECT_FALSE(isSubPlaylist(pl, 0)) << "the root is the list itself";
  EXPECT_TRUE(isSubPlaylist(pl, 1));
  EXPECT_FALSE(isSubPlaylist(pl, 2));
  EXPECT_FALSE(isSubPlaylist(pl, 3));
  EXPECT_FALSE(isSubPlaylist(pl, 4));
  EXPECT_FALSE(isSubPlaylist(pl, 5)) << "a playlist line that was not expanded has no lines to write";
}

TEST(EditorSaveOptions, withStructureTheFileRefersToTheSubPlaylistWrittenBeside) {
  const std::string dir = zvtest::freshDir("save_structure");
  List pl(withSubPlaylist(dir, "mix.m3u"));
  SaveOptions o;
  o.saveSubPlaylists = o.saveStructure = true;
  std::vector<std::string> failed;
  ASSERT_TRUE(saveWithOptions(pl, dir + "\\all.m3u", o, failed));
  EXPECT_TRUE(failed.empty());
  EXPECT_EQ(listed(dir + "\\mix.m3u"), (std::vector<std::string>{"one.mp3", "two.mp3"}));
  EXPECT_EQ(listed(dir + "\\all.m3u"), (std::vector<std::string>{"mix.m3u", "three.mp3"}));
}

TEST(EditorSaveOptions, withoutStructureTheGroupsNeedZ3uAndTheSubPlaylistIsStillWritten) {
  const std::string dir = zvtest::freshDir("save_nostructure");
  List pl(withSubPlaylist(dir, "mix.m3u"));
  SaveOptions o;
  o.saveSubPlaylists = true;
  std::vector<std::string> failed;
  EXPECT_FALSE(saveWithOptions(pl, dir + "\\all.m3u", o, failed)) << "an M3U file cannot hold the group";
  EXPECT_EQ(failed, (std::vector<std::string>{dir + "\\all.m3u"}));
  EXPECT_EQ(GetFileAttributesA((dir + "\\all.m3u").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(listed(dir + "\\mix.m3u"), (std::vector<std::string>{"one.mp3", "two.mp3"}));
  failed.clear();
  EXPECT_TRUE(saveWithOptions(pl, dir + "\\all.z3u", o, failed));
  EXPECT_TRUE(failed.empty());
  EXPECT_NE(fileText(dir + "\\all.z3u").find("two.mp3"), std::string::npos);
}

TEST(EditorSaveOptions, withoutTheOptionNoSubPlaylistIsTouched) {
  const std::string dir = zvtest::freshDir("save_nosub");
  List pl(withSubPlaylist(dir, "mix.m3u"));
  std::vector<std::string> failed;
  EXPECT_TRUE(saveWithOptions(pl, dir + "\\all.z3u", SaveOptions{}, failed));
  EXPECT_EQ(GetFileAttributesA((dir + "\\mix.m3u").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(EditorSaveOptions, aSubPlaylistWithGroupsInAnM3uFileIsNamedAndLeftAlone) {
  const std::string dir = zvtest::freshDir("save_subgroups");
  List pl({{kHeading, 0, "", "root", ""},
           {kSubPlaylist, 1, dir + "\\mix.m3u", "", ""},
           {kHeading, 2, "", "inner", ""},
           {kFile, 3, dir + "\\one.mp3", "", ""},
           {kFile, 1, dir + "\\three.mp3", "", ""}});
  zvtest::writeFile(dir + "\\mix.m3u", "kept\r\n", 6);
  SaveOptions o;
  o.saveSubPlaylists = o.saveStructure = true;
  std::vector<std::string> failed;
  EXPECT_TRUE(saveWithOptions(pl, dir + "\\all.m3u", o, failed));
  EXPECT_EQ(failed, (std::vector<std::string>{dir + "\\mix.m3u"}));
  EXPECT_EQ(fileText(dir + "\\mix.m3u"), "kept\r\n") << "the old file stays as it was";
}

// ---- The system dialog, driven from a timer of the test's thread ----

namespace {

struct DialogDriver {
  std::string target;
  int attempts = 0;
  bool editNewWindowHiddenAtFirst = false, editNewWindowShownAfterClick = false, editNewWindowCheckedByDefault = false;
  bool structureHiddenAtFirst = false, structureShownAfterClick = false;
  bool done = false;
};
DialogDriver* g_driver = nullptr;

struct FindOption {
  int id;
  HWND found;
};

BOOL CALLBACK matchOption(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<FindOption*>(p);
  char cls[32] = {};
  GetClassNameA(w, cls, sizeof(cls));
  if (GetDlgCtrlID(w) != f->id || lstrcmpiA(cls, "Button") != 0) return TRUE;
  f->found = w;
  return FALSE;
}

HWND findOption(HWND top, int id) {
  FindOption f{id, nullptr};
  EnumChildWindows(top, matchOption, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

BOOL CALLBACK matchDialog(HWND w, LPARAM p) {
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof(cls));
  if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(w)) return TRUE;
  *reinterpret_cast<HWND*>(p) = w;
  return FALSE;
}

// The visible dialog of this thread (the save dialog).
HWND ourDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), matchDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

void CALLBACK driveDialog(HWND, UINT, UINT_PTR, DWORD) {
  DialogDriver& d = *g_driver;
  if (d.done) return;
  HWND top = ourDialog();
  if (++d.attempts > 400) {  // about 20 s: give up rather than hang
    d.done = true;
    if (top) PostMessageA(top, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  HWND boxes[4];
  for (int i = 0; i < 4; ++i)
    if (!top || !(boxes[i] = findOption(top, kSaveOptionIds[i]))) return;
  d.done = true;
  d.editNewWindowHiddenAtFirst = !IsWindowVisible(boxes[1]);
  d.structureHiddenAtFirst = !IsWindowVisible(boxes[3]);
  SendMessageA(boxes[0], BM_CLICK, 0, 0);
  SendMessageA(boxes[2], BM_CLICK, 0, 0);
  d.editNewWindowShownAfterClick = IsWindowVisible(boxes[1]) != FALSE;
  d.editNewWindowCheckedByDefault = SendMessageA(boxes[1], BM_GETCHECK, 0, 0) == BST_CHECKED;
  d.structureShownAfterClick = IsWindowVisible(boxes[3]) != FALSE;
  SendMessageA(boxes[3], BM_CLICK, 0, 0);
  // The file name box: edt1 or, in the explorer layout, the combo cmb13.
  for (int id : {0x480, 0x47c}) SetDlgItemTextA(top, id, d.target.c_str());
  PostMessageA(top, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(top, IDOK)));
}

}  // namespace

TEST(EditorSaveOptionsDialog, theSystemDialogShowsTheDependentBoxesOnlyWhileTheBoxAboveIsChecked) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
  DialogDriver driver;
  driver.target = zvtest::freshDir("save_dialog") + "\\chosen.m3u";
  g_driver = &driver;
  SaveOptions options;
  std::optional<std::string> chosen;
  {
    zv::UniqueThreadTimer timer(SetTimer(nullptr, 0, 50, driveDialog));
    chosen = runSaveOptionsDialog(nullptr, "Playlists (*.m3u)|*.m3u", "m3u", options,
                                  {"Edit created playlist", "Edit in new window", "Save subplaylists",
                                   "Save structure"});
  }
  g_driver = nullptr;
  ASSERT_TRUE(chosen.has_value()) << "the dialog was not answered (" << driver.attempts << " tries)";
  EXPECT_EQ(_stricmp(chosen->c_str(), driver.target.c_str()), 0) << *chosen;
  EXPECT_TRUE(driver.editNewWindowHiddenAtFirst);
  EXPECT_TRUE(driver.structureHiddenAtFirst);
  EXPECT_TRUE(driver.editNewWindowShownAfterClick);
  EXPECT_TRUE(driver.editNewWindowCheckedByDefault);
  EXPECT_TRUE(driver.structureShownAfterClick);
  EXPECT_TRUE(options.editCreated);
  EXPECT_TRUE(options.editInNewWindow);
  EXPECT_TRUE(options.saveSubPlaylists);
  EXPECT_TRUE(options.saveStructure);
}
