#include "playback/vis/fault_guard.h"

#include <windows.h>

#include <cstdio>
#include <mutex>

namespace zv {
namespace {

struct Recovery {
  void* jump[5];  // __builtin_setjmp buffer
  OutsideFault fault;
  uintptr_t callerStack;  // an address in the guarded caller's frame
  volatile bool armed;
};

DWORD g_slot = TLS_OUT_OF_INDEXES;
std::once_flag g_slotOnce;

bool isProcessorFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
      return true;
    default:
      return false;
  }
}

[[noreturn]] __attribute__((noinline)) void resumeCaller(Recovery* recovery) {
  __builtin_longjmp(recovery->jump, 1);
}

// Lets the system finish dispatching, then continues in resumeCaller on this
// thread's stack: below the faulting frame normally, or just below the
// guarded caller's frame after a stack overflow (the faulting one has no room).
LONG CALLBACK onException(EXCEPTION_POINTERS* info) {
  auto* recovery = static_cast<Recovery*>(TlsGetValue(g_slot));
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (!recovery || !recovery->armed || !isProcessorFault(record->ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
  recovery->armed = false;
  OutsideFault& fault = recovery->fault;
  fault.code = record->ExceptionCode;
  fault.address = reinterpret_cast<uintptr_t>(record->ExceptionAddress);
  if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record->NumberParameters >= 2) {
    fault.write = record->ExceptionInformation[0] == 1;
    fault.dataAddress = record->ExceptionInformation[1];
  }
  CONTEXT* c = info->ContextRecord;
#ifdef _WIN64
  uintptr_t from = record->ExceptionCode == EXCEPTION_STACK_OVERFLOW ? recovery->callerStack : uintptr_t(c->Rsp);
  uintptr_t base = (from - 512) & ~uintptr_t(15);
  *reinterpret_cast<uintptr_t*>(base - 8) = 0;  // as if called: a return address that is never used
  c->Rsp = base - 8;
  c->Rcx = reinterpret_cast<uintptr_t>(recovery);
  c->Rip = reinterpret_cast<uintptr_t>(&resumeCaller);
#else
  uintptr_t from = record->ExceptionCode == EXCEPTION_STACK_OVERFLOW ? recovery->callerStack : uintptr_t(c->Esp);
  uintptr_t base = (from - 512) & ~uintptr_t(15);
  *reinterpret_cast<uintptr_t*>(base) = reinterpret_cast<uintptr_t>(recovery);  // the argument
  *reinterpret_cast<uintptr_t*>(base - 4) = 0;
  c->Esp = base - 4;
  c->Eip = reinterpret_cast<uintptr_t>(&resumeCaller);
#endif
  return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

__attribute__((noinline)) bool callOutside(void (*call)(void*), void* argument, OutsideFault& fault) {
  std::call_once(g_slotOnce, [] { g_slot = TlsAlloc(); });
  if (g_slot == TLS_OUT_OF_INDEXES) {
    call(argument);  // no recovery possible; behave like a plain call
    return true;
  }
  Recovery recovery = {};
  void* volatile outer = TlsGetValue(g_slot);  // a guarded call may nest in another
  // Held raw on purpose: the jump back from a fault skips destructors.
  void* volatile handler = AddVectoredExceptionHandler(1, onException);
  recovery.callerStack = reinterpret_cast<uintptr_t>(&recovery);
  if (__builtin_setjmp(recovery.jump)) {
    TlsSetValue(g_slot, outer);
    if (handler) RemoveVectoredExceptionHandler(handler);
    fault = recovery.fault;
    return false;
  }
  TlsSetValue(g_slot, &recovery);
  recovery.armed = true;
  call(argument);
  recovery.armed = false;
  TlsSetValue(g_slot, outer);
  if (handler) RemoveVectoredExceptionHandler(handler);
  return true;
}

std::string faultClassName(const OutsideFault& fault) {
  switch (fault.code) {
    case EXCEPTION_ACCESS_VIOLATION: return "AccessViolation";
    case EXCEPTION_INT_DIVIDE_BY_ZERO: return "IntegerDivideByZero";
    case EXCEPTION_ILLEGAL_INSTRUCTION: return "IllegalInstruction";
    case EXCEPTION_PRIV_INSTRUCTION: return "PrivilegedInstruction";
    case EXCEPTION_STACK_OVERFLOW: return "StackOverflow";
    default: return "ProcessorFault";
  }
}

std::string faultMessage(const OutsideFault& fault) {
  char text[160];
  if (fault.code == EXCEPTION_ACCESS_VIOLATION)
    std::snprintf(text, sizeof(text), "Access violation at address %p, %s address %p",
                  reinterpret_cast<void*>(fault.address), fault.write ? "writing" : "reading",
                  reinterpret_cast<void*>(fault.dataAddress));
  else
    std::snprintf(text, sizeof(text), "Exception %08X at address %p", unsigned(fault.code),
                  reinterpret_cast<void*>(fault.address));
  return text;
}

}  // namespace zv
