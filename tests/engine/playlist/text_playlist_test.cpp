// Text playlists through plSave and plLoad with real files: the exact text
// of each format, what each reader takes, relative paths, hostile lines,
// OEM conversion and the file-changed message.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "files_fixture.h"
#include "playlist/text_playlist_read.h"
#include "testkit.h"
#include "zv_config.h"
#include "zv_memory.h"
#include "zv_plugins.h"

using pltest::dump;
using pltest::OwnedPl;
using V = std::vector<std::string>;

namespace {

// <dir>\a.mp3, <dir>\sub\b.wav (level 1), a heading "Live" (level 1) and a
// file on another drive.
void fillMixed(Playlist pl, const std::string& dir) {
  PlaylistLine r = {};
  plAddLine(pl, &r, (dir + "\\a.mp3").c_str(), "A", nullptr);
  r.level = 1;
  plAddLine(pl, &r, (dir + "\\sub\\b.wav").c_str(), nullptr, nullptr);
  r.flags = lfGroup | lfHeading | lfFixed;
  plAddLine(pl, &r, "", "Live", nullptr);
  r.flags = 0;
  r.level = 2;
  plAddLine(pl, &r, "Q:\\far\\c.flac", nullptr, nullptr);
}

std::string tagOf(const MSG& m) {
  auto* h = reinterpret_cast<const ZvBlockHeader*>(reinterpret_cast<const char*>(m.lParam) - 24);
  return h->tag;
}

std::vector<std::string> drainFileChanged() {
  std::vector<std::string> paths;
  MSG m;
  while (PeekMessageA(&m, nullptr, msgFileChanged, msgFileChanged, PM_REMOVE)) {
    std::string block(m.lParam ? size_t(_mgetsize(reinterpret_cast<void*>(m.lParam))) : 0, '\0');
    if (!block.empty()) getMsgPrm(&m, block.data());
    paths.push_back(std::string(block.c_str()) + "/" + (m.lParam ? tagOf(m) : ""));
    finishMsg(&m);
  }
  return paths;
}

}  // namespace

TEST(TextPlaylist, eachFormatIsWrittenExactlyWithRelativePaths) {
  pltest::ensureEngine();
  std::string dir = zvtest::freshDir("write");
  OwnedPl pl;
  fillMixed(pl, dir);
  const struct {
    const char* file;
    const char* text;
  } rows[] = {
      {"list.m3u", "a.mp3\r\nsub\\b.wav\r\n\r\nQ:\\far\\c.flac\r\n"},
      {"list.M3U8", "a.mp3\r\nsub\\b.wav\r\n\r\nQ:\\far\\c.flac\r\n"},  // anything else is M3U
      {"list.pls",
       "[playlist]\r\nFile0=a.mp3\r\nFile1=sub\\b.wav\r\nFile2=\r\nFile3=Q:\\far\\c.flac\r\nNumberOfEntries=4\r\n"},
      {"list.AAP",
       "[Apollo Advanced Playlist]\r\nVersion=1.00\r\n[Entries]\r\nEntry0=a.mp3\r\nEntry1=sub\\b.wav\r\nEntry2=\r\n"
       "Entry3=Q:\\far\\c.flac\r\nNumberOfEntries=4\r\n"},
      {"list.z3u", "0:a.mp3\r\n1:sub\\b.wav\r\n1:>Live\r\n2:Q:\\far\\c.flac\r\n"},
  };
  for (const auto& r : rows) {
    std::string path = dir + "\\" + r.file;
    EXPECT_EQ(plSave(pl, path.c_str(), plSaveNoNotify), plResultOk) << r.file;
    EXPECT_EQ(pltest::readText(path), r.text) << r.file;
  }
  // From a folder below, the paths climb.
  CreateDirectoryA((dir + "\\lists").c_str(), nullptr);
  ASSERT_EQ(plSave(pl, (dir + "\\lists\\up.m3u").c_str(), plSaveNoNotify), plResultOk);
  EXPECT_EQ(pltest::readText(dir + "\\lists\\up.m3u"), "..\\a.mp3\r\n..\\sub\\b.wav\r\n\r\nQ:\\far\\c.flac\r\n");
}

