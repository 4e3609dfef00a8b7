// The plug-in host's start and end as the player drives them: initPlugins on
// its interface thread (which takes messages), freePlugins at exit, and both
// again. This program's root holds only the recorder test plug-in and the
// fake decoder.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "../playback/fixtures/recorder_log.h"
#include "testkit.h"
#include "zv_config.h"
#include "zv_memory.h"
#include "zv_playback.h"
#include "zv_playlist.h"
#include "zv_plugins.h"
#include "win32/owners.h"

namespace {

using recordertest::recorderLog;

std::string g_log;

std::string diagnostics() {
  auto bytes = zvtest::readFile(g_log);
  return std::string(bytes.begin(), bytes.end());
}

bool threadEnded(DWORD id, int ms) {
  zv::UniqueKernelHandle t(OpenThread(SYNCHRONIZE, FALSE, id));
  if (!t) return true;  // already gone
  return WaitForSingleObject(t.get(), static_cast<DWORD>(ms)) == WAIT_OBJECT_0;
}

// The player's interface thread: it takes messages, and runs what the test
// hands it there (initPlugins, freePlugins), one call at a time.
class InterfaceThread {
 public:
  InterfaceThread() {
    started_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    thread_.reset(CreateThread(nullptr, 0, loop, this, 0, &id_));
    WaitForSingleObject(started_.get(), 10000);
  }
  ~InterfaceThread() {
    PostThreadMessageA(id_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_.get(), 10000);
  }
  DWORD id() const { return id_; }
  // Runs `work` on the thread; false when it did not finish in time.
  bool run(const std::function<void()>& work, DWORD ms = 20000) {
    zv::UniqueKernelHandle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    Job job{&work, done.get()};
    bool ok = PostThreadMessageA(id_, kRun, 0, reinterpret_cast<LPARAM>(&job)) &&
              WaitForSingleObject(done.get(), ms) == WAIT_OBJECT_0;
    return ok;
  }

 private:
  static constexpr UINT kRun = WM_APP + 77;
  struct Job {
    const std::function<void()>* work;
    HANDLE done;
  };
  static DWORD WINAPI loop(void* self) {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    SetEvent(static_cast<InterfaceThread*>(self)->started_.get());
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (msg.hwnd == nullptr && msg.message == kRun) {
        auto* job = reinterpret_cast<Job*>(msg.lParam);
        (*job->work)();
        SetEvent(job->done);
        continue;
      }
      DispatchMessageA(&msg);
    }
    return 0;
  }
  zv::UniqueKernelHandle started_;
  zv::UniqueKernelHandle thread_;
  DWORD id_ = 0;
};

BOOL CALLBACK collectMonitor(HWND window, LPARAM out) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  if (pid == GetCurrentProcessId() && std::strcmp(name, "CDMonitorWnd") == 0)
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
  return TRUE;
}

// This process's CD monitor windows.
std::vector<HWND> monitors() {
  std::vector<HWND> found;
  EnumWindows(collectMonitor, reinterpret_cast<LPARAM>(&found));
  return found;
}

class PluginLifecycle : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    g_log = zvtest::testDir() + "\\diagnostics.txt";
    DeleteFileA(g_log.c_str());
    SetEnvironmentVariableA("ZVENGINE_LOG", g_log.c_str());
  }
  void SetUp() override { ASSERT_TRUE(ui_.run([] { initPlugins(); })); }
  void TearDown() override { ui_.run([] { freePlugins(); }); }
  InterfaceThread ui_;
};

TEST_F(PluginLifecycle, theCdMonitorLivesOnTheThreadThatCalledInitPluginsUntilFreePlugins) {
  // Made by initPlugins on its caller's thread, not by the library's load on
  // the loading thread (this one).
  auto found = monitors();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(GetWindowThreadProcessId(found[0], nullptr), ui_.id());
  ui_.run([] { initPlugins(); });
  EXPECT_EQ(monitors().size(), 1u) << "a second initPlugins makes no second monitor";
  ASSERT_TRUE(ui_.run([] { freePlugins(); }));
  EXPECT_TRUE(monitors().empty()) << "freePlugins takes the monitor down";
  // freePlugins called from another thread than the monitor's still ends it.
  ASSERT_TRUE(ui_.run([] { initPlugins(); }));
  ASSERT_EQ(monitors().size(), 1u);
  freePlugins();
  EXPECT_TRUE(zvtest::waitFor([] { return monitors().empty(); }, 5000));
}

