// The diagnostic line of a refused aDelete, read from the debug output of a
// child run of this test program (the engine's console writes go to the
// child's standard output, which is redirected to a file).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "testkit.h"
#include "zv_containers.h"
#include "win32/owners.h"

namespace {

const char kChildVariable[] = "ZV_ARRAY_DIAGNOSTIC_CHILD";

std::string selfPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

}  // namespace

TEST(ArrayDiagnostic, refusedDeleteWritesTheRangeLine) {
  if (std::getenv(kChildVariable)) {
    hArray a = aAlloc(4);
    for (int32_t v = 0; v < 3; ++v) aAdd(a, &v);
    aDelete(a, -1);
    aDelete(a, 3);
    EXPECT_EQ(aCount(a), 3);
    aFree(a);
    return;
  }
  std::string out = zvtest::testDir() + "\\diagnostic.txt";
  SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
  zv::UniqueFile file(CreateFileA(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file);
  STARTUPINFOA si = {};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = file.get();
  si.hStdError = file.get();
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  SetEnvironmentVariableA(kChildVariable, "1");
  std::string cmd = "\"" + selfPath() + "\" --gtest_filter=ArrayDiagnostic.*";
  PROCESS_INFORMATION pi = {};
  BOOL started = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  SetEnvironmentVariableA(kChildVariable, nullptr);
  file.reset();
  ASSERT_TRUE(started) << GetLastError();
  zv::UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  auto bytes = zvtest::readFile(out);
  std::string text(bytes.begin(), bytes.end());
  EXPECT_NE(text.find("aDelete: index -1 not in valid range 0..2"), std::string::npos) << text;
  EXPECT_NE(text.find("aDelete: index 3 not in valid range 0..2"), std::string::npos) << text;
}
