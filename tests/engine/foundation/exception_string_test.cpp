// Descriptions of exception records: every code of the table, the access
// violation raised for real on a registered thread, the error object.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "zv_memory.h"

namespace {

std::string describe(const EXCEPTION_RECORD& r) {
  char out[257 + 32];
  std::memset(out, '#', sizeof(out));
  exceptionString(&r, out);
  EXPECT_EQ(out[257 + 8], '#') << "wrote past 257 bytes";
  return out;
}

std::string hex8(uintptr_t v) {
  char t[32];
  std::snprintf(t, sizeof(t), "%8.8llx", static_cast<unsigned long long>(v));
  return t;
}

EXCEPTION_RECORD record(DWORD code, void* address) {
  EXCEPTION_RECORD r = {};
  r.ExceptionCode = code;
  r.ExceptionAddress = address;
  return r;
}

// What a thread records about its own fault, through a vectored handler that
// then lets the thread leave through its exit.
struct FaultCapture {
  DWORD threadId = 0;
  EXCEPTION_RECORD record = {};
  char text[257] = {};
  bool caught = false;
};
FaultCapture* g_capture = nullptr;

void leaveThread() { ExitThread(0); }

LONG CALLBACK onFault(EXCEPTION_POINTERS* info) {
  if (!g_capture || GetCurrentThreadId() != g_capture->threadId ||
      info->ExceptionRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION)
    return EXCEPTION_CONTINUE_SEARCH;
  g_capture->record = *info->ExceptionRecord;
  exceptionString(info->ExceptionRecord, g_capture->text);
  g_capture->caught = true;
#if defined(_WIN64)
  // As if called: the stack as a function expects it at entry.
  info->ContextRecord->Rsp = (info->ContextRecord->Rsp & ~DWORD64(15)) - 8;
  info->ContextRecord->Rip = reinterpret_cast<DWORD64>(&leaveThread);
#else
  info->ContextRecord->Esp = (info->ContextRecord->Esp & ~DWORD(15)) - 4;
  info->ContextRecord->Eip = reinterpret_cast<DWORD>(&leaveThread);
#endif
  return EXCEPTION_CONTINUE_EXECUTION;
}

DWORD WINAPI writeToTarget(void* target) {
  g_capture->threadId = GetCurrentThreadId();
  debugAddThread("zvtest faulty", GetCurrentThreadId(), GetCurrentThread());
  *static_cast<volatile int*>(target) = 1;
  return 1;
}

}  // namespace

TEST(ExceptionString, everyCodeOfTheTable) {
  struct Row {
    DWORD code;
    const char* text;
  } rows[] = {
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
      {0xC0000017, "Unknown exception -1073741801"},
      {0x00000007, "Unknown exception 7"},
  };
  debugAddThread("zvtest main", GetCurrentThreadId(), GetCurrentThread());
  void* at = reinterpret_cast<void*>(static_cast<uintptr_t>(0x00401a2c));
  for (const Row& r : rows)
    EXPECT_EQ(describe(record(r.code, at)), std::string("zvtest main: ") + r.text + " at 00401a2c") << std::hex << r.code;
  debugDelThread(GetCurrentThreadId());
  // Unregistered: the thread id in decimal.
  EXPECT_EQ(describe(record(0x80000003, at)),
            std::to_string(GetCurrentThreadId()) + ": Breakpoint at 00401a2c");
}

TEST(ExceptionString, accessViolationReadAndWrite) {
  EXCEPTION_RECORD r = record(EXCEPTION_ACCESS_VIOLATION, reinterpret_cast<void*>(0x1000));
  r.NumberParameters = 2;
  r.ExceptionInformation[0] = 0;
  r.ExceptionInformation[1] = 0xbeef;
  std::string prefix = std::to_string(GetCurrentThreadId()) + ": ";
  EXPECT_EQ(describe(r), prefix + "Access violation [read of address 0000beef] at 00001000");
  r.ExceptionInformation[0] = 1;
  EXPECT_EQ(describe(r), prefix + "Access violation [write of address 0000beef] at 00001000");
  r.ExceptionInformation[0] = 8;  // execution counts as read
  EXPECT_EQ(describe(r), prefix + "Access violation [read of address 0000beef] at 00001000");
}

TEST(ExceptionString, realWriteFaultOnARegisteredThread) {
  // Own the page at 0x12345678 without access, so the write must fault.
  char* page = static_cast<char*>(
      VirtualAlloc(reinterpret_cast<void*>(0x12340000), 0x10000, MEM_RESERVE, PAGE_NOACCESS));
  if (!page) GTEST_SKIP() << "address range in use";
  FaultCapture capture;
  g_capture = &capture;
  void* handler = AddVectoredExceptionHandler(1, onFault);
  HANDLE t = CreateThread(nullptr, 0, writeToTarget, reinterpret_cast<void*>(0x12345678), 0, nullptr);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(WaitForSingleObject(t, 10000), WAIT_OBJECT_0);
  CloseHandle(t);
  RemoveVectoredExceptionHandler(handler);
  debugDelThread(capture.threadId);
  g_capture = nullptr;
  VirtualFree(page, 0, MEM_RELEASE);

  ASSERT_TRUE(capture.caught);
  std::string expected = "zvtest faulty: Access violation [write of address 12345678] at " +
                         hex8(reinterpret_cast<uintptr_t>(capture.record.ExceptionAddress));
  EXPECT_EQ(std::string(capture.text), expected);
}

TEST(ExceptionString, errorObjectAndLongLines) {
  EXCEPTION_RECORD r = record(ZV_ERROR_OBJECT_EXCEPTION, reinterpret_cast<void*>(0xabcdef12));
  r.NumberParameters = 2;
  const char* className = "EPlaylistError";
  const char* message = "line 7 unreadable";
  r.ExceptionInformation[0] = reinterpret_cast<ULONG_PTR>(className);
  r.ExceptionInformation[1] = reinterpret_cast<ULONG_PTR>(message);
  std::string prefix = std::to_string(GetCurrentThreadId()) + ": ";
  EXPECT_EQ(describe(r), prefix + "EPlaylistError [line 7 unreadable] at abcdef12");

  std::string longMessage(600, 'm');
  r.ExceptionInformation[1] = reinterpret_cast<ULONG_PTR>(longMessage.c_str());
  std::string text = describe(r);
  EXPECT_EQ(text.size(), 256u);
  EXPECT_EQ(text.substr(0, prefix.size() + 16), prefix + "EPlaylistError [");
  char empty[8] = "x";
  exceptionString(nullptr, empty);
  EXPECT_STREQ(empty, "");
}
