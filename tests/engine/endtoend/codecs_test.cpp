// MP3, FLAC, Vorbis and Opus files through the engine: what reaches the
// device equals what the file's decoder gives for the same format (the
// output library passes 16-bit sound through unchanged with the equalizer
// off and no fade).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "testkit.h"
#include "zv_config.h"
#include "zv_decoder.h"
#include "zv_playback.h"
#include "zvdsp.h"

namespace {

std::string mediaFolder() {
  // Made by the conformance suite's fixture beside this test's folder.
  return zvtest::testDir() + "\\..\\test_plugins_conformance\\media";
}

template <class F>
F entry(HMODULE m, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

// The decoder's own output at 44.1 kHz, 16 bits, stereo, as the engine asks.
std::vector<uint32_t> decodeDirectly(const char* library, const std::string& path) {
  std::vector<uint32_t> frames;
  HMODULE m = GetModuleHandleA(library);
  if (!m) return frames;
  auto open = entry<ZvDecOpenFn>(m, "decOpen");
  auto read = entry<ZvDecReadFn>(m, "decRead");
  auto close = entry<ZvDecCloseFn>(m, "decClose");
  ZvDecOpenRec o = {};
  o.fileName = path.c_str();
  o.flags = configBool("PreferFP", ZV_TRUE) ? ZV_DEC_PREFER_FLOAT : 0;
  o.sampleRate = 44100;
  if (open(&o) != 0) return frames;
  std::vector<uint32_t> buf(2048);
  for (;;) {
    ZvDecReadRec r = {o.handle, buf.data(), ZV_DEC_READ_CONSTANT, 2048, 44100, 16, 2};
    if (read(&r) != 0) break;
    frames.insert(frames.end(), buf.begin(), buf.begin() + r.frames);
  }
  ZvDecCloseRec c = {o.handle};
  close(&c);
  return frames;
}

std::vector<uint32_t> nonZero(const std::vector<uint32_t>& frames) {
  std::vector<uint32_t> out;
  for (uint32_t f : frames)
    if (f) out.push_back(f);  // the device pads with silence when it runs short
  return out;
}

std::vector<uint32_t> capturedSince(size_t from) {
  auto bytes = zvtest::readFile(zvtest::captureFile());
  std::vector<uint32_t> frames;
  for (size_t i = from & ~size_t(3); i + 4 <= bytes.size(); i += 4) {
    uint32_t f;
    std::memcpy(&f, &bytes[i], 4);
    frames.push_back(f);
  }
  return frames;
}

bool waitForMessage(ZvTarget id, UINT code) {
  return zvtest::waitFor([&] {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, ZV_BUS_FIRST, ZV_BUS_LAST, PM_REMOVE)) {
      bool hit = msg.wParam == id && msg.message == code;
      finishMsg(&msg);
      if (hit) return true;
    }
    return false;
  }, 20000);
}

struct Case {
  const char* file;
  const char* library;
};

class Codecs : public ::testing::TestWithParam<Case> {};

TEST_P(Codecs, theDeviceGetsExactlyTheDecodersOutput) {
  const Case& c = GetParam();
  std::string path = mediaFolder() + "\\" + c.file;
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no media: " << path;
  initPlugins();  // builds the lists on the first call only
  ZvEqualizer off = {};
  off.preamp = 1.0f;
  outSetEqualizer(&off);

  std::vector<uint32_t> want = nonZero(decodeDirectly(c.library, path));
  ASSERT_GT(want.size(), 1000u) << "the decoder gave nothing";

  size_t from = zvtest::readFile(zvtest::captureFile()).size();
  ZvStatusRec status = {};
  ZvOpenContext* ctx = nullptr;
  ZvTarget id = inOpen(path.c_str(), GetCurrentThreadId(), &status, &ctx);
  while (ctx && inOpenNext(&ctx)) {
  }
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(waitForMessage(id, msgOpened));
  inPlay(id, 0, ZV_FADE_LINEAR);
  ASSERT_TRUE(waitForMessage(id, msgClosed));
  stopPlugin(id);

  // The device writes the last blocks to the capture a little after it
  // reported them played.
  std::vector<uint32_t> got;
  std::vector<uint32_t>::iterator start;
  zvtest::waitFor([&] {
    got = nonZero(capturedSince(from));
    start = std::find(got.begin(), got.end(), want[0]);
    return start != got.end() && size_t(got.end() - start) >= want.size();
  }, 5000);
  ASSERT_NE(start, got.end()) << "the first sound never reached the device";
  ASSERT_GE(size_t(got.end() - start), want.size());
  for (size_t i = 0; i < want.size(); ++i) ASSERT_EQ(start[i], want[i]) << c.file << ", frame " << i;
}

INSTANTIATE_TEST_SUITE_P(AllFormats, Codecs,
                         ::testing::Values(Case{"cbr320.mp3", "mp3.dec"}, Case{"s44.flac", "flac.dec"},
                                           Case{"vorbis.ogg", "ogg.dec"}, Case{"opus.opus", "ogg.dec"}),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string name = info.param.file;
                           for (char& ch : name)
                             if (ch == '.') ch = '_';
                           return name;
                         });

}  // namespace
