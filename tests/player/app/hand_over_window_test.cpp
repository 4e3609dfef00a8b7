// The hand-over through a real window: a sender on another thread is
// released before the receiving window acts on what it got.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "startup/hand_over.h"
#include "win32/owners.h"
#include "win32/window_base.h"

using namespace zv;

namespace {

// Receives like the main window: takes the block, then "acts" by waiting for
// the sender to have come back (a box the command opened would wait the same).
class Receiver : public WindowBase {
 public:
  UniqueKernelHandle senderBack{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::vector<std::string> received;
  bool senderWasFree = false;
  bool open() { return create({"ZvTestHandOverReceiver"}, 0, "", 0, 0, 0, 0, 0, HWND_MESSAGE); }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_COPYDATA) return passOn(message, wParam, lParam);
    if (auto h = receiveHandOver(lParam)) received.push_back(std::to_string(h->op) + ":" + h->text);
    senderWasFree = WaitForSingleObject(senderBack.get(), 5000) == WAIT_OBJECT_0;
    return TRUE;
  }
};

TEST(HandOverWindow, theSenderIsReleasedBeforeTheWindowActs) {
  Receiver receiver;
  ASSERT_TRUE(receiver.open());
  std::atomic<bool> done{false};
  HWND target = receiver.hwnd();
  HANDLE back = receiver.senderBack.get();
  std::thread sender([&] {
    sendHandOver(target, nullptr, encodeHandOver(handOverCommand, 1, "stop"));
    SetEvent(back);
    done = true;
  });
  DWORD deadline = GetTickCount() + 10000;
  MSG msg;
  while (!done && GetTickCount() < deadline) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  sender.join();
  EXPECT_TRUE(receiver.senderWasFree);
  EXPECT_EQ(receiver.received, (std::vector<std::string>{"4663:stop"}));
}

}  // namespace
