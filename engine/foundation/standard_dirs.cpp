#include "foundation/standard_dirs.h"

#include <windows.h>

#include "foundation/diagnostics.h"
#include "foundation/host_paths.h"
#include "zv_config.h"

namespace zv {
namespace {

void createHidden(const std::string& dir) {
  createDirectories(dir);
  DWORD attributes = GetFileAttributesA(dir.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_HIDDEN))
    SetFileAttributesA(dir.c_str(), (attributes & ~FILE_ATTRIBUTE_DIRECTORY) | FILE_ATTRIBUTE_HIDDEN);
}

}  // namespace

std::string baseDirectory() { return baseDirectoryOf(hostExecutablePath()); }

std::string dataDirectory() {
  std::string dir = baseDirectory() + "\\data";
  createHidden(dir);
  return dir;
}

std::string userDirectory() {
  char user[512] = {};
  char computer[512] = {};
  DWORD size = sizeof(user);
  if (!GetUserNameA(user, &size)) user[0] = '\0';
  size = sizeof(computer);
  if (!GetComputerNameA(computer, &size)) computer[0] = '\0';
  std::string dir = dataDirectory() + "\\" + user + "@" + computer;
  createHidden(dir);
  return dir;
}

void createDirectories(const std::string& path) {
  // Every prefix that ends before a separator, then the whole path; failures
  // (existing folders, "C:", an empty prefix) are expected and ignored.
  for (size_t i = 0; i <= path.size(); ++i) {
    bool end = i == path.size();
    unsigned char c = end ? 0 : static_cast<unsigned char>(path[i]);
    if (!end && IsDBCSLeadByte(c) && i + 1 < path.size()) {
      ++i;  // a trail byte may look like a separator
      continue;
    }
    if ((end || c == '\\' || c == '/') && i > 0) CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  }
}

}  // namespace zv

ZVEXPORT void ZVAPI createPath(const char* path) {
  zv::guardedVoid("createPath", [&] {
    if (path) zv::createDirectories(path);
  });
}
