// The instance runner that every built-in kind's thread uses, driven on real
// threads with posted messages, a real event, a real window on the runner's
// thread, and bus blocks from the engine's memory manager.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "playback/host/instance_runner.h"
#include "testkit.h"
#include "win32/owners.h"
#include "win32/window_base.h"
#include "zv_memory.h"
#include "zv_plugins.h"

namespace {

constexpr UINT kThrow = WM_APP + 1;    // the test kinds throw on this
constexpr UINT kRecord = WM_APP + 2;   // and note this one
constexpr UINT kEnd = WM_APP + 3;      // and end their loop on this
constexpr UINT kBusThrow = 6600;       // a bus code: its block must be finished even when handling throws
constexpr int kDeadlineMs = 5000;

// What the kinds and the report function saw; the kinds are made by the
// runner, so they find this through a global.
struct Seen {
  std::mutex lock;
  std::vector<std::string> reports;  // "kind|class|message"
  std::vector<UINT> messages;
  std::vector<UINT> quits;
  std::vector<UINT> windowMessages;
  std::atomic<int> wakes{0};
  std::atomic<int> destroyed{0};
  zv::UniqueKernelHandle wakeEvent{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  std::atomic<bool> throwOnWake{false};

  void clear() {
    std::lock_guard<std::mutex> hold(lock);
    reports.clear();
    messages.clear();
    quits.clear();
    windowMessages.clear();
    wakes = 0;
    destroyed = 0;
    throwOnWake = false;
  }
  std::vector<std::string> reportsNow() {
    std::lock_guard<std::mutex> hold(lock);
    return reports;
  }
  std::vector<UINT> messagesNow() {
    std::lock_guard<std::mutex> hold(lock);
    return messages;
  }
};
Seen g_seen;

void recordReport(const char* kind, const char* className, const char* message) {
  std::lock_guard<std::mutex> hold(g_seen.lock);
  g_seen.reports.push_back(std::string(kind) + "|" + className + "|" + message);
}

// Messages only; throws on kThrow and kBusThrow, ends on kEnd.
class MessageKind : public zv::KindInstance {
 public:
  ~MessageKind() override { ++g_seen.destroyed; }
  void onMessage(const MSG& msg) override {
    {
      std::lock_guard<std::mutex> hold(g_seen.lock);
      g_seen.messages.push_back(msg.message);
    }
    if (msg.message == kThrow) throw std::runtime_error("bad message");
    if (msg.message == kBusThrow) throw 42;
    if (msg.message == kEnd) endLoop();
  }
  void onQuit(UINT message) override {
    std::lock_guard<std::mutex> hold(g_seen.lock);
    g_seen.quits.push_back(message);
  }
};

// Its set-up fails, as a kind without its device would.
class FailingKind : public zv::KindInstance {
 public:
  FailingKind() { throw std::runtime_error("no device"); }
  void onMessage(const MSG&) override { ADD_FAILURE() << "a kind that was never made got a message"; }
};

// Woken by an event; may throw from the wake.
class EventKind : public MessageKind {
 public:
  HANDLE wakeHandle() override { return g_seen.wakeEvent.get(); }
  void onWake() override {
    ++g_seen.wakes;
    if (g_seen.throwOnWake) throw std::runtime_error("bad tick");
  }
};

// No handle, but a short timeout: woken without any message.
class TimeoutKind : public MessageKind {
 public:
  DWORD wakeTimeoutMs() override { return 5; }
  void onWake() override { ++g_seen.wakes; }
};

// A window of the kind's own on the runner's thread, as the Winamp host
// window and the CD control window are.
class KindWindow : public zv::WindowBase {
 public:
  bool create() { return WindowBase::create({"ZvRunnerTestWnd"}, 0, "", 0, 0, 0, 0, 0, HWND_MESSAGE); }

 private:
  LRESULT handle(UINT message, WPARAM wp, LPARAM lp) override {
    if (message == kRecord) {
      std::lock_guard<std::mutex> hold(g_seen.lock);
      g_seen.windowMessages.push_back(message);
      return 0;
    }
    return passOn(message, wp, lp);
  }
};

std::atomic<HWND> g_kindWindow{nullptr};

class WindowKind : public MessageKind {
 public:
  WindowKind() {
    window_.create();
    g_kindWindow = window_.hwnd();
  }

 private:
  KindWindow window_;
};

// One runner thread for kind K; the queue exists before the creator goes on,
// as beginKindThread makes sure for the engine's kinds.
template <class K>
class RunnerThread {
 public:
  RunnerThread() {
    g_seen.clear();
    thread_.reset(CreateThread(nullptr, 0, &RunnerThread::main, ready_.get(), 0, &id_));
    EXPECT_TRUE(thread_);
    EXPECT_EQ(WaitForSingleObject(ready_.get(), kDeadlineMs), WAIT_OBJECT_0);
  }
  ~RunnerThread() {
    if (!ended(0)) {
      post(msgPluginQuit);
      EXPECT_TRUE(ended(kDeadlineMs));
    }
  }
  DWORD id() const { return id_; }
  void post(UINT message) { PostThreadMessageA(id_, message, 0, 0); }
  bool ended(int ms) { return WaitForSingleObject(thread_.get(), DWORD(ms)) == WAIT_OBJECT_0; }

