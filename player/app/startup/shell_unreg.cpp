#include "startup/shell_unreg.h"


#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "win32/owners.h"

namespace zv {
namespace {

const char* const kTypeNames[] = {"Zorvak file", "Zorvak playlist", "Zorvak CDA track"};

std::optional<std::string> stringValue(HKEY key, const char* name) {
  char buffer[1024];
  DWORD size = sizeof(buffer) - 1, type = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  buffer[size] = 0;
  return std::string(buffer);
}

void setDefault(HKEY key, const std::string& value) {
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}

bool containsOurName(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text.find("zorvak") != std::string::npos;
}

void deleteTree(HKEY root, const char* path) { RegDeleteTreeA(root, path); RegDeleteKeyA(root, path); }

// The saved default comes back only while the verb still runs this player:
// another player that took the audio CD over since keeps it.
void restoreAudioCd(HKEY classes) {
  UniqueRegKey key;
  if (RegOpenKeyExA(classes, "AudioCD\\shell\\play\\command", 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.put()) !=
      ERROR_SUCCESS)
    return;
  std::optional<std::string> saved = stringValue(key.get(), "orgdef");
  std::optional<std::string> current = stringValue(key.get(), nullptr);
  if (saved && current && containsOurName(*current)) setDefault(key.get(), *saved);
}

std::vector<std::string> extensionKeys(HKEY classes) {
  std::vector<std::string> names;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof(name);
    LONG r = RegEnumKeyExA(classes, i, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_NO_MORE_ITEMS) break;
    if (r == ERROR_SUCCESS && name[0] == '.') names.push_back(name);
  }
  return names;
}

void cleanExtension(HKEY classes, const std::string& ext) {
  deleteTree(classes, (ext + "\\OpenWithList\\zorvak.exe").c_str());
  UniqueRegKey key;
  if (RegOpenKeyExA(classes, ext.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
  std::optional<std::string> current = stringValue(key.get(), nullptr);
  std::optional<std::string> saved = stringValue(key.get(), "orgdef");
  if (!current || !saved) return;
  for (const char* type : kTypeNames)
    if (*current == type) {
      setDefault(key.get(), *saved);
      return;
    }
}

}  // namespace

void removeShellRegistrations(const ShellRoots& roots, const std::function<void()>& notifyShell) {
  for (const char* key : {"Zorvak file", "Zorvak playlist", "Zorvak CDA track", "Directory\\shell\\zvplay",
                          "Directory\\shell\\zvenqueue", "Drive\\shell\\zvplay", "Drive\\shell\\zvenqueue"})
    deleteTree(roots.classes, key);
  restoreAudioCd(roots.classes);
  // Written under the local machine by the settings, so removed there.
  deleteTree(roots.machine, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zorvak.exe");
  for (const std::string& ext : extensionKeys(roots.classes)) cleanExtension(roots.classes, ext);
  if (notifyShell) notifyShell();
}

}  // namespace zv
