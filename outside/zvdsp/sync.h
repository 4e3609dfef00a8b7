// The output thread's synchronisation: its auto-reset events and a scope that
// holds a critical section.
#pragma once
#include <windows.h>

#include "win32/owners.h"

namespace zvdsp {

using zv::UniqueKernelHandle;

// An auto-reset event, unsignalled.
inline UniqueKernelHandle makeEvent() { return UniqueKernelHandle(CreateEventA(nullptr, FALSE, FALSE, nullptr)); }

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