 private:
  static DWORD WINAPI main(void* ready) {
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(static_cast<HANDLE>(ready));
    zv::runInstance<K>("testkind", recordReport);
    return 0;
  }

  zv::UniqueKernelHandle ready_{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  zv::UniqueKernelHandle thread_;
  DWORD id_ = 0;
};

bool sawMessage(UINT message) {
  for (UINT m : g_seen.messagesNow())
    if (m == message) return true;
  return false;
}

TEST(InstanceRunner, aKindWhoseSetUpThrowsIsReportedAndItsThreadEnds) {
  RunnerThread<FailingKind> runner;
  EXPECT_TRUE(runner.ended(kDeadlineMs));
  const auto reports = g_seen.reportsNow();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("testkind|"), std::string::npos) << reports[0];
  EXPECT_NE(reports[0].find("runtime_error"), std::string::npos) << reports[0];
  EXPECT_NE(reports[0].find("|no device"), std::string::npos) << reports[0];
}

TEST(InstanceRunner, anExceptionInAMessageIsReportedAndTheNextMessageIsHandled) {
  RunnerThread<MessageKind> runner;
  runner.post(kThrow);
  runner.post(kRecord);
  ASSERT_TRUE(zvtest::waitFor([] { return sawMessage(kRecord); }, kDeadlineMs));
  EXPECT_FALSE(runner.ended(0));
  const auto reports = g_seen.reportsNow();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("|bad message"), std::string::npos) << reports[0];
}

TEST(InstanceRunner, aBusBlockIsFinishedEvenWhenItsHandlerThrows) {
  RunnerThread<MessageKind> runner;
  const int32_t* stat = debugGetMallocStat();
  const int32_t before = stat[ZV_STAT_POOL_BLOCKS];
  char data[16] = "block";
  pluginMsg(runner.id(), kBusThrow, data, sizeof(data));
  ASSERT_TRUE(zvtest::waitFor([] { return sawMessage(kBusThrow); }, kDeadlineMs));
  runner.post(kRecord);
  ASSERT_TRUE(zvtest::waitFor([] { return sawMessage(kRecord); }, kDeadlineMs));
  EXPECT_EQ(stat[ZV_STAT_POOL_BLOCKS], before);
  const auto reports = g_seen.reportsNow();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("|unknown|"), std::string::npos) << reports[0];
}

TEST(InstanceRunner, quitMessagesEndTheLoopAndReachTheKindOnce) {
  for (UINT quit : {UINT(WM_QUIT), UINT(msgPluginQuit)}) {
    RunnerThread<MessageKind> runner;
    runner.post(quit);
    runner.post(kRecord);  // after the quit: never handled
    EXPECT_TRUE(runner.ended(kDeadlineMs));
    EXPECT_FALSE(sawMessage(kRecord));
    EXPECT_EQ(g_seen.quits, std::vector<UINT>{quit});
    EXPECT_EQ(g_seen.destroyed, 1);
  }
}

TEST(InstanceRunner, endLoopEndsTheThreadAfterThatMessage) {
  RunnerThread<MessageKind> runner;
  runner.post(kEnd);
  runner.post(kRecord);
  EXPECT_TRUE(runner.ended(kDeadlineMs));
  EXPECT_EQ(g_seen.messagesNow(), std::vector<UINT>{kEnd});
  EXPECT_TRUE(g_seen.quits.empty());
  EXPECT_EQ(g_seen.destroyed, 1);
}

TEST(InstanceRunner, theWakeHandleWakesTheKindAndAThrowingWakeDoesNotEndIt) {
  RunnerThread<EventKind> runner;
  SetEvent(g_seen.wakeEvent.get());
  ASSERT_TRUE(zvtest::waitFor([] { return g_seen.wakes >= 1; }, kDeadlineMs));
  g_seen.throwOnWake = true;
  SetEvent(g_seen.wakeEvent.get());
  ASSERT_TRUE(zvtest::waitFor([] { return g_seen.reportsNow().size() == 1; }, kDeadlineMs));
  EXPECT_NE(g_seen.reportsNow()[0].find("|bad tick"), std::string::npos);
  runner.post(kRecord);
  EXPECT_TRUE(zvtest::waitFor([] { return sawMessage(kRecord); }, kDeadlineMs));
}

TEST(InstanceRunner, aTimeoutWakesTheKindWithoutAnyMessage) {
  RunnerThread<TimeoutKind> runner;
  EXPECT_TRUE(zvtest::waitFor([] { return g_seen.wakes >= 3; }, kDeadlineMs));
  EXPECT_TRUE(g_seen.messagesNow().empty());
}

TEST(InstanceRunner, messagesToTheKindsOwnWindowsGoToTheWindowNotTheKind) {
  g_kindWindow = nullptr;
  RunnerThread<WindowKind> runner;
  ASSERT_TRUE(zvtest::waitFor([] { return g_kindWindow.load() != nullptr; }, kDeadlineMs));
  PostMessageA(g_kindWindow, kRecord, 0, 0);
  runner.post(kEnd);
  EXPECT_TRUE(runner.ended(kDeadlineMs));
  std::lock_guard<std::mutex> hold(g_seen.lock);
  EXPECT_EQ(g_seen.windowMessages, std::vector<UINT>{kRecord});
  EXPECT_EQ(g_seen.messages, std::vector<UINT>{kEnd});
}

}  // namespace
