// Calls into outside libraries (visualisation plug-ins) that may fault.
// MinGW's C++ try/catch does not see access violations and other processor
// faults, so a call is run with a recovery point: a vectored exception
// handler, added for the duration of the call, sends a fault raised on this
// thread back to the caller, abandoning the library's frames unwound.
//
// Why a vectored handler and not __try1/__except1: those differ between the
// two architectures and tie one label per file; the handler works the same on
// both. The cost is that it sees faults before the library's own handlers, so
// a library that provokes processor faults on purpose and handles them itself
// is treated as failing. C++ exceptions of the library are not taken.
#pragma once
#include <cstdint>
#include <string>

namespace zv {

struct OutsideFault {
  uint32_t code = 0;         // exception code (EXCEPTION_ACCESS_VIOLATION, ...)
  uintptr_t address = 0;     // where it happened
  uintptr_t dataAddress = 0; // for access violations: the address touched
  bool write = false;        // for access violations: a write
};

// Runs call(argument). True when it returned; false when it faulted, with
// `fault` filled. The outside state is then unknown: the caller should let
// go of the library.
bool callOutside(void (*call)(void*), void* argument, OutsideFault& fault);

// A short class name ("AccessViolation") and a message for diagnostics and
// the user.
std::string faultClassName(const OutsideFault& fault);
std::string faultMessage(const OutsideFault& fault);

}  // namespace zv