TEST_F(PluginLifecycle, freePluginsEndsInstancesLastStartedFirstAndWaitsForEach) {
  ZvTarget owner = GetCurrentThreadId();
  std::vector<ZvTarget> ids;
  for (int i = 0; i < 3; ++i) {
    ids.push_back(startPlugin("recorder", owner));
    ASSERT_NE(ids.back(), 0u);
    int32_t lingerMs = 150;  // each one takes a while to go, well within the wait
    pluginMsg(ids.back(), 6997, &lingerMs, sizeof(lingerMs));
  }
  ASSERT_TRUE(zvtest::waitFor([&] { return recorderLog().find("6997 ") != std::string::npos; }, 2000));
  ASSERT_TRUE(ui_.run([] { freePlugins(); }));
  // Waited for: every thread is gone the moment freePlugins returns.
  for (ZvTarget id : ids) EXPECT_TRUE(threadEnded(static_cast<DWORD>(id), 0)) << id;
  EXPECT_EQ(instanceCount(), 0);
  EXPECT_EQ(pluginCount(), 0);
  std::string log = recorderLog();
  size_t third = log.find("quit " + std::to_string(ids[2]) + ";");
  size_t second = log.find("quit " + std::to_string(ids[1]) + ";");
  size_t first = log.find("quit " + std::to_string(ids[0]) + ";");
  ASSERT_NE(first, std::string::npos) << log;
  ASSERT_NE(second, std::string::npos) << log;
  ASSERT_NE(third, std::string::npos) << log;
  EXPECT_LT(third, second) << log;
  EXPECT_LT(second, first) << log;
  EXPECT_EQ(diagnostics().find("did not end"), std::string::npos) << diagnostics();
}

TEST_F(PluginLifecycle, anInstanceThatOutlivesTheWaitIsNamedAndKeepsItsRecord) {
  ZvTarget id = startPlugin("recorder", GetCurrentThreadId());
  ASSERT_NE(id, 0u);
  const ZvInstanceRec* rec = instanceInfoById(id);
  ASSERT_NE(rec, nullptr);
  int32_t lingerMs = 2500;  // longer than freePlugins waits
  pluginMsg(id, 6997, &lingerMs, sizeof(lingerMs));
  ASSERT_TRUE(zvtest::waitFor([&] { return recorderLog().find("6997 ") != std::string::npos; }, 2000));
  ASSERT_TRUE(ui_.run([] { freePlugins(); }));
  EXPECT_FALSE(threadEnded(static_cast<DWORD>(id), 0)) << "the instance should still be running";
  std::string line = "freePlugins: instance recorder (thread " + std::to_string(id) + ") did not end within 1000 ms";
  EXPECT_NE(diagnostics().find(line), std::string::npos) << diagnostics();
  // Its record was left to it, not freed under it.
  const auto* header = reinterpret_cast<const ZvBlockHeader*>(reinterpret_cast<const char*>(rec) - 24);
  EXPECT_STREQ(header->tag, "instanceRec");
  EXPECT_STREQ(rec->name, "recorder");
  EXPECT_EQ(rec->threadId, id);
  EXPECT_TRUE(threadEnded(static_cast<DWORD>(id), 10000));
}

TEST_F(PluginLifecycle, initPluginsAfterFreePluginsBuildsTheSameLists) {
  int32_t kinds = pluginCount(), decoders = decoderCount();
  ASSERT_GT(kinds, 5);
  ASSERT_EQ(decoders, 1);
  ASSERT_TRUE(ui_.run([] {
    freePlugins();
    initPlugins();
  }));
  EXPECT_EQ(pluginCount(), kinds);
  EXPECT_EQ(decoderCount(), decoders) << "decoders are listed once";
}

// The supported extensions admit files into directory listings.
std::vector<std::string> listed(const std::string& dir) {
  Playlist pl = createPlaylist(0);
  std::vector<std::string> names;
  if (plLoad(pl, dir.c_str(), 0) == plResultOk)
    for (int32_t i = 0; i < plGetCount(pl); ++i) {
      std::string name = plGetName(pl, i);
      names.push_back(name.substr(name.rfind('\\') + 1));
    }
  freePlaylist(pl);
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(PluginLifecycle, reloadSuppExtAddsTheUsersExtensionsWholeAndLowerCased) {
  std::string dir = zvtest::freshDir("suppext");
  for (const char* name : {"a.mod", "b.it", "c.mo", "d.rec", "e.rec2", "f.re", "g.m3u", "h.xyz", "i.IT"})
    zvtest::writeFile(dir + "\\" + name, "x", 1);
  setConfigString("userExt", ".MOD,,.it");
  reloadSuppExt();
  EXPECT_EQ(listed(dir), (std::vector<std::string>{"a.mod", "b.it", "d.rec", "e.rec2", "g.m3u", "i.IT"}));
  setConfigString("userExt", "");
  reloadSuppExt();
  EXPECT_EQ(listed(dir), (std::vector<std::string>{"d.rec", "e.rec2", "g.m3u"}));
}

}  // namespace
