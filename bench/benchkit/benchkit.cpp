#include "benchkit.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

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

}  // namespace zvbench
