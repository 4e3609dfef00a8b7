// The `winampvis` host with a recording visualisation library: what the
// library is given, what its parent window answers, and how a fault in the
// library ends it without ending the player.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "fixtures/recording_vis_state.h"
#include "testkit.h"
#include "vis_fixture.h"
#include "zv_memory.h"
#include "zv_plugins.h"
#include "zv_vis.h"
#include "zvdsp.h"
#include "win32/owners.h"

namespace {

std::string libraryPath() { return zvtest::rootDir() + "\\..\\testroot\\vis\\recording_vis.dll"; }

int32_t planeLength() {
  ZvOutParams p = {};
  outGetParams(&p);
  return p.visFrames;
}

class WinampVis : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
    vistest::ensurePlugins();
    // Our own reference keeps the library's record alive when the host frees it.
    library_.reset(LoadLibraryA(libraryPath().c_str()));
    ASSERT_TRUE(library_) << libraryPath();
    auto fn = reinterpret_cast<recvis::StateFn>(reinterpret_cast<void*>(GetProcAddress(library_.get(), "recordingVisState")));
    ASSERT_TRUE(fn);
    state_ = fn();
    std::memset(static_cast<void*>(state_), 0, sizeof(*state_));
    follow_ = std::make_unique<vistest::TestWindow>(120, 60, 30, 50);
    instance_ = startPlugin("winampvis", GetCurrentThreadId());
    ASSERT_NE(instance_, 0u);
    const ZvInstanceRec* rec = instanceInfoById(instance_);
    ASSERT_TRUE(rec);
    DuplicateHandle(GetCurrentProcess(), static_cast<HANDLE>(rec->threadHandle), GetCurrentProcess(), thread_.put(),
                    SYNCHRONIZE, FALSE, 0);
    ZvWindowPrm prm = {follow_->handle()};
    pluginMsg(instance_, msgVisWindow, &prm, sizeof(prm));
  }
  void TearDown() override {
    if (instance_) stopPlugin(instance_);
    // The next test must not share the library with a host still ending.
    if (thread_) {
      EXPECT_EQ(WaitForSingleObject(thread_.get(), 5000), WAIT_OBJECT_0);
      thread_.reset();
    }
    vistest::pumpMessages();
    follow_.reset();
    library_.reset();
  }

  void open(const std::string& path, int32_t index = 0) {
    ZvWinampVisOpen prm = {};
    std::strncpy(prm.libraryPath, path.c_str(), sizeof(prm.libraryPath) - 1);
    prm.moduleIndex = index;
    prm.followWindow = follow_->handle();
    pluginMsg(instance_, msgVisSettings, &prm, sizeof(prm));
  }

  bool waitRenders(int32_t count) {
    const int32_t start = state_->renderCalls;
    return zvtest::waitFor([&] {
      vistest::pumpMessages();
      return state_->renderCalls >= start + count;
    }, 5000);
  }

  // Collects bus messages until `done` holds for them.
  std::vector<MSG> collectUntil(const std::function<bool(const std::vector<MSG>&)>& done, int ms) {
    std::vector<MSG> got;
    zvtest::waitFor([&] {
      vistest::pumpMessages(&got);
      return done(got);
    }, ms);
    return got;
  }

  zv::UniqueModule library_;
  recvis::State* state_ = nullptr;
  std::unique_ptr<vistest::TestWindow> follow_;
  ZvTarget instance_ = 0;
  zv::UniqueKernelHandle thread_;  // the instance's thread
};

bool has(const std::vector<MSG>& msgs, UINT code) {
  for (const MSG& m : msgs)
    if (m.message == code) return true;
  return false;
}

void finishAll(std::vector<MSG>& msgs) {
  for (MSG& m : msgs) finishMsg(&m);
  msgs.clear();
}

