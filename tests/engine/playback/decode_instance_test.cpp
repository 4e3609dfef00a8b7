// A `decode` instance through the engine's exports: the owner's messages in,
// the notifications out, the status record, and the sound that reaches the
// ALSA capture file, with the tone decoder of this test's root.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "host_fixture.h"
#include "testkit.h"
#include "win32/owners.h"
#include "zv_playback.h"

namespace {

// What the owner received, in order: states as "s<n>", other codes by name.
class Owner {
 public:
  // Takes every bus message that has arrived for this thread.
  void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, ZV_BUS_FIRST, ZV_BUS_LAST, PM_REMOVE)) {
      switch (msg.message) {
        case msgState: {
          ZvStatePrm s = {};
          getMsgPrm(&msg, &s);
          events_.push_back("s" + std::to_string(s.state));
          break;
        }
        case msgOpened: {
          ZvOpenedPrm o = {};
          getMsgPrm(&msg, &o);
          caps_ = o.caps;
          events_.push_back("opened");
          break;
        }
        case msgOpenFailed: events_.push_back("failed"); break;
        case msgEndReached: events_.push_back("end"); break;
        case msgClosed: events_.push_back("closed"); break;
        default: break;
      }
      finishMsg(&msg);
    }
  }
  bool waitFor(const std::string& event, int ms = 5000) {
    return zvtest::waitFor([&] {
      pump();
      for (const auto& e : events_)
        if (e == event) return true;
      return false;
    }, ms);
  }
  std::string events() {
    pump();
    std::string out;
    for (const auto& e : events_) out += e + " ";
    return out;
  }
  // Forgets everything received so far, including what is still queued.
  void clear() {
    pump();
    events_.clear();
  }
  uint32_t caps_ = 0;

 private:
  std::vector<std::string> events_;
};

std::string toneFile(const std::string& name, const std::string& content) {
  std::string path = zvtest::testDir() + "\\" + name;
  zvtest::writeFile(path, content.data(), content.size());
  return path;
}

// Frame k of the tone decoder's signal, as the capture holds it.
uint32_t toneFrame(int64_t k) {
  uint16_t l = static_cast<uint16_t>(static_cast<int16_t>(1 + k % 30000));
  uint16_t r = static_cast<uint16_t>(static_cast<int16_t>(-(1 + (7 * k) % 30000)));
  return l | (uint32_t(r) << 16);
}

std::vector<uint32_t> capturedFrames() {
  auto bytes = zvtest::readFile(zvtest::captureFile());
  std::vector<uint32_t> frames;
  for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    uint32_t f;
    std::memcpy(&f, &bytes[i], 4);
    if (f) frames.push_back(f);  // the device pads with silence when it runs short
  }
  return frames;
}

class DecodeInstance : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { playbacktest::ensurePlugins(); }
  // Notifications of instances from earlier tests may still be queued here.
  void SetUp() override { owner_.clear(); }
  ZvTarget open(const std::string& path) {
    id_ = inOpen(path.c_str(), GetCurrentThreadId(), &status_, &ctx_);
    return id_;
  }
  void TearDown() override {
    if (id_) stopAndWait(id_);
    if (ctx_) {
      while (inOpenNext(&ctx_)) {
      }
    }
  }
  // Stops the instance and waits for its thread to end: one still playing
  // writes its position into status_, which goes with this fixture.
  static void stopAndWait(ZvTarget id) {
    HANDLE copy = nullptr;
    if (const ZvInstanceRec* rec = instanceInfoById(id); rec && rec->threadHandle)
      DuplicateHandle(GetCurrentProcess(), static_cast<HANDLE>(rec->threadHandle), GetCurrentProcess(), &copy,
                      SYNCHRONIZE, FALSE, 0);
    zv::UniqueKernelHandle thread(copy);
    stopPlugin(id);
    if (!thread) return;
    EXPECT_EQ(WaitForSingleObject(thread.get(), 5000), WAIT_OBJECT_0) << "the instance did not end";
  }
  Owner owner_;
  ZvStatusRec status_ = {};
  ZvOpenContext* ctx_ = nullptr;
  ZvTarget id_ = 0;
};

TEST_F(DecodeInstance, aDecoderThatCannotOpenGivesOpeningClosedAndOpenFailed) {
  // The fake decoder accepts the name but has no decOpen.
  ASSERT_NE(open("Z:\\nowhere\\fake-ok.fak"), 0u);
  ASSERT_TRUE(owner_.waitFor("failed"));
  EXPECT_EQ(owner_.events(), "s4 s0 failed ");
  EXPECT_EQ(status_.state, stClosed);
}

