// The test machinery itself: the engine loads under Wine, exports are plain
// names, windows work on the private display, and what is played through
// waveOut arrives byte for byte in this test's capture file.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <mmsystem.h>

#include <cstring>
#include <vector>

#include "testkit.h"
#include "zv_config.h"
#include "win32/owners.h"

TEST(Machinery, engineLoadsAndExportsPlainNames) {
  zv::UniqueModule engine(LoadLibraryA("zvengine.dll"));
  ASSERT_TRUE(engine) << "error " << GetLastError();
  using VersionFn = int32_t(__stdcall*)();
  auto fn = reinterpret_cast<VersionFn>(reinterpret_cast<void*>(GetProcAddress(engine.get(), "shellVer")));
  ASSERT_NE(fn, nullptr);
  EXPECT_EQ(fn(), shellVer());
  EXPECT_GT(fn(), 400);  // Wine's shell32 reports 6.x
  EXPECT_EQ(GetProcAddress(engine.get(), "shellVer@0"), nullptr);
  EXPECT_EQ(GetProcAddress(engine.get(), "_shellVer@0"), nullptr);
}

TEST(Machinery, windowPaintsOnPrivateDisplay) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
  HWND w = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, 64, 64, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  HDC dc = GetDC(w);
  ASSERT_NE(dc, nullptr);
  SetPixel(dc, 5, 7, RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(GetPixel(dc, 5, 7), RGB(0x12, 0x34, 0x56));
  ReleaseDC(w, dc);
  DestroyWindow(w);
}

namespace {
// Wine pads the device with zero frames while it holds less than 10 ms of
// data; comparing without them is exact as long as the signal has none.
std::vector<uint32_t> nonZeroFrames(const std::vector<uint8_t>& bytes) {
  std::vector<uint32_t> frames;
  for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    uint32_t f;
    std::memcpy(&f, &bytes[i], 4);
    if (f != 0) frames.push_back(f);
  }
  return frames;
}
}  // namespace

TEST(Machinery, waveOutArrivesByteForByteInCapture) {
  WAVEFORMATEX fmt = {};
  fmt.wFormatTag = WAVE_FORMAT_PCM;
  fmt.nChannels = 2;
  fmt.nSamplesPerSec = 44100;
  fmt.wBitsPerSample = 16;
  fmt.nBlockAlign = 4;
  fmt.nAvgBytesPerSec = 44100 * 4;

  // 0.25 s of a signal in which no frame is all zero.
  std::vector<int16_t> samples(44100 / 4 * 2);
  for (size_t i = 0; i < samples.size(); i += 2) {
    samples[i] = static_cast<int16_t>(1 + (i * 37) % 30000);
    samples[i + 1] = static_cast<int16_t>(-1 - static_cast<int>((i * 53) % 30000));
  }

  zv::UniqueKernelHandle done(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  HWAVEOUT wo = nullptr;
  MMRESULT r = waveOutOpen(&wo, WAVE_MAPPER, &fmt, reinterpret_cast<DWORD_PTR>(done.get()), 0, CALLBACK_EVENT);
  if (r == MMSYSERR_NODRIVER || r == MMSYSERR_BADDEVICEID) GTEST_SKIP() << "no wave-out device";
  ASSERT_EQ(r, MMSYSERR_NOERROR);

  WAVEHDR hdr = {};
  hdr.lpData = reinterpret_cast<LPSTR>(samples.data());
  hdr.dwBufferLength = static_cast<DWORD>(samples.size() * 2);
  ASSERT_EQ(waveOutPrepareHeader(wo, &hdr, sizeof(hdr)), MMSYSERR_NOERROR);
  ASSERT_EQ(waveOutWrite(wo, &hdr, sizeof(hdr)), MMSYSERR_NOERROR);
  EXPECT_TRUE(zvtest::waitFor([&] { return (hdr.dwFlags & WHDR_DONE) != 0; }, 5000));
  waveOutUnprepareHeader(wo, &hdr, sizeof(hdr));
  waveOutClose(wo);

  std::vector<uint8_t> played(reinterpret_cast<uint8_t*>(samples.data()),
                              reinterpret_cast<uint8_t*>(samples.data()) + samples.size() * 2);
  EXPECT_TRUE(zvtest::waitFor([&] { return nonZeroFrames(zvtest::readFile(zvtest::captureFile())).size() >=
                                           samples.size() / 2; }, 3000));
  EXPECT_EQ(nonZeroFrames(zvtest::readFile(zvtest::captureFile())), nonZeroFrames(played));
}
