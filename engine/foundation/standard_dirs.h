// The engine's standard directories, all derived from the host executable
// (the program that loaded the engine, never the engine's own file).
#pragma once
#include <string>

namespace zv {

// Base directory of the host (see baseDirectoryOf).
std::string baseDirectory();
// Base directory + "\\data", created and hidden on every call.
std::string dataDirectory();
// Data directory + "\\<user>@<computer>", created and hidden on every call,
// so each user of each computer keeps settings of their own.
std::string userDirectory();

// createPath for engine callers.
void createDirectories(const std::string& path);

}  // namespace zv
