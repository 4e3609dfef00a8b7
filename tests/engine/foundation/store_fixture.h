// What the configuration tests share: the store's real places (registry key,
// user directory) and direct access to them, bypassing the engine, so the
// tests see what is really stored.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace fnd {

constexpr const char* kRootKey = "Software\\Dovrik\\ZvEngine";

// "<user>@<computer>" as this process sees it.
std::string userAtComputer();
// <root>\data\<user>@<computer> of the test executables.
std::string userDir();
std::string configFile();

// Registry section key: removes it, reads and writes values directly.
void deleteSection(const std::string& section);
bool regRead(const std::string& section, const std::string& name, DWORD& type, std::vector<char>& data);
void regWriteString(const std::string& section, const std::string& name, const std::string& value);
void regWriteBinary(const std::string& section, const std::string& name, const std::vector<char>& value);

// config.dat directly: "\x01missing" when the key is not there.
std::string iniRead(const std::string& section, const std::string& name);
void iniWrite(const std::string& section, const std::string& name, const std::string& value);
void iniDeleteSection(const std::string& section);

bool exists(const std::string& path);
DWORD attributes(const std::string& path);
// Names inside a folder (no "." and "..").
std::vector<std::string> listDir(const std::string& dir);

}  // namespace fnd
