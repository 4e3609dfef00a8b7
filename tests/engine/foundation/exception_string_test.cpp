// Descriptions of exception records: faults raised for real on a registered
// thread, known codes by name and the rest by number, the error object.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "win32/owners.h"
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

// What a thread records about its own fault of the expected code, through a
// vectored handler that then lets the thread leave through its exit.
struct FaultCapture {
  DWORD code = 0;
  DWORD threadId = 0;
  EXCEPTION_RECORD record = {};
  char text[257] = {};
  bool caught = false;
};
FaultCapture* g_capture = nullptr;

void leaveThread() { ExitThread(0); }

LONG CALLBACK onFault(EXCEPTION_POINTERS* info) {
  if (!g_capture || GetCurrentThreadId() != g_capture->threadId ||
      info->ExceptionRecord->ExceptionCode != g_capture->code)
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

DWORD WINAPI divideByZero(void*) {
  g_capture->threadId = GetCurrentThreadId();
  debugAddThread("zvtest faulty", GetCurrentThreadId(), GetCurrentThread());
  volatile int zero = 0, one = 1;
  return DWORD(one / zero);
}

// Runs `body` on a thread of its own until it faults with `code`.
FaultCapture faultOnThread(DWORD code, LPTHREAD_START_ROUTINE body, void* arg) {
  FaultCapture capture;
  capture.code = code;
  g_capture = &capture;
  void* handler = AddVectoredExceptionHandler(1, onFault);
  zv::UniqueKernelHandle t(CreateThread(nullptr, 0, body, arg, 0, nullptr));
  EXPECT_TRUE(t.valid());
  if (t) {
    EXPECT_EQ(WaitForSingleObject(t.get(), 10000), WAIT_OBJECT_0);
  }
  RemoveVectoredExceptionHandler(handler);
  debugDelThread(capture.threadId);
  g_capture = nullptr;
  return capture;
}

}  // namespace

TEST(ExceptionString, knownCodesByNameOthersByNumber) {
  // Not the whole table: a name from each end of it, codes around it that it
  // lacks, and a record that claims to carry an error object but does not.
  struct Row {
    DWORD code;
    const char* text;
  } rows[] = {
      {0x80000001, "Guard page"},
      {0xC00000FD, "Stack overflow"},
      {0xC0000017, "Unknown exception -1073741801"},  // between known codes: negative, in decimal
      {0x00000007, "Unknown exception 7"},
      {ZV_ERROR_OBJECT_EXCEPTION, "Unknown exception -530950655"},  // no parameters to read
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
  FaultCapture capture =
      faultOnThread(EXCEPTION_ACCESS_VIOLATION, writeToTarget, reinterpret_cast<void*>(0x12345678));
  VirtualFree(page, 0, MEM_RELEASE);

  ASSERT_TRUE(capture.caught);
  std::string expected = "zvtest faulty: Access violation [write of address 12345678] at " +
                         hex8(reinterpret_cast<uintptr_t>(capture.record.ExceptionAddress));
  EXPECT_EQ(std::string(capture.text), expected);
}

TEST(ExceptionString, realDivisionByZeroOnARegisteredThread) {
  FaultCapture capture = faultOnThread(EXCEPTION_INT_DIVIDE_BY_ZERO, divideByZero, nullptr);
  ASSERT_TRUE(capture.caught);
  EXPECT_EQ(std::string(capture.text), "zvtest faulty: Integer divide by zero at " +
                                           hex8(reinterpret_cast<uintptr_t>(capture.record.ExceptionAddress)));
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
