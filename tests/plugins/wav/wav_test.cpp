// wav.dec through its entry points on WAVE files written here: every sample
// format, odd layouts, broken files, seeking.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "testkit.h"
#include "zv_decoder.h"

namespace {

struct Plugin {
  HMODULE m = LoadLibraryA((zvtest::rootDir() + "\\plugins\\wav.dec").c_str());
  template <class F>
  F get(const char* name) const {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
  }
  ZvInCheckFileFn check = get<ZvInCheckFileFn>("inCheckFile");
  ZvDecOpenFn open = get<ZvDecOpenFn>("decOpen");
  ZvDecReadFn read = get<ZvDecReadFn>("decRead");
  ZvDecSeekFn seek = get<ZvDecSeekFn>("decSeek");
  ZvDecCloseFn close = get<ZvDecCloseFn>("decClose");
};

const Plugin& plugin() {
  static Plugin p;
  return p;
}

// Reference sample i of channel c, 16-bit.
int16_t ref(size_t i, int c) {
  int v = static_cast<int>((i * 97 + size_t(c) * 1234) % 60000) - 30000;
  return static_cast<int16_t>(c % 2 ? -v : v);
}

void put(std::vector<uint8_t>& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
void put(std::vector<uint8_t>& b, const char* id) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(id[i]));
}

struct WavFormat {
  const char* name;
  uint16_t tag;  // 1 PCM, 3 float
  int bits, channels, rate;
  bool extensible = false;
  bool junk = false;  // odd-sized unknown chunks before and after fmt
};

std::vector<uint8_t> wrapWav(const WavFormat& s, const std::vector<uint8_t>& data);

// The reference signal stored in the given format.
std::vector<uint8_t> makeWav(const WavFormat& s, size_t frames) {
  std::vector<uint8_t> data;
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < s.channels; ++c) {
      int16_t v = ref(i, c);
      if (s.tag == 3 && s.bits == 32) {
        float f = v / 32768.0f;
        uint32_t u;
        memcpy(&u, &f, 4);
        put(data, u, 4);
      } else if (s.tag == 3) {
        double d = v / 32768.0;
        uint8_t b[8];
        memcpy(b, &d, 8);
        data.insert(data.end(), b, b + 8);
      } else if (s.bits == 8) {
        data.push_back(uint8_t((v >> 8) + 128));
      } else {
        put(data, uint32_t(int32_t(v) << (s.bits - 16)), s.bits / 8);
      }
    }
  return wrapWav(s, data);
}

// A whole file around the sample bytes `data` of format `s`.
std::vector<uint8_t> wrapWav(const WavFormat& s, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> f;
  put(f, "RIFF");
  put(f, 0, 4);
  put(f, "WAVE");
  if (s.junk) {
    put(f, "LIST");
    put(f, 3, 4);
    f.insert(f.end(), {1, 2, 3, 0});  // padded to even
  }
  put(f, "fmt ");
  put(f, s.extensible ? 40 : 16, 4);
  put(f, s.extensible ? 0xFFFE : s.tag, 2);
  put(f, uint32_t(s.channels), 2);
  put(f, uint32_t(s.rate), 4);
  put(f, uint32_t(s.rate * s.channels * s.bits / 8), 4);
  put(f, uint32_t(s.channels * s.bits / 8), 2);
  put(f, uint32_t(s.bits), 2);
  if (s.extensible) {
    put(f, 22, 2);
    put(f, uint32_t(s.bits), 2);
    put(f, 3, 4);
    put(f, s.tag, 2);
    const uint8_t rest[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    f.insert(f.end(), rest, rest + 14);
  }
  if (s.junk) {
    put(f, "abcd");
    put(f, 1, 4);
    f.insert(f.end(), {7, 0});
  }
  put(f, "data");
  put(f, uint32_t(data.size()), 4);
  f.insert(f.end(), data.begin(), data.end());
  uint32_t riff = uint32_t(f.size() - 8);
  memcpy(&f[4], &riff, 4);
  return f;
}

std::string writeWav(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::string path = zvtest::testDir() + "\\" + name;
  zvtest::writeFile(path, bytes.data(), bytes.size());
  return path;
}

// Decodes the whole file (after an optional seek) to 16-bit at `rate`/`ch`.
std::vector<int16_t> decode(const std::string& path, int rate, int ch, int seekMs = -1, int32_t* openResult = nullptr) {
  ZvDecOpenRec o{};
  o.fileName = path.c_str();
  o.flags = ZV_DEC_PREFER_FLOAT;
  o.sampleRate = rate;
  int32_t r = plugin().open(&o);
  if (openResult) *openResult = r;
  std::vector<int16_t> out;
  if (r != 0) return out;
  if (seekMs >= 0) {
    ZvDecSeekRec s{o.handle, seekMs};
    plugin().seek(&s);
  }
  std::vector<int16_t> buf(1000 * size_t(ch));
  for (int guard = 0; guard < 100000; ++guard) {
    ZvDecReadRec rd{o.handle, buf.data(), ZV_DEC_READ_CONSTANT, 1000, rate, 16, ch};
    if (plugin().read(&rd) != 0) break;
    out.insert(out.end(), buf.begin(), buf.begin() + rd.frames * ch);
  }
  ZvDecCloseRec c{o.handle};
  plugin().close(&c);
  return out;
}

// Decodes the whole file to 32-bit integers at `rate`/`ch`.
std::vector<int32_t> decode32(const std::string& path, int rate, int ch) {
  ZvDecOpenRec o{};
  o.fileName = path.c_str();
  o.sampleRate = rate;
  std::vector<int32_t> out;
  if (plugin().open(&o) != 0) return out;
  std::vector<int32_t> buf(777 * size_t(ch));
  for (int guard = 0; guard < 100000; ++guard) {
    ZvDecReadRec rd{o.handle, buf.data(), ZV_DEC_READ_CONSTANT, 777, rate, 32, ch};
    if (plugin().read(&rd) != 0) break;
    out.insert(out.end(), buf.begin(), buf.begin() + rd.frames * ch);
  }
  ZvDecCloseRec c{o.handle};
  plugin().close(&c);
  return out;
}

}  // namespace

