#include "benchkit.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "win32/owners.h"

namespace zvbench {

double now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double secondsPerItem(const std::function<void(int64_t n)>& body, double minSeconds) {
  for (int64_t n = 1;; n *= 4) {
    double t0 = now();
    body(n);
    double t = now() - t0;
    if (t >= minSeconds || n > (int64_t(1) << 40)) return t / static_cast<double>(n);
  }
}

void report(const std::string& name, double value, const std::string& unit) {
  std::printf("%-48s %14.3f %s\n", name.c_str(), value, unit.c_str());
  std::fflush(stdout);
}

std::string workDir() {
  const char* dir = std::getenv("ZV_BENCH_DIR");
  if (dir && *dir) {
    std::string out = dir[0] == '/' ? std::string("Z:") + dir : std::string(dir);
    for (char& c : out)
      if (c == '/') c = '\\';
    CreateDirectoryA(out.c_str(), nullptr);
    return out;
  }
  char tmp[MAX_PATH];
  GetTempPathA(sizeof(tmp), tmp);
  return tmp;
}

bool writeFile(const std::string& path, const void* data, size_t size) {
  zv::UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD put = 0;
  return f && WriteFile(f.get(), data, DWORD(size), &put, nullptr) && put == size;
}

void removeTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  zv::UniqueFind found(FindFirstFileA((dir + "\\*").c_str(), &fd));
  if (found) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = dir + "\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(found.get(), &fd));
  }
  RemoveDirectoryA(dir.c_str());
}

}  // namespace zvbench
