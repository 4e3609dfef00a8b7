// The "Open file" dialog: what it lists of a real folder, where its keys and
// buttons lead, and what it answers (the chosen locations and the open mode
// of its two boxes); and the rules beneath it, on real folders and an engine
// playlist.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "about_fixture.h"
#include "openfile/open_file_list_item.h"
#include "openfile/open_file_window.h"
#include "skin_bitmap.h"
#include "win32/owners.h"
#include "testkit.h"
#include "zv_playlist.h"

using zv::OpenFileChoice;
using zv::OpenFileOptions;
using zv::TOpenFileWnd;
namespace of = zv::openfile;

namespace {

void touch(const std::string& path) { ASSERT_TRUE(zvtest::writeFile(path, "x", 1)) << path; }

// a.wav, B.mp3, c.m3u, d.txt, hidden.wav (hidden), and the folders Zeta, alpha.
std::string sampleFolder() {
  const std::string dir = zvtest::freshDir("openfile");
  for (const char* name : {"a.wav", "B.MP3", "c.m3u", "d.txt", "hidden.wav"}) touch(dir + "\\" + name);
  SetFileAttributesA((dir + "\\hidden.wav").c_str(), FILE_ATTRIBUTE_HIDDEN);
  CreateDirectoryA((dir + "\\Zeta").c_str(), nullptr);
  CreateDirectoryA((dir + "\\alpha").c_str(), nullptr);
  touch(dir + "\\alpha\\inner.wav");
  return dir;
}

std::vector<std::string> names(const std::vector<of::FolderEntry>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries) out.push_back(e.folder ? "[" + e.name + "]" : e.name);
  return out;
}

const std::vector<std::string> kPlayable{".wav", ".mp3"};

TEST(OpenFileRules, listFolder_foldersFirstByNameIgnoringCase_filtered_hiddenLeftOut) {
  const std::string dir = sampleFolder();
  auto wanted = [](const std::string& n) { return of::isListedFile(n, kPlayable); };
  EXPECT_EQ(names(of::listFolder(dir, wanted)),
            (std::vector<std::string>{"[alpha]", "[Zeta]", "a.wav", "B.MP3", "c.m3u"}));
  EXPECT_EQ(names(of::listFolder(dir, {})),
            (std::vector<std::string>{"[alpha]", "[Zeta]", "a.wav", "B.MP3", "c.m3u", "d.txt"}))
      << "no filter: every entry but the hidden one";
  EXPECT_TRUE(of::listFolder(dir + "\\missing", wanted).empty());
}

TEST(OpenFileRules, entryKind_foldersPlaylistsAndEverythingElsePlays) {
  struct Case {
    of::FolderEntry entry;
    of::EntryKind kind;
  };
  const Case cases[] = {
      {{"Albums", true}, of::EntryKind::folder},       {{"list.m3u", true}, of::EntryKind::folder},
      {{"a.wav", false}, of::EntryKind::media},        {{"B.MP3", false}, of::EntryKind::media},
      {{"noextension", false}, of::EntryKind::media},  {{"c.m3u", false}, of::EntryKind::playlist},
      {{"D.PLS", false}, of::EntryKind::playlist},     {{"e.z3u", false}, of::EntryKind::playlist},
      {{"g.aap", false}, of::EntryKind::playlist},
      {{"m3u", false}, of::EntryKind::media},
  };
  for (const Case& c : cases) EXPECT_EQ(of::entryKind(c.entry), c.kind) << c.entry.name;
}

