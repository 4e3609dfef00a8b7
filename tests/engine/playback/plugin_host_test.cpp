// The plug-in host and message bus through the engine's exports, with real
// plug-in libraries in this test's own root, real threads and posted messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host_fixture.h"
#include "testkit.h"
#include "win32/owners.h"
#include "zv_memory.h"
#include "zv_playback.h"
#include "zv_plugins.h"

namespace {

using playbacktest::diagnostics;
using playbacktest::recorderLog;

DWORD WINAPI exitAtOnce(void*) { return 0; }

bool threadEnded(ZvTarget id, int ms) {
  zv::UniqueKernelHandle t(OpenThread(SYNCHRONIZE, FALSE, static_cast<DWORD>(id)));
  if (!t) return true;  // already gone
  return WaitForSingleObject(t.get(), static_cast<DWORD>(ms)) == WAIT_OBJECT_0;
}

// Messages posted to this thread: code and, for blocks, the allocation tag
// and the bytes.
struct Received {
  UINT code;
  std::string tag;
  std::string data;
};

std::vector<Received> drainOwnQueue(UINT code) {
  std::vector<Received> got;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, code, code, PM_REMOVE)) {
    Received r{msg.message, "", ""};
    if (msg.lParam) {
      auto* h = reinterpret_cast<const ZvBlockHeader*>(reinterpret_cast<const char*>(msg.lParam) - 24);
      r.tag = h->tag;
      r.data.resize(static_cast<size_t>(_mgetsize(reinterpret_cast<void*>(msg.lParam))));
      getMsgPrm(&msg, r.data.data());
    }
    finishMsg(&msg);
    got.push_back(r);
  }
  return got;
}

class PluginHost : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { playbacktest::ensurePlugins(); }
};

TEST_F(PluginHost, registersBuiltInKindsInOrderThenGeneralPlugins) {
  ASSERT_EQ(pluginCount(), 7);
  const char* names[] = {"vis", "winampvis", "cdaudio", "decode", "insampler", "recorder", "answerer"};
  const uint32_t flags[] = {4, 20, 1, 17, 0, pfInput, 0};
  const char* descriptions[] = {"Visualizer", "Winamp vis", "CD player", "Decoder", "Sampler",
                                "Recorder test plug-in", "Answerer test plug-in"};
  for (int i = 0; i < 7; ++i) {
    const ZvPluginRec* r = pluginInfoByNum(i);
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->name, names[i]);
    EXPECT_EQ(r->kindFlags, flags[i]) << names[i];
    EXPECT_STREQ(r->description, descriptions[i]);
    EXPECT_EQ(r->threadId, 0u);
    EXPECT_NE(r->comInit, nullptr);
  }
  EXPECT_STREQ(pluginInfoByNum(2)->extensions, ".cda");
  // The decode kind speaks for the decoders: their lists joined in load order.
  ASSERT_EQ(decoderCount(), 2);
  std::string joined = std::string(decoderInfoByNum(0)->extensions) + "," + decoderInfoByNum(1)->extensions;
  EXPECT_EQ(std::string(pluginInfoByNum(3)->extensions), joined);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(decoderInfoByNum(i)->kindFlags, static_cast<uint32_t>(pfDecoder)) << "whatever the library says";
    EXPECT_STREQ(decoderInfoByNum(i)->name, "");
  }
  EXPECT_EQ(decoderInfoByNum(2), nullptr);
  const ZvPluginRec* rec = pluginInfoByName("RECORDER");
  ASSERT_NE(rec, nullptr);
  EXPECT_STREQ(rec->fileName, "recorder.zz");
  EXPECT_STREQ(rec->extensions, ".REC,.rec2");
  EXPECT_STREQ(rec->extra, "extra text");
  EXPECT_EQ(rec->infoTail[15], 0x5A);
  EXPECT_NE(rec->module, nullptr);
  EXPECT_EQ(pluginInfoByName("folder"), nullptr);
  EXPECT_EQ(pluginInfoByName("notalibrary"), nullptr);
  EXPECT_EQ(pluginInfoByName("invalid"), nullptr);
  EXPECT_NE(diagnostics().find("invalid.z is not a valid plugin"), std::string::npos) << diagnostics();
}

TEST_F(PluginHost, aSecondInitPluginsChangesNothing) {
  int32_t kinds = pluginCount(), decoders = decoderCount();
  initPlugins();
  EXPECT_EQ(pluginCount(), kinds);
  EXPECT_EQ(decoderCount(), decoders);
}

