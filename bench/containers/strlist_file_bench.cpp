// slWrite/slRead of 100 000 entries against plain WriteFile/ReadFile of the
// same number of bytes, in the same run.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "benchkit.h"
#include "win32/owners.h"
#include "zv_containers.h"

namespace {

struct File {
  zv::UniqueFile owner;
  HANDLE h;
  File(const std::string& path, bool write)
      : owner(CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, 0, nullptr,
                          write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)),
        h(owner.get()) {}
};

int64_t fileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return 0;
  return (int64_t(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

}  // namespace

int main() {
  std::string dir = zvbench::workDir();
  std::string listPath = dir + "\\strlist.bin", plainPath = dir + "\\plain.bin";
  hStrList l = slAlloc();
  for (int i = 0; i < 100000; ++i)
    slAdd(l, ("D:\\Music\\Some Artist\\Some Album (1999)\\Track " + std::to_string(i) + ".mp3").c_str());

  double listWrite = 1e9, listRead = 1e9, plainWrite = 1e9, plainRead = 1e9, freshRead = 1e9;
  int64_t bytes = 0;
  std::vector<char> buffer;
  for (int round = 0; round < 5; ++round) {
    double t0 = zvbench::now();
    {
      File f(listPath, true);
      slWrite(l, f.h);
    }
    double t1 = zvbench::now();
    hStrList back = slAlloc();
    {
      File f(listPath, false);
      slRead(back, f.h);
    }
    double t2 = zvbench::now();
    slFree(back);
    bytes = fileSize(listPath);
    buffer.resize(size_t(bytes), 'x');
    double t3 = zvbench::now();
    {
      File f(plainPath, true);
      DWORD n = 0;
      WriteFile(f.h, buffer.data(), DWORD(bytes), &n, nullptr);
    }
    double t4 = zvbench::now();
    {
      File f(plainPath, false);
      DWORD n = 0;
      ReadFile(f.h, buffer.data(), DWORD(bytes), &n, nullptr);
    }
    double t5 = zvbench::now();
    {
      // What slRead also pays: a new, zero-filled buffer of the file's size.
      std::vector<char> fresh(size_t(bytes), 0);
      File f(plainPath, false);
      DWORD n = 0;
      ReadFile(f.h, fresh.data(), DWORD(bytes), &n, nullptr);
    }
    double t6 = zvbench::now();
    freshRead = std::min(freshRead, t6 - t5);
    listWrite = std::min(listWrite, t1 - t0);
    listRead = std::min(listRead, t2 - t1);
    plainWrite = std::min(plainWrite, t4 - t3);
    plainRead = std::min(plainRead, t5 - t4);
  }
  double mb = double(bytes) / 1e6;
  zvbench::report("bytes per file (100 000 entries)", double(bytes), "B");
  zvbench::report("slWrite", mb / listWrite, "MB/s");
  zvbench::report("WriteFile, same bytes", mb / plainWrite, "MB/s");
  zvbench::report("slRead", mb / listRead, "MB/s");
  zvbench::report("ReadFile, same bytes", mb / plainRead, "MB/s");
  zvbench::report("ReadFile into a new zeroed buffer", mb / freshRead, "MB/s");
  zvbench::report("slWrite / WriteFile time", listWrite / plainWrite, "x");
  zvbench::report("slRead / ReadFile time", listRead / plainRead, "x");
  zvbench::report("slRead / ReadFile into a new buffer", listRead / freshRead, "x");
  slFree(l);
  DeleteFileA(listPath.c_str());
  DeleteFileA(plainPath.c_str());
  return 0;
}
