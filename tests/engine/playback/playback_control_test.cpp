// Choosing an input for a file (inOpen/inOpenNext), the control calls,
// checkFile and fsControl, with the test plug-ins of this test's root.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "host_fixture.h"
#include "testkit.h"
#include "zv_playback.h"

namespace {

using playbacktest::recorderLog;

std::string hex(const void* data, size_t n) {
  std::string out;
  char b[3];
  for (size_t i = 0; i < n; ++i) {
    snprintf(b, sizeof(b), "%02x", static_cast<const unsigned char*>(data)[i]);
    out += b;
  }
  return out;
}

bool recorderSaw(const std::string& text) {
  return zvtest::waitFor([&] { return recorderLog().find(text) != std::string::npos; }, 2000);
}

std::vector<char> checkRecordSpace() { return std::vector<char>(sizeof(ZvFileCheckRec), 0); }

class PlaybackControl : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { playbacktest::ensurePlugins(); }
};

TEST_F(PlaybackControl, opensOnTheKindWhoseCheckAcceptsAndSendsTheOpenBlock) {
  ZvTarget owner = GetCurrentThreadId();
  ZvStatusRec status = {};
  ZvOpenContext* ctx = nullptr;
  ZvTarget id = inOpen("Z:\\media\\recorder-ok.rec", owner, &status, &ctx);
  ASSERT_NE(id, 0u);
  ASSERT_NE(ctx, nullptr);
  EXPECT_STREQ(instanceInfoById(id)->name, "recorder");

  ZvInOpenPrm expect = {};
  std::strcpy(expect.fileName, "Z:\\media\\recorder-ok.rec");
  expect.status = &status;
  // The open message carries the owner as sender and the whole block.
  EXPECT_TRUE(recorderSaw("6124 " + std::to_string(owner) + " " + std::to_string(sizeof(ZvInOpenPrm)) + " " +
                          hex(&expect, sizeof(expect)) + ";"))
      << recorderLog();

  inPlay(id, 100, ZV_FADE_EXPONENTIAL);
  inSeek(id, 5000);
  inStop(id, 0, ZV_FADE_LINEAR);
  inClose(id, 300, ZV_FADE_LINEAR_NO_FADE_IN);
  inSetVideoRect(id, 1, 2, 3, 4, 5, 6, 7, 8);
  std::string me = std::to_string(GetCurrentThreadId());
  EXPECT_TRUE(recorderSaw("6127 " + me + " 8 6400000001000000;6126 " + me + " 4 88130000;6128 " + me +
                          " 8 0000000000000000;6125 " + me + " 8 2c01000002000000;6131 " + me + " 32 " +
                          "01000000020000000300000004000000050000000600000007000000" + "08000000;"))
      << recorderLog();

  // No other candidate accepts the file: the context ends.
  EXPECT_EQ(inOpenNext(&ctx), 0u);
  EXPECT_EQ(ctx, nullptr);
  EXPECT_EQ(inOpenNext(&ctx), 0u);  // a nil context does nothing
  stopPlugin(id);
}

TEST_F(PlaybackControl, decoderCandidatesComeFirstAndPlayInADecodeInstance) {
  ZvOpenContext* ctx = nullptr;
  // No list holds ".xyz": decoders are still asked first, then the kinds.
  const std::string asked = "check Z:\\media\\fake-ok recorder-ok.xyz;";
  ASSERT_EQ(recorderLog().find(asked), std::string::npos);
  ZvTarget id = inOpen("Z:\\media\\fake-ok recorder-ok.xyz", GetCurrentThreadId(), nullptr, &ctx);
  ASSERT_NE(id, 0u);
  EXPECT_STREQ(instanceInfoById(id)->name, "decode");
  EXPECT_EQ(recorderLog().find(asked), std::string::npos) << "the recorder must not be asked before the decoder";
  // The next candidate is the recorder kind, which accepts too.
  ZvTarget next = inOpenNext(&ctx);
  ASSERT_NE(next, 0u);
  EXPECT_STREQ(instanceInfoById(next)->name, "recorder");
  EXPECT_EQ(inOpenNext(&ctx), 0u);
  EXPECT_EQ(ctx, nullptr);
  stopPlugin(id);
  stopPlugin(next);
}