TEST_F(PluginHost, outOfRangeIndexesGiveNullAndADiagnosticLine) {
  EXPECT_EQ(pluginInfoByNum(-1), nullptr);
  EXPECT_EQ(pluginInfoByNum(pluginCount()), nullptr);
  EXPECT_NE(diagnostics().find("pluginInfo argument -1 not in valid range 0..6"), std::string::npos);
  EXPECT_NE(diagnostics().find("pluginInfo argument 7 not in valid range 0..6"), std::string::npos);
  EXPECT_EQ(instanceInfoByNum(instanceCount()), nullptr);
  EXPECT_NE(diagnostics().find("instanceInfo argument"), std::string::npos);
}

TEST_F(PluginHost, messagesReachAnInstanceWithTheirBlockAndSender) {
  ZvTarget owner = GetCurrentThreadId();
  ZvTarget id = startPlugin("Recorder", owner);
  ASSERT_NE(id, 0u);
  const ZvInstanceRec* inst = instanceInfoById(id);
  ASSERT_NE(inst, nullptr);
  EXPECT_EQ(inst->threadId, id);
  EXPECT_NE(inst->threadHandle, nullptr);
  EXPECT_EQ(instanceInfoByName("recorder"), inst);

  const unsigned char data[3] = {0x01, 0xAB, 0x00};
  pluginMsg(id, 6500, data, 3);
  pluginMsgFromX(777, id, 6501);
  std::string expect = "6500 " + std::to_string(owner) + " 3 01ab00;6501 777 0 ;";
  EXPECT_TRUE(zvtest::waitFor([&] { return recorderLog().find(expect) != std::string::npos; }, 2000))
      << recorderLog();

  int before = instanceCount();
  stopPlugin(id);
  EXPECT_EQ(instanceCount(), before - 1);
  EXPECT_EQ(instanceInfoById(id), nullptr);
  EXPECT_TRUE(threadEnded(id, 2000));
  stopPlugin(id);  // unknown now: nothing happens
  EXPECT_EQ(startPlugin("no such kind", owner), 0u);
}

TEST_F(PluginHost, broadcastReachesEveryInstanceOnceAndEveryFilterEntry) {
  ZvTarget self = GetCurrentThreadId();
  ZvTarget a = startPlugin("recorder", self);
  ZvTarget b = startPlugin("recorder", self);
  addBroadcastFilter(self, 7100);
  addBroadcastFilter(self, 7100);
  addBroadcastFilter(self, 7101);
  const char payload[5] = "abcd";
  pluginMsg(0, 7100, payload, 4);

  std::string fromA = "7100 " + std::to_string(self) + " 4 61626364;";
  EXPECT_TRUE(zvtest::waitFor([&] {
    std::string log = recorderLog();
    size_t first = log.find(fromA);
    return first != std::string::npos && log.find(fromA, first + 1) != std::string::npos;
  }, 2000)) << recorderLog();
  auto own = drainOwnQueue(7100);
  ASSERT_EQ(own.size(), 2u);
  for (const Received& r : own) {
    EXPECT_EQ(r.tag, "bfilterMsg");
    EXPECT_EQ(r.data, "abcd");
  }
  EXPECT_TRUE(drainOwnQueue(7101).empty());

  delBroadcastFilter(self, 7100);
  pluginMsgX(0, 7100);
  Sleep(50);  // nothing may arrive: give a wrong post time to show up
  EXPECT_TRUE(drainOwnQueue(7100).empty());
  delBroadcastFilter(self, 7101);
  stopPlugin(a);
  stopPlugin(b);
  EXPECT_TRUE(threadEnded(a, 2000));
  EXPECT_TRUE(threadEnded(b, 2000));
}

TEST_F(PluginHost, messageToADeadTargetLeavesNoBlock) {
  DWORD deadId = 0;
  zv::UniqueKernelHandle t(CreateThread(nullptr, 0, exitAtOnce, nullptr, 0, &deadId));
  WaitForSingleObject(t.get(), INFINITE);
  const int32_t* stat = debugGetMallocStat();
  int32_t pool = stat[ZV_STAT_POOL_BLOCKS], heap = stat[ZV_STAT_HEAP_IN_USE];
  int32_t posted = stat[ZV_STAT_MESSAGES_POSTED];
  char big[600] = {};
  pluginMsg(deadId, 6600, big, 16);
  pluginMsg(deadId, 6600, big, sizeof(big));
  EXPECT_EQ(stat[ZV_STAT_POOL_BLOCKS], pool);
  EXPECT_EQ(stat[ZV_STAT_HEAP_IN_USE], heap);
  EXPECT_EQ(stat[ZV_STAT_MESSAGES_POSTED], posted);
}

