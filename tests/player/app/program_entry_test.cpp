// The program entry's pieces over real kernel objects and the real registry.
#include <gtest/gtest.h>

#include <windows.h>

#include "startup/app_errors.h"
#include "startup/exe_path.h"
#include "startup/single_instance.h"
#include "win32/owners.h"

using namespace zv;

namespace {

TEST(SingleInstance, theSecondClaimFailsWhileTheFirstHoldsTheName) {
  std::string name = "ZorvakTest_mutex_" + std::to_string(GetCurrentProcessId());
  auto first = claimSingleInstance(name.c_str());
  ASSERT_TRUE(first);
  EXPECT_FALSE(claimSingleInstance(name.c_str()));
  first.reset();
  EXPECT_TRUE(claimSingleInstance(name.c_str())) << "the name is free again once the holder is gone";
  // A name taken by another kind of object also counts as taken.
  std::string eventName = name + "_event";
  UniqueKernelHandle event(CreateEventA(nullptr, FALSE, FALSE, eventName.c_str()));
  EXPECT_FALSE(claimSingleInstance(eventName.c_str()));
}

TEST(AppErrors, boxTextsAndTheDiagnosticLine) {
  EXPECT_EQ(appErrorText(AppErrorPlace::createForm, "EAccessViolation", "Access violation"),
            "Application.CreateForm: unhandled exception EAccessViolation\nAccess violation\n\n"
            "Click on OK to terminate the program");
  EXPECT_EQ(appErrorText(AppErrorPlace::run, "std::bad_alloc", ""),
            "Application.Run: unhandled exception std::bad_alloc\n\n\nClick on OK to terminate the program");
  EXPECT_EQ(appExceptionLine("std::runtime_error", "no skin"), "AppEx: std::runtime_error [no skin]");
}

TEST(ExePath, isWrittenUnderTheGivenRoot) {
  std::string base = "Software\\ZorvakTest\\exepath" + std::to_string(GetCurrentProcessId());
  UniqueRegKey root;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, base.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, root.put(),
                            nullptr), ERROR_SUCCESS);
  ASSERT_TRUE(writeExePath(root.get(), "C:\\Zorvak\\bin\\zorvak.exe"));
  ASSERT_TRUE(writeExePath(root.get(), "D:\\Other\\zorvak.exe")) << "every start writes it again";
  char value[MAX_PATH];
  DWORD size = sizeof(value);
  ASSERT_EQ(RegGetValueA(root.get(), "Software\\Dovrik\\Zorvak", "ExePath", RRF_RT_REG_SZ, nullptr, value, &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(value, "D:\\Other\\zorvak.exe");
  root.reset();
  RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, base.c_str());
}

}  // namespace
