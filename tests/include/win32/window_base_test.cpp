// The window base through real windows: binding at WM_NCCREATE, what comes
// before it, exceptions in handlers, and every way a window ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "testkit.h"
#include "win32/owners.h"
#include "win32/window_base.h"

namespace {

constexpr UINT kAsk = WM_APP + 1;    // answered with wParam times the window's factor
constexpr UINT kThrow = WM_APP + 2;  // the handler throws

struct HookCall {
  std::string className;
  std::string what;
  std::string type;  // learnt by rethrowing inside the hook
};
std::vector<HookCall> g_hookCalls;

void recordingHook(const char* className, const char* what) {
  HookCall call{className, what, "none"};
  try {
    throw;
  } catch (const std::runtime_error&) {
    call.type = "runtime_error";
  } catch (...) {
    call.type = "other";
  }
  g_hookCalls.push_back(call);
}

class TestWindow : public zv::WindowBase {
 public:
  explicit TestWindow(LRESULT factor = 1, UINT failOn = 0) : factor_(factor), failOn_(failOn) {}
  ~TestWindow() override { destroy(); }

  // A message-only window: no display needed.
  bool create() { return WindowBase::create({"ZvTestWindow"}, 0, "", 0, 0, 0, 0, 0, HWND_MESSAGE); }
  // A top-level overlapped window (never shown).
  bool createOverlapped() {
    return WindowBase::create({"ZvTestWindow"}, 0, "test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100);
  }

  std::vector<UINT> handled;
  int destroyedCalls = 0;

 private:
  LRESULT handle(UINT message, WPARAM wp, LPARAM lp) override {
    handled.push_back(message);
    if (message == failOn_) {
      if (message == WM_CREATE) return -1;
      throw std::runtime_error("refused");
    }
    if (message == kAsk) return LRESULT(wp) * factor_;
    if (message == kThrow) throw std::runtime_error("handler failed");
    return passOn(message, wp, lp);
  }
  void destroyed() override { ++destroyedCalls; }

  LRESULT factor_;
  UINT failOn_;
};

class WindowBaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_hookCalls.clear();
    zv::setWindowExceptionHook(recordingHook);
  }
  void TearDown() override { zv::setWindowExceptionHook(nullptr); }
};

// The messages sent to windows of this thread, in order, seen before any
// window procedure runs.
std::vector<UINT>* g_sent = nullptr;
LRESULT CALLBACK recordSent(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && g_sent) g_sent->push_back(reinterpret_cast<const CWPSTRUCT*>(lp)->message);
  return CallNextHookEx(nullptr, code, wp, lp);
}

TEST_F(WindowBaseTest, messagesBeforeNcCreateGoByTheObjectAndItIsBoundFromThere) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
  std::vector<UINT> sent;
  g_sent = &sent;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, recordSent, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  TestWindow window;
  const bool made = window.createOverlapped();
  UnhookWindowsHookEx(hook);
  g_sent = nullptr;
  ASSERT_TRUE(made);
  // An overlapped window is asked its size limits before WM_NCCREATE: that
  // message must not have reached the object, which had no window yet.
  auto at = [&](UINT message) { return std::find(sent.begin(), sent.end(), message) - sent.begin(); };
  ASSERT_LT(at(WM_GETMINMAXINFO), at(WM_NCCREATE));
  ASSERT_FALSE(window.handled.empty());
  EXPECT_EQ(window.handled.front(), UINT(WM_NCCREATE));
  EXPECT_EQ(zv::WindowBase::from(window.hwnd()), &window);
}

TEST_F(WindowBaseTest, eachWindowOfOneClassAnswersWithItsOwnObject) {
  TestWindow two(2), three(3);
  ASSERT_TRUE(two.create());
  ASSERT_TRUE(three.create());  // the class is registered once and found the second time
  EXPECT_NE(two.hwnd(), three.hwnd());
  EXPECT_EQ(SendMessageA(two.hwnd(), kAsk, 7, 0), 14);
  EXPECT_EQ(SendMessageA(three.hwnd(), kAsk, 7, 0), 21);
  EXPECT_EQ(zv::WindowBase::from(three.hwnd()), &three);
}

