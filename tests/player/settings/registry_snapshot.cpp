#include "registry_snapshot.h"

#include <cstdio>
#include <vector>

#include "win32/owners.h"

namespace settingstest {

namespace {

void walk(HKEY key, const std::string& path, Snapshot& out) {
  DWORD values = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  if (values == 0 && !path.empty()) out[path + "|"] = "(key)";
  for (DWORD i = 0;; ++i) {
    char name[512];
    BYTE data[4096];
    DWORD nameSize = sizeof(name), dataSize = sizeof(data), type = 0;
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    std::string text;
    if (type == REG_SZ) {
      text.assign(reinterpret_cast<char*>(data), dataSize);
      while (!text.empty() && text.back() == '\0') text.pop_back();
    } else {
      text = std::to_string(type) + ":";
      for (DWORD b = 0; b < dataSize; ++b) {
        char hex[3];
        std::snprintf(hex, sizeof(hex), "%02x", data[b]);
        text += hex;
      }
    }
    out[path + "|" + name] = text;
  }
  std::vector<std::string> children;
  for (DWORD i = 0;; ++i) {
    char name[512];
    DWORD size = sizeof(name);
    if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.push_back(name);
  }
  for (const std::string& child : children) {
    zv::UniqueRegKey sub;
    if (RegOpenKeyExA(key, child.c_str(), 0, KEY_READ, sub.put()) == ERROR_SUCCESS)
      walk(sub.get(), path.empty() ? child : path + "\\" + child, out);
  }
}

}  // namespace

Snapshot snapshot(HKEY root) {
  Snapshot out;
  walk(root, "", out);
  return out;
}

PrivateRoot::PrivateRoot(const std::string& name)
    : path_("Software\\ZorvakTest\\" + name + std::to_string(GetCurrentProcessId())) {
  RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
}

PrivateRoot::~PrivateRoot() {
  if (key_) RegCloseKey(key_);
  RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
}

void PrivateRoot::put(const std::string& key, const char* name, const std::string& value) const {
  zv::UniqueRegKey k;
  RegCreateKeyExA(key_, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(), nullptr);
  RegSetValueExA(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}

std::optional<std::string> PrivateRoot::get(const std::string& key, const char* name) const {
  char buffer[1024];
  DWORD size = sizeof(buffer);
  if (RegGetValueA(key_, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::string(buffer);
}

bool PrivateRoot::exists(const std::string& key) const {
  zv::UniqueRegKey k;
  return RegOpenKeyExA(key_, key.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

}  // namespace settingstest
