// The program's folders, formed from its own file's path: RootDir (its folder
// in lower case, "\bin" cut off), DataDir (the folder above its folder, plus
// "\data") and UserDataDir (DataDir + "\" + user + "@" + computer).
#pragma once
#include <string>

namespace zv {

struct ProgramDirs {
  std::string root, data, userData;
};

ProgramDirs programDirs(const std::string& exePath, const std::string& user, const std::string& computer);
// For the running program: its module path, the user and computer names
// (empty when they cannot be read).
ProgramDirs currentProgramDirs();
// Creates a folder (and those above it) if missing and gives it the hidden attribute.
bool createHiddenFolder(const std::string& path);

}  // namespace zv