TEST(WavDecoder, everyFormatDecodesToTheReference) {
  ASSERT_NE(plugin().m, nullptr);
  const WavFormat formats[] = {
      {"pcm8", 1, 8, 2, 44100},          {"pcm16", 1, 16, 2, 44100},
      {"pcm24", 1, 24, 2, 44100},        {"pcm32", 1, 32, 2, 44100},
      {"float32", 3, 32, 2, 44100},      {"float64", 3, 64, 2, 44100},
      {"ext24", 1, 24, 2, 44100, true},  {"extfloat", 3, 32, 2, 44100, true},
      {"junk", 1, 16, 2, 44100, false, true}, {"mono", 1, 16, 1, 44100},
  };
  const size_t frames = 5000;
  for (const WavFormat& s : formats) {
    SCOPED_TRACE(s.name);
    std::string path = writeWav(std::string(s.name) + ".wav", makeWav(s, frames));
    auto got = decode(path, 44100, 2);
    ASSERT_EQ(got.size(), frames * 2);
    for (size_t i = 0; i < frames; ++i) {
      int16_t l = ref(i, 0), r = s.channels == 1 ? ref(i, 0) : ref(i, 1);
      if (s.bits == 8) {
        l = int16_t((l >> 8) << 8);
        r = int16_t((r >> 8) << 8);
      }
      ASSERT_EQ(got[i * 2], l) << i;
      ASSERT_EQ(got[i * 2 + 1], r) << i;
    }
  }
}

TEST(WavDecoder, checkFileAnswers) {
  std::string path = writeWav("check.wav", makeWav({"c", 1, 16, 2, 44100}, 44100 * 2 + 100));
  ZvFileCheckRec rec{};
  rec.fileName = path.c_str();
  rec.request = ZV_CHECK_PLAYABLE | ZV_CHECK_TYPE_NAME | ZV_CHECK_INFO_TEXT | ZV_CHECK_LENGTH | ZV_CHECK_FORMAT_TEXT;
  ASSERT_EQ(plugin().check(&rec), 0);
  EXPECT_STREQ(rec.formatText, "PCM 16-bit 44 kHz stereo");
  EXPECT_EQ(rec.lengthMs, 2002u);
  EXPECT_STRNE(rec.typeName, "");
  EXPECT_NE(std::string(rec.infoText).find("44100"), std::string::npos);
  // Six channels of float at 48 kHz.
  path = writeWav("check6.wav", makeWav({"c6", 3, 32, 6, 48000}, 480));
  rec = {};
  rec.fileName = path.c_str();
  rec.request = ZV_CHECK_FORMAT_TEXT | ZV_CHECK_LENGTH;
  ASSERT_EQ(plugin().check(&rec), 0);
  EXPECT_STREQ(rec.formatText, "Float 32-bit 48 kHz 6 channels");
  EXPECT_EQ(rec.lengthMs, 10u);
  // A compressed WAVE (ADPCM, tag 2) is described but not claimed as playable.
  auto adpcm = makeWav({"a", 2, 4, 1, 22050}, 100);
  path = writeWav("adpcm.wav", adpcm);
  rec = {};
  rec.fileName = path.c_str();
  rec.request = ZV_CHECK_PLAYABLE;
  EXPECT_EQ(plugin().check(&rec), ZV_PLUGIN_NOT_MINE);
  int32_t r = 0;
  decode(path, 44100, 2, -1, &r);
  EXPECT_NE(r, 0);
}