TEST_F(DecodeInstance, playsTheWholeFileThenReportsEndAndClosed) {
  ASSERT_NE(open(toneFile("whole.tone", "frames=22050")), 0u);
  ASSERT_TRUE(owner_.waitFor("opened"));
  EXPECT_EQ(owner_.caps_, static_cast<uint32_t>(capStream));
  EXPECT_EQ(status_.lengthMs, 500);
  EXPECT_EQ(status_.state, stStopped);
  inPlay(id_, 0, ZV_FADE_LINEAR);
  ASSERT_TRUE(owner_.waitFor("closed", 10000)) << owner_.events();
  EXPECT_EQ(owner_.events(), "s4 s2 opened s5 s1 end s0 closed ");
  EXPECT_EQ(status_.state, stClosed);

  // Every frame of the file reached the device, in order, unchanged.
  std::vector<uint32_t> got = capturedFrames();
  auto start = std::find(got.begin(), got.end(), toneFrame(0));
  ASSERT_NE(start, got.end());
  ASSERT_GE(got.end() - start, 22050);
  for (int64_t k = 0; k < 22050; ++k) ASSERT_EQ(start[k], toneFrame(k)) << "frame " << k;
}

TEST_F(DecodeInstance, stopWithoutFadeKeepsThePositionAndPlayResumesThere) {
  ASSERT_NE(open(toneFile("long.tone", "frames=4410000")), 0u);
  ASSERT_TRUE(owner_.waitFor("opened"));
  inSeek(id_, 10000);
  inPlay(id_, 0, ZV_FADE_LINEAR);
  ASSERT_TRUE(zvtest::waitFor([&] { return status_.positionMs >= 10300; }, 5000)) << status_.positionMs;
  inStop(id_, 0, ZV_FADE_LINEAR);
  ASSERT_TRUE(zvtest::waitFor([&] { return status_.state == stStopped; }, 2000));
  int32_t stoppedAt = status_.positionMs;
  EXPECT_GE(stoppedAt, 10300);
  EXPECT_LT(stoppedAt, 20000);
  Sleep(300);
  EXPECT_EQ(status_.positionMs, stoppedAt) << "a stopped file keeps its position";
  inPlay(id_, 0, ZV_FADE_LINEAR);
  ASSERT_TRUE(zvtest::waitFor([&] { return status_.positionMs > stoppedAt + 100; }, 5000));
  inClose(id_, 0, ZV_FADE_LINEAR);
  ASSERT_TRUE(owner_.waitFor("closed"));
  EXPECT_EQ(owner_.events().find("end"), std::string::npos);
}

TEST_F(DecodeInstance, anUnseekableFileSaysSoAndIgnoresSeeks) {
  ASSERT_NE(open(toneFile("noseek.tone", "frames=44100 seek=0")), 0u);
  ASSERT_TRUE(owner_.waitFor("opened"));
  EXPECT_EQ(owner_.caps_, static_cast<uint32_t>(capStream | capNoSeek));
  owner_.clear();
  inSeek(id_, 400);
  inClose(id_, 0, ZV_FADE_LINEAR);  // before any play: closed at once, state kept
  ASSERT_TRUE(owner_.waitFor("closed"));
  EXPECT_EQ(owner_.events(), "closed ") << "no seek states, no close state";
  EXPECT_EQ(status_.positionMs, 0);
  EXPECT_EQ(status_.state, stStopped);
}

TEST_F(DecodeInstance, closeWithFadeWhilePlayingFadesThenCloses) {
  ASSERT_NE(open(toneFile("fadeclose.tone", "frames=4410000")), 0u);
  ASSERT_TRUE(owner_.waitFor("opened"));
  inPlay(id_, 0, ZV_FADE_LINEAR);
  ASSERT_TRUE(zvtest::waitFor([&] { return status_.positionMs >= 200; }, 5000));
  owner_.clear();
  inClose(id_, 200, ZV_FADE_EXPONENTIAL);
  ASSERT_TRUE(owner_.waitFor("closed", 5000)) << owner_.events();
  EXPECT_EQ(owner_.events(), "s6 s0 closed ");
}

