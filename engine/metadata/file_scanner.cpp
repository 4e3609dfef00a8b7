#include "metadata/file_scanner.h"

#include <windows.h>

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>

#include "foundation/diagnostics.h"
#include "foundation/language.h"
#include "foundation/text_util.h"
#include "win32/owners.h"
#include "zv_memory.h"

namespace zv {
namespace {

constexpr const char* kThreadName = "FileScanner###File scanner";
// How long unload waits for the scanner to finish the file it is on.
constexpr DWORD kStopWaitMs = 10000;
// How long the first request waits for the new thread to reach its loop.
constexpr DWORD kStartWaitMs = 10000;

struct Request {
  std::string path;
  ZvTarget target;
  int32_t tag;
  int32_t line;
};

std::mutex g_queueLock;
std::deque<Request> g_queue;
UniqueKernelHandle g_wake;    // auto-reset: requests are waiting
UniqueKernelHandle g_parked;  // manual-reset: the thread left its loop for good
UniqueKernelHandle g_never;   // never signalled: where the parked thread waits
UniqueKernelHandle g_ready;   // manual-reset: the thread has reached its loop
std::mutex g_threadLock;      // the start of the thread, at the first request
UniqueKernelHandle g_thread;
std::atomic<bool> g_entered{false};
std::atomic<bool> g_started{false};  // the first request has started the thread
std::atomic<bool> g_stop{false};

bool takeRequest(Request* r) {
  std::lock_guard<std::mutex> hold(g_queueLock);
  if (g_queue.empty()) return false;
  *r = std::move(g_queue.front());
  g_queue.pop_front();
  return true;
}

void answer(const Request& r) {
  // The record is 4.5 KB; on the heap rather than the scanner's stack.
  auto result = std::make_unique<ZvQueryResult>();
  *result = {};
  result->tag = r.tag;
  result->line = r.line;
  if (!r.path.empty()) {
    copyBounded(result->path, sizeof(result->path), r.path);
    computeQueryResult(r.path.c_str(), result.get());
  }
  pluginMsg(r.target, msgInfoReady, result.get(), int32_t(sizeof(ZvQueryResult)));
}

// The scanner's name as the thread list and its diagnostic lines show it:
// localised like the built-in kinds' names.
std::string threadName() { return translate(kThreadName); }

void drainQueue() {
  Request r;
  while (!g_stop.load() && takeRequest(&r)) {
    // One bad file must not end the service for every file after it.
    guardedVoid(threadName().c_str(), [&] { answer(r); });
  }
}

DWORD WINAPI scannerThread(void*) {
  debugAddThread(threadName().c_str(), GetCurrentThreadId(), GetCurrentThread());
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // a queue for WM_QUIT
  g_entered = true;
  SetEvent(g_ready.get());
  HANDLE wake = g_wake.get();
  bool quit = false;
  while (!quit && !g_stop.load()) {
    DWORD w = MsgWaitForMultipleObjects(1, &wake, FALSE, INFINITE, QS_ALLINPUT);
    if (w == WAIT_OBJECT_0) {
      drainQueue();
    } else if (w == WAIT_OBJECT_0 + 1) {
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_QUIT) quit = true;
    } else {
      break;
    }
  }
  debugDelThread(GetCurrentThreadId());
  // The engine may be unloading with the loader lock held, so this thread
  // cannot be waited for to end; it parks in a system wait instead, off our
  // code, where the unload can end it.
  SignalObjectAndWait(g_parked.get(), g_never.get(), INFINITE, FALSE);
  return 0;
}

// The thread is started by the first request, not at load: a thread made
// under the loader lock cannot start before the load ends, and a host that
// loads the engine only to look at it (a list of candidate libraries) frees
// it again at once; the unload could then only end the thread somewhere in
// its start, and a thread ended there can leave a lock of the system held for
// good (every later handle close of the process hung). The first request
// waits until the thread has reached its loop, so the unload always finds it
// there or parked.
void ensureScannerThread() {
  if (g_started.load()) return;
  std::lock_guard<std::mutex> hold(g_threadLock);
  if (g_thread || g_stop.load()) return;
  DWORD id = 0;
  g_thread.reset(CreateThread(nullptr, 0, scannerThread, nullptr, 0, &id));
  if (!g_thread) return;
  g_started = true;
  // Bounded: a request made while the loader is busy (from a DllMain) would
  // otherwise wait for good; the thread then takes it once it runs.
  WaitForSingleObject(g_ready.get(), kStartWaitMs);
  SetThreadPriority(g_thread.get(), THREAD_PRIORITY_IDLE);
}

}  // namespace

bool startFileScanner() {
  g_stop = false;
  g_entered = false;
  g_started = false;
  g_wake.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  g_parked.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  g_never.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  g_ready.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  return g_wake && g_parked && g_never && g_ready;
}

void stopFileScanner(bool processExit) {
  if (processExit) {
    // The thread is gone with the process; its handles go too.
    g_thread.release();
    return;
  }
  g_stop = true;
  if (g_thread) {
    // A thread that has not entered its loop (its first request gave up
    // waiting for it) is still waiting for the loader, held by this very
    // unload, and never will: end it where it stands.
    if (g_entered.load()) {
      SetThreadPriority(g_thread.get(), THREAD_PRIORITY_NORMAL);
      SetEvent(g_wake.get());
      if (WaitForSingleObject(g_parked.get(), kStopWaitMs) != WAIT_OBJECT_0)
        debugWriteLinef("%s: did not stop in time; ended", threadName().c_str());
    }
    TerminateThread(g_thread.get(), 0);
    WaitForSingleObject(g_thread.get(), kStopWaitMs);
    g_thread.reset();
  }
  std::lock_guard<std::mutex> hold(g_queueLock);
  g_queue.clear();
}

// Only a request into an empty queue wakes the thread: the scanner takes
// requests until the queue is empty before it waits again, so one that joins
// a waiting queue is taken anyway. (A wake per request cost a wineserver
// round trip each: seconds for a long playlist's queries.)
void queueQuery(const std::string& path, ZvTarget target, int32_t tag, int32_t line) {
  bool wasEmpty = false;
  {
    std::lock_guard<std::mutex> hold(g_queueLock);
    wasEmpty = g_queue.empty();
    g_queue.push_back(Request{path, target, tag, line});
  }
  if (wasEmpty && g_wake) SetEvent(g_wake.get());
  ensureScannerThread();
}

void cancelQueries(int32_t tag) {
  std::lock_guard<std::mutex> hold(g_queueLock);
  std::erase_if(g_queue, [tag](const Request& r) { return r.tag == tag; });
}

}  // namespace zv

using namespace zv;

ZVEXPORT void ZVAPI queryInfo(const char* path, ZvTarget target, int32_t tag, int32_t line) {
  // An empty path would read as an end marker; a request needs a name.
  if (!path || !*path) return;
  guardedVoid("queryInfo", [&] { queueQuery(path, target, tag, line); });
}

ZVEXPORT void ZVAPI finishQueryInfo(ZvTarget target, int32_t tag) {
  guardedVoid("finishQueryInfo", [&] { queueQuery(std::string(), target, tag, 0); });
}

ZVEXPORT void ZVAPI cancelQueryInfo(int32_t tag) {
  guardedVoid("cancelQueryInfo", [&] { cancelQueries(tag); });
}
