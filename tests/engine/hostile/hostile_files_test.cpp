// Damaged and hostile files through the engine's exports: truncated and
// bit-flipped binary playlists, enormous counts, playlists listing
// themselves or each other, playlists listing the next twice 30 deep
// (2^30 visits if followed in full), a medium whose autorun.inf names itself, a
// 10 000-level Z3U and a 2 GB sparse file. Each case must end within its
// time limit, and after the table has run (once to warm up, then again) the
// engine's blocks, the process's handles and its private memory are back
// where they were.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "hostile_files.h"
#include "playlist/add_limits.h"
#include "testkit.h"
#include "win32/owners.h"
#include "zv_config.h"
#include "zv_memory.h"
#include "zv_playlist.h"

namespace {

struct OwnedPl {
  Playlist pl = createPlaylist(0);
  ~OwnedPl() { freePlaylist(pl); }
  operator Playlist() const { return pl; }
};

void writeBytes(const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(zvtest::writeFile(path, bytes.data(), bytes.size())) << path;
}

std::string readBytes(const std::string& path) {
  std::vector<uint8_t> b = zvtest::readFile(path);
  return std::string(b.begin(), b.end());
}

// Loads, then walks what loaded the way the player does: counts, names,
// branches, group times, a sort, a save to memory's twin on disk.
void exercise(Playlist pl, const std::string& dir) {
  const int32_t n = plGetCount(pl);
  for (int32_t i = 0; i < n; i += 1 + n / 64) {
    ASSERT_NE(plGetName(pl, i), nullptr);
    plGetBranch(pl, i);
  }
  plCalcTimes(pl);
  plSort(pl, 1, -1, -1);
  plSave(pl, (dir + "\\resaved.zvpl").c_str(), plSaveBinary);
}

std::string binaryPlaylist(const std::string& dir) {
  OwnedPl pl;
  const char* names[] = {"C:\\music\\a.mp3", "C:\\music\\b.mp3", "relative\\c.wav"};
  for (const char* name : names) {
    PlaylistLine rec = {};
    plAddLine(pl, &rec, name, "desc", "info");
  }
  const std::string path = dir + "\\good.zvpl";
  EXPECT_EQ(plSave(pl, path.c_str(), plSaveBinary), plResultOk);
  return readBytes(path);
}

struct Case {
  const char* name;
  std::function<void(const std::string& dir)> run;
};

std::vector<Case> hostileCases() {
  std::vector<Case> cases;
  auto load = [](const std::string& path, uint32_t flags, const std::string& dir) {
    OwnedPl pl;
    plLoad(pl, path.c_str(), flags);
    exercise(pl, dir);
  };
  auto add = [](const std::string& path, const std::string& dir) {
    OwnedPl pl;
    plAddFile(pl, path.c_str(), 0);
    exercise(pl, dir);
  };
  cases.push_back({"truncated binary playlist", [=](const std::string& d) {
    const std::string good = binaryPlaylist(d);
    for (const std::string& cut : zvtest::truncationsOf(good, 3)) {
      writeBytes(d + "\\cut.zvpl", cut);
      load(d + "\\cut.zvpl", plLoadBinary, d);
    }
  }});
  cases.push_back({"bit-flipped binary playlist", [=](const std::string& d) {
    const std::string good = binaryPlaylist(d);
    for (const std::string& bad : zvtest::bitFlipsOf(good, 300)) {
      writeBytes(d + "\\flip.zvpl", bad);
      load(d + "\\flip.zvpl", plLoadBinary, d);
    }
  }});
  cases.push_back({"enormous counts", [=](const std::string& d) {
    const std::string good = binaryPlaylist(d);
    for (int32_t count : {0x7FFFFFFF, -1, 0x10000000}) {
      writeBytes(d + "\\count.zvpl", zvtest::withInt32At(good, 8, count));  // the line array's count
      load(d + "\\count.zvpl", plLoadBinary, d);
    }
    writeBytes(d + "\\huge.pls", zvtest::enormousPls());
    load(d + "\\huge.pls", 0, d);
    writeBytes(d + "\\deep.z3u", zvtest::enormousZ3u());
    load(d + "\\deep.z3u", 0, d);
  }});
  cases.push_back({"playlist listing itself and playlists listing each other", [=](const std::string& d) {
    zvtest::writeSelfListingPlaylists(d, ".m3u", "a.mp3");
    add(d + "\\self.m3u", d);
    load(d + "\\self.m3u", 0, d);
    add(d + "\\ping.m3u", d);
  }});
  cases.push_back({"playlists listing the next twice, 30 deep", [=](const std::string& d) {
    const std::string member = d + "\\a.mp3";
    const std::string top = zvtest::writeDoublingChain(d, ".m3u", 30, member);
    OwnedPl pl;
    plAddFile(pl, top.c_str(), 0);
    int32_t groups = 0, members = 0;
    for (int32_t i = 0; i < plGetCount(pl); ++i) {
      if (plGetRec(pl, i)->flags & lfGroup) ++groups;
      if (lstrcmpiA(plGetName(pl, i), member.c_str()) == 0) ++members;
    }
    // The bound of one add: expansions stop there, and what was added stays
    // (the first descent reaches the member at once).
    EXPECT_LE(groups, zv::kExpansionsPerAdd);
    EXPECT_GT(groups, zv::kExpansionsPerAdd / 2) << "the bound is spent, not cut short";
    EXPECT_GE(members, 1);
    EXPECT_LE(members, groups);
    exercise(pl, d);
    OwnedPl inserted;
    plInsFile(inserted, 0, top.c_str(), 0, 0);
    EXPECT_EQ(plGetCount(inserted), plGetCount(pl)) << "an insert is bound the same way";
  }});
  cases.push_back({"medium naming itself in autorun.inf", [=](const std::string& d) {
    CreateDirectoryA((d + "\\medium").c_str(), nullptr);
    writeBytes(d + "\\medium\\autorun.inf", "[Zorvak]\r\nPlaylist=.\r\n");
    load(d + "\\medium", 0, d);
    writeBytes(d + "\\medium\\autorun.inf", "[Zorvak]\r\nPlaylist=list.m3u\r\n");
    writeBytes(d + "\\medium\\list.m3u", "..\\medium\r\nlist.m3u\r\n");
    load(d + "\\medium", 0, d);
    add(d + "\\medium", d);
  }});
  cases.push_back({"10 000-level Z3U", [=](const std::string& d) {
    writeBytes(d + "\\deep.z3u", zvtest::deepZ3u(10000, "a.mp3"));
    load(d + "\\deep.z3u", 0, d);
    add(d + "\\deep.z3u", d);
  }});
  cases.push_back({"2 GB sparse file", [=](const std::string& d) {
    for (const char* name : {"\\big.m3u", "\\big.z3u", "\\big.zvpl"}) {
      ASSERT_TRUE(zvtest::makeSparseFile(d + name, (int64_t(2) << 30) + 17)) << name;
    }
    load(d + "\\big.m3u", 0, d);
    load(d + "\\big.z3u", 0, d);
    load(d + "\\big.zvpl", plLoadBinary, d);
    add(d + "\\big.m3u", d);
    DeleteFileA((d + "\\big.m3u").c_str());
    DeleteFileA((d + "\\big.z3u").c_str());
    DeleteFileA((d + "\\big.zvpl").c_str());
  }});
  return cases;
}

struct Usage {
  DWORD handles = 0;
  SIZE_T privateBytes = 0;
  int32_t heapInUse = 0, poolBlocks = 0;
};

Usage usageNow() {
  Usage u;
  const zvtest::ProcessUsage process = zvtest::processUsage(GetCurrentProcessId(), GetCurrentProcess());
  u.handles = process.handles;
  u.privateBytes = process.privateBytes;
  const int32_t* stat = debugGetMallocStat();
  u.heapInUse = stat[ZV_STAT_HEAP_IN_USE];
  u.poolBlocks = stat[ZV_STAT_POOL_BLOCKS];
  return u;
}

struct Job {
  const Case* c;
  std::string dir;
};

DWORD WINAPI runJob(void* p) {
  auto* j = static_cast<Job*>(p);
  j->c->run(j->dir);
  return 0;
}

// Runs one case on a thread of its own (with a large stack, as the player's
// threads have none smaller). A case that does not end in time ends the
// test program: its thread still uses the case's data.
void runWithin(const Case& c, const std::string& dir, DWORD ms) {
  Job job{&c, dir};
  zv::UniqueKernelHandle thread(CreateThread(nullptr, 8 << 20, runJob, &job, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
  ASSERT_TRUE(thread) << c.name;
  if (WaitForSingleObject(thread.get(), ms) != WAIT_OBJECT_0) {
    std::printf("HostileFiles: \"%s\" did not end within %lu ms\n", c.name, static_cast<unsigned long>(ms));
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
  }
}

TEST(HostileFiles, endInTimeAndGiveBackMemoryAndHandles) {
  setConfigMode("zvtest_hostile", 0);
  setConfigBool("autoOemCvt", ZV_FALSE);
  const std::string dir = zvtest::freshDir("hostile");
  const std::vector<Case> cases = hostileCases();
  // The first round warms up what the engine keeps for good (caches, the
  // configuration, the heap's own pages).
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    runWithin(c, dir, 120000);
  }
  const Usage before = usageNow();
  ASSERT_GT(before.handles, 0u) << "no handle count to compare";
  ASSERT_GT(before.privateBytes, 0u) << "no private bytes to compare";
  for (int round = 0; round < 2; ++round)
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      runWithin(c, dir, 120000);
    }
  const Usage after = usageNow();
  std::printf("HostileFiles: handles %lu -> %lu, private bytes %zu -> %zu, engine heap %d -> %d, pool blocks %d -> %d\n",
              static_cast<unsigned long>(before.handles), static_cast<unsigned long>(after.handles),
              static_cast<size_t>(before.privateBytes), static_cast<size_t>(after.privateBytes), before.heapInUse,
              after.heapInUse, before.poolBlocks, after.poolBlocks);
  EXPECT_EQ(after.heapInUse, before.heapInUse) << "engine heap bytes";
  EXPECT_EQ(after.poolBlocks, before.poolBlocks) << "engine pool blocks";
  EXPECT_LE(after.handles, before.handles + 2) << "handles: " << before.handles << " -> " << after.handles;
  EXPECT_LE(after.privateBytes, before.privateBytes + (8u << 20))
      << "private bytes: " << before.privateBytes << " -> " << after.privateBytes;
}

}  // namespace