TEST_F(PlaybackControl, aFileNobodyTakesGivesZeroAndNoContext) {
  ZvOpenContext* ctx = nullptr;
  EXPECT_EQ(inOpen("Z:\\media\\nothing.xyz", GetCurrentThreadId(), nullptr, &ctx), 0u);
  EXPECT_EQ(ctx, nullptr);
}

TEST_F(PlaybackControl, longNamesAreCutTo259InTheOpenBlock) {
  std::string name = "Z:\\" + std::string(290, 'n') + "recorder-ok.rec";
  ZvOpenContext* ctx = nullptr;
  // The recorder looks for its marker in the full name it is asked about.
  ZvTarget id = inOpen(name.c_str(), GetCurrentThreadId(), nullptr, &ctx);
  ASSERT_NE(id, 0u);
  ZvInOpenPrm expect = {};
  std::memcpy(expect.fileName, name.data(), 259);
  EXPECT_TRUE(recorderSaw(hex(&expect, sizeof(expect)))) << "259 bytes and a NUL";
  inOpenNext(&ctx);
  stopPlugin(id);
}

TEST_F(PlaybackControl, checkFileAsksCandidatesAndMarksDecoderAnswers) {
  auto space = checkRecordSpace();
  auto* rec = reinterpret_cast<ZvFileCheckRec*>(space.data());
  const char* fake = "Z:\\m\\fake-ok.fak";
  rec->fileName = fake;
  rec->request = ZV_CHECK_PLAYABLE | ZV_CHECK_LENGTH;
  std::strcpy(rec->typeName, "stale");
  EXPECT_EQ(checkFile(rec), 0);
  EXPECT_EQ(rec->fileName, fake);
  EXPECT_EQ(rec->request, static_cast<uint32_t>(ZV_CHECK_PLAYABLE | ZV_CHECK_LENGTH));
  EXPECT_EQ(rec->lengthMs, 1234u);
  EXPECT_EQ(rec->resultFlags & ZV_CHECK_BY_DECODER, static_cast<uint32_t>(ZV_CHECK_BY_DECODER));
  EXPECT_STREQ(rec->typeName, "") << "the record is cleared before each plug-in";

  rec->fileName = "Z:\\m\\recorder-ok.rec";
  rec->request = ZV_CHECK_TYPE_NAME;
  EXPECT_EQ(checkFile(rec), 0);
  EXPECT_STREQ(rec->typeName, "Recorder file");
  EXPECT_EQ(rec->resultFlags & ZV_CHECK_BY_DECODER, 0u);

  rec->fileName = "Z:\\m\\recorder-bad.rec";
  EXPECT_EQ(checkFile(rec), 5) << "the answering plug-in's error";
  rec->fileName = "Z:\\m\\unknown.xyz";
  EXPECT_EQ(checkFile(rec), ZV_PLUGIN_NOT_MINE);

  // Only the recorder's check lines count: an instance started above may
  // still be logging its quit.
  auto checksAsked = [] {
    std::string log = recorderLog();
    size_t count = 0;
    for (size_t at = log.find("check "); at != std::string::npos; at = log.find("check ", at + 1)) ++count;
    return count;
  };
  const size_t before = checksAsked();
  rec->fileName = "Z:\\m\\list.m3u";
  EXPECT_EQ(checkFile(rec), ZV_PLUGIN_NOT_MINE);
  rec->fileName = zvtest::testDir().c_str();
  std::string dir = zvtest::testDir();
  rec->fileName = dir.c_str();
  EXPECT_EQ(checkFile(rec), ZV_PLUGIN_NOT_MINE);
  EXPECT_EQ(checksAsked(), before) << "playlists and folders are not offered to anyone";
  EXPECT_EQ(checkFile(nullptr), ZV_PLUGIN_NOT_MINE);
}

