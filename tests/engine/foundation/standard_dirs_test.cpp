// The engine's directories: created along a path, found from the host
// executable in both installation layouts, hidden data folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "foundation/host_paths.h"
#include "store_fixture.h"
#include "testkit.h"
#include "zv_config.h"
#include "win32/owners.h"

namespace {

bool isDir(const std::string& path) {
  DWORD a = fnd::attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Runs a program to its end; its exit code, or -1.
long runProgram(const std::string& exe, const std::string& args) {
  std::string command = "\"" + exe + "\" " + args;
  STARTUPINFOA si = {sizeof(si)};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  zv::UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  return static_cast<long>(code);
}

// The helper host and the libraries it loads, copied into `dir`.
bool installHost(const std::string& dir) {
  createPath(dir.c_str());
  for (const char* file : {"zvtest_cfghost.exe", "zvengine.dll", "zvdsp.dll", "zvid3.dll"}) {
    std::string from = zvtest::rootDir() + "\\bin\\" + file;
    if (!CopyFileA(from.c_str(), (dir + "\\" + file).c_str(), FALSE)) return false;
  }
  return true;
}

}  // namespace

TEST(StandardDirs, createPathMakesEveryLevelOnce) {
  std::string base = zvtest::freshDir("createPath");
  std::string deep = base + "\\a\\b/c";
  createPath(deep.c_str());
  EXPECT_TRUE(isDir(base + "\\a"));
  EXPECT_TRUE(isDir(base + "\\a\\b"));
  EXPECT_TRUE(isDir(base + "\\a\\b\\c"));
  // Again: nothing changes, contents stay.
  ASSERT_TRUE(zvtest::writeFile(base + "\\a\\b\\c\\keep.txt", "k", 1));
  createPath(deep.c_str());
  EXPECT_EQ(zvtest::readFile(base + "\\a\\b\\c\\keep.txt").size(), 1u);
  // A trailing separator and a file in the way are no trouble.
  createPath((base + "\\x\\").c_str());
  EXPECT_TRUE(isDir(base + "\\x"));
  createPath((base + "\\a\\b\\c\\keep.txt\\sub").c_str());
  EXPECT_FALSE(isDir(base + "\\a\\b\\c\\keep.txt"));
  createPath("");
  createPath(nullptr);
}

TEST(StandardDirs, baseDirectoryRule) {
  struct Row {
    const char* exe;
    const char* base;
  };
  const Row rows[] = {
      {"C:\\Prog\\bin\\zorvak.exe", "c:\\prog"},
      {"C:\\Prog\\zorvak.exe", "c:\\prog"},
      {"C:\\Prog\\BIN\\zorvak.exe", "c:\\prog"},
      {"C:\\Prog\\Binder\\zorvak.exe", "c:\\prog\\binder"},
      {"C:\\Prog\\mybin\\zorvak.exe", "c:\\prog\\mybin"},
      {"C:\\bin\\zorvak.exe", "c:"},
      {"C:\\zorvak.exe", "c:"},
      {"\\\\Server\\Share\\bin\\zorvak.exe", "\\\\server\\share"},
      {"\\\\zorvak.exe", "\\\\"},
      {"zorvak.exe", ""},
      {"C:\\M\xdcSIK\\bin\\z.exe", "c:\\m\xfcsik"},  // the code page's letters fold too
  };
  for (const Row& r : rows) EXPECT_EQ(zv::baseDirectoryOf(r.exe), r.base) << r.exe;
}

TEST(StandardDirs, userDirectoryBesideTheTestProgram) {
  // Test programs live in <root>\bin: settings go to <root>\data\<user>@<computer>.
  ASSERT_EQ(setConfigMode("zvtest_fnd_dirs", -1), 1);
  setConfigString("here", "yes");
  EXPECT_EQ(fnd::iniRead("zvtest_fnd_dirs", "here"), "yes");
  EXPECT_TRUE(fnd::exists(fnd::configFile()));
  EXPECT_NE(fnd::userAtComputer().find('@'), std::string::npos);
  DWORD data = fnd::attributes(zvtest::rootDir() + "\\data");
  DWORD user = fnd::attributes(fnd::userDir());
  ASSERT_NE(data, INVALID_FILE_ATTRIBUTES);
  ASSERT_NE(user, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(data & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(user & FILE_ATTRIBUTE_HIDDEN);
}

TEST(StandardDirs, hostInBinOrNotSharesTheBaseDirectory) {
  std::string top = zvtest::freshDir("layouts");
  struct Layout {
    std::string exeDir, base;
  } layouts[] = {{top + "\\Flat", top + "\\Flat"}, {top + "\\Inst\\bin", top + "\\Inst"}};
  for (const Layout& l : layouts) {
    ASSERT_TRUE(installHost(l.exeDir)) << l.exeDir;
    ASSERT_EQ(runProgram(l.exeDir + "\\zvtest_cfghost.exe", "dirs"), 0) << l.exeDir;
    std::string user = l.base + "\\data\\" + fnd::userAtComputer();
    char value[64] = {};
    GetPrivateProfileStringA("zvhost", "probe", "", value, sizeof(value), (user + "\\config.dat").c_str());
    EXPECT_STREQ(value, "written") << l.exeDir;
    EXPECT_EQ(zvtest::readFile(user + "\\hostrec.dat"), (std::vector<uint8_t>{'a', 'b', 'c'})) << l.exeDir;
    EXPECT_TRUE(fnd::attributes(l.base + "\\data") & FILE_ATTRIBUTE_HIDDEN) << l.exeDir;
    if (l.exeDir != l.base) {
      EXPECT_FALSE(fnd::exists(l.exeDir + "\\data")) << "inside bin: " << l.exeDir;
    }
  }
}