TEST_F(WinampVis, libraryGetsItsWindowAndThePlanes) {
  ZvVisBuffer* vis = getVisData();
  for (int i = 0; i < ZV_VIS_PLANE; ++i) {
    vis->scopeLeft[i] = int8_t(i * 3);
    vis->scopeRight[i] = int8_t(-i);
    vis->spectrumLeft[i] = uint8_t(i / 5);
    vis->spectrumRight[i] = uint8_t(i * 11);
  }
  ZvVisSongInfo song = {};
  std::strcpy(song.fileName, "C:\\music\\caf\xe9.mp3");
  std::strcpy(song.title, "A title");
  song.positionMs = 61234;
  song.lengthMs = 245999;
  song.playing = 1;
  song.sampleRate = 48000;
  song.bitrate = 192;
  song.channels = 2;
  pluginMsg(instance_, msgVisSongInfo, &song, sizeof(song));
  open(libraryPath());
  ASSERT_TRUE(waitRenders(3));

  EXPECT_EQ(state_->initCalls, 1);
  EXPECT_EQ(state_->initRate, 44100);
  EXPECT_EQ(state_->initChannels, 2);
  EXPECT_EQ(state_->initInstance, static_cast<void*>(library_.get()));
  HWND host = static_cast<HWND>(state_->initParent);
  ASSERT_TRUE(IsWindow(host));
  char cls[64] = {}, title[64] = {};
  GetClassNameA(host, cls, sizeof(cls));
  GetWindowTextA(host, title, sizeof(title));
  EXPECT_STREQ(cls, "Winamp 1.x");
  EXPECT_STREQ(title, "A title");
  RECT hostRect, followRect;
  GetWindowRect(host, &hostRect);
  GetWindowRect(follow_->handle(), &followRect);
  EXPECT_TRUE(EqualRect(&hostRect, &followRect)) << "the window takes the followed window's place";
  EXPECT_TRUE(GetWindowLongA(host, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

  EXPECT_EQ(state_->spectrumNch, 2);
  EXPECT_EQ(state_->waveformNch, 2);
  const int32_t n = planeLength();
  ASSERT_GT(n, 0);
  for (int i = 0; i < 576; ++i) {
    const int at = n >= 576 ? i : (n - 1) * i / 575;
    ASSERT_EQ(state_->waveform[0][i], uint8_t(vis->scopeLeft[at])) << i;
    ASSERT_EQ(state_->waveform[1][i], uint8_t(vis->scopeRight[at])) << i;
    const int spectrumAt = (n - 1) * i / 575;
    ASSERT_EQ(state_->spectrum[0][i], vis->spectrumLeft[spectrumAt]) << i;
    ASSERT_EQ(state_->spectrum[1][i], vis->spectrumRight[spectrumAt]) << i;
  }

  // {wParam, lParam} -> answer, in the library's order of questions.
  const intptr_t expected[recvis::kQuestions] = {8272, 1, 61234, 245, 0, 1, 48000, 192, 2, 0, -1, -1, -1, 0};
  for (int i = 0; i < recvis::kQuestions; ++i)
    if (expected[i] != -1) {
      EXPECT_EQ(state_->answers[i], expected[i]) << "lParam " << recvis::kQuestionList[i][1];
    }
  EXPECT_STREQ(state_->emptyText, "");
  EXPECT_STREQ(state_->fileName, "C:\\music\\caf\xe9.mp3");
  EXPECT_STREQ(state_->title, "A title");
}

TEST_F(WinampVis, windowFollowsAndRetitlesAndUnloadsOnEmptyPath) {
  open(libraryPath());
  ASSERT_TRUE(waitRenders(1));
  HWND host = static_cast<HWND>(state_->initParent);

  vistest::TestWindow other(90, 40, 200, 120);
  RECT target;
  GetWindowRect(other.handle(), &target);
  PostThreadMessageA(DWORD(instance_), ZV_WINAMPVIS_FOLLOW, reinterpret_cast<WPARAM>(other.handle()), 0);
  EXPECT_TRUE(zvtest::waitFor([&] {
    RECT r;
    GetWindowRect(host, &r);
    return EqualRect(&r, &target) != 0;
  }, 3000));

  ZvVisSongInfo song = {};
  std::strcpy(song.title, "Second song");
  pluginMsg(instance_, msgVisSongInfo, &song, sizeof(song));
  EXPECT_TRUE(zvtest::waitFor([&] {
    char t[64] = {};
    GetWindowTextA(host, t, sizeof(t));
    return std::string(t) == "Second song";
  }, 3000));
  ASSERT_TRUE(waitRenders(1));
  EXPECT_STREQ(state_->title, "Second song");

  open("");
  EXPECT_TRUE(zvtest::waitFor([&] { return state_->quitCalls == 1 && !IsWindow(host); }, 3000));
  const int32_t renders = state_->renderCalls;
  EXPECT_FALSE(zvtest::waitFor([&] { return state_->renderCalls != renders; }, 200)) << "no rendering after unload";
}

TEST_F(WinampVis, faultInRenderUnloadsAndTellsOwnerAndWindow) {
  open(libraryPath());
  ASSERT_TRUE(waitRenders(1));
  HWND host = static_cast<HWND>(state_->initParent);
  state_->faultInRender = 1;
  auto got = collectUntil([](const std::vector<MSG>& m) { return has(m, msgVisClosed) && has(m, msgPluginError); }, 5000);
  ASSERT_TRUE(has(got, msgVisClosed));
  ASSERT_TRUE(has(got, msgPluginError));
  for (const MSG& m : got) {
    if (m.message == msgPluginError) {
      EXPECT_EQ(m.hwnd, follow_->handle()) << "the error goes to the followed window";
      ZvPluginErrorPrm error = {};
      ASSERT_EQ(_mgetsize(reinterpret_cast<void*>(m.lParam)), int32_t(sizeof(error)));
      getMsgPrm(&m, &error);
      EXPECT_STREQ(error.caption, "Winamp visualizer");
      EXPECT_EQ(std::string(error.text).rfind("Plug-in caused an exception and will be closed.\nAccessViolation: ", 0), 0u)
          << error.text;
    }
    if (m.message == msgVisClosed) {
      EXPECT_EQ(m.hwnd, nullptr) << "the owner is this thread";
    }
  }
  finishAll(got);
  EXPECT_TRUE(zvtest::waitFor([&] { return !IsWindow(host); }, 3000));
  EXPECT_EQ(state_->quitCalls, 0) << "a faulted module is not called again";
  EXPECT_NE(vistest::diagnostics().find("WinampVis.Render: AccessViolation"), std::string::npos);

  // The instance lives on and takes the next library.
  const int32_t inits = state_->initCalls;
  open(libraryPath());
  EXPECT_TRUE(zvtest::waitFor([&] { return state_->initCalls == inits + 1; }, 3000));
  EXPECT_TRUE(waitRenders(2));
}

TEST_F(WinampVis, librariesWithoutAModuleLoadNothingAndSayNothing) {
  open(libraryPath(), 1);  // the library has module 0 only
  open(zvtest::rootDir() + "\\bin\\zvdsp.dll");  // no winampVisGetHeader
  open(zvtest::testDir() + "\\missing.dll");
  state_->initResult = 1;  // a module that refuses to start is never rendered
  open(libraryPath());
  auto got = collectUntil([](const std::vector<MSG>& m) { return has(m, msgVisClosed); }, 5000);
  EXPECT_TRUE(has(got, msgVisClosed)) << "a refused start is told to the owner";
  EXPECT_FALSE(has(got, msgPluginError));
  finishAll(got);
  EXPECT_EQ(state_->initCalls, 1);
  EXPECT_EQ(state_->renderCalls, 0);
  EXPECT_EQ(state_->quitCalls, 0);
}

TEST_F(WinampVis, stoppingTheInstanceQuitsTheLibrary) {
  open(libraryPath());
  ASSERT_TRUE(waitRenders(1));
  stopPlugin(instance_);
  instance_ = 0;
  auto got = collectUntil([](const std::vector<MSG>& m) { return has(m, msgVisClosed); }, 5000);
  EXPECT_TRUE(has(got, msgVisClosed));
  finishAll(got);
  EXPECT_EQ(state_->quitCalls, 1);
  EXPECT_EQ(WaitForSingleObject(thread_.get(), 5000), WAIT_OBJECT_0);
}

TEST_F(WinampVis, configShowsOverTheParentAndFailsSoftly) {
  EXPECT_EQ(visPluginConfig(libraryPath().c_str(), 0, follow_->handle()), ZV_TRUE);
  EXPECT_EQ(state_->configCalls, 1);
  EXPECT_EQ(state_->configParent, static_cast<void*>(follow_->handle()));
  EXPECT_EQ(state_->configInstance, static_cast<void*>(library_.get()));
  EXPECT_EQ(state_->initCalls, 0) << "configuring does not start the module";

  EXPECT_EQ(visPluginConfig(libraryPath().c_str(), 3, nullptr), 0);
  EXPECT_EQ(visPluginConfig((zvtest::testDir() + "\\missing.dll").c_str(), 0, nullptr), 0);
  EXPECT_EQ(visPluginConfig(nullptr, 0, nullptr), 0);
  state_->faultInConfig = 1;
  EXPECT_EQ(visPluginConfig(libraryPath().c_str(), 0, nullptr), 0) << "a fault in the dialog is a failure, not a crash";
  EXPECT_EQ(state_->configCalls, 2);
}

}  // namespace
