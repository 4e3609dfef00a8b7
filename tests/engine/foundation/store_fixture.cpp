#include "store_fixture.h"

#include "testkit.h"

namespace fnd {

std::string userAtComputer() {
  char user[512] = {}, computer[512] = {};
  DWORD n = sizeof(user);
  GetUserNameA(user, &n);
  n = sizeof(computer);
  GetComputerNameA(computer, &n);
  return std::string(user) + "@" + computer;
}

std::string userDir() { return zvtest::rootDir() + "\\data\\" + userAtComputer(); }
std::string configFile() { return userDir() + "\\config.dat"; }

static std::string key(const std::string& section) { return std::string(kRootKey) + "\\" + section; }

void deleteSection(const std::string& section) { RegDeleteKeyA(HKEY_CURRENT_USER, key(section).c_str()); }

bool regRead(const std::string& section, const std::string& name, DWORD& type, std::vector<char>& data) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key(section).c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  bool ok = RegQueryValueExA(k, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
  if (ok) {
    data.assign(size, 0);
    ok = RegQueryValueExA(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
         ERROR_SUCCESS;
  }
  RegCloseKey(k);
  return ok;
}

static void regWrite(const std::string& section, const std::string& name, DWORD type, const void* data, DWORD size) {
  HKEY k;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(k, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(k);
}

void regWriteString(const std::string& section, const std::string& name, const std::string& value) {
  regWrite(section, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void regWriteBinary(const std::string& section, const std::string& name, const std::vector<char>& value) {
  regWrite(section, name, REG_BINARY, value.data(), static_cast<DWORD>(value.size()));
}

std::string iniRead(const std::string& section, const std::string& name) {
  char value[2048];
  GetPrivateProfileStringA(section.c_str(), name.c_str(), "\x01missing", value, sizeof(value), configFile().c_str());
  return value;
}

void iniWrite(const std::string& section, const std::string& name, const std::string& value) {
  WritePrivateProfileStringA(section.c_str(), name.c_str(), value.c_str(), configFile().c_str());
}

void iniDeleteSection(const std::string& section) {
  WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, configFile().c_str());
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
DWORD attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

std::vector<std::string> listDir(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::string n = fd.cFileName;
    if (n != "." && n != "..") names.push_back(n);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

}  // namespace fnd
