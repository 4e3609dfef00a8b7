// "ExePath": the program's full path, written at every start as a string
// value under "Software\Dovrik\Zorvak" of the current user (the root is
// passed in so that tests write under a key of their own).
#pragma once
#include <windows.h>

#include <string>

namespace zv {

bool writeExePath(HKEY root, const std::string& exePath);

}  // namespace zv