TEST(TextPlaylist, twoLinePlsHasFourLinesNumberedFromZero) {
  pltest::ensureEngine();
  std::string dir = zvtest::freshDir("pls2");
  OwnedPl pl;
  plAddLine(pl, nullptr, (dir + "\\x.mp3").c_str(), nullptr, nullptr);
  plAddLine(pl, nullptr, (dir + "\\y.mp3").c_str(), nullptr, nullptr);
  ASSERT_EQ(plSave(pl, (dir + "\\two.pls").c_str(), plSaveNoNotify), plResultOk);
  EXPECT_EQ(pltest::readText(dir + "\\two.pls"), "[playlist]\r\nFile0=x.mp3\r\nFile1=y.mp3\r\nNumberOfEntries=2\r\n");
}

TEST(TextPlaylist, readersTakeOnlyTheirLines) {
  pltest::ensureEngine();
  std::string dir = zvtest::freshDir("read");
  pltest::makeTree(dir, {"a.mp3", "sub\\", "sub\\b.mp3"});
  std::string a = dir + "\\a.mp3", b = dir + "\\sub\\b.mp3", m = dir + "\\gone.mp3";
  const struct {
    const char* file;
    const char* text;
    V lines;
  } rows[] = {
      {"m.m3u", "#EXTM3U\r\n#EXTINF:123,Artist - Title\r\na.mp3\r\n\r\n   \t\r\n  sub\\b.mp3  \r\n# c.mp3\n",
       {a + "@0#4000", b + "@0#4000"}},
      {"lf.m3u", "a.mp3\ngone.mp3\rsub\\b.mp3", {a + "@0#4000", m + "@0#4800", b + "@0#4000"}},
      {"p.pls", "[playlist]\r\nFile1=a.mp3\r\nTitle1=A song\r\nLength1=123\r\n  FILE7 = sub\\b.mp3 \r\n"
                "[File2=gone.mp3]\r\nNumberOfEntries=2\r\nfile=\r\nnoequals\r\n",
       {a + "@0#4000", b + "@0#4000"}},
      {"e.aap", "[Apollo Advanced Playlist]\r\nVersion=1.00\r\n[Entries]\r\nEntry0=a.mp3\r\nEntry1=;comment\r\n"
                "entryX=sub\\b.mp3\r\nFile2=gone.mp3\r\n",
       {a + "@0#4000", b + "@0#4000"}},
      {"g.z3u", "#comment:1\r\n1:>Live\r\n0:C:\\x.mp3\r\n2:sub\r\nx:a.mp3\r\n-3:a.mp3\r\n99999:a.mp3\r\nnocolon\r\n",
       {">Live@1#8410", "C:\\x.mp3@0#c800", dir + "\\sub@2#c408", a + "@0#c000", a + "@0#c000", a + "@0#c000"}},
  };
  for (const auto& r : rows) {
    std::string path = dir + "\\" + r.file;
    pltest::writeText(path, r.text);
    OwnedPl pl;
    plAddLine(pl, nullptr, "stale", nullptr, nullptr);
    EXPECT_EQ(plLoad(pl, path.c_str(), 0), plResultOk) << r.file;
    EXPECT_EQ(dump(pl, true), r.lines) << r.file;
  }
  OwnedPl pl;
  pltest::writeText(dir + "\\h.z3u", "1:>Live\r\n");
  ASSERT_EQ(plLoad(pl, (dir + "\\h.z3u").c_str(), 0), plResultOk);
  EXPECT_STREQ(plGetName(pl, 0), "");
  EXPECT_STREQ(plGetDesc(pl, 0), "Live");
  EXPECT_EQ(plGetRec(pl, 0)->flags, 0x8410u);
}

TEST(TextPlaylist, z3uReadsBackItsLevelsAndHeadingsTheOthersFlat) {
  pltest::ensureEngine();
  std::string dir = zvtest::freshDir("round");
  OwnedPl pl;
  fillMixed(pl, dir);
  const V grouped = {dir + "\\a.mp3@0", dir + "\\sub\\b.wav@1", ">Live@1", "Q:\\far\\c.flac@2"};
  const V flat = {dir + "\\a.mp3@0", dir + "\\sub\\b.wav@0", "Q:\\far\\c.flac@0"};
  for (const char* file : {"r.z3u", "r.m3u", "r.pls", "r.aap"}) {
    std::string path = dir + "\\" + file;
    ASSERT_EQ(plSave(pl, path.c_str(), plSaveNoNotify), plResultOk);
    OwnedPl back;
    ASSERT_EQ(plLoad(back, path.c_str(), 0), plResultOk);
    EXPECT_EQ(dump(back), std::string(file) == "r.z3u" ? grouped : flat) << file;
  }
}

