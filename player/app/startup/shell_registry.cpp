#include "startup/shell_registry.h"

#include <algorithm>

#include "win32/owners.h"

namespace zv {

namespace {
std::string asciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}
}  // namespace

bool isOurTypeName(const std::string& text) {
  const std::string lower = asciiLower(text);
  return std::any_of(std::begin(kShellTypeNames), std::end(kShellTypeNames),
                     [&](const char* name) { return lower == asciiLower(name); });
}

bool mentionsOurProgram(const std::string& text) { return asciiLower(text).find("zorvak") != std::string::npos; }

std::optional<std::string> regString(HKEY key, const char* name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::string value(size + 1, '\0');
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.resize(std::min<size_t>(size, value.size()));
  while (!value.empty() && value.back() == '\0') value.pop_back();
  return value;
}

LONG regSetString(HKEY key, const char* name, const std::string& value) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1));
}

void regDeleteTree(HKEY root, const std::string& path) {
  RegDeleteTreeA(root, path.c_str());
  RegDeleteKeyA(root, path.c_str());
}

void regDeleteIfEmpty(HKEY root, std::string path, int keepLevels) {
  for (;;) {
    const int levels = 1 + static_cast<int>(std::count(path.begin(), path.end(), '\\'));
    if (levels <= keepLevels) return;
    {
      UniqueRegKey key;
      if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
      DWORD keys = 0, values = 0;
      if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS || keys || values)
        return;
    }
    if (RegDeleteKeyA(root, path.c_str()) != ERROR_SUCCESS) return;
    const size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return;
    path.resize(slash);
  }
}

}  // namespace zv
