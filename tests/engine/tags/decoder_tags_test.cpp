// Tags that only a decoder reads (FLAC, Ogg Vorbis, Opus) and ID3 tags the
// engine reads itself (MP3), through getTagInfo, getTagInfoKey, desc and the
// file scanner, with the real decoders of this test's root and media tagged
// by Debian's tools (fixture-setup.sh).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "testkit.h"
#include "zv_config.h"
#include "zv_desc.h"
#include "zv_infocache.h"
#include "zv_memory.h"
#include "zv_playback.h"
#include "zv_plugins.h"

namespace {

struct Tagged {
  const char* file;
  const char* title;
  const char* artist;
  const char* album;
  const char* year;
  const char* track;
};

const Tagged kTagged[] = {
    {"tagged.flac", "Flac Title", "Flac Artist", "Flac Album", "2003", "3"},
    {"tagged.ogg", "Vorbis Title", "Vorbis Artist", "Vorbis Album", "2005", "5"},
    {"tagged.opus", "Opus Title", "Opus Artist", "Opus Album", "2011", "7"},
    {"tagged.mp3", "Mp3 Title", "Mp3 Artist", "Mp3 Album", "1999", "9"},
};

const char* const kDefaultFormat = "@[%a%t][@[%n][%n. ]%a \"%t\"]";

// The description of the default format.
std::string defaultDescription(const Tagged& t) {
  return std::string(t.track) + ". " + t.artist + " \"" + t.title + "\"";
}

std::string mediaDir() { return zvtest::testDir() + "\\media"; }

// A fresh folder holding copies of the named media files (so that no cache
// record of another test is found for them).
std::string copiesIn(const std::string& name, std::initializer_list<const char*> files) {
  std::string dir = zvtest::freshDir(name);
  for (const char* f : files) CopyFileA((mediaDir() + "\\" + f).c_str(), (dir + "\\" + f).c_str(), FALSE);
  return dir;
}

std::string key(const std::string& text, const char* name) {
  char out[ZV_DESC_SIZE] = {};
  return getTagInfoKey(text.c_str(), name, out) ? std::string(out) : std::string("<none>");
}

// Waits for `count` msgInfoReady answers on this thread.
std::vector<ZvQueryResult> answers(size_t count) {
  std::vector<ZvQueryResult> got;
  zvtest::waitFor([&] {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, msgInfoReady, msgInfoReady, PM_REMOVE)) {
      auto r = std::make_unique<ZvQueryResult>();
      getMsgPrm(&msg, r.get());
      finishMsg(&msg);
      got.push_back(*r);
    }
    return got.size() >= count;
  }, 20000);
  return got;
}

ZvQueryResult scan(const std::string& path) {
  queryInfo(path.c_str(), ZvTarget(GetCurrentThreadId()), 11, 0);
  auto got = answers(1);
  EXPECT_EQ(got.size(), 1u) << path;
  return got.empty() ? ZvQueryResult{} : got[0];
}

std::string cachedText(const std::string& path, const char* record, size_t skip) {
  int32_t length = 0;
  void* block = nullptr;
  cacheRecBuf(path.c_str(), record, &block, &length);
  std::string text;
  if (block && size_t(length) > skip) text = std::string(static_cast<const char*>(block) + skip);
  _mfree(block);
  return text;
}

class DecoderTags : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    initPlugins();
    setConfigString("TagFmt", kDefaultFormat);
  }
};

TEST_F(DecoderTags, theRootHoldsTheRealDecoders) {
  int found = 0;
  for (int32_t i = 0; i < decoderCount(); ++i) {
    std::string name = decoderInfoByNum(i)->fileName;
    found += name == "flac.dec" || name == "ogg.dec" || name == "mp3.dec";
  }
  ASSERT_EQ(found, 3) << "the tests below need flac.dec, ogg.dec and mp3.dec";
}

TEST_F(DecoderTags, getTagInfoGivesEveryFormatsTagsByKey) {
  std::string dir = copiesIn("taginfo", {"tagged.flac", "tagged.ogg", "tagged.opus", "tagged.mp3"});
  for (const Tagged& t : kTagged) {
    SCOPED_TRACE(t.file);
    char info[ZV_TAGINFO_SIZE] = {};
    ASSERT_EQ(getTagInfo((dir + "\\" + t.file).c_str(), info), ZV_TRUE);
    EXPECT_EQ(key(info, "title"), t.title) << info;
    EXPECT_EQ(key(info, "artist"), t.artist);
    EXPECT_EQ(key(info, "album"), t.album);
    EXPECT_EQ(key(info, "year"), t.year);
    EXPECT_EQ(key(info, "track"), t.track);
  }
}

