// Directories as playlists through plLoad with real folders: what is
// admitted, hidden entries, shortcuts, the order, and a medium that names
// its own playlist.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files_fixture.h"
#include "discs/cd_drive.h"
#include "playlist/medium_playlist.h"
#include "testkit.h"
#include "zv_config.h"

using pltest::dump;
using pltest::OwnedPl;
using V = std::vector<std::string>;

namespace {

bool makeShortcut(const std::string& link, const std::string& target) {
  CoInitialize(nullptr);
  IShellLinkA* sl = nullptr;
  bool ok = false;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&sl)))) {
    sl->SetPath(target.c_str());
    IPersistFile* pf = nullptr;
    if (SUCCEEDED(sl->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pf)))) {
      std::wstring wide(link.begin(), link.end());
      ok = SUCCEEDED(pf->Save(wide.c_str(), TRUE));
      pf->Release();
    }
    sl->Release();
  }
  CoUninitialize();
  return ok;
}

}  // namespace

TEST(DirectoryListing, admitsSupportedFilesAndVisibleFoldersFilesFirst) {
  pltest::ensureEngine();
  std::string d = zvtest::freshDir("list");
  pltest::makeTree(d, {"b.mp3", "A.WAV", "c.m3u", "g.z3u", "readme.txt", "noext", "a\\", "z\\", "x.pls", "y.Aap",
                       "hidden.mp3", "hid\\", ".dot.mp3"});
  SetFileAttributesA((d + "\\hidden.mp3").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA((d + "\\hid").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
  OwnedPl pl;
  ASSERT_EQ(plLoad(pl, d.c_str(), 0), plResultOk);
  V got = dump(pl, true);
  // The hidden attribute of a dot file is the system's own business; the
  // one set above must hold.
  for (const std::string& line : got) {
    EXPECT_EQ(line.find("hidden.mp3"), std::string::npos);
    EXPECT_EQ(line.find("\\hid@"), std::string::npos);
  }
  got.erase(std::remove(got.begin(), got.end(), d + "\\.dot.mp3@0#0"), got.end());
  EXPECT_EQ(got, (V{d + "\\A.WAV@0#0", d + "\\b.mp3@0#0", d + "\\a@0#408", d + "\\z@0#408", d + "\\c.m3u@0#404",
                    d + "\\x.pls@0#404", d + "\\y.Aap@0#404"}));
  // A trailing separator changes nothing.
  OwnedPl again;
  ASSERT_EQ(plLoad(again, (d + "\\").c_str(), 0), plResultOk);
  EXPECT_EQ(plGetCount(again), plGetCount(pl));
}

TEST(DirectoryListing, mediaFileSortsBeforeFolderAndFolderBeforePlaylist) {
  pltest::ensureEngine();
  std::string d = zvtest::freshDir("order");
  pltest::makeTree(d, {"c.m3u", "a\\", "b.mp3"});
  OwnedPl pl;
  ASSERT_EQ(plLoad(pl, d.c_str(), 0), plResultOk);
  EXPECT_EQ(dump(pl), (V{d + "\\b.mp3@0", d + "\\a@0", d + "\\c.m3u@0"}));
}

TEST(DirectoryListing, shortcutsStandForTheirTargets) {
  pltest::ensureEngine();
  std::string d = zvtest::freshDir("links");
  std::string elsewhere = zvtest::freshDir("linktargets");
  pltest::makeTree(elsewhere, {"song.flac", "notes.txt", "folder\\"});
  pltest::makeTree(d, {});
  ASSERT_TRUE(makeShortcut(d + "\\s.lnk", elsewhere + "\\song.flac"));
  ASSERT_TRUE(makeShortcut(d + "\\t.lnk", elsewhere + "\\notes.txt"));
  ASSERT_TRUE(makeShortcut(d + "\\f.lnk", elsewhere + "\\folder"));
  OwnedPl pl;
  ASSERT_EQ(plLoad(pl, d.c_str(), 0), plResultOk);
  EXPECT_EQ(dump(pl, true), (V{elsewhere + "\\song.flac@0#0", elsewhere + "\\folder@0#408"}));
}

TEST(DirectoryListing, autorunPlaylistReplacesTheListing) {
  pltest::ensureEngine();
  std::string d = zvtest::freshDir("autorun");
  pltest::makeTree(d, {"a.mp3", "b.mp3", "sub\\"});
  pltest::writeText(d + "\\best.m3u", "b.mp3\r\n");
  pltest::writeText(d + "\\autorun.inf", "[autorun]\r\nopen=x.exe\r\n[Zorvak]\r\nPlaylist=best.m3u\r\n");
  OwnedPl pl;
  ASSERT_EQ(plLoad(pl, d.c_str(), 0), plResultOk);
  EXPECT_EQ(dump(pl, true), V{d + "\\b.mp3@0#4000"});

  // A medium naming itself (or a folder naming its parent) must end.
  pltest::writeText(d + "\\autorun.inf", "[Zorvak]\r\nPlaylist=.\r\n");
  ASSERT_EQ(plLoad(pl, d.c_str(), 0), plResultOk);
  EXPECT_EQ(plGetCount(pl), 4) << "after a few hops the folder is listed: a.mp3, b.mp3, sub, best.m3u";

  // No section of ours: listed as usual.
  pltest::writeText(d + "\\autorun.inf", "[autorun]\r\nPlaylist=best.m3u\r\n");
  ASSERT_EQ(plLoad(pl, d.c_str(), 0), plResultOk);
  EXPECT_EQ(plGetCount(pl), 4);

  // Read as the system's profile reader reads it: names ignore case and
  // blanks, one pair of quotes goes; a UTF-16 file is still understood.
  pltest::writeText(d + "\\autorun.inf", "[zorvak]\r\n  playlist = \"best.m3u\"  \r\n");
  ASSERT_EQ(plLoad(pl, d.c_str(), 0), plResultOk);
  EXPECT_EQ(dump(pl, true), V{d + "\\b.mp3@0#4000"});
  std::string wide("\xFF\xFE");
  for (char c : std::string("[Zorvak]\r\nPlaylist=best.m3u\r\n")) wide += std::string{c, '\0'};
  pltest::writeText(d + "\\autorun.inf", wide);
  ASSERT_EQ(plLoad(pl, d.c_str(), 0), plResultOk);
  EXPECT_EQ(dump(pl, true), V{d + "\\b.mp3@0#4000"});
}

// The CD-ROM root rule with a stand-in drive table: Z: plays the CD.
TEST(DirectoryListing, cdRootOpensTheFirstExistingNameOfCdAutoOpen) {
  pltest::ensureEngine();
  const zv::DriveQueries cdZ = {[](const char* root) -> UINT { return (root[0] | 0x20) == 'z' ? DRIVE_CDROM : DRIVE_FIXED; },
                                [](const char*, uint32_t* s) { *s = 1; return true; }};
  std::string d = zvtest::freshDir("cdroot");
  pltest::makeTree(d, {"cd.m3u", "other.pls"});
  EXPECT_EQ(zv::mediumPlaylistName(d + "\\", cdZ), "") << "only a drive root counts";
  std::string saved(260, '\0');
  configString("cdAutoOpen", saved.data(), "playlist.m3u|cd.m3u");
  // The real roots of Z: and C: (no playlist names there), asked through the table.
  EXPECT_EQ(zv::mediumPlaylistName("C:\\", cdZ), "");
  setConfigString("cdAutoOpen", "nothere.m3u||windows");
  EXPECT_EQ(zv::mediumPlaylistName("C:\\", cdZ), "") << "C: is no CD drive";
  EXPECT_EQ(zv::mediumPlaylistName("Z:\\", cdZ), "");
  setConfigString("cdAutoOpen", "nothere.m3u||tmp");
  EXPECT_EQ(zv::mediumPlaylistName("Z:\\", cdZ), "tmp") << "the first name that exists";
  setConfigString("cdAutoOpen", saved.c_str());
}

TEST(DirectoryListing, notADirectoryFallsToTheTextReader) {
  pltest::ensureEngine();
  std::string d = zvtest::freshDir("notdir");
  OwnedPl pl;
  EXPECT_EQ(plLoad(pl, (d + "\\nothing").c_str(), 0), plResultNoFile);
  pltest::writeText(d + "\\song.mp3", "not a playlist\r\n#x\r\n");
  EXPECT_EQ(plLoad(pl, (d + "\\song.mp3").c_str(), 0), plResultOk) << "any existing file reads as M3U";
  EXPECT_EQ(dump(pl), V{d + "\\not a playlist@0"});
}
