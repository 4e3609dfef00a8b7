// One-line descriptions of operating-system exception records, for the
// diagnostics of worker threads.
#include <windows.h>

#include <cinttypes>
#include <cstdio>
#include <string>

#include "foundation/debug_registry.h"
#include "foundation/diagnostics.h"
#include "foundation/text_util.h"
#include "zv_memory.h"

namespace zv {
namespace {

struct CodeText {
  uint32_t code;
  const char* text;
};

const CodeText kCodeTexts[] = {
    {0x80000001, "Guard page"},
    {0x80000002, "Datatype misalignment"},
    {0x80000003, "Breakpoint"},
    {0x80000004, "Single step"},
    {0xC0000006, "In-page error"},
    {0xC0000008, "Invalid handle"},
    {0xC000001D, "Illegal instruction"},
    {0xC0000025, "Non-continuable exception"},
    {0xC0000026, "Invalid disposition"},
    {0xC000008C, "Array bounds exceeded"},
    {0xC000008D, "Floating-point denormal operand"},
    {0xC000008E, "Floating-point divide by zero"},
    {0xC000008F, "Floating-point inexact result"},
    {0xC0000090, "Floating-point invalid operation"},
    {0xC0000091, "Floating-point overflow"},
    {0xC0000092, "Floating-point stack check"},
    {0xC0000093, "Floating point underflow"},
    {0xC0000094, "Integer divide by zero"},
    {0xC0000095, "Integer overflow"},
    {0xC0000096, "Privileged instruction"},
    {0xC00000FD, "Stack overflow"},
};

// Addresses in at least eight hexadecimal digits; a 64-bit address needs more.
std::string hexAddress(ULONG_PTR address) {
  char text[32];
  std::snprintf(text, sizeof(text), "%8.8" PRIxPTR, static_cast<uintptr_t>(address));
  return text;
}

std::string describe(const EXCEPTION_RECORD& r) {
  uint32_t code = static_cast<uint32_t>(r.ExceptionCode);
  if (code == 0xC0000005) {
    bool write = r.NumberParameters >= 1 && r.ExceptionInformation[0] == 1;
    ULONG_PTR address = r.NumberParameters >= 2 ? r.ExceptionInformation[1] : 0;
    return std::string("Access violation [") + (write ? "write" : "read") + " of address " + hexAddress(address) +
           "]";
  }
  if (code == ZV_ERROR_OBJECT_EXCEPTION && r.NumberParameters >= 2) {
    const char* className = reinterpret_cast<const char*>(r.ExceptionInformation[0]);
    const char* message = reinterpret_cast<const char*>(r.ExceptionInformation[1]);
    return std::string(className ? className : "") + " [" + (message ? message : "") + "]";
  }
  for (const CodeText& c : kCodeTexts)
    if (c.code == code) return c.text;
  return "Unknown exception " + std::to_string(static_cast<int32_t>(code));
}

}  // namespace
}  // namespace zv

ZVEXPORT void ZVAPI exceptionString(const void* exceptionRecord, char* out) {
  if (!out) return;
  *out = '\0';
  if (!exceptionRecord) return;
  zv::guardedVoid("exceptionString", [&] {
    const auto& r = *static_cast<const EXCEPTION_RECORD*>(exceptionRecord);
    std::string line = zv::threadName(GetCurrentThreadId()) + ": " + zv::describe(r) + " at " +
                       zv::hexAddress(reinterpret_cast<ULONG_PTR>(r.ExceptionAddress));
    zv::copyBounded(out, 257, line);
  });
}
