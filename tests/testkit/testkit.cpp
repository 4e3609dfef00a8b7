#include "testkit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "win32/owners.h"

namespace zvtest {

std::string winPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string out = "Z:" + path;
  for (char& c : out)
    if (c == '/') c = '\\';
  while (out.size() > 3 && out.back() == '\\') out.pop_back();
  return out;
}

std::string testDir() {
  const char* dir = std::getenv("ZV_TEST_DIR");
  std::string path;
  if (dir && *dir) {
    path = winPath(dir);
  } else {
    path = rootDir() + "\\testrun";
  }
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

namespace {

// Every test program's main thread has its message queue from the start, as
// the player's interface thread has: a test that asks the engine for an answer
// by thread id (queryInfo, the bus) before its first PeekMessage would
// otherwise lose an answer that comes quickly, since a post to a thread
// without a queue fails.
[[maybe_unused]] const bool kMainThreadQueue = [] {
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  return true;
}();
void removeTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = dir + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        removeTree(full);
      else
        DeleteFileA(full.c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}
}  // namespace

std::string freshDir(const std::string& name) {
  std::string dir = testDir() + "\\" + name;
  removeTree(dir);
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

std::string captureFile() { return testDir() + "\\capture.raw"; }

std::string rootDir() {
  char exe[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, exe, sizeof(exe));
  std::string dir(exe, n);
  dir = dir.substr(0, dir.find_last_of('\\'));
  if (dir.size() >= 4 && _stricmp(dir.c_str() + dir.size() - 4, "\\bin") == 0) dir.resize(dir.size() - 4);
  return dir;
}

bool waitFor(const std::function<bool()>& done, int ms) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

std::vector<uint8_t> readFile(const std::string& path) {
  std::vector<uint8_t> data;
  zv::UniqueFile h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr));
  if (!h) return data;
  LARGE_INTEGER size;
  if (GetFileSizeEx(h.get(), &size) && size.QuadPart > 0) {
    data.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (!ReadFile(h.get(), data.data(), static_cast<DWORD>(data.size()), &got, nullptr)) got = 0;
    data.resize(got);
  }
  return data;
}

bool writeFile(const std::string& path, const void* data, size_t size) {
  zv::UniqueFile h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return false;
  DWORD put = 0;
  return WriteFile(h.get(), data, static_cast<DWORD>(size), &put, nullptr) && put == size;
}

bool haveDisplay() {
  HWND w = CreateWindowA("STATIC", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  if (!w) return false;
  DestroyWindow(w);
  return true;
}

std::vector<HWND> ownWindowsOfClass(const char* className) {
  std::vector<HWND> found;
  for (HWND parent : {static_cast<HWND>(nullptr), HWND_MESSAGE}) {
    HWND w = nullptr;
    while ((w = FindWindowExA(parent, w, className, nullptr)) != nullptr) {
      DWORD process = 0;
      GetWindowThreadProcessId(w, &process);
      // Some systems list message-only windows among the top-level ones too.
      if (process == GetCurrentProcessId() && std::find(found.begin(), found.end(), w) == found.end())
        found.push_back(w);
    }
  }
  return found;
}

}  // namespace zvtest
