// Damaged and foreign input: truncated files, garbage before or after the
// data, empty files and random bytes under each decoder's extensions must
// neither crash, nor hang, nor leak handles or memory.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "decoder_harness.h"
#include "testkit.h"
#include "win32/owners.h"

namespace conf {
namespace {

std::vector<uint8_t> randomBytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::vector<uint8_t> out(n);
  for (auto& b : out) b = static_cast<uint8_t>(gen());
  return out;
}

struct Variant {
  std::string name;
  std::vector<uint8_t> bytes;
};

std::vector<Variant> variantsOf(const std::vector<uint8_t>& good) {
  std::vector<Variant> v;
  auto cut = [&](size_t n) { return std::vector<uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(std::min(n, good.size()))); };
  v.push_back({"half", cut(good.size() / 2)});
  v.push_back({"third", cut(good.size() / 3)});
  v.push_back({"head100", cut(100)});
  v.push_back({"head4", cut(4)});
  std::vector<uint8_t> junkFirst = randomBytes(3000, 7);
  junkFirst.insert(junkFirst.end(), good.begin(), good.end());
  v.push_back({"junkFirst", junkFirst});
  std::vector<uint8_t> junkAfter = good;
  auto tail = randomBytes(5000, 8);
  junkAfter.insert(junkAfter.end(), tail.begin(), tail.end());
  v.push_back({"junkAfter", junkAfter});
  // Damage in the middle: a run of random bytes over the data.
  std::vector<uint8_t> holed = good;
  auto noise = randomBytes(2000, 9);
  if (holed.size() > 6000) std::copy(noise.begin(), noise.end(), holed.begin() + std::ptrdiff_t(holed.size() / 2));
  v.push_back({"holed", holed});
  v.push_back({"empty", {}});
  v.push_back({"random", randomBytes(64 * 1024, 10)});
  return v;
}

// Everything a player does with a file: check, open, read it all, seek, read.
void exercise(const DecPlugin& p, const std::string& path) {
  ZvFileCheckRec rec;
  check(p, path, 0x3CD, rec);
  decode(p, path, Format{44100, 16, 2});
  decode(p, path, Format{48000, 16, 1}, 500);
}

struct Job {
  const DecPlugin* p;
  std::string path;
};

DWORD WINAPI runJob(void* arg) {
  auto* j = static_cast<Job*>(arg);
  exercise(*j->p, j->path);
  return 0;
}

// Runs exercise() on a thread of its own so that a hang fails the test
// instead of stalling the run.
bool exerciseWithDeadline(const DecPlugin& p, const std::string& path, DWORD ms) {
  Job job{&p, path};
  zv::UniqueKernelHandle t(CreateThread(nullptr, 0, runJob, &job, 0, nullptr));
  if (!t) return false;
  if (WaitForSingleObject(t.get(), ms) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "hang: " << path;
    std::fflush(stdout);
    ExitProcess(3);  // the stuck thread still uses `job`; nothing sane is left to do
  }
  return true;
}

DWORD handleCount() {
  DWORD n = 0;
  GetProcessHandleCount(GetCurrentProcess(), &n);
  return n;
}

size_t privateBytes() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  return pmc.PrivateUsage;
}

TEST(Damaged, noCrashNoHangNoHandleLeak) {
  const std::string dir = zvtest::freshDir("damaged");
  const char* sources[] = {"cbr320.mp3", "layer2.mp2", "s44.flac", "s32.oga", "vorbis.ogg", "opus.opus", "s44.wav",
                           "s48x6.wav"};
  // Warm up once so lazily created library state is not counted as a leak.
  for (const auto& p : plugins()) exercise(p, mediaNamed("s44.flac")->path());
  const DWORD handlesBefore = handleCount();
  int runs = 0;
  for (const char* file : sources) {
    const Media* m = mediaNamed(file);
    if (!m) continue;
    const std::string ext = std::string(file).substr(std::string(file).rfind('.'));
    for (const Variant& v : variantsOf(zvtest::readFile(m->path()))) {
      const std::string path = dir + "\\" + v.name + "_" + file + ext;
      ASSERT_TRUE(zvtest::writeFile(path, v.bytes.data(), v.bytes.size()));
      for (const auto& p : plugins()) {
        SCOPED_TRACE(v.name + " " + file + " with " + p.name);
        EXPECT_TRUE(exerciseWithDeadline(p, path, 30000));
        ++runs;
      }
    }
  }
  EXPECT_GT(runs, 50);
  EXPECT_LE(handleCount(), handlesBefore) << "file or other handles left open";
}

