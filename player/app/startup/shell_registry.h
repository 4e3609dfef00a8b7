// What the shell registrations and their removal ("/unreg") share: the three
// type names, the value that keeps a replaced default ("orgdef"), and small
// registry helpers that report refusals.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace zv {

inline constexpr const char* kShellTypeNames[] = {"Zorvak file", "Zorvak playlist", "Zorvak CDA track"};
inline constexpr const char* kOrgDefValue = "orgdef";
inline constexpr const char* kAppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zorvak.exe";
inline constexpr const char* kAudioCdCommandKey = "AudioCD\\shell\\play\\command";
// The folder and drive verbs, in the order they are written.
inline constexpr const char* kFolderVerbKeys[] = {"Directory\\shell\\zvplay", "Drive\\shell\\zvplay",
                                                  "Directory\\shell\\zvenqueue", "Drive\\shell\\zvenqueue"};

// One of the three type names, compared without case.
bool isOurTypeName(const std::string& text);
// The text names this player (holds "zorvak" in any case).
bool mentionsOurProgram(const std::string& text);

// A string value (REG_SZ or REG_EXPAND_SZ); nullopt when missing or of
// another type. `name` null: the default value.
std::optional<std::string> regString(HKEY key, const char* name);
LONG regSetString(HKEY key, const char* name, const std::string& value);
// Deletes a key with everything below it (a missing key is no error).
void regDeleteTree(HKEY root, const std::string& path);
// Deletes `path` and then its parents up to (not including) `stopAt` levels
// from the root, each only while it holds neither values nor keys.
void regDeleteIfEmpty(HKEY root, std::string path, int keepLevels);

}  // namespace zv
