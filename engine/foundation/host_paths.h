// The base directory rule shared by both deliverables: settings, data and
// languages live beside the installation, found from the host executable.
#pragma once
#include <string>
#include <string_view>

namespace zv {

// The base directory of an executable's full path: its directory without the
// trailing '\\' (kept when another '\\' precedes it), lower case, and with a
// final "\\bin" removed (C:\Prog\bin\zorvak.exe and C:\Prog\zorvak.exe both
// give c:\prog).
std::string baseDirectoryOf(std::string_view exePath);

// The full path of the process's executable ("" if it cannot be had).
std::string hostExecutablePath();

}  // namespace zv
