// The output thread's synchronisation: its auto-reset events and a scope that
// holds a critical section.
#pragma once
#include <windows.h>

#include "win32/owners.h"

namespace zvdsp {

using zv::UniqueKernelHandle;

// An auto-reset event, unsignalled.
inline UniqueKernelHandle makeEvent() { return UniqueKernelHandle(CreateEventA(nullptr, FALSE, FALSE, nullptr)); }

// A manual-reset event, unsignalled: waiting for it does not take its signal.
inline UniqueKernelHandle makeManualEvent() { return UniqueKernelHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr)); }

// Takes the signal of a manual-reset event if it is set; false if not.
inline bool takeSignal(HANDLE event) {
  if (WaitForSingleObject(event, 0) != WAIT_OBJECT_0) return false;
  ResetEvent(event);
  return true;
}

// Holds a critical section for one scope.
class Locked {
 public:
  explicit Locked(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
  ~Locked() { LeaveCriticalSection(&cs_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  CRITICAL_SECTION& cs_;
};

}  // namespace zvdsp
