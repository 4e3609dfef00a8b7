// What every test executable shares: the folders it may write to, the file
// the sound device writes to, and polling with a deadline.
#pragma once
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zvtest {

// A Linux path as Wine sees it ("/a/b" -> "Z:\a\b"); other paths unchanged.
std::string winPath(const std::string& path);

// The test's own folder (created), as a Windows path without trailing "\".
std::string testDir();

// A fresh empty folder inside testDir(), named after the running test.
std::string freshDir(const std::string& name);

// The file that the ALSA device of this test writes everything played to.
std::string captureFile();

// <root>: the folder above the test executable's "bin".
std::string rootDir();

// Polls `done` every few milliseconds until it is true or `ms` have passed.
bool waitFor(const std::function<bool()>& done, int ms);

// Whole file content; empty if missing.
std::vector<uint8_t> readFile(const std::string& path);
bool writeFile(const std::string& path, const void* data, size_t size);

// True when windows can be created (a display is there).
bool haveDisplay();

// The windows of class `className` that belong to this process, top-level
// or message-only. Other test programs run beside this one on the same
// desktop, so a plain FindWindow may answer with another process's window.
std::vector<HWND> ownWindowsOfClass(const char* className);

}  // namespace zvtest
