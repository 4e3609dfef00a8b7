// Saves that survive a killed process: a child (zvtest_save_child) saves a
// 100 000-line binary playlist, an M3U, the configuration file and a CD
// database file through the engine's exports, and an ID3v2 tag through
// zvid3's, and is terminated at random
// moments during the save. Every time the file afterwards must be the whole
// old version or the whole new one, and a save run to its end afterwards
// must leave no temporary file beside it.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "testkit.h"
#include "win32/owners.h"

namespace {

constexpr int kKills = 50;

std::string userAtComputer() {
  char user[512] = {}, computer[512] = {};
  DWORD n = sizeof(user);
  GetUserNameA(user, &n);
  n = sizeof(computer);
  GetComputerNameA(computer, &n);
  return std::string(user) + "@" + computer;
}

using Bytes = std::vector<uint8_t>;

struct Child {
  zv::UniqueKernelHandle process;
  zv::UniqueKernelHandle ready;
  DWORD startError = 0;  // CreateProcess's error when it failed
};

// Starts the child and waits until it is about to save (its event set).
Child startChild(const std::string& kind, char variant, const std::string& target) {
  static int serial = 0;
  std::string event = "zvtest_save_ready_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
  Child c;
  c.ready.reset(CreateEventA(nullptr, TRUE, FALSE, event.c_str()));
  std::string exe = zvtest::rootDir() + "\\bin\\zvtest_save_child.exe";
  std::string command = "\"" + exe + "\" " + kind + " " + variant + " \"" + target + "\" " + event;
  STARTUPINFOA si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  // Starting a process is the setting, not what is tested: a start the
  // system refuses for a moment on a loaded machine is tried again.
  bool started = false;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    started = CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    if (!started) c.startError = GetLastError();
  }
  if (!started) return c;
  zv::UniqueKernelHandle thread(pi.hThread);
  c.process.reset(pi.hProcess);
  HANDLE both[2] = {c.ready.get(), c.process.get()};
  WaitForMultipleObjects(2, both, FALSE, 60000);
  return c;
}

// Runs the child to its end; its exit code (-1 when it did not finish).
int runChild(const std::string& kind, char variant, const std::string& target, double* saveSeconds = nullptr) {
  Child c = startChild(kind, variant, target);
  if (!c.process) return -1;
  auto start = std::chrono::steady_clock::now();
  if (WaitForSingleObject(c.process.get(), 120000) != WAIT_OBJECT_0) {
    TerminateProcess(c.process.get(), 3);
    return -1;
  }
  if (saveSeconds) *saveSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  DWORD code = 0;
  GetExitCodeProcess(c.process.get(), &code);
  return int(code);
}

// When `path` was last written; 0 when it does not exist.
uint64_t writeTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// Names in `folder` starting with `prefix`, the target itself excepted.
std::vector<std::string> strays(const std::string& folder, const std::string& prefix, const std::string& target) {
  std::vector<std::string> out;
  WIN32_FIND_DATAA fd;
  zv::UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &fd));
  if (!find) return out;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == ".." || _stricmp(name.c_str(), target.c_str()) == 0) continue;
    if (_strnicmp(name.c_str(), prefix.c_str(), prefix.size()) == 0) out.push_back(name);
  } while (FindNextFileA(find.get(), &fd));
  return out;
}

struct Case {
  const char* kind;
  std::string folder;    // where the file is
  std::string fileName;  // the file
  std::string target;    // what the child is given
};