TEST(Damaged, junkBeforeTheFirstMp3FramePlays) {
  const Media* m = mediaNamed("cbr320.mp3");
  const DecPlugin* p = pluginNamed("mp3.dec");
  ASSERT_TRUE(m && p);
  std::vector<uint8_t> bytes = randomBytes(3000, 11);
  auto good = zvtest::readFile(m->path());
  bytes.insert(bytes.end(), good.begin(), good.end());
  const std::string path = zvtest::freshDir("junk") + "\\junk.mp3";
  ASSERT_TRUE(zvtest::writeFile(path, bytes.data(), bytes.size()));
  ZvFileCheckRec rec;
  EXPECT_EQ(check(*p, path, ZV_CHECK_PLAYABLE, rec), 0);
  Decoded clean = decode(*p, m->path(), Format{44100, 16, 2});
  Decoded junk = decode(*p, path, Format{44100, 16, 2});
  ASSERT_TRUE(junk.opened);
  EXPECT_EQ(junk.frames, clean.frames);
  EXPECT_LE(maxDifference(junk.pcm, clean.pcm, 16), 0);
}

TEST(Damaged, decodersKeepNoMemoryAfterClose) {
  for (const char* file : {"cbr320.mp3", "s96.flac", "vorbis.ogg", "opus.opus", "s96.wav"}) {
    const Media* m = mediaNamed(file);
    ASSERT_NE(m, nullptr);
    const DecPlugin* p = pluginNamed(m->plugin);
    ASSERT_NE(p, nullptr);
    SCOPED_TRACE(file);
    for (int i = 0; i < 3; ++i) exercise(*p, m->path());
    const size_t before = privateBytes();
    for (int i = 0; i < 25; ++i) exercise(*p, m->path());
    // Each round allocates megabytes of decoded data: a per-file leak of even
    // a few kilobytes would add up well past this margin.
    EXPECT_LT(privateBytes(), before + 2 * 1024 * 1024);
  }
}

TEST(Damaged, staleHandlesAreRefused) {
  for (const auto& p : plugins()) {
    SCOPED_TRACE(p.name);
    const Media* m = mediaNamed(p.name == "mp3.dec"   ? "cbr320.mp3"
                                : p.name == "ogg.dec" ? "vorbis.ogg"
                                : p.name == "wav.dec" ? "s44.wav"
                                                      : "s44.flac");
    if (!m || m->plugin != p.name) continue;
    ZvDecOpenRec o{};
    std::string path = m->path();
    o.fileName = path.c_str();
    o.sampleRate = 44100;
    ASSERT_EQ(p.open(&o), 0);
    ZvDecCloseRec c{o.handle};
    EXPECT_EQ(p.close(&c), 0);
    EXPECT_NE(p.close(&c), 0) << "a second close must be refused, not freed twice";
    int16_t buf[64];
    ZvDecReadRec r{o.handle, buf, ZV_DEC_READ_CONSTANT, 32, 44100, 16, 2};
    EXPECT_NE(p.read(&r), 0);
    EXPECT_EQ(r.frames, 0);
    // A missing file fails to open and is not claimed.
    ZvDecOpenRec missing{};
    missing.fileName = "Z:\\no\\such\\file.mp3";
    EXPECT_NE(p.open(&missing), 0);
  }
}

}  // namespace
}  // namespace conf
