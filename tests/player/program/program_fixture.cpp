#include "program_fixture.h"

#include <cmath>
#include <cstring>

#include "startup/hand_over.h"
#include "startup/program_dirs.h"
#include "testkit.h"

namespace ptest {

Player::Player(const std::string& root, const std::vector<std::string>& args) {
  std::string command = "\"" + root + "\\bin\\zorvak.exe\"";
  for (const std::string& a : args) command += " \"" + a + "\"";
  STARTUPINFOA si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  std::vector<char> line(command.begin(), command.end());
  line.push_back(0);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, (root + "\\bin").c_str(), &si, &pi))
    return;
  process_.reset(pi.hProcess);
  zv::UniqueKernelHandle thread(pi.hThread);
  id_ = pi.dwProcessId;
}

Player::~Player() {
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
}

int Player::waitExit(int ms) {
  if (!process_ || WaitForSingleObject(process_.get(), ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return static_cast<int>(code);
}

HWND waitMainWindow(int ms) {
  HWND found = nullptr;
  zvtest::waitFor([&] { return (found = FindWindowA(zv::kMainWindowClass, nullptr)) != nullptr; }, ms);
  return found;
}

HWND waitBox(DWORD pid, const char* caption, int ms) {
  HWND found = nullptr;
  zvtest::waitFor([&] {
    found = nullptr;
    for (HWND w = FindWindowA("#32770", caption); w && !found; w = FindWindowExA(nullptr, w, "#32770", caption)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == pid) found = w;
    }
    return found != nullptr;
  }, ms);
  return found;
}

bool sendCommand(HWND window, const std::string& command) {
  return zv::sendHandOver(window, nullptr, zv::encodeHandOver(zv::handOverCommand, 0, command));
}

std::string writeMarkedWav(const std::string& dir, const std::string& name, int mark, int seconds) {
  const uint32_t frames = static_cast<uint32_t>(kFramesPerSecond * seconds);
  const uint32_t dataBytes = frames * 4;
  std::vector<uint8_t> file(44 + dataBytes);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
  auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&file[at], &v, 2); };
  std::memcpy(&file[0], "RIFF", 4);
  put32(4, 36 + dataBytes);
  std::memcpy(&file[8], "WAVEfmt ", 8);
  put32(16, 16);
  put16(20, 1);
  put16(22, 2);
  put32(24, kFramesPerSecond);
  put32(28, kFramesPerSecond * 4);
  put16(32, 4);
  put16(34, 16);
  std::memcpy(&file[36], "data", 4);
  put32(40, dataBytes);
  const int16_t frame[2] = {8000, static_cast<int16_t>(1500 * mark)};
  for (uint32_t k = 0; k < frames; ++k) std::memcpy(&file[44 + k * 4], frame, 4);
  const std::string path = dir + "\\" + name;
  zvtest::writeFile(path, file.data(), file.size());
  return path;
}

std::vector<Run> playedRuns() {
  const std::vector<uint8_t> bytes = zvtest::readFile(zvtest::captureFile());
  std::vector<Run> runs;
  for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    int16_t f[2];
    std::memcpy(f, &bytes[i], 4);
    // Silence the device inserted, and the first moments of a fade, tell nothing.
    if (f[0] < 800) continue;
    const int mark = static_cast<int>(std::lround(f[1] * 8000.0 / (f[0] * 1500.0)));
    if (!runs.empty() && runs.back().mark == mark)
      ++runs.back().frames;
    else
      runs.push_back({mark, 1});
  }
  return runs;
}

size_t framesBefore(const std::vector<Run>& runs, int mark, int next, bool* nextPlayed) {
  size_t frames = 0;
  if (nextPlayed) *nextPlayed = false;
  for (const Run& r : runs) {
    if (r.mark == next) {
      if (nextPlayed) *nextPlayed = true;
      break;
    }
    if (r.mark == mark) frames += r.frames;
  }
  return frames;
}

bool played(int mark) {
  for (const Run& r : playedRuns())
    if (r.mark == mark && r.frames > 1000) return true;
  return false;
}

std::string userDataDir(const std::string& root) {
  char user[257] = {}, computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD userSize = sizeof(user), computerSize = sizeof(computer);
  if (!GetUserNameA(user, &userSize)) user[0] = 0;
  if (!GetComputerNameA(computer, &computerSize)) computer[0] = 0;
  return zv::programDirs(root + "\\bin\\zorvak.exe", user, computer).userData;
}

void removeTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  zv::UniqueFind find(FindFirstFileA((dir + "\\*").c_str(), &fd));
  if (find) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = dir + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        removeTree(full);
      else
        DeleteFileA(full.c_str());
    } while (FindNextFileA(find.get(), &fd));
  }
  RemoveDirectoryA(dir.c_str());
}

std::string fileText(const std::string& path) {
  auto bytes = zvtest::readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

std::string configValue(const std::string& userData, const char* key) {
  char value[260] = {};
  GetPrivateProfileStringA("Zorvak", key, "", value, sizeof(value), (userData + "\\config.dat").c_str());
  return value;
}

}  // namespace ptest