// Which of two willing plug-ins answers shows the order in which they were
// asked: the fake decoder (its list ".fak,.FK2,.rec2") and the recorder kind
// (".REC,.rec2") both take every file named "fake-ok recorder-ok".
TEST_F(PlaybackControl, checkFileAsksInFourPassesMatchingWholeListEntriesOnly) {
  struct Case {
    const char* extension;
    bool decoderAnswers;
    const char* why;
  };
  const Case cases[] = {
      {".rec2", true, "decoders naming the extension come before kinds naming it"},
      {".REC2", true, "the extension is compared without regard to case"},
      {".rec", false, "kinds naming the extension come before the other decoders"},
      {".Rec", false, "the list's \".REC\" names \".rec\""},
      {".xyz", true, "the other decoders come before the other kinds"},
      {".re", true, "\".re\" is no entry of the recorder's list, only part of one"},
      {".ec", true, "nor is \".ec\""},
      {".rec2x", true, "nor \".rec2x\""},
      {".r", true, "nor \".r\""},
  };
  auto space = checkRecordSpace();
  auto* rec = reinterpret_cast<ZvFileCheckRec*>(space.data());
  for (const Case& c : cases) {
    std::string name = std::string("Z:\\m\\fake-ok recorder-ok") + c.extension;
    rec->fileName = name.c_str();
    rec->request = ZV_CHECK_TYPE_NAME;
    ASSERT_EQ(checkFile(rec), 0) << name;
    bool byDecoder = (rec->resultFlags & ZV_CHECK_BY_DECODER) != 0;
    EXPECT_EQ(byDecoder, c.decoderAnswers) << name << ": " << c.why;
    EXPECT_STREQ(rec->typeName, c.decoderAnswers ? "" : "Recorder file") << name;
  }
}

TEST_F(PlaybackControl, checkFileMarksADecodersErrorAsTheDecodersToo) {
  auto space = checkRecordSpace();
  auto* rec = reinterpret_cast<ZvFileCheckRec*>(space.data());
  rec->fileName = "Z:\\m\\fake-bad recorder-ok.fak";
  rec->request = ZV_CHECK_LENGTH;
  EXPECT_EQ(checkFile(rec), 6) << "the decoder's error ends the search";
  EXPECT_EQ(rec->resultFlags & ZV_CHECK_BY_DECODER, static_cast<uint32_t>(ZV_CHECK_BY_DECODER));
  rec->fileName = "Z:\\m\\recorder-bad.rec";
  EXPECT_EQ(checkFile(rec), 5);
  EXPECT_EQ(rec->resultFlags & ZV_CHECK_BY_DECODER, 0u) << "a kind's error is not marked";
}

TEST_F(PlaybackControl, fsControlAsksPluginsInListOrderAndClearsTextUnlessStoring) {
  using SeenFn = const char*(__stdcall*)();
  auto seen = reinterpret_cast<SeenFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("answerer.zzz"), "answererSeen")));
  ASSERT_NE(seen, nullptr);
  ZvFsRequest req = {};
  req.path = "Z:\\m\\a.mp3";
  req.operation = ZV_FS_GET_DESC;
  std::strcpy(req.text, "left over");
  EXPECT_EQ(fsControl(&req), 0);
  EXPECT_STREQ(req.text, "from answerer");
  EXPECT_STREQ(seen(), "1 []");
  EXPECT_TRUE(recorderSaw("fs 1 [];")) << "the recorder is asked first and passes";

  req.operation = ZV_FS_SET_DESC;
  std::strcpy(req.text, "new description");
  EXPECT_EQ(fsControl(&req), 0);
  EXPECT_STREQ(seen(), "2 [new description]");
  EXPECT_TRUE(recorderSaw("fs 2 [new description];"));
}

}  // namespace
