#include "store_fixture.h"

#include "testkit.h"
#include "win32/owners.h"

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
  zv::UniqueRegKey k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key(section).c_str(), 0, KEY_QUERY_VALUE, k.put()) != ERROR_SUCCESS)
    return false;
  DWORD size = 0;
  bool ok = RegQueryValueExA(k.get(), name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
  if (ok) {
    data.assign(size, 0);
    ok = RegQueryValueExA(k.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
         ERROR_SUCCESS;
  }
  return ok;
}

static void regWrite(const std::string& section, const std::string& name, DWORD type, const void* data, DWORD size) {
  zv::UniqueRegKey k;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, k.put(),
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(k.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
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
  zv::UniqueFind h(FindFirstFileA((dir + "\\*").c_str(), &fd));
  if (!h) return names;
  do {
    std::string n = fd.cFileName;
    if (n != "." && n != "..") names.push_back(n);
  } while (FindNextFileA(h.get(), &fd));
  return names;
}

}  // namespace fnd
