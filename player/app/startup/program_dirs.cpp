#include "startup/program_dirs.h"

#include <windows.h>

#include <vector>

#include "zv_config.h"

namespace zv {
namespace {

std::string folderOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string lower(std::string s) {
  if (!s.empty()) CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));  // the ANSI code page's own rule
  return s;
}

}  // namespace

ProgramDirs programDirs(const std::string& exePath, const std::string& user, const std::string& computer) {
  ProgramDirs d;
  std::string folder = folderOf(exePath);
  d.root = lower(folder);
  while (!d.root.empty() && d.root.back() == '\\') d.root.pop_back();
  if (d.root.size() >= 4 && d.root.compare(d.root.size() - 4, 4, "\\bin") == 0) d.root.resize(d.root.size() - 4);
  std::string parent = folderOf(folder);
  d.data = (parent.empty() ? folder : parent) + "\\data";
  d.userData = d.data + "\\" + user + "@" + computer;
  return d;
}

ProgramDirs currentProgramDirs() {
  std::vector<char> path(32768);
  DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
  char user[257] = {}, computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD userSize = sizeof(user), computerSize = sizeof(computer);
  if (!GetUserNameA(user, &userSize)) user[0] = 0;
  if (!GetComputerNameA(computer, &computerSize)) computer[0] = 0;
  return programDirs(std::string(path.data(), n), user, computer);
}

bool createHiddenFolder(const std::string& path) {
  createPath(path.c_str());
  DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) return false;
  return (a & FILE_ATTRIBUTE_HIDDEN) || SetFileAttributesA(path.c_str(), a | FILE_ATTRIBUTE_HIDDEN);
}

}  // namespace zv