TEST_F(DecodeInstance, stopWithFadeEndsStoppedAndCanPlayAgain) {
  ASSERT_NE(open(toneFile("fadestop.tone", "frames=4410000")), 0u);
  ASSERT_TRUE(owner_.waitFor("opened"));
  inPlay(id_, 50, ZV_FADE_LINEAR);
  ASSERT_TRUE(zvtest::waitFor([&] { return status_.positionMs >= 200; }, 5000));
  owner_.clear();
  inStop(id_, 200, ZV_FADE_LINEAR);
  ASSERT_TRUE(owner_.waitFor("s2", 5000)) << owner_.events();
  EXPECT_EQ(owner_.events(), "s6 s2 ");
  int32_t at = status_.positionMs;
  EXPECT_GE(at, 200);
  inPlay(id_, 0, ZV_FADE_LINEAR);
  ASSERT_TRUE(zvtest::waitFor([&] { return status_.positionMs > at; }, 5000));
  inClose(id_, 0, ZV_FADE_LINEAR);
  ASSERT_TRUE(owner_.waitFor("closed"));
}

}  // namespace

namespace {

TEST_F(DecodeInstance, streamGoneEndsTheInstanceWithoutClosingTheStream) {
  ASSERT_NE(open(toneFile("gone.tone", "frames=4410000")), 0u);
  ASSERT_TRUE(owner_.waitFor("opened"));
  inPlay(id_, 0, ZV_FADE_LINEAR);
  ASSERT_TRUE(zvtest::waitFor([&] { return status_.positionMs >= 100; }, 5000));
  zv::UniqueKernelHandle thread(OpenThread(SYNCHRONIZE, FALSE, static_cast<DWORD>(id_)));
  ASSERT_TRUE(thread);
  pluginMsgX(id_, msgStreamGone);
  EXPECT_EQ(WaitForSingleObject(thread.get(), 5000), WAIT_OBJECT_0) << "the thread ends";
  EXPECT_EQ(owner_.events().find("closed"), std::string::npos) << "no notification: the owner asked for this";
}

}  // namespace

namespace {

// A sender may post a longer block than the message's record: the instance
// reads its record from the front and never writes past it.
TEST_F(DecodeInstance, anOversizedBlockIsReadOnlyAsFarAsItsRecord) {
  ASSERT_NE(open(toneFile("bigblock.tone", "frames=441000")), 0u);
  ASSERT_TRUE(owner_.waitFor("opened"));
  std::vector<int32_t> big(4096, 0x7A7A7A7A);
  big[0] = 1234;
  pluginMsg(id_, msgInSeek, big.data(), static_cast<int32_t>(big.size() * sizeof(int32_t)));
  ASSERT_TRUE(zvtest::waitFor([&] { return status_.positionMs == 1234; }, 3000)) << status_.positionMs;
  inClose(id_, 0, ZV_FADE_LINEAR);
  ASSERT_TRUE(owner_.waitFor("closed"));
}

// The status record is the owner's again once "closed" came, and it may be
// gone: another close, a play, a seek or a stop sent afterwards leaves it alone.
TEST_F(DecodeInstance, leavesTheStatusRecordAloneOnceClosed) {
  enum class Ending { closedBeforePlaying, closedWhilePlaying, playedToTheEnd };
  struct Case {
    const char* name;
    const char* content;
    Ending ending;
  } cases[] = {
      {"unplayed.tone", "frames=441000", Ending::closedBeforePlaying},
      {"playing.tone", "frames=441000", Ending::closedWhilePlaying},
      {"short.tone", "frames=11025", Ending::playedToTheEnd},
  };
  auto closedCount = [&] {
    const std::string all = owner_.events();
    int n = 0;
    for (size_t at = all.find("closed"); at != std::string::npos; at = all.find("closed", at + 1)) ++n;
    return n;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    owner_.clear();
    ASSERT_NE(open(toneFile(c.name, c.content)), 0u);
    ASSERT_TRUE(owner_.waitFor("opened"));
    if (c.ending != Ending::closedBeforePlaying) inPlay(id_, 0, ZV_FADE_LINEAR);
    if (c.ending != Ending::playedToTheEnd) inClose(id_, 0, ZV_FADE_LINEAR);
    ASSERT_TRUE(owner_.waitFor("closed", 10000)) << owner_.events();
    std::memset(&status_, 0xA5, sizeof(status_));
    inClose(id_, 0, ZV_FADE_LINEAR);
    inPlay(id_, 0, ZV_FADE_LINEAR);
    inSeek(id_, 100);
    inStop(id_, 0, ZV_FADE_LINEAR);
    inClose(id_, 0, ZV_FADE_LINEAR);
    // Both closes are answered; by then everything sent before them is done.
    ASSERT_TRUE(zvtest::waitFor([&] { return closedCount() >= 3; }, 5000)) << owner_.events();
    const auto* bytes = reinterpret_cast<const uint8_t*>(&status_);
    for (size_t i = 0; i < sizeof(status_); ++i) ASSERT_EQ(bytes[i], 0xA5) << "byte " << i;
    stopAndWait(id_);
    id_ = 0;
  }
}

}  // namespace