TEST_F(WindowBaseTest, anExceptionInAHandlerReachesTheHookAndTheWindowGoesOn) {
  TestWindow window(5);
  ASSERT_TRUE(window.create());
  EXPECT_EQ(SendMessageA(window.hwnd(), kThrow, 0, 0), 0);
  ASSERT_EQ(g_hookCalls.size(), 1u);
  EXPECT_EQ(g_hookCalls[0].className, "ZvTestWindow");
  EXPECT_EQ(g_hookCalls[0].what, "handler failed");
  EXPECT_EQ(g_hookCalls[0].type, "runtime_error");
  EXPECT_TRUE(IsWindow(window.hwnd()));
  EXPECT_EQ(SendMessageA(window.hwnd(), kAsk, 2, 0), 10);
}

TEST_F(WindowBaseTest, aCreationRefusedByAHandlerLeavesNoWindowBehind) {
  for (UINT failOn : {UINT(WM_NCCREATE), UINT(WM_CREATE)}) {
    TestWindow window(1, failOn);
    EXPECT_FALSE(window.create()) << failOn;
    EXPECT_EQ(window.hwnd(), nullptr) << failOn;
    // The object is free for another try.
    TestWindow again;
    EXPECT_TRUE(again.create());
  }
  // WM_NCCREATE refused by an exception, which the hook hears of.
  ASSERT_EQ(g_hookCalls.size(), 1u);
  EXPECT_EQ(g_hookCalls[0].what, "refused");
}

TEST_F(WindowBaseTest, theDestructorDestroysTheWindow) {
  HWND handle = nullptr;
  {
    TestWindow window;
    ASSERT_TRUE(window.create());
    handle = window.hwnd();
    EXPECT_TRUE(IsWindow(handle));
  }
  EXPECT_FALSE(IsWindow(handle));
}

TEST_F(WindowBaseTest, aWindowDestroyedFromOutsideUnbindsItsObjectOnce) {
  TestWindow window(4);
  ASSERT_TRUE(window.create());
  HWND first = window.hwnd();
  EXPECT_TRUE(DestroyWindow(first));
  EXPECT_EQ(window.hwnd(), nullptr);
  EXPECT_EQ(window.destroyedCalls, 1);
  window.destroy();  // nothing left to destroy
  EXPECT_EQ(window.destroyedCalls, 1);
  ASSERT_TRUE(window.create());
  EXPECT_EQ(SendMessageA(window.hwnd(), kAsk, 1, 0), 4);
}

// An object that goes on a thread other than its window's cannot destroy the
// window; it must at least leave the window pointing at no object.
DWORD WINAPI dropOnThisThread(void* window) {
  static_cast<std::unique_ptr<TestWindow>*>(window)->reset();
  return 0;
}

TEST_F(WindowBaseTest, anObjectGoneOnAnotherThreadLeavesItsWindowUnbound) {
  auto window = std::make_unique<TestWindow>(3);
  ASSERT_TRUE(window->create());
  HWND handle = window->hwnd();
  zv::UniqueKernelHandle other(CreateThread(nullptr, 0, dropOnThisThread, &window, 0, nullptr));
  ASSERT_TRUE(other);
  ASSERT_EQ(WaitForSingleObject(other.get(), 5000), WAIT_OBJECT_0);
  ASSERT_EQ(window, nullptr);
  ASSERT_TRUE(IsWindow(handle));  // only its own thread destroys a window
  EXPECT_EQ(zv::WindowBase::from(handle), nullptr);
  EXPECT_EQ(SendMessageA(handle, kAsk, 1, 0), 0);  // the default procedure, not the freed object
  zv::UniqueWindow(handle).reset();
  EXPECT_FALSE(IsWindow(handle));
}

}  // namespace