TEST(OpenFileRules, pathsModesAndTheRecentList) {
  struct Up {
    const char* from;
    const char* to;
  } ups[] = {{"C:\\a\\b", "C:\\a"}, {"C:\\a\\b\\", "C:\\a"}, {"C:\\a", "C:\\"}, {"C:\\", "C:\\"},
             {"\\\\srv\\share", "\\\\srv\\share"}, {"\\\\srv\\share\\x", "\\\\srv\\share"}};
  for (const Up& u : ups) EXPECT_EQ(of::parentFolder(u.from), u.to) << u.from;
  EXPECT_EQ(of::joinPath("C:\\", "x.wav"), "C:\\x.wav");
  EXPECT_EQ(of::joinPath("C:\\m", "x.wav"), "C:\\m\\x.wav");

  struct Listed {
    const char* name;
    std::vector<std::string> extensions;
    bool listed;
  } listed[] = {{"x.WAV", kPlayable, true},  {"x.txt", kPlayable, false}, {"x.Pls", kPlayable, true},
                {"x.z3u", kPlayable, true},  {"noext", kPlayable, false}, {"x.txt", {}, true}};
  for (const Listed& l : listed) EXPECT_EQ(of::isListedFile(l.name, l.extensions), l.listed) << l.name;

  EXPECT_EQ(of::openModeOfBoxes(false, false), OpenMode(ZV_OPEN_NEW_PLAYLIST));
  EXPECT_EQ(of::openModeOfBoxes(true, false), OpenMode(ZV_OPEN_ADD));
  EXPECT_EQ(of::openModeOfBoxes(false, true), OpenMode(ZV_OPEN_PLAY));
  EXPECT_EQ(of::openModeOfBoxes(true, true), OpenMode(ZV_OPEN_ADD | ZV_OPEN_PLAY));

  EXPECT_TRUE(of::goesToRecent("C:\\m", true));
  EXPECT_TRUE(of::goesToRecent("C:\\m\\list.M3U", false));
  EXPECT_FALSE(of::goesToRecent("C:\\m\\song.wav", false));

  Playlist recent = createPlaylist(-1);
  ASSERT_NE(recent, nullptr);
  of::enterRecent(recent, "C:\\one", 3);
  of::enterRecent(recent, "C:\\two", 3);
  of::enterRecent(recent, "C:\\ONE", 3);  // moves up, not doubled
  of::enterRecent(recent, "C:\\three.m3u", 3);
  of::enterRecent(recent, "C:\\four", 3);
  std::vector<std::string> lines;
  for (int32_t i = 0; i < plGetCount(recent); ++i) lines.push_back(plGetName(recent, i));
  EXPECT_EQ(lines, (std::vector<std::string>{"C:\\four", "C:\\three.m3u", "C:\\ONE"}));
  freePlaylist(recent);
}

std::vector<std::string> listTexts(HWND list) {
  std::vector<std::string> out;
  const int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char text[MAX_PATH] = {};
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    out.push_back(text);
  }
  return out;
}

OpenFileOptions options(const std::string& folder) {
  OpenFileOptions o;
  o.folder = folder;
  o.extensions = kPlayable;
  return o;
}

TEST(OpenFileWindow, listsTheFolder_choosesSeveral_boxesGiveTheMode) {
  WINDOWS_NEED_DISPLAY();
  const std::string dir = sampleFolder();
  wintest::Owner owner;
  TOpenFileWnd w;
  ASSERT_TRUE(w.create(zvtest::rootDir(), owner.hwnd(), options(dir)));
  EXPECT_EQ(listTexts(w.list()), (std::vector<std::string>{"[alpha]", "[Zeta]", "a.wav", "B.MP3", "c.m3u"}));
  char path[MAX_PATH] = {};
  GetWindowTextA(w.pathField(), path, sizeof(path));
  EXPECT_EQ(std::string(path), dir);
  EXPECT_FALSE(w.addBox().checked()) << "defaults: a new playlist";
  EXPECT_TRUE(w.playBox().checked()) << "that plays";

  // A folder and two files chosen; "Add" ticked, "Play" unticked; "Open".
  for (int i : {0, 2, 4}) SendMessageA(w.list(), LB_SETSEL, TRUE, i);
  wintest::postClick(w.hwnd(), w.addBox().rect());
  wintest::postClick(w.hwnd(), w.playBox().rect());
  wintest::postClick(w.hwnd(), w.openButton().rect());
  const std::optional<OpenFileChoice> choice = w.runModal();
  ASSERT_TRUE(choice);
  EXPECT_EQ(names(choice->chosen),
            (std::vector<std::string>{"[" + dir + "\\alpha]", dir + "\\a.wav", dir + "\\c.m3u"}));
  EXPECT_EQ(choice->mode(), OpenMode(ZV_OPEN_ADD));
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd())) << "the owner takes input again";
  EXPECT_FALSE(IsWindowVisible(w.hwnd()));
}

