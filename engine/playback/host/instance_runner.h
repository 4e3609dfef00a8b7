// The one loop of every built-in instance thread. A kind's instance says
// what it waits for besides its messages (an event, or nothing) and for how
// long, what it does when that comes, and what it does with each message;
// the runner does the waiting, ends on WM_QUIT or msgPluginQuit, dispatches
// the messages of the thread's own windows, finishes every bus message, and
// catches every exception, so one bad message or tick never ends the thread.
// Header-only so that tests run the same loop with instances of their own.
#pragma once
#include <windows.h>

#include <exception>
#include <memory>
#include <typeinfo>

#include "zv_plugins.h"

namespace zv {

// Writes one caught exception of a kind's instance.
using InstanceExceptionReport = void (*)(const char* kindName, const char* className, const char* message);

class KindInstance {
 public:
  virtual ~KindInstance() = default;

  // What the thread waits on besides its messages; null: messages only.
  virtual HANDLE wakeHandle() { return nullptr; }
  // How long one wait may last before onWake() runs anyway; INFINITE: never.
  virtual DWORD wakeTimeoutMs() { return INFINITE; }
  // The wake handle was signalled or the timeout passed.
  virtual void onWake() {}
  // One message posted to the thread (not to one of its windows). The
  // runner finishes the message afterwards.
  virtual void onMessage(const MSG& msg) = 0;
  // WM_QUIT or msgPluginQuit (`message`) arrived; the loop ends after this.
  virtual void onQuit(UINT message) { (void)message; }

  bool ending() const { return ending_; }

 protected:
  // Ends the loop once the current message is finished.
  void endLoop() { ending_ = true; }

 private:
  bool ending_ = false;
};

namespace detail {

// Runs `step`; an exception is reported under the kind's name. False when one was.
template <class Step>
bool runReported(const char* kindName, InstanceExceptionReport report, Step&& step) {
  try {
    step();
    return true;
  } catch (const std::exception& e) {
    report(kindName, typeid(e).name(), e.what());
  } catch (...) {
    report(kindName, "unknown", "");
  }
  return false;
}

}  // namespace detail

// The loop itself, on the calling thread, until the instance ends.
inline void runInstanceLoop(KindInstance& instance, const char* kindName, InstanceExceptionReport report) {
  for (;;) {
    HANDLE wake = nullptr;
    DWORD timeout = INFINITE;
    detail::runReported(kindName, report, [&] {
      wake = instance.wakeHandle();
      timeout = instance.wakeTimeoutMs();
    });
    // With no handle, WAIT_OBJECT_0 means input, as WAIT_OBJECT_0 + 1 does with one.
    const DWORD woke = wake ? MsgWaitForMultipleObjects(1, &wake, FALSE, timeout, QS_ALLINPUT)
                            : MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout, QS_ALLINPUT);
    if ((wake && woke == WAIT_OBJECT_0) || woke == WAIT_TIMEOUT)
      detail::runReported(kindName, report, [&] { instance.onWake(); });
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT || msg.message == msgPluginQuit) {
        detail::runReported(kindName, report, [&] { instance.onQuit(msg.message); });
        return;
      }
      if (msg.hwnd) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        continue;
      }
      detail::runReported(kindName, report, [&] { instance.onMessage(msg); });
      finishMsg(&msg);
      if (instance.ending()) return;
    }
  }
}

// Makes the instance on the calling thread and runs its loop. An instance
// whose construction throws is reported and the thread simply ends; so is
// one whose objects could not be made at all.
template <class Instance>
void runInstance(const char* kindName, InstanceExceptionReport report) {
  std::unique_ptr<Instance> instance;
  if (!detail::runReported(kindName, report, [&] { instance = std::make_unique<Instance>(); })) return;
  runInstanceLoop(*instance, kindName, report);
}

}  // namespace zv