// This program runs in code page 1252: a ".m3u8" is UTF-8 all the same, read
// into 1252 and written back as UTF-8 without a mark, while an ".m3u" keeps
// its bytes.
TEST(TextPlaylist, m3u8IsUtf8UnderALegacyCodePage) {
  pltest::ensureEngine();
  ASSERT_EQ(GetACP(), 1252u);
  std::string dir = zvtest::freshDir("m3u8");
  pltest::makeTree(dir, {"caf\xE9.mp3"});
  const std::string cafe = dir + "\\caf\xE9.mp3";
  const struct {
    const char* file;
    std::string text;
  } rows[] = {
      {"plain.m3u8", "caf\xC3\xA9.mp3\r\n"},
      {"marked.M3U8", "\xEF\xBB\xBF#EXTM3U\r\ncaf\xC3\xA9.mp3\r\n"},
  };
  for (const auto& r : rows) {
    const std::string path = dir + "\\" + r.file;
    pltest::writeText(path, r.text);
    OwnedPl pl;
    ASSERT_EQ(plLoad(pl, path.c_str(), 0), plResultOk) << r.file;
    EXPECT_EQ(dump(pl), V{cafe + "@0"}) << r.file;  // the 1252 name of the existing file
  }
  OwnedPl pl;
  plAddLine(pl, nullptr, cafe.c_str(), nullptr, nullptr);
  ASSERT_EQ(plSave(pl, (dir + "\\out.m3u8").c_str(), plSaveNoNotify), plResultOk);
  EXPECT_EQ(pltest::readText(dir + "\\out.m3u8"), "caf\xC3\xA9.mp3\r\n");
  ASSERT_EQ(plSave(pl, (dir + "\\out.m3u").c_str(), plSaveNoNotify), plResultOk);
  EXPECT_EQ(pltest::readText(dir + "\\out.m3u"), "caf\xE9.mp3\r\n") << "an .m3u as before";
}

TEST(TextPlaylist, missingFileGivesFourAndNonsenseLocationsNine) {
  pltest::ensureEngine();
  std::string dir = zvtest::freshDir("missing");
  OwnedPl pl;
  plAddLine(pl, nullptr, "stale", nullptr, nullptr);
  EXPECT_EQ(plLoad(pl, (dir + "\\none.m3u").c_str(), 0), plResultNoFile);
  EXPECT_EQ(plGetCount(pl), 0);
  EXPECT_EQ(plLoad(pl, (dir + "\\none\\deeper").c_str(), 0), plResultNoFile);
}

// Untrusted text: over-long lines, keys and paths end as skipped lines or
// cut titles, never as a crash or a path cut into another file's name.
TEST(TextPlaylist, overLongLinesAreSkippedOrCut) {
  pltest::ensureEngine();
  std::string dir = zvtest::freshDir("long");
  std::string huge(100000, 'k');
  std::string longName(300, 'n');
  std::string text = huge + "\r\n" + longName + ".mp3\r\n" + std::string(259 - dir.size() - 1 - 4, 'f') + ".mp3\r\n";
  pltest::writeText(dir + "\\l.m3u", text);
  OwnedPl pl;
  ASSERT_EQ(plLoad(pl, (dir + "\\l.m3u").c_str(), 0), plResultOk);
  ASSERT_EQ(plGetCount(pl), 1) << "only the path that fits in 259 characters is kept";
  EXPECT_EQ(std::string(plGetName(pl, 0)).size(), 259u);

  pltest::writeText(dir + "\\k.pls", huge + "=a.mp3\r\nFile" + huge + "=b.mp3\r\nFile=" + huge + "\r\n");
  ASSERT_EQ(plLoad(pl, (dir + "\\k.pls").c_str(), 0), plResultOk);
  EXPECT_EQ(dump(pl), V{dir + "\\b.mp3@0"});

  std::string title(400, 't');
  pltest::writeText(dir + "\\t.z3u", "0:>" + title + "\r\n" + huge + ":>x\r\n");
  ASSERT_EQ(plLoad(pl, (dir + "\\t.z3u").c_str(), 0), plResultOk);
  ASSERT_EQ(plGetCount(pl), 2);
  EXPECT_EQ(std::string(plGetDesc(pl, 0)), std::string(255, 't'));
  EXPECT_EQ(plGetRec(pl, 1)->level, 0) << "a level too long to be a number reads as 0";
}

