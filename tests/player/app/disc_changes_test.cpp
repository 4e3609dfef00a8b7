// Disc decisions over real folders and playlists.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <map>

#include "player_fixture.h"
#include "sequencing/disc_changes.h"
#include "sequencing/stream_port.h"
#include "testkit.h"
#include "zv_containers.h"
#include "zv_memory.h"

using namespace zv;

namespace {

TEST(DiscChanges, autoplayOfferFollowsAutorunThenTheNameList) {
  std::string base = zvtest::freshDir("discs");
  struct Case {
    const char* inf;   // content of autorun.inf, or null
    const char* file;  // a file in the root, or null
    const char* list;
    bool offered;
  } cases[] = {
      {"[Zorvak]\r\nAutoOpen=1\r\n", nullptr, "", true},
      {"[Zorvak]\r\nAutoOpen=0\r\n", nullptr, "playlist.m3u|cd.m3u", false},
      {"[Other]\r\nAutoOpen=1\r\n", "cd.m3u", "playlist.m3u|cd.m3u", true},
      {nullptr, "playlist.m3u", "playlist.m3u|cd.m3u", true},
      {nullptr, "music.m3u", "playlist.m3u|cd.m3u", false},
      {nullptr, "x.m3u", "|x.m3u|", true},
      {nullptr, nullptr, "", false},
  };
  int n = 0;
  for (const Case& c : cases) {
    std::string root = base + "\\d" + std::to_string(n++);
    CreateDirectoryA(root.c_str(), nullptr);
    if (c.inf) zvtest::writeFile(root + "\\autorun.inf", c.inf, strlen(c.inf));
    if (c.file) zvtest::writeFile(root + "\\" + c.file, "x", 1);
    EXPECT_EQ(offerDiscForAutoplay(root + "\\", c.list), c.offered) << root;
  }
}

TEST(DiscChanges, startupCheckDropsEveryLineOfAChangedOrEmptyDrive) {
  ptest::ensureEngine();
  ptest::OwnedPl pl;
  ptest::fill(pl, {"G root@0", "D:\\t1.cda@1", "C:\\a.mp3@1", "d:\\t2.cda@1", "E:\\x.mp3@1", "F:\\y.mp3@1"});
  std::map<char, std::string> ids = {{'D', "1234ABCD"}, {'E', ""}, {'F', "00000001"}};
  std::map<char, std::string> stored = {{'D', "99999999"}, {'E', "55"}, {'F', "00000001"}};
  int32_t deleted = dropChangedDiscLines(
      pl,
      [&](char d) -> std::optional<std::string> {
        auto it = ids.find(d);
        return it == ids.end() ? std::nullopt : std::optional<std::string>(it->second);
      },
      [&](char d) { return stored[d]; });
  EXPECT_EQ(deleted, 3);
  ASSERT_EQ(plGetCount(pl), 3);
  EXPECT_STREQ(plGetName(pl, 1), "C:\\a.mp3");
  EXPECT_STREQ(plGetName(pl, 2), "F:\\y.mp3") << "same disc (case ignored): kept";
}

TEST(DiscChanges, storedIdsOfTheSaveStep_keepTheLinesAtTheNextCheck) {
  ptest::ensureEngine();
  ptest::OwnedPl pl;
  ptest::fill(pl, {"G root@0", "D:\\t1.cda@1", "E:\\x.mp3@1", "C:\\a.mp3@1"});
  std::map<char, std::string> ids = {{'D', "1234ABCD"}, {'E', ""}};
  auto discId = [&](char d) -> std::optional<std::string> {
    auto it = ids.find(d);
    return it == ids.end() ? std::nullopt : std::optional<std::string>(it->second);
  };
  std::map<char, std::string> stored;
  storeDiscIds(discId, [&](char d, const std::string& id) { stored[d] = id; });
  EXPECT_EQ(stored, ids) << "every CD drive, the empty one too, and no other drive";
  // The same disc at the next start keeps its lines; the empty drive's line
  // goes (nothing there to play).
  EXPECT_EQ(dropChangedDiscLines(pl, discId, [&](char d) { return stored[d]; }), 1);
  ASSERT_EQ(plGetCount(pl), 3);
  EXPECT_STREQ(plGetName(pl, 1), "D:\\t1.cda");
}

TEST(DiscChanges, presentDiscIdAnswersNothingForADriveThatIsNoCdDrive) {
  ptest::ensureEngine();
  EXPECT_FALSE(presentDiscId('Z').has_value()) << "Z: is the Linux root, a fixed drive";
  EXPECT_FALSE(presentDiscId('C').has_value());
}

// Open contexts shaped as the engine makes them are released completely:
// a thousand of them leave (nearly) nothing in use. Other engine threads may
// allocate meanwhile, so the bound is far below what one leak per open adds.
TEST(OpenContext, releaseFreesTheNameTheCandidatesAndTheContext) {
  ptest::ensureEngine();
  auto inUse = [] {
    const int32_t* stat = debugGetMallocStat();
    return int64_t{stat[ZV_STAT_HEAP_IN_USE]} + stat[ZV_STAT_POOL_IN_USE];
  };
  auto make = [] {
    auto* ctx = static_cast<ZvOpenContext*>(mallocex(sizeof(ZvOpenContext), "openContext"));
    ctx->fileName = strallocex("C:\\music\\a.mp3", "openContext");
    hStrList candidates = slAlloc();
    slAdd(candidates, "one");
    ctx->candidates = candidates;
    return ctx;
  };
  int64_t before = inUse();
  ZvOpenContext* one = make();
  int64_t perContext = inUse() - before;
  releaseEngineOpenContext(one);
  ASSERT_GT(perContext, 100) << "a context with its list takes real memory";
  before = inUse();
  for (int i = 0; i < 1000; ++i) releaseEngineOpenContext(make());
  releaseEngineOpenContext(nullptr);
  EXPECT_LT(inUse() - before, perContext * 10);
}

}  // namespace
