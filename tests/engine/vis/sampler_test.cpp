// The `insampler` instance records the wave-in device into the visualisation
// buffer while started, stops cleanly, and without a device stays off but
// keeps taking its messages, trying again at the next start.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "testkit.h"
#include "vis_fixture.h"
#include "zv_config.h"
#include "zv_plugins.h"
#include "zv_vis.h"
#include "win32/owners.h"

namespace {

constexpr int32_t kUntouched = 77;  // a channel count prepareVis never stores

class Sampler : public ::testing::Test {
 protected:
  void SetUp() override {
    vistest::ensurePlugins();
    setConfigInt("sampler_device", -1);
    instance_ = startPlugin("insampler", GetCurrentThreadId());
    ASSERT_NE(instance_, 0u);
    const ZvInstanceRec* rec = instanceInfoById(instance_);
    ASSERT_TRUE(rec);
    DuplicateHandle(GetCurrentProcess(), static_cast<HANDLE>(rec->threadHandle), GetCurrentProcess(), thread_.put(),
                    SYNCHRONIZE, FALSE, 0);
  }
  void TearDown() override {
    setConfigInt("sampler_device", -1);
    if (instance_) stopPlugin(instance_);
    if (thread_) {
      EXPECT_EQ(WaitForSingleObject(thread_.get(), 5000), WAIT_OBJECT_0) << "the thread ends when stopped";
      thread_.reset();
    }
  }

  bool recording(int ms) {
    getVisData()->channels = kUntouched;
    return zvtest::waitFor([] { return getVisData()->channels == 2; }, ms);
  }
  size_t noDeviceLines() {
    const std::string log = vistest::diagnostics();
    size_t count = 0;
    for (size_t at = log.find("Sampler: no wave-in device"); at != std::string::npos;
         at = log.find("Sampler: no wave-in device", at + 1))
      ++count;
    return count;
  }
  bool threadAlive() { return WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT; }

  ZvTarget instance_ = 0;
  zv::UniqueKernelHandle thread_;
};

TEST_F(Sampler, recordsWhileStartedAndNotAfterStop) {
  if (waveInGetNumDevs() == 0) GTEST_SKIP() << "this machine offers no wave-in device";
  pluginMsgX(instance_, msgSamplerStart);
  ASSERT_TRUE(recording(5000)) << "2048-frame blocks of 16-bit stereo reach the buffer";
  pluginMsgX(instance_, msgSamplerStart);  // a second start restarts recording
  EXPECT_TRUE(recording(5000));
  pluginMsgX(instance_, msgSamplerStop);
  // Blocks already on their way may still land; after that nothing does.
  EXPECT_TRUE(zvtest::waitFor([&] { return !recording(300); }, 5000));
  pluginMsgX(instance_, msgSamplerStop);  // stopping twice is harmless
  EXPECT_TRUE(threadAlive());
}

TEST_F(Sampler, withoutADeviceSamplingStaysOffAndALaterStartTriesAgain) {
  // Device 99 exists nowhere: the same path as a machine without wave-in.
  setConfigInt("sampler_device", 99);
  const size_t before = noDeviceLines();
  pluginMsgX(instance_, msgSamplerStart);
  ASSERT_TRUE(zvtest::waitFor([&] { return noDeviceLines() == before + 1; }, 5000));
  EXPECT_FALSE(recording(300));
  pluginMsgX(instance_, msgConfigChanged);
  pluginMsgX(instance_, msgSamplerStop);
  pluginMsgX(instance_, msgSamplerStart);
  EXPECT_TRUE(zvtest::waitFor([&] { return noDeviceLines() == before + 2; }, 5000)) << "still taking messages";
  EXPECT_TRUE(threadAlive());

  setConfigInt("sampler_device", -1);
  pluginMsgX(instance_, msgSamplerStart);
  if (waveInGetNumDevs() == 0) {
    EXPECT_TRUE(zvtest::waitFor([&] { return noDeviceLines() == before + 3; }, 5000));
    EXPECT_FALSE(recording(300));
  } else {
    EXPECT_TRUE(recording(5000)) << "the default device records once it can be opened";
    EXPECT_EQ(noDeviceLines(), before + 2);
  }
  pluginMsgX(instance_, msgSamplerStop);
}

}  // namespace