void killDuringSaves(const Case& c) {
  const std::string file = c.folder + "\\" + c.fileName;
  // The two versions, each written by a save run to its end.
  ASSERT_EQ(runChild(c.kind, 'a', c.target), 0) << c.kind;
  const Bytes oldBytes = zvtest::readFile(file);
  double saveSeconds = 0;
  ASSERT_EQ(runChild(c.kind, 'b', c.target, &saveSeconds), 0) << c.kind;
  const Bytes newBytes = zvtest::readFile(file);
  ASSERT_FALSE(oldBytes.empty());
  ASSERT_NE(oldBytes, newBytes);

  std::mt19937 random(20261207u);
  std::uniform_real_distribution<double> moment(0.0, saveSeconds * 1.5);
  int wasOld = 0, wasNew = 0, tempLeft = 0;
  for (int i = 0; i < kKills; ++i) {
    // A temporary file a kill left stays for the next save to deal with.
    std::vector<std::string> before = strays(c.folder, c.fileName, c.fileName);
    uint64_t beforeTime = before.empty() ? 0 : writeTime(c.folder + "\\" + before.front());
    ASSERT_TRUE(zvtest::writeFile(file, oldBytes.data(), oldBytes.size()));
    Child child = startChild(c.kind, 'b', c.target);
    ASSERT_TRUE(child.process) << c.kind << ": the child did not start, error " << child.startError;
    // The kill lands at a random moment of the save: spun on the clock,
    // since a sleep's granularity would leave most moments out.
    auto at = std::chrono::steady_clock::now() + std::chrono::duration<double>(moment(random));
    while (std::chrono::steady_clock::now() < at) {
    }
    TerminateProcess(child.process.get(), 9);
    ASSERT_EQ(WaitForSingleObject(child.process.get(), 30000), WAIT_OBJECT_0);
    Bytes after = zvtest::readFile(file);
    if (after == oldBytes) ++wasOld;
    else if (after == newBytes) ++wasNew;
    else ADD_FAILURE() << c.kind << ": kill " << i << " left " << after.size() << " bytes, neither version";
    std::vector<std::string> left = strays(c.folder, c.fileName, c.fileName);
    if (!left.empty() && (before.empty() || writeTime(c.folder + "\\" + left.front()) != beforeTime)) ++tempLeft;
  }
  // The next save cleans up whatever a killed one left (from the old
  // version: a CD database save counts the stored revision up).
  ASSERT_TRUE(zvtest::writeFile(file, oldBytes.data(), oldBytes.size()));
  ASSERT_EQ(runChild(c.kind, 'b', c.target), 0) << c.kind;
  EXPECT_EQ(zvtest::readFile(file), newBytes) << c.kind;
  EXPECT_EQ(strays(c.folder, c.fileName, c.fileName), std::vector<std::string>{}) << c.kind;
  std::printf("killed save %-6s: %d kills within %.0f ms of the save's start: %d left the old file, %d the new one, "
              "%d a temporary file of their own\n",
              c.kind, kKills, saveSeconds * 1500, wasOld, wasNew, tempLeft);
  EXPECT_EQ(wasOld + wasNew, kKills) << c.kind;
}

}  // namespace

TEST(KilledSave, binaryPlaylistIsOldOrNew) {
  std::string dir = zvtest::freshDir("killed_binary");
  killDuringSaves({"binary", dir, "list.zpl", dir + "\\list.zpl"});
}

TEST(KilledSave, m3uIsOldOrNew) {
  std::string dir = zvtest::freshDir("killed_m3u");
  killDuringSaves({"m3u", dir, "list.m3u", dir + "\\list.m3u"});
}

TEST(KilledSave, configurationFileIsOldOrNew) {
  std::string dir = zvtest::rootDir() + "\\data\\" + userAtComputer();
  // A configuration file of some size, so the save takes a while.
  std::string text = "[zvtest_killed_other]\r\n";
  for (int i = 0; i < 3000; ++i) text += "key" + std::to_string(i) + "=" + std::string(40, 'v') + "\r\n";
  CreateDirectoryA((zvtest::rootDir() + "\\data").c_str(), nullptr);
  CreateDirectoryA(dir.c_str(), nullptr);
  ASSERT_TRUE(zvtest::writeFile(dir + "\\config.dat", text.data(), text.size()));
  killDuringSaves({"config", dir, "config.dat", "zvtest_killed"});
}

TEST(KilledSave, cdDatabaseFileIsOldOrNew) {
  std::string dir = zvtest::freshDir("killed_cddb");
  killDuringSaves({"cddb", dir, "5A990063.cdb", dir});
}

// A 4 MiB stand-in for audio behind the tag: the save copies it whole.
TEST(KilledSave, id3v2TagIsOldOrNew) {
  std::string dir = zvtest::freshDir("killed_id3v2");
  std::string file = dir + "\\song.mp3";
  std::string audio(4 << 20, '\x55');
  ASSERT_TRUE(zvtest::writeFile(file, audio.data(), audio.size()));
  killDuringSaves({"id3v2", dir, "song.mp3", file});
}
