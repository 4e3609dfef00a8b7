// The sequencing rules driving the real engine: WAV files opened through the
// wav decoder, the engine's notifications fed back as the main window will,
// each open's context released with the engine's own memory exports.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "player_fixture.h"
#include "testkit.h"

using namespace zv;

namespace {

// A short stereo 16-bit WAV whose samples are never zero.
std::string wavFile(const std::string& path, int frames, int16_t level) {
  std::string data;
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < 2; ++c) {
      int16_t v = static_cast<int16_t>(level + (i % 50));
      data.append(reinterpret_cast<const char*>(&v), 2);
    }
  auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
  std::string wav = "RIFF" + u32(36 + static_cast<uint32_t>(data.size())) + "WAVEfmt " + u32(16) + u16(1) + u16(2) +
                    u32(44100) + u32(44100 * 4) + u16(4) + u16(16) + "data" + u32(static_cast<uint32_t>(data.size())) +
                    data;
  zvtest::writeFile(path, wav.data(), wav.size());
  return path;
}


// Feeds the bus messages of this thread to the sequencer, as the main window does.
class Window : public ptest::FakeView {
 public:
  std::vector<std::string> opened;
  Sequencer* seq = nullptr;
  void streamOpened(ZvTarget, const ZvOpenedPrm&) override { opened.push_back(seq->curFileName()); }
  void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, ZV_BUS_FIRST, ZV_BUS_LAST, PM_REMOVE)) {
      auto from = static_cast<ZvTarget>(msg.wParam);
      switch (msg.message) {
        case msgOpened: {
          ZvOpenedPrm o = {};
          getMsgPrm(&msg, &o);
          seq->onOpened(from, o);
          break;
        }
        case msgOpenFailed: seq->onOpenFailed(from); break;
        case msgState: {
          ZvStatePrm s = {};
          getMsgPrm(&msg, &s);
          seq->onState(from, s.state);
          break;
        }
        case msgEndReached: seq->onEndReached(from); break;
        case msgClosed: seq->onClosed(from); break;
        default: break;
      }
      finishMsg(&msg);
    }
    while (!skips.empty()) {
      bool backwards = skips.front();
      skips.erase(skips.begin());
      seq->onSkip(backwards);
    }
  }
};

TEST(EngineSequencing, playsTheFilesInOrderAndReleasesEveryOpen) {
  ptest::ensureEngine();
  std::string dir = zvtest::freshDir("engine");
  ptest::OwnedPl pl;
  PlaylistLine root{};
  root.flags = lfGroup;
  plAddLine(pl, &root, "", nullptr, nullptr);
  PlaylistLine file{};
  file.level = 1;
  for (const char* name : {"\\a.wav", "\\b.wav"})
    plAddLine(pl, &file, wavFile(dir + name, 8000, name[1] == 'a' ? 1000 : 9000).c_str(), nullptr, nullptr);
  plAddLine(pl, &file, (dir + "\\missing.wav").c_str(), nullptr, nullptr);

  EngineStreamPort port(GetCurrentThreadId());
  Window window;
  Sequencer seq(pl, port, window);
  window.seq = &seq;
  seq.orders().rebuild(pl);
  seq.setPlayIntent(true);
  seq.selectLine(1, false);
  // a, b, then the missing file is skipped and a follows again.
  ASSERT_TRUE(zvtest::waitFor([&] {
    window.pump();
    return window.opened.size() >= 3;
  }, 20000)) << "opened " << window.opened.size();
  EXPECT_EQ(window.opened[0], dir + "\\a.wav");
  EXPECT_EQ(window.opened[1], dir + "\\b.wav");
  EXPECT_EQ(window.opened[2], dir + "\\a.wav");
  EXPECT_EQ(window.nothingPlayableCount, 0);

  seq.stop();
  seq.selectLine(-1, false);  // closes the stream
  EXPECT_TRUE(zvtest::waitFor([&] {
    window.pump();
    return seq.heldStreams() == 0;
  }, 10000)) << "every stream reported closed and its record freed";
}

}  // namespace