TEST(TextPlaylist, oemConversionSwitchesOnAtTheFirstCyrillicLineAndRestarts) {
  std::string dir = zvtest::freshDir("oem");
  std::string base = dir + "\\o.m3u";
  // 0x80-0xAF but not 0xA8 marks DOS Cyrillic; 0xA8 alone does not.
  std::string text = "\xE9t\xA8.mp3\r\n\x82\x84.mp3\r\n";
  std::string first = "\xE9t\xA8", second = "\x82\x84";
  OemToCharBuffA(first.c_str(), first.data(), DWORD(first.size()));
  OemToCharBuffA(second.c_str(), second.data(), DWORD(second.size()));
  OwnedPl on;
  zv::parseTextPlaylist(on, base, text, true);
  EXPECT_EQ(dump(on), (V{dir + "\\" + first + ".mp3@0", dir + "\\" + second + ".mp3@0"}))
      << "both lines converted, the first one too";
  OwnedPl off;
  zv::parseTextPlaylist(off, base, text, false);
  EXPECT_EQ(dump(off), (V{dir + "\\\xE9t\xA8.mp3@0", dir + "\\\x82\x84.mp3@0"}));
  OwnedPl noMark;
  zv::parseTextPlaylist(noMark, base, "\xA8\xE9.mp3\r\n", true);
  EXPECT_EQ(dump(noMark), V{dir + "\\\xA8\xE9.mp3@0"});
}

// Through plLoad the detection also needs a Russian user locale, which
// this machine does not have: the setting alone must change nothing.
TEST(TextPlaylist, settingAloneConvertsNothingOutsideARussianLocale) {
  pltest::ensureEngine();
  char lang[16] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, lang, sizeof(lang));
  if (std::string(lang).rfind("ru", 0) == 0) GTEST_SKIP() << "the user locale is Russian here";
  std::string dir = zvtest::freshDir("oemset");
  pltest::writeText(dir + "\\o.m3u", "\x82\x84.mp3\r\n");
  setConfigBool("autoOemCvt", ZV_TRUE);
  OwnedPl pl;
  EXPECT_EQ(plLoad(pl, (dir + "\\o.m3u").c_str(), 0), plResultOk);
  setConfigBool("autoOemCvt", ZV_FALSE);
  EXPECT_EQ(dump(pl), V{dir + "\\\x82\x84.mp3@0"});
}

TEST(TextPlaylist, savingSendsFileChangedUnlessToldNotTo) {
  pltest::ensureEngine();
  std::string dir = zvtest::freshDir("notify");
  ZvTarget self = GetCurrentThreadId();
  drainFileChanged();
  addBroadcastFilter(self, msgFileChanged);
  OwnedPl pl;
  plAddLine(pl, nullptr, (dir + "\\a.mp3").c_str(), nullptr, nullptr);
  std::string path = dir + "\\n.m3u";
  ASSERT_EQ(plSave(pl, path.c_str(), 0), plResultOk);
  EXPECT_TRUE(zvtest::waitFor([] { return GetQueueStatus(QS_POSTMESSAGE) != 0; }, 2000));
  EXPECT_EQ(drainFileChanged(), V{path + "/bfilterMsg"});
  ASSERT_EQ(plSave(pl, path.c_str(), plSaveNoNotify), plResultOk);
  ASSERT_EQ(plSave(pl, (dir + "\\n.zpl").c_str(), plSaveBinary), plResultOk);
  EXPECT_EQ(plSave(pl, (dir + "\\missing\\n.m3u").c_str(), 0), plResultFailed);
  // A later message marks the end: nothing of the saves above came before it.
  pluginMsg(0, msgFileChanged, "end", 4);
  EXPECT_TRUE(zvtest::waitFor([] { return GetQueueStatus(QS_POSTMESSAGE) != 0; }, 2000));
  EXPECT_EQ(drainFileChanged(), V{"end/bfilterMsg"});
  delBroadcastFilter(self, msgFileChanged);
}
