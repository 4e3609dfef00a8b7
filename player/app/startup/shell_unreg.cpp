#include "startup/shell_unreg.h"

#include <optional>
#include <string>
#include <vector>

#include "startup/shell_registry.h"
#include "win32/owners.h"

namespace zv {
namespace {

// Gives a key its kept default back (an empty one: it had none), or, with
// nothing kept, drops our value; "orgdef" goes either way. `ours` tells
// whether the current default is still this player's.
void restoreKept(HKEY key, bool ours) {
  const std::optional<std::string> saved = regString(key, kOrgDefValue);
  if (ours) {
    if (saved && !saved->empty())
      regSetString(key, nullptr, *saved);
    else
      RegDeleteValueA(key, nullptr);
  }
  RegDeleteValueA(key, kOrgDefValue);
}

// The saved default comes back only while the verb still runs this player:
// another player that took the audio CD over since keeps it.
void restoreAudioCd(HKEY classes) {
  {
    UniqueRegKey key;
    if (RegOpenKeyExA(classes, kAudioCdCommandKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
      return;
    const std::optional<std::string> current = regString(key.get(), nullptr);
    restoreKept(key.get(), current && mentionsOurProgram(*current));
  }
  regDeleteIfEmpty(classes, kAudioCdCommandKey, 0);
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
  regDeleteTree(classes, ext + "\\OpenWithList\\zorvak.exe");
  {
    UniqueRegKey key;
    if (RegOpenKeyExA(classes, ext.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
    const std::optional<std::string> current = regString(key.get(), nullptr);
    restoreKept(key.get(), current && isOurTypeName(*current));
  }
  // Keys the registration created hold nothing now.
  regDeleteIfEmpty(classes, ext + "\\OpenWithList", 0);
}

}  // namespace

void removeShellRegistrations(const ShellRoots& roots, const std::function<void()>& notifyShell) {
  for (const char* type : kShellTypeNames) regDeleteTree(roots.classes, type);
  // Verbs of ours on the audio CD that the registration itself clears.
  for (const char* verb : {"AudioCD\\shell\\zvplay", "AudioCD\\shell\\zvenqueue"}) regDeleteTree(roots.classes, verb);
  for (const char* verb : kFolderVerbKeys) {
    regDeleteTree(roots.classes, verb);
    regDeleteIfEmpty(roots.classes, std::string(verb).substr(0, std::string(verb).rfind('\\')), 0);
  }
  restoreAudioCd(roots.classes);
  // Written under the local machine by the settings, so removed there.
  regDeleteTree(roots.machine, kAppPathsKey);
  for (const std::string& ext : extensionKeys(roots.classes)) cleanExtension(roots.classes, ext);
  if (notifyShell) notifyShell();
}

}  // namespace zv