TEST(OpenFileWindow, enterGoesIntoAFolder_backspaceUp_typedFileOpens_escapeCancels) {
  WINDOWS_NEED_DISPLAY();
  const std::string dir = sampleFolder();
  {
    TOpenFileWnd w;
    ASSERT_TRUE(w.create(zvtest::rootDir(), nullptr, options(dir)));
    SendMessageA(w.list(), LB_SETSEL, TRUE, 0);  // [alpha]
    PostMessageA(w.list(), WM_KEYDOWN, VK_RETURN, 1);
    // Then typed into the field over what it shows: a name alone is taken
    // in the folder shown.
    PostMessageA(w.pathField(), EM_SETSEL, 0, -1);
    for (char ch : std::string("inner.wav")) PostMessageA(w.pathField(), WM_CHAR, static_cast<unsigned char>(ch), 1);
    PostMessageA(w.pathField(), WM_KEYDOWN, VK_RETURN, 1);
    const auto choice = w.runModal();
    ASSERT_TRUE(choice);
    EXPECT_EQ(w.folder(), dir + "\\alpha");
    EXPECT_EQ(names(choice->chosen), (std::vector<std::string>{dir + "\\alpha\\inner.wav"}));
    EXPECT_EQ(choice->mode(), OpenMode(ZV_OPEN_PLAY));
  }
  {
    TOpenFileWnd w;
    ASSERT_TRUE(w.create(zvtest::rootDir(), nullptr, options(dir + "\\alpha")));
    PostMessageA(w.list(), WM_KEYDOWN, VK_BACK, 1);
    PostMessageA(w.list(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(w.runModal(), std::nullopt);
    EXPECT_EQ(w.folder(), dir) << "Backspace went up";
  }
  {
    // "Up" and a quick folder; the window's close cancels.
    OpenFileOptions o = options(dir + "\\alpha");
    o.quickFolders = {dir + "\\Zeta", "C:\\"};
    TOpenFileWnd w;
    ASSERT_TRUE(w.create(zvtest::rootDir(), nullptr, o));
    ASSERT_EQ(w.quickFolderCount(), 2u);
    wintest::sendClick(w.hwnd(), w.upButton().rect());
    EXPECT_EQ(w.folder(), dir);
    wintest::sendClick(w.hwnd(), w.quickFolder(0).rect());
    EXPECT_EQ(w.folder(), dir + "\\Zeta");
    EXPECT_TRUE(listTexts(w.list()).empty());
    EXPECT_FALSE(w.navigate(dir + "\\a.wav")) << "a file is no folder";
    EXPECT_EQ(w.folder(), dir + "\\Zeta");
    PostMessageA(w.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(w.runModal(), std::nullopt);
  }
}

}  // namespace

// Each line is drawn with the picture of its kind from the skins' controls
// folder, at the line's left and in its middle, the name beside it; the
// line's own text keeps the "[name]" form of folders.
TEST(OpenFileWindow, linesShowThePictureOfTheirKind) {
  WINDOWS_NEED_DISPLAY();
  const std::string dir = sampleFolder();
  const zv::ui::SkinBitmap pictures(zv::ui::loadBitmapFile(zvtest::rootDir() + "\\skins\\controls\\filekinds.bmp"));
  ASSERT_EQ(pictures.width(), 3 * of::kKindPictureSide);
  ASSERT_EQ(pictures.height(), of::kKindPictureSide);
  TOpenFileWnd w;
  ASSERT_TRUE(w.create(zvtest::rootDir(), nullptr, options(dir)));
  EXPECT_EQ(listTexts(w.list()), (std::vector<std::string>{"[alpha]", "[Zeta]", "a.wav", "B.MP3", "c.m3u"}));
  const int rowHeight = static_cast<int>(SendMessageA(w.list(), LB_GETITEMHEIGHT, 0, 0));
  ASSERT_GE(rowHeight, of::kKindPictureSide);

  // The list drawn into a picture of its own (the dialog draws the lines).
  RECT client{};
  GetClientRect(w.list(), &client);
  uint32_t* bits = nullptr;
  zv::UniqueBitmap canvas = zv::ui::createDib(client.right, client.bottom, &bits);
  ASSERT_TRUE(canvas && bits);
  zv::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  {
    zv::SelectedObject selected(dc.get(), canvas.get());
    SendMessageA(w.list(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT | PRF_ERASEBKGND);
  }
  auto shown = [&](int x, int y) { return bits[static_cast<size_t>(y) * client.right + x] & 0xFFFFFF; };

  const of::EntryKind kinds[] = {of::EntryKind::folder, of::EntryKind::folder, of::EntryKind::media,
                                 of::EntryKind::media, of::EntryKind::playlist};
  for (int line = 0; line < 5; ++line) {
    const int kind = static_cast<int>(kinds[line]);
    const int top = line * rowHeight + (rowHeight - of::kKindPictureSide) / 2;
    int differing = 0, drawn = 0;
    for (int y = 0; y < of::kKindPictureSide; ++y)
      for (int x = 0; x < of::kKindPictureSide; ++x) {
        const uint32_t want = pictures.image().at(kind * of::kKindPictureSide + x, y) & 0xFFFFFF;
        if (want == 0xFF00FF) continue;  // transparent
        ++drawn;
        if (shown(3 + x, top + y) != want) ++differing;
      }
    EXPECT_GT(drawn, 40) << line;
    EXPECT_EQ(differing, 0) << "line " << line << " shows the picture of kind " << kind;
  }
}
