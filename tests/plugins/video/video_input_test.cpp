// The video input (video.z) through the real engine: which files it claims,
// what its open report says, the pictures it draws into a real window (read
// back by their frame-number strip), its clock against the sound, seeking,
// the picture adjustments and rectangle, the sound at the capture, and
// damaged files.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "picture_adjust.h"
#include "testkit.h"
#include "video_harness.h"
#include "zvdsp.h"

using namespace videotest;

namespace {

constexpr int kFrameMs = 40;  // the test videos run at 25 frames a second

class VideoInput : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { initPlugins(); }
  void SetUp() override {
    ASSERT_NE(owner(), nullptr);
    pump();
    notes().clear();
  }
  static ZvInCheckFileFn videoCheck() {
    const ZvPluginRec* kind = pluginInfoByName("video");
    return kind ? kind->inCheckFile : nullptr;
  }
  void showIn(const Stream& s, PictureWindow& w, ZvRect32 target = {0, 0, 320, 240}) { w.attach(s.id(), target); }
};

#define REQUIRE_DISPLAY() \
  do {                                                      \
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display"; \
  } while (0)

TEST_F(VideoInput, registersAsAnInputKindWithItsExtensions) {
  const ZvPluginRec* kind = pluginInfoByName("video");
  ASSERT_NE(kind, nullptr);
  EXPECT_EQ(kind->kindFlags & (pfInput | pfInternal), uint32_t(pfInput));
  EXPECT_NE(std::strstr(kind->extensions, ".mp4"), nullptr);
  EXPECT_NE(std::strstr(kind->extensions, ".mkv"), nullptr);
  EXPECT_NE(std::strstr(kind->extensions, ".webm"), nullptr);
  EXPECT_NE(std::strstr(kind->extensions, ".avi"), nullptr);
}

TEST_F(VideoInput, claimsFilesByTheirContent) {
  struct Case {
    const char* file;
    int32_t result;
    const char* format;  // formatText when claimed
    uint32_t lengthMs;
  };
  const Case cases[] = {
      {"bars.mp4", ZV_PLUGIN_DONE, "H264 320x240", 4000},
      {"bars-vp9.webm", ZV_PLUGIN_DONE, "VP9 320x240", 2000},
      {"bars-vp8.webm", ZV_PLUGIN_DONE, "VP8 320x240", 2000},
      {"bars-mpeg4.mkv", ZV_PLUGIN_DONE, "MPEG4 320x240", 2000},
      {"bars-hevc.mkv", ZV_PLUGIN_DONE, "HEVC 320x240", 2000},
      {"bars-mjpeg.avi", ZV_PLUGIN_DONE, "MJPEG 320x240", 2000},
      {"bars-renamed.dat", ZV_PLUGIN_DONE, "H264 320x240", 4000},
      {"sound-only.m4a", ZV_PLUGIN_DONE, "AAC 44100 Hz", 2000},
      {"text.mp4", ZV_PLUGIN_NOT_MINE, nullptr, 0},
      {"head-only.mp4", ZV_PLUGIN_NOT_MINE, nullptr, 0},
      {"missing.mp4", ZV_PLUGIN_NOT_MINE, nullptr, 0},
  };
  ZvInCheckFileFn check = videoCheck();
  ASSERT_NE(check, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<char> space(sizeof(ZvFileCheckRec));
    auto* rec = reinterpret_cast<ZvFileCheckRec*>(space.data());
    const std::string name = media(c.file);
    rec->fileName = name.c_str();
    rec->request = ZV_CHECK_PLAYABLE | ZV_CHECK_TYPE_NAME | ZV_CHECK_FORMAT_TEXT | ZV_CHECK_LENGTH | ZV_CHECK_INFO_TEXT;
    ASSERT_EQ(check(rec), c.result);
    if (c.result != ZV_PLUGIN_DONE) continue;
    EXPECT_STREQ(rec->typeName, "Video file");
    EXPECT_STREQ(rec->formatText, c.format);
    EXPECT_NEAR(double(rec->lengthMs), double(c.lengthMs), 100.0);
    EXPECT_NE(std::strstr(rec->infoText, "Container: "), nullptr);
  }
}

TEST_F(VideoInput, reportsPicturesAndSoundInItsOpenReport) {
  struct Case {
    const char* file;
    uint32_t caps;
    int width, height;
  };
  const Case cases[] = {
      {"bars.mp4", capVideo | capStream, 320, 240},      {"bars-vp9.webm", capVideo | capStream, 320, 240},
      {"bars-vp8.webm", capVideo | capStream, 320, 240}, {"bars-mpeg4.mkv", capVideo | capStream, 320, 240},
      {"bars-hevc.mkv", capVideo | capStream, 320, 240}, {"bars-mjpeg.avi", capVideo | capStream, 320, 240},
      {"pictures-only.mp4", capVideo, 320, 240},         {"sound-only.m4a", capStream, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Stream s(media(c.file));
    ASSERT_TRUE(s.opened());
    EXPECT_EQ(s.report().caps, c.caps);
    EXPECT_EQ(s.report().width, c.width);
    EXPECT_EQ(s.report().height, c.height);
    EXPECT_GT(s.status().audio.lengthMs, 1900);
    EXPECT_EQ(s.status().audio.state, stStopped);
    if (c.caps & capVideo) {
      EXPECT_EQ(s.status().frameRate, 2500);
    }
  }
}

TEST_F(VideoInput, showsTheFirstPictureBeforePlayingAndSeeksToTheExactFrame) {
  REQUIRE_DISPLAY();
  PictureWindow w;
  Stream s(media("bars.mp4"));
  ASSERT_TRUE(s.opened());
  showIn(s, w);
  EXPECT_EQ(waitFrame(w, 0), 0);
  // Targets between key frames (one a second) and at a frame's last millisecond.
  struct Case {
    int ms, frame;
  } cases[] = {{2000, 50}, {1030, 25}, {3999, 99}, {520, 13}, {0, 0}, {1679, 41}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ms);
    inSeek(s.id(), c.ms);
    EXPECT_EQ(waitFrame(w, c.frame), c.frame);
    EXPECT_EQ(s.status().audio.positionMs, c.ms);
  }
}

TEST_F(VideoInput, drawsTheColoursOfTheBars) {
  REQUIRE_DISPLAY();
  PictureWindow w;
  Stream s(media("bars.mp4"));
  ASSERT_TRUE(s.opened());
  showIn(s, w);
  ASSERT_EQ(waitFrame(w, 0), 0);
  // The bars at mid height as Debian's ffmpeg decodes them: 75 % grey,
  // yellow, cyan, green, magenta, red, blue.
  struct Case {
    int x;
    int r, g, b;
  } cases[] = {{20, 190, 190, 190}, {65, 192, 190, 0},  {110, 0, 190, 189}, {160, 0, 188, 0},
               {205, 190, 0, 191},  {250, 191, 0, 0},   {300, 0, 0, 191}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    COLORREF p = w.pixel(c.x, 100);
    EXPECT_NEAR(GetRValue(p), c.r, 12);
    EXPECT_NEAR(GetGValue(p), c.g, 12);
    EXPECT_NEAR(GetBValue(p), c.b, 12);
  }
}

TEST_F(VideoInput, eachCodecDrawsItsPictures) {
  REQUIRE_DISPLAY();
  for (const char* file : {"bars-vp9.webm", "bars-vp8.webm", "bars-mpeg4.mkv", "bars-hevc.mkv", "bars-mjpeg.avi"}) {
    SCOPED_TRACE(file);
    PictureWindow w;
    Stream s(media(file));
    ASSERT_TRUE(s.opened());
    showIn(s, w);
    // Frame 30 whatever small start offset the container gives the pictures.
    inSeek(s.id(), 1230);
    EXPECT_EQ(waitFrame(w, 30), 30);
  }
}

TEST_F(VideoInput, showsEachPictureAtItsTimeAgainstTheSoundClock) {
  REQUIRE_DISPLAY();
  PictureWindow w;
  Stream s(media("bars.mp4"));
  ASSERT_TRUE(s.opened());
  showIn(s, w);
  ASSERT_EQ(waitFrame(w, 0), 0);
  inPlay(s.id(), 0, 0);
  int samples = 0, last = -1;
  zvtest::waitFor([&] {
    pump();
    const int before = s.status().audio.positionMs;
    const int code = frameCode(w);
    const int after = s.status().audio.positionMs;
    if (code < 0 || after <= 0) return false;
    // The picture on screen is the one whose time the clock passed last:
    // within one frame of the positions read around it.
    EXPECT_GE(code, before / kFrameMs - 1) << before << ".." << after;
    EXPECT_LE(code, after / kFrameMs + 1) << before << ".." << after;
    EXPECT_GE(code, last);
    last = code;
    return ++samples >= 40 || s.status().audio.state != stPlaying;
  }, 20000);
  EXPECT_GE(samples, 10);
  ASSERT_NE(waitNote(s.id(), msgEndReached, 20000), nullptr);
  EXPECT_EQ(frameCode(w), 99);  // the last picture stays
}

TEST_F(VideoInput, seekWhilePlayingLandsOnTheFrameOfThePosition) {
  REQUIRE_DISPLAY();
  PictureWindow w;
  Stream s(media("bars.mp4"));
  ASSERT_TRUE(s.opened());
  showIn(s, w);
  inPlay(s.id(), 0, 0);
  ASSERT_TRUE(zvtest::waitFor([&] { pump(); return s.status().audio.state == stPlaying; }, 5000));
  inSeek(s.id(), 3000);
  ASSERT_TRUE(zvtest::waitFor([&] { pump(); return s.status().audio.positionMs >= 3000; }, 5000));
  inStop(s.id(), 0, 0);
  ASSERT_TRUE(zvtest::waitFor([&] { pump(); return s.status().audio.state == stStopped; }, 5000));
  const int position = s.status().audio.positionMs;
  EXPECT_GE(position, 3000);
  const int code = waitFrame(w, position / kFrameMs, 5000);
  EXPECT_NEAR(code, position / kFrameMs, 1) << position;
}

TEST_F(VideoInput, soundReachesTheDeviceAndTheEndIsReported) {
  Stream s(media("bars.mp4"));
  ASSERT_TRUE(s.opened());
  const size_t before = zvtest::readFile(zvtest::captureFile()).size();
  inPlay(s.id(), 0, 0);
  ASSERT_NE(waitNote(s.id(), msgEndReached, 30000), nullptr);
  ASSERT_NE(waitNote(s.id(), msgClosed, 5000), nullptr);
  ZvOutParams p{};
  outGetParams(&p);
  ASSERT_EQ(p.bits, 16);
  auto bytes = zvtest::readFile(zvtest::captureFile());
  ASSERT_GT(bytes.size(), before);
  // The left channel of the frames that are not silent: about 4 s of a 440 Hz tone.
  std::vector<int16_t> left;
  const size_t frameBytes = size_t(p.channels) * 2;
  for (size_t i = before / frameBytes * frameBytes; i + frameBytes <= bytes.size(); i += frameBytes) {
    int16_t l;
    std::memcpy(&l, &bytes[i], 2);
    bool silent = true;
    for (size_t k = 0; k < frameBytes; ++k) silent = silent && bytes[i + k] == 0;
    if (!silent) left.push_back(l);
  }
  EXPECT_NEAR(double(left.size()) / p.sampleRate, 4.0, 0.3);
  int crossings = 0;
  for (size_t i = 1; i < left.size(); ++i) crossings += (left[i - 1] < 0) != (left[i] < 0);
  EXPECT_NEAR(crossings / 2.0 / (double(left.size()) / p.sampleRate), 440.0, 10.0);
}

TEST_F(VideoInput, fadesOutToAStopResumesThereAndFadesOutToAClose) {
  REQUIRE_DISPLAY();
  PictureWindow w;
  Stream s(media("bars.mp4"));
  ASSERT_TRUE(s.opened());
  showIn(s, w);
  inPlay(s.id(), 0, 0);
  ASSERT_TRUE(zvtest::waitFor([&] { pump(); return s.status().audio.positionMs >= 800; }, 10000));
  inStop(s.id(), 300, ZV_FADE_LINEAR);
  ASSERT_TRUE(zvtest::waitFor([&] { pump(); return s.status().audio.state == stFading; }, 5000));
  ASSERT_TRUE(zvtest::waitFor([&] { pump(); return s.status().audio.state == stStopped; }, 5000));
  const int stoppedAt = s.status().audio.positionMs;
  EXPECT_GE(stoppedAt, 800);
  // Stopped: the picture of the stop position, and the clock stands.
  EXPECT_NEAR(waitFrame(w, stoppedAt / kFrameMs), stoppedAt / kFrameMs, 1);
  EXPECT_EQ(s.status().audio.positionMs, stoppedAt);
  inPlay(s.id(), 0, 0);
  ASSERT_TRUE(zvtest::waitFor([&] { pump(); return s.status().audio.state == stPlaying; }, 5000));
  EXPECT_GE(s.status().audio.positionMs, stoppedAt);
  inClose(s.id(), 300, ZV_FADE_LINEAR);
  EXPECT_NE(waitNote(s.id(), msgClosed, 5000), nullptr);
  EXPECT_EQ(s.status().audio.state, stClosed);
}

TEST_F(VideoInput, keepsTheVideoWordsOfTheStatusRecord) {
  REQUIRE_DISPLAY();
  PictureWindow w;
  // The measured rate counts the pictures of each whole second of real time.
  // Pictures without sound play by the wall clock: two seconds of them stay
  // on for two seconds. (With sound the test device sets the pace, four
  // times real time or faster: a clip can be over before a second passed.)
  Stream s(media("pictures-only.mp4"));
  ASSERT_TRUE(s.opened());
  showIn(s, w);
  inPlay(s.id(), 0, 0);
  ASSERT_TRUE(zvtest::waitFor([&] { pump(); return s.status().frameRate2 > 0; }, 10000))
      << "state " << s.status().audio.state << " at " << s.status().audio.positionMs << " ms, "
      << s.status().droppedPercent << " % dropped";
  EXPECT_LE(s.status().frameRate2, 2600) << "at most the 25 pictures of a second, and one on its edge";
  EXPECT_EQ(s.status().frameRate, 2500);
  EXPECT_GT(s.status().videoKbps, 0);
  EXPECT_GE(s.status().droppedPercent, 0);
  EXPECT_LE(s.status().droppedPercent, 100);
  EXPECT_LT(std::abs(s.status().syncOffsetMs), 1000);
}

TEST_F(VideoInput, picturesWithoutSoundPlayByTheWallClock) {
  REQUIRE_DISPLAY();
  PictureWindow w;
  Stream s(media("pictures-only.mp4"));
  ASSERT_TRUE(s.opened());
  showIn(s, w);
  const DWORD start = GetTickCount();
  inPlay(s.id(), 0, 0);
  ASSERT_NE(waitNote(s.id(), msgEndReached, 10000), nullptr);
  EXPECT_GE(GetTickCount() - start, 1800u);  // 2 s of pictures in real time
  EXPECT_EQ(frameCode(w), 49);
}

TEST_F(VideoInput, drawsOnlyIntoTheGivenRectangle) {
  REQUIRE_DISPLAY();
  PictureWindow w;
  Stream s(media("bars.mp4"));
  ASSERT_TRUE(s.opened());
  showIn(s, w, {40, 30, 200, 150});  // half size
  inSeek(s.id(), 2000);
  ASSERT_TRUE(zvtest::waitFor([&] { pump(); return frameCode(w, 0.5, 40, 30) == 50; }, 10000));
  // The full-size picture drawn before the rectangle came is handed back to
  // the window, which paints it over.
  EXPECT_TRUE(zvtest::waitFor([&] { pump(); return w.pixel(20, 20) == kBackground; }, 5000));
  EXPECT_EQ(w.pixel(250, 200), kBackground);
  EXPECT_EQ(w.pixel(39, 100), kBackground);
  EXPECT_NE(w.pixel(41, 100), kBackground);
}

TEST_F(VideoInput, adjustmentsChangeTheShownPicture) {
  REQUIRE_DISPLAY();
  PictureWindow w;
  Stream s(media("bars.mp4"));
  ASSERT_TRUE(s.opened());
  showIn(s, w);
  ASSERT_EQ(waitFrame(w, 0), 0);
  // The bars at mid height: grey (75 %) at the left, yellow next to it.
  auto luma = [&](int x) {
    COLORREF c = w.pixel(x, 100);
    return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
  };
  const int grey = luma(20);
  auto adjust = [&](int b, int c, int colour) {
    ZvVideoAdjustPrm prm{b, c, colour, {0, 0}};
    pluginMsg(s.id(), msgInVideoAdjust, &prm, sizeof(prm));
  };
  adjust(600, 0, 0);
  EXPECT_TRUE(zvtest::waitFor([&] { pump(); return luma(20) > grey + 40; }, 5000)) << grey << " " << luma(20);
  adjust(0, -1000, 0);  // no contrast: every bar the same grey
  EXPECT_TRUE(zvtest::waitFor([&] { pump(); return std::abs(luma(20) - luma(65)) < 8; }, 5000));
  adjust(0, 0, -1000);  // no colour: the yellow bar turns grey
  EXPECT_TRUE(zvtest::waitFor([&] {
    pump();
    COLORREF c = w.pixel(65, 100);
    return std::abs(GetRValue(c) - GetBValue(c)) < 12 && std::abs(GetGValue(c) - GetBValue(c)) < 12;
  }, 5000));
  adjust(0, 0, 0);
  EXPECT_TRUE(zvtest::waitFor([&] { pump(); return std::abs(luma(20) - grey) < 4; }, 5000));
}

TEST_F(VideoInput, damagedFilesNeitherCrashNorHang) {
  for (const char* file : {"truncated.mp4", "garbled.mkv", "garbled.mp4", "head-only.mp4", "text.mp4"}) {
    SCOPED_TRACE(file);
    Stream s(media(file));
    if (!s.opened()) continue;  // refused is fine; not answering would have timed out above
    inPlay(s.id(), 0, 0);
    inSeek(s.id(), 1500);
    // It either plays what it can to the end or closes; never hangs.
    EXPECT_TRUE(zvtest::waitFor([&] {
      pump();
      return waitNote(s.id(), msgEndReached, 0) || waitNote(s.id(), msgClosed, 0);
    }, 20000));
  }
  // The thread still answers afterwards.
  Stream s(media("bars.mp4"));
  EXPECT_TRUE(s.opened());
}

// Every damaged file of the fixture's table: the check answers in time, and
// a file that opens plays, seeks and ends or closes without hanging.
TEST_F(VideoInput, damageTableNeitherCrashesNorHangs) {
  WIN32_FIND_DATAA found;
  zv::UniqueFind find(FindFirstFileA(media("damaged-*").c_str(), &found));
  ASSERT_TRUE(find.valid());
  ZvInCheckFileFn check = videoCheck();
  ASSERT_NE(check, nullptr);
  int files = 0, opened = 0;
  do {
    const std::string name = found.cFileName;
    SCOPED_TRACE(name);
    ++files;
    std::vector<char> space(sizeof(ZvFileCheckRec));
    auto* rec = reinterpret_cast<ZvFileCheckRec*>(space.data());
    const std::string path = media(name);
    rec->fileName = path.c_str();
    rec->request = ZV_CHECK_PLAYABLE | ZV_CHECK_LENGTH | ZV_CHECK_INFO_TEXT;
    const DWORD start = GetTickCount();
    const int32_t result = check(rec);
    EXPECT_TRUE(result == ZV_PLUGIN_DONE || result == ZV_PLUGIN_NOT_MINE);
    EXPECT_LT(GetTickCount() - start, 5000u);
    Stream s(path);
    if (!s.opened()) continue;
    ++opened;
    inPlay(s.id(), 0, 0);
    inSeek(s.id(), 700);
    EXPECT_TRUE(zvtest::waitFor([&] {
      pump();
      return waitNote(s.id(), msgEndReached, 0) || waitNote(s.id(), msgClosed, 0);
    }, 20000));
  } while (FindNextFileA(find.get(), &found));
  EXPECT_EQ(files, 40);
  EXPECT_GT(opened, 10);  // most damage still leaves something to play
}

// The status record belongs to the owner, who may free it as soon as the
// stream said it is closed (a player's record of a stream that is gone, a
// test's record on its stack): whatever reaches the instance afterwards
// (another close, play, seek, stop) must leave it alone.
TEST_F(VideoInput, leavesTheStatusRecordAloneOnceClosed) {
  enum class Ending { closedStopped, closedPlaying, playedToTheEnd };
  struct Case {
    const char* file;
    Ending ending;
  } cases[] = {
      {"bars-vp8.webm", Ending::closedStopped},
      {"bars.mp4", Ending::closedPlaying},
      {"sound-only.m4a", Ending::closedPlaying},
      {"damaged-cut3-bars-vp9.webm", Ending::playedToTheEnd},
      {"damaged-hit5-bars.mp4", Ending::closedPlaying},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Stream s(media(c.file));
    ASSERT_TRUE(s.opened());
    if (c.ending != Ending::closedStopped) inPlay(s.id(), 0, 0);
    if (c.ending == Ending::playedToTheEnd) {
      ASSERT_NE(waitNote(s.id(), msgEndReached, 20000), nullptr);
    } else {
      inClose(s.id(), 0, 0);
    }
    ASSERT_TRUE(waitNoteCount(s.id(), msgClosed, 1, 10000));
    ASSERT_EQ(s.status().audio.state, stClosed);
    // From here on the record is no longer the instance's.
    std::memset(&s.status(), 0xA5, sizeof(s.status()));
    inClose(s.id(), 0, 0);
    inPlay(s.id(), 0, 0);
    inSeek(s.id(), 500);
    inStop(s.id(), 0, 0);
    inClose(s.id(), 0, 0);
    // Both closes are answered; by then everything sent before them is done.
    ASSERT_TRUE(waitNoteCount(s.id(), msgClosed, 3, 10000));
    const auto* bytes = reinterpret_cast<const uint8_t*>(&s.status());
    for (size_t i = 0; i < sizeof(s.status()); ++i) ASSERT_EQ(bytes[i], 0xA5) << "byte " << i;
  }
}

TEST(PictureAdjust, mapsTheControlsToTheConverterParameters) {
  struct Case {
    zvvideo::PictureAdjust in;
    int brightness, contrast, saturation;
  } cases[] = {
      {{0, 0, 0}, 0, 65536, 65536},
      {{1000, 1000, 1000}, 65536, 131072, 131072},
      {{-1000, -1000, -1000}, -65536, 0, 0},
      {{500, -500, 250}, 32768, 32768, 81920},
      {{5000, -7000, 99999}, 65536, 0, 131072},  // clamped
  };
  for (const Case& c : cases) {
    zvvideo::SwsColorParams p = zvvideo::swsColorParams(c.in);
    EXPECT_EQ(p.brightness, c.brightness);
    EXPECT_EQ(p.contrast, c.contrast);
    EXPECT_EQ(p.saturation, c.saturation);
  }
}

}  // namespace