// How many diagnostic lines hold `text`.
int linesWith(const std::string& text) {
  std::string all = diagnostics();
  int n = 0;
  for (size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1)) ++n;
  return n;
}

TEST_F(PluginHost, aFailedPostIsCountedAndToldOnceASecondWithCodeAndTarget) {
  DWORD deadId = 0;
  // The handle stays open to the end: a thread's number is not given to a
  // new thread while its object lives (closed, it comes back after a few
  // hundred thread starts anywhere on the machine).
  zv::UniqueKernelHandle dead(CreateThread(nullptr, 0, exitAtOnce, nullptr, 0, &deadId));
  ASSERT_NE(dead.get(), nullptr);
  WaitForSingleObject(dead.get(), INFINITE);
  const std::string line = "Message bus: message 6601 to " + std::to_string(deadId) + " ";
  ASSERT_EQ(linesWith(line), 0);
  // The bus tries a target that is no thread as a window, and a 16-bit
  // number names any window of any process whose handle ends in it: a post
  // may find one of another test program's windows. Such a post is counted
  // as posted, and every post is counted one way or the other.
  const int32_t* stat = debugGetMallocStat();
  const int32_t postedBefore = stat[ZV_STAT_MESSAGES_POSTED];
  // Another test's failure may have had this second's line: post until told.
  int posts = 0;
  ASSERT_TRUE(zvtest::waitFor([&] {
    pluginMsgX(deadId, 6601);
    ++posts;
    return linesWith(line) == 1;
  }, 3000)) << diagnostics();
  for (int i = 0; i < 50; ++i) pluginMsgX(deadId, 6601);
  posts += 50;
  EXPECT_LE(linesWith(line), 2) << "a burst of failures writes one line a second, not one each";
  // Once the second has passed the next failure is told again, with the
  // count of every message dropped so far.
  ASSERT_TRUE(zvtest::waitFor([&] {
    pluginMsgX(deadId, 6601);
    ++posts;
    return linesWith(line) >= 2;
  }, 3000));
  const long delivered = stat[ZV_STAT_MESSAGES_POSTED] - postedBefore;
  std::string all = diagnostics();
  size_t last = all.rfind(line);
  size_t count = all.find("; ", last);
  ASSERT_NE(count, std::string::npos);
  EXPECT_GE(std::atol(all.c_str() + count + 2), long(posts) - delivered) << all.substr(last, 120);
  EXPECT_LT(delivered, long(posts)) << "the dead thread's posts failed";
  EXPECT_NE(all.find("dropped so far", last), std::string::npos);
}

TEST_F(PluginHost, finishMsgFreesOnlyBusBlocks) {
  const int32_t* stat = debugGetMallocStat();
  int32_t pool = stat[ZV_STAT_POOL_BLOCKS];
  void* block = mallocex(8, "test");
  MSG outside = {};
  outside.message = WM_USER + 1;  // not a bus code: lParam is not ours to free
  outside.lParam = reinterpret_cast<LPARAM>(block);
  finishMsg(&outside);
  EXPECT_EQ(stat[ZV_STAT_POOL_BLOCKS], pool + 1);
  MSG bus = outside;
  bus.message = ZV_BUS_LAST;
  finishMsg(&bus);
  EXPECT_EQ(stat[ZV_STAT_POOL_BLOCKS], pool);
  MSG quit = {};
  quit.message = msgPluginQuit;  // lParam 0, nothing to free
  finishMsg(&quit);
}

TEST_F(PluginHost, builtInInstancesRunUnderTheirNameAndQuit) {
  ZvTarget self = GetCurrentThreadId();
  for (const char* kind : {"vis", "winampvis", "cdaudio", "decode", "insampler"}) {
    ZvTarget id = startPlugin(kind, self);
    ASSERT_NE(id, 0u) << kind;
    char name[260] = {};
    debugGetThreadName(static_cast<uint32_t>(id), name);
    EXPECT_STREQ(name, pluginInfoByName(kind)->description);
    pluginMsgX(id, msgConfigChanged);  // re-reads its priority and goes on
    pluginMsgX(id, 6999);              // unknown: ignored
    EXPECT_FALSE(threadEnded(id, 50)) << kind;
    stopPlugin(id);
    EXPECT_TRUE(threadEnded(id, 2000)) << kind;
    debugGetThreadName(static_cast<uint32_t>(id), name);
    EXPECT_EQ(std::string(name), std::to_string(id)) << "unregistered on stop";
  }
}

}  // namespace
