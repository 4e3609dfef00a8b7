// Every decoder library against the reference decoders' output: the same
// samples each time, the same samples as the reference (lossless bit-exact,
// lossy within the manifest's tolerance), seeks that land on the exact frame,
// lengths that match what decodes, and the check texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "decoder_harness.h"
#include "testkit.h"

namespace conf {
namespace {

// Every entry of the manifest; a missing plug-in fails the test that needs it.
std::vector<const Media*> playable() {
  std::vector<const Media*> out;
  for (const auto& m : manifest()) {
    EXPECT_NE(pluginNamed(m.plugin), nullptr) << m.plugin << " is not installed";
    if (pluginNamed(m.plugin)) out.push_back(&m);
  }
  return out;
}

Format nativeFormat(const Media& m) { return Format{m.rate, m.bits, m.channels}; }

int64_t framesOf(const std::vector<uint8_t>& pcm, const Format& f) {
  return int64_t(pcm.size() / size_t(f.bits / 8 * f.channels));
}

std::vector<uint8_t> slice(const std::vector<uint8_t>& pcm, const Format& f, int64_t from, int64_t frames) {
  const size_t fb = size_t(f.bits / 8 * f.channels);
  size_t a = std::min(pcm.size(), size_t(from) * fb), b = std::min(pcm.size(), size_t(from + frames) * fb);
  return std::vector<uint8_t>(pcm.begin() + std::ptrdiff_t(a), pcm.begin() + std::ptrdiff_t(b));
}

TEST(Conformance, ourDecodersAreInstalledAndDescribeThemselves) {
  ASSERT_FALSE(manifest().empty()) << "no media in " << mediaDir();
  for (const char* name : {"mp3.dec", "flac.dec", "ogg.dec", "wav.dec"}) EXPECT_NE(pluginNamed(name), nullptr) << name;
  for (const auto& p : plugins()) {
    SCOPED_TRACE(p.name);
    ASSERT_NE(p.pluginInfo, nullptr);
    ZvPluginInfoBlock info{};
    EXPECT_EQ(p.pluginInfo(&info), 0);
    EXPECT_GT(std::strlen(info.description), 0u);
    ASSERT_NE(p.inputInfo, nullptr);
    ZvInputInfoBlock in{};
    EXPECT_EQ(p.inputInfo(&in), 0);
    EXPECT_EQ(in.extensions[0], '.');
    EXPECT_TRUE(p.check && p.open && p.read && p.seek && p.close);
  }
}

TEST(Conformance, eachFileIsClaimedByItsOwnDecoderOnly) {
  for (const Media* m : playable()) {
    for (const auto& p : plugins()) {
      SCOPED_TRACE(m->file + " asked of " + p.name);
      ZvFileCheckRec rec;
      EXPECT_EQ(check(p, m->path(), ZV_CHECK_PLAYABLE, rec), p.name == m->plugin ? 0 : 9);
    }
  }
}

TEST(Conformance, decodesLikeTheReferenceAndTheSameEveryTime) {
  for (const Media* m : playable()) {
    SCOPED_TRACE(m->file);
    const DecPlugin& p = *pluginNamed(m->plugin);
    const Format f = nativeFormat(*m);
    Decoded first = decode(p, m->path(), f);
    ASSERT_TRUE(first.opened);
    EXPECT_TRUE(first.endedCleanly);
    // A different read size must not change a single sample.
    Decoded again = decode(p, m->path(), f, -1, INT64_MAX, 333);
    EXPECT_EQ(first.pcm, again.pcm);

    std::vector<uint8_t> ref = zvtest::readFile(mediaDir() + "\\" + m->reference);
    ASSERT_FALSE(ref.empty());
    EXPECT_EQ(first.frames, framesOf(ref, f)) << "decoded length differs from the reference's";
    if (first.pcm.size() == ref.size()) {
      EXPECT_LE(maxDifference(first.pcm, ref, f.bits), m->tolerance);
    }
    // The announced length is the decoded one.
    EXPECT_EQ(first.lengthMs, (first.frames * 1000 + m->rate / 2) / m->rate);
    EXPECT_EQ(first.openFlags & ZV_DEC_CANNOT_SEEK, 0u);
  }
}

TEST(Conformance, seekThenReadEqualsLinearDecodeAtThatFrame) {
  for (const Media* m : playable()) {
    const DecPlugin& p = *pluginNamed(m->plugin);
    const Format f = nativeFormat(*m);
    Decoded linear = decode(p, m->path(), f);
    ASSERT_TRUE(linear.opened) << m->file;
    const int32_t len = linear.lengthMs;
    for (int32_t ms : {0, 1, 777, 1000, len / 2 + 3, len - 150}) {
      SCOPED_TRACE(m->file + " at " + std::to_string(ms) + " ms");
      Decoded part = decode(p, m->path(), f, ms, 2000);
      const int64_t at = msToFrames(ms, m->rate);
      std::vector<uint8_t> want = slice(linear.pcm, f, at, part.frames);
      ASSERT_EQ(part.pcm.size(), want.size());
      ASSERT_GT(part.frames, 0);
      // Lossy decoders may differ a little after a seek (their state before the
      // first frame is rebuilt), but a frame off would differ by far more.
      const int64_t allowed = m->tolerance == 0 ? 0 : 64 << (f.bits - 16);
      EXPECT_LE(maxDifference(part.pcm, want, f.bits), allowed);
      if (at > 0 && allowed > 0) {
        std::vector<uint8_t> early = slice(linear.pcm, f, at - 1, part.frames);
        EXPECT_GT(maxDifference(part.pcm, early, f.bits), 4 * allowed) << "a frame too early passes too";
      }
    }
  }
}

TEST(Conformance, seekingPastTheEndEnds) {
  for (const Media* m : playable()) {
    SCOPED_TRACE(m->file);
    const DecPlugin& p = *pluginNamed(m->plugin);
    Decoded past = decode(p, m->path(), nativeFormat(*m), 3600000);
    ASSERT_TRUE(past.opened);
    EXPECT_EQ(past.frames, 0);
    EXPECT_TRUE(past.endedCleanly);
    // And a seek back after the end plays again.
    Handle h(p, m->path());
    ASSERT_TRUE(h.ok());
    std::vector<uint8_t> out;
    while (h.read(nativeFormat(*m), 4096, out) > 0) {
    }
    h.seek(1000);
    std::vector<uint8_t> after;
    EXPECT_GT(h.read(nativeFormat(*m), 4096, after), 0) << "no data after seeking back from the end";
  }
}

TEST(Conformance, checkAnswersMatchTheFile) {
  for (const Media* m : playable()) {
    SCOPED_TRACE(m->file);
    const DecPlugin& p = *pluginNamed(m->plugin);
    ZvFileCheckRec rec;
    const uint32_t all = ZV_CHECK_PLAYABLE | ZV_CHECK_TYPE_NAME | ZV_CHECK_INFO_TEXT | ZV_CHECK_TAG_TEXT |
                         ZV_CHECK_LENGTH | ZV_CHECK_FORMAT_TEXT | ZV_CHECK_DESCRIPTION;
    ASSERT_EQ(check(p, m->path(), all, rec), 0);
    Decoded d = decode(p, m->path(), nativeFormat(*m), -1, 0);
    EXPECT_EQ(int64_t(rec.lengthMs), d.lengthMs);
    EXPECT_GT(std::strlen(rec.typeName), 0u);
    std::string info = rec.infoText;
    EXPECT_NE(info.find("Sample rate: " + std::to_string(m->rate) + " Hz"), std::string::npos) << info;
    EXPECT_NE(info.find("Channels: " + std::to_string(m->channels)), std::string::npos) << info;
    EXPECT_GT(std::strlen(rec.formatText), 0u);
    if (!m->formatText.empty()) {
      EXPECT_EQ(std::string(rec.formatText), m->formatText);
    }
  }
}

TEST(Conformance, tagsAndDescriptionComeFromTheFile) {
  int tagged = 0;
  for (const char* file : {"cbr320.mp3", "s44.flac", "vorbis.ogg", "opus.opus"}) {
    const Media* m = mediaNamed(file);
    if (!m || !pluginNamed(m->plugin)) continue;
    SCOPED_TRACE(file);
    ++tagged;
    ZvFileCheckRec rec;
    ASSERT_EQ(check(*pluginNamed(m->plugin), m->path(), ZV_CHECK_TAG_TEXT | ZV_CHECK_DESCRIPTION, rec), 0);
    std::string tags = rec.tagText;
    EXPECT_NE(tags.find("title=Conformance"), std::string::npos) << tags;
    EXPECT_NE(tags.find("artist=Zorvak"), std::string::npos) << tags;
    EXPECT_STREQ(rec.description, "Zorvak - Conformance");
  }
  EXPECT_EQ(tagged, 4);
  // Without tags the description is the file's name.
  const Media* plain = mediaNamed("notag.mp3");
  ASSERT_NE(plain, nullptr);
  ZvFileCheckRec rec;
  ASSERT_EQ(check(*pluginNamed(plain->plugin), plain->path(), ZV_CHECK_DESCRIPTION, rec), 0);
  EXPECT_STREQ(rec.description, "notag");
}

// Root mean square of a 16-bit buffer.
double rms16(const std::vector<uint8_t>& pcm) {
  double sum = 0;
  size_t n = pcm.size() / 2;
  for (size_t i = 0; i < n; ++i) {
    double v = sampleAt(pcm, i, 16);
    sum += v * v;
  }
  return n ? std::sqrt(sum / double(n)) : 0;
}

TEST(Conformance, convertsToTheFormatTheEngineAsks) {
  for (const char* file :
       {"cbr320.mp3", "s44.flac", "vorbis.ogg", "opus.opus", "s96.flac", "s48x6.flac", "s96.wav", "s48x6.wav", "f64.wav"}) {
    const Media* m = mediaNamed(file);
    ASSERT_NE(m, nullptr);
    const DecPlugin* p = pluginNamed(m->plugin);
    ASSERT_NE(p, nullptr);
    SCOPED_TRACE(file);
    Decoded native16 = decode(*p, m->path(), Format{m->rate, 16, m->channels});
    const int64_t frames = native16.frames;
    // Other rates: the whole signal, resampled, at the same loudness.
    for (int rate : {44100, 48000, 22050}) {
      if (rate == m->rate) continue;
      Decoded r = decode(*p, m->path(), Format{rate, 16, m->channels});
      const double expected = double(frames) * rate / m->rate;
      EXPECT_NEAR(double(r.frames), expected, 2.0) << rate;
      EXPECT_NEAR(rms16(r.pcm), rms16(native16.pcm), rms16(native16.pcm) * 0.05) << rate;
    }
    // Other depths carry the same samples, scaled.
    Decoded d24 = decode(*p, m->path(), Format{m->rate, 24, m->channels});
    Decoded d8 = decode(*p, m->path(), Format{m->rate, 8, m->channels});
    ASSERT_EQ(d24.frames, frames);
    ASSERT_EQ(d8.frames, frames);
    int64_t worst24 = 0, worst8 = 0;
    for (size_t i = 0; i < size_t(frames) * size_t(m->channels); ++i) {
      const int32_t s16 = sampleAt(native16.pcm, i, 16);
      worst24 = std::max<int64_t>(worst24, std::llabs(int64_t(sampleAt(d24.pcm, i, 24)) - int64_t(s16) * 256));
      worst8 = std::max<int64_t>(worst8, std::llabs(int64_t(sampleAt(d8.pcm, i, 8)) * 256 - s16));
    }
    EXPECT_LE(worst24, 128);
    EXPECT_LE(worst8, 128);
    // Other channel counts: mono down-mix and stereo from anything.
    for (int ch : {1, 2}) {
      if (ch == m->channels) continue;
      Decoded c = decode(*p, m->path(), Format{m->rate, 16, ch});
      EXPECT_EQ(c.frames, frames) << ch;
      EXPECT_GT(rms16(c.pcm), 100.0) << ch;
    }
  }
}

TEST(Conformance, twoHandlesDecodeAtOnceWithoutDisturbingEachOther) {
  for (const char* pair :
       {"cbr320.mp3|vbr.mp3", "s44.flac|s96.flac", "vorbis.ogg|opus.opus", "s44.flac|s44.flac", "s44.wav|s96.wav"}) {
    std::string a = pair, b = a.substr(a.find('|') + 1);
    a.resize(a.find('|'));
    SCOPED_TRACE(pair);
    const Media *ma = mediaNamed(a), *mb = mediaNamed(b);
    ASSERT_TRUE(ma && mb);
    const DecPlugin* p = pluginNamed(ma->plugin);
    ASSERT_NE(p, nullptr);
    const Format f{44100, 16, 2};
    Decoded aloneA = decode(*p, ma->path(), f), aloneB = decode(*p, mb->path(), f);
    Handle ha(*p, ma->path()), hb(*p, mb->path());
    ASSERT_TRUE(ha.ok() && hb.ok());
    std::vector<uint8_t> outA, outB;
    bool moreA = true, moreB = true;
    while (moreA || moreB) {
      if (moreA) moreA = ha.read(f, 700, outA) > 0;
      if (moreB) moreB = hb.read(f, 1100, outB) > 0;
    }
    ASSERT_EQ(outA.size(), aloneA.pcm.size());
    ASSERT_EQ(outB.size(), aloneB.pcm.size());
    EXPECT_EQ(maxDifference(outA, aloneA.pcm, 16), 0);
    EXPECT_EQ(maxDifference(outB, aloneB.pcm, 16), 0);
  }
}

}  // namespace
}  // namespace conf
