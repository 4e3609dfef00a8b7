// What only one format has: FLAC's MD5 signature over a full decode, Ogg
// chains whose links differ in rate and channels, exact MP3 lengths from the
// encoder's gapless header.
#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include "decoder_harness.h"
#include "testkit.h"

namespace conf {
namespace {

std::string md5Hex(const std::vector<uint8_t>& data) {
  HCRYPTPROV prov = 0;
  HCRYPTHASH hash = 0;
  std::string hex;
  if (CryptAcquireContextA(&prov, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
    if (CryptCreateHash(prov, CALG_MD5, 0, 0, &hash)) {
      CryptHashData(hash, data.data(), static_cast<DWORD>(data.size()), 0);
      BYTE digest[16];
      DWORD len = sizeof digest;
      if (CryptGetHashParam(hash, HP_HASHVAL, digest, &len, 0)) {
        char buf[3];
        for (DWORD i = 0; i < len; ++i) {
          snprintf(buf, sizeof buf, "%02x", digest[i]);
          hex += buf;
        }
      }
      CryptDestroyHash(hash);
    }
    CryptReleaseContext(prov, 0);
  }
  return hex;
}

TEST(FlacDecoder, fullDecodeMatchesTheMd5Signature) {
  const DecPlugin* p = pluginNamed("flac.dec");
  ASSERT_NE(p, nullptr);
  for (const char* file : {"s44.flac", "s96.flac", "s48x6.flac", "s32.oga"}) {
    SCOPED_TRACE(file);
    const Media* m = mediaNamed(file);
    ASSERT_NE(m, nullptr);
    ZvFileCheckRec rec;
    ASSERT_EQ(check(*p, m->path(), ZV_CHECK_INFO_TEXT, rec), 0);
    std::string info = rec.infoText;
    size_t at = info.find("MD5: ");
    ASSERT_NE(at, std::string::npos) << info;
    std::string stored = info.substr(at + 5, 32);
    // The signature covers the samples at the file's own depth.
    Decoded d = decode(*p, m->path(), Format{m->rate, m->file == "s96.flac" ? 24 : 16, m->channels});
    EXPECT_EQ(md5Hex(d.pcm), stored);
  }
}

TEST(OggDecoder, chainWithDifferentRatesAndChannelsPlaysEveryLink) {
  const DecPlugin* p = pluginNamed("ogg.dec");
  ASSERT_NE(p, nullptr);
  const std::string path = mediaDir() + "\\mixedchain.ogg";
  Decoded d = decode(*p, path, Format{44100, 16, 2});
  ASSERT_TRUE(d.opened);
  // 3.1 s of stereo at 44.1 kHz, then 1.7 s of mono at 22.05 kHz made stereo.
  const double expected = 3.1 * 44100 + 1.7 * 44100;
  EXPECT_NEAR(double(d.frames), expected, expected * 0.003);
  EXPECT_NEAR(double(d.lengthMs), 4800.0, 10.0);
  // The second link is mono: both output channels carry the same samples.
  const size_t frame = size_t(4.0 * 44100);
  EXPECT_EQ(sampleAt(d.pcm, frame * 2, 16), sampleAt(d.pcm, frame * 2 + 1, 16));
  // A seek into the second link lands there.
  Decoded late = decode(*p, path, Format{44100, 16, 2}, 4000);
  EXPECT_NEAR(double(late.frames), 0.8 * 44100, 0.8 * 44100 * 0.01);
}

TEST(Mp3Decoder, gaplessFilesDecodeToTheSourceLength) {
  const DecPlugin* p = pluginNamed("mp3.dec");
  ASSERT_NE(p, nullptr);
  const int64_t source = 136710;  // 3.1 s at 44.1 kHz, as make-media.sh writes it
  for (const char* file : {"cbr320.mp3", "vbr.mp3"}) {
    SCOPED_TRACE(file);
    Decoded d = decode(*p, mediaNamed(file)->path(), Format{44100, 16, 2});
    EXPECT_EQ(d.frames, source);
    ZvFileCheckRec rec;
    ASSERT_EQ(check(*p, mediaNamed(file)->path(), ZV_CHECK_LENGTH | ZV_CHECK_INFO_TEXT, rec), 0);
    EXPECT_EQ(rec.lengthMs, 3100u);
    EXPECT_NE(std::string(rec.infoText).find("Encoder: LAME"), std::string::npos) << rec.infoText;
  }
  // Without the header the encoder's padding stays in, but the length is still
  // what decodes (found by scanning the frames).
  Decoded plain = decode(*p, mediaNamed("notag.mp3")->path(), Format{44100, 16, 2});
  EXPECT_GT(plain.frames, source);
  EXPECT_EQ(plain.frames % 1152, 0);
}

}  // namespace
}  // namespace conf