TEST_F(DecoderTags, descFormatsTheTagsInTheConfiguredFormat) {
  std::string dir = copiesIn("desc", {"tagged.flac", "tagged.ogg", "tagged.opus", "tagged.mp3"});
  for (const Tagged& t : kTagged) {
    std::string path = dir + "\\" + t.file;
    char out[ZV_DESC_SIZE] = {};
    desc(path.c_str(), out);
    EXPECT_EQ(std::string(out), defaultDescription(t)) << t.file;
  }
  // The settings window's other format; the stored descriptions are dropped first.
  setConfigString("TagFmt", "@[%a%t][%a \"%t\"]");
  for (const Tagged& t : kTagged) {
    std::string path = dir + "\\" + t.file;
    delCacheRec(path.c_str(), "DESC");
    char out[ZV_DESC_SIZE] = {};
    desc(path.c_str(), out);
    EXPECT_EQ(std::string(out), std::string(t.artist) + " \"" + t.title + "\"") << t.file;
  }
  setConfigString("TagFmt", kDefaultFormat);
}

TEST_F(DecoderTags, theScannerSendsAndStoresTheTags) {
  std::string dir = copiesIn("scanner", {"tagged.flac", "tagged.ogg", "tagged.opus", "tagged.mp3"});
  for (const Tagged& t : kTagged) {
    SCOPED_TRACE(t.file);
    std::string path = dir + "\\" + t.file;
    ZvQueryResult r = scan(path);
    EXPECT_EQ(std::string(r.description), defaultDescription(t));
    std::string info = r.info;
    EXPECT_EQ(key(info, "title"), t.title) << info;
    EXPECT_EQ(key(info, "artist"), t.artist) << info;
    EXPECT_EQ(key(info, "track"), t.track) << info;
    EXPECT_NE(key(info, "format"), "<none>") << info;
    EXPECT_GT(r.lengthMs, 400);
    // Stored for the next time: the information with its tag lines, the description.
    EXPECT_EQ(cachedText(path, "INFO", 16), info);
    EXPECT_EQ(cachedText(path, "DESC", 8), defaultDescription(t));
  }
}

// Written by an engine that took the decoders' display text for tag lines:
// the information text begins with it, and the description is the file name.
void writeOldRecords(const std::string& path, const char* displayText, const char* fileName) {
  std::string info(16, '\0');
  int32_t sizeKb = 31, lengthMs = 500;
  uint64_t forever = ~uint64_t(0);  // a stamp that never goes stale by itself
  std::memcpy(info.data(), &sizeKb, 4);
  std::memcpy(info.data() + 4, &lengthMs, 4);
  std::memcpy(info.data() + 8, &forever, 8);
  info += std::string(displayText) + "\nformat=FLAC 16/44.1";
  info += '\0';
  setCacheRecBuf(path.c_str(), "INFO", info.data(), int32_t(info.size()));
  std::string desc(reinterpret_cast<const char*>(&forever), 8);
  desc += fileName;
  desc += '\0';
  setCacheRecBuf(path.c_str(), "DESC", desc.data(), int32_t(desc.size()));
}

TEST_F(DecoderTags, recordsWrittenWithTheDisplayTextAreAskedForAgain) {
  std::string dir = copiesIn("oldrecords", {"tagged.flac", "tagged.ogg"});
  std::string flac = dir + "\\tagged.flac", ogg = dir + "\\tagged.ogg";
  writeOldRecords(flac, "Flac Artist - Flac Title", "tagged");
  writeOldRecords(ogg, "tagged", "tagged");  // the file-name fallback
  for (const std::string& path : {flac, ogg}) {
    ZvQueryResult r = scan(path);
    EXPECT_NE(std::string(r.description).find(" \""), std::string::npos) << path << ": " << r.description;
    std::string stored = cachedText(path, "INFO", 16);
    EXPECT_EQ(stored.rfind("title=", 0), 0u) << path << ": the record was replaced: " << stored;
    EXPECT_NE(cachedText(path, "DESC", 8), "tagged") << path;
  }
  char out[ZV_DESC_SIZE] = {};
  desc(flac.c_str(), out);
  EXPECT_STREQ(out, "3. Flac Artist \"Flac Title\"");

  // A record of the engine's own form is trusted as it is: not asked again.
  std::string marked(16, '\0');
  uint64_t forever = ~uint64_t(0);
  std::memcpy(marked.data() + 8, &forever, 8);
  marked += "title=Cached\nartist=Kept\nalbum=\nyear=\ntrack=0\nformat=FLAC 16/44.1";
  marked += '\0';
  setCacheRecBuf(flac.c_str(), "INFO", marked.data(), int32_t(marked.size()));
  ZvQueryResult again = scan(flac);
  EXPECT_EQ(key(again.info, "title"), "Cached");
}

TEST_F(DecoderTags, aDecodersAnswerWithoutTagsIsNotReplacedByADescriptionFile) {
  std::string dir = copiesIn("untagged", {"plain.flac"});
  std::string listing = "plain.flac From the description file\r\n";
  zvtest::writeFile(dir + "\\descript.ion", listing.data(), listing.size());
  std::string path = dir + "\\plain.flac";
  ZvQueryResult r = scan(path);
  EXPECT_STREQ(r.description, "") << "the decoder answered: its (empty) tags stand";
  EXPECT_NE(key(r.info, "format"), "<none>") << r.info;
  EXPECT_GT(r.lengthMs, 400);
  // desc, asked for a description at all costs, goes on to the file.
  char out[ZV_DESC_SIZE] = {};
  desc(path.c_str(), out);
  EXPECT_STREQ(out, "From the description file");
}

}  // namespace