TEST(WavDecoder, brokenFilesNeitherCrashNorHang) {
  auto good = makeWav({"t", 1, 16, 2, 44100}, 10000);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool opens;
    size_t maxFrames;
  };
  std::vector<uint8_t> truncated(good.begin(), good.begin() + 44 + 4 * 3000 + 3);
  std::vector<uint8_t> hugeData = good;
  uint32_t huge = 0xFFFFFFF0;
  memcpy(&hugeData[40], &huge, 4);
  std::vector<uint8_t> garbage(5000);
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = uint8_t(i * 131 + 7);
  std::vector<uint8_t> riffOnly(good.begin(), good.begin() + 12);
  std::vector<uint8_t> hugeChunk(good.begin(), good.begin() + 12);
  put(hugeChunk, "junk");
  put(hugeChunk, 0xFFFFFFFF, 4);
  const Case cases[] = {
      {"truncated.wav", truncated, true, 3000},
      {"hugedata.wav", hugeData, true, 10000},
      {"garbage.wav", garbage, false, 0},
      {"empty.wav", {}, false, 0},
      {"riffonly.wav", riffOnly, false, 0},
      {"hugechunk.wav", hugeChunk, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = writeWav(c.name, c.bytes);
    int32_t r = -1;
    auto got = decode(path, 44100, 2, -1, &r);
    EXPECT_EQ(r == 0, c.opens);
    EXPECT_EQ(got.size(), c.maxFrames * 2);
    for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], ref(i / 2, int(i % 2))) << i;
    ZvFileCheckRec rec{};
    rec.fileName = path.c_str();
    rec.request = ZV_CHECK_PLAYABLE | ZV_CHECK_LENGTH;
    EXPECT_EQ(plugin().check(&rec) == 0, c.opens);
  }
  int32_t r = 0;
  decode(zvtest::testDir() + "\\missing.wav", 44100, 2, -1, &r);
  EXPECT_NE(r, 0);
}

TEST(WavDecoder, seekThenReadEqualsLinearDecode) {
  std::string path = writeWav("seek.wav", makeWav({"s", 1, 24, 2, 44100}, 44100 * 2));
  auto linear = decode(path, 44100, 2);
  auto fromHalf = decode(path, 44100, 2, 500);
  ASSERT_EQ(linear.size(), size_t(44100 * 2 * 2));
  ASSERT_EQ(fromHalf.size(), linear.size() - 22050 * 2);
  EXPECT_TRUE(std::equal(fromHalf.begin(), fromHalf.end(), linear.begin() + 22050 * 2));
  EXPECT_TRUE(decode(path, 44100, 2, 5000).empty()) << "past the end: nothing";
  // Through the resampler (48 kHz file played at 44.1 kHz) the two agree
  // once the filter has settled after the seek.
  path = writeWav("seek48.wav", makeWav({"s48", 1, 16, 2, 48000}, 48000));
  linear = decode(path, 44100, 2);
  EXPECT_EQ(linear.size(), size_t(44100 * 2));
  fromHalf = decode(path, 44100, 2, 400);
  ASSERT_EQ(fromHalf.size(), linear.size() - size_t(17640 * 2));
  int worst = 0;
  for (size_t i = 400; i < fromHalf.size() - 400; ++i)
    worst = std::max(worst, std::abs(fromHalf[i] - linear[i + 17640 * 2]));
  EXPECT_LE(worst, 2);
}

TEST(WavDecoder, widerThanFloatSourcesKeepEveryBitAt32Bits) {
  // Samples whose low bits are all in use: a conversion through single
  // precision (24-bit mantissa) would change most of them.
  const size_t frames = 6000;
  std::vector<int32_t> values(frames);
  for (size_t i = 0; i < frames; ++i) values[i] = int32_t(uint32_t(i) * 2654435761u) | 0x55;
  std::vector<uint8_t> pcm32, float64;
  for (int32_t v : values) {
    put(pcm32, uint32_t(v), 4);
    double d = v / 2147483648.0;  // exact: 31 bits fit a double
    uint8_t b[8];
    memcpy(b, &d, 8);
    float64.insert(float64.end(), b, b + 8);
  }
  // Mono to stereo takes the converting path (not a plain copy).
  std::string path = writeWav("wide32.wav", wrapWav({"w32", 1, 32, 1, 44100}, pcm32));
  auto got = decode32(path, 44100, 2);
  ASSERT_EQ(got.size(), frames * 2);
  for (size_t i = 0; i < frames; ++i) {
    ASSERT_EQ(got[i * 2], values[i]) << i;
    ASSERT_EQ(got[i * 2 + 1], values[i]) << i;
  }
  path = writeWav("wide64.wav", wrapWav({"w64", 3, 64, 1, 44100}, float64));
  got = decode32(path, 44100, 1);
  ASSERT_EQ(got.size(), frames);
  for (size_t i = 0; i < frames; ++i) ASSERT_EQ(got[i], values[i]) << i;
}
