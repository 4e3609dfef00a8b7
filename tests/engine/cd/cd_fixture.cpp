#include "cd_fixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <mutex>

#include "testkit.h"
#include "win32/owners.h"
#include "zv_memory.h"
#include "zv_plugins.h"

namespace cdtest {
namespace {

std::string tocFile() { return zvtest::testDir() + "\\cdsim-toc.txt"; }

// Puts a new table of contents in place whole: the driver may be reading the
// old one on another thread (the engine asks drives from several), and a
// file rewritten in place could be read half written, or refused to the
// writer while the driver holds it.
void writeToc(const std::string& text) {
  const std::string next = tocFile() + ".new";
  if (!zvtest::writeFile(next, text.data(), text.size())) ADD_FAILURE() << "cannot write " << next;
  const bool moved =
      zvtest::waitFor([&] { return MoveFileExA(next.c_str(), tocFile().c_str(), MOVEFILE_REPLACE_EXISTING) != 0; }, 5000);
  if (!moved) ADD_FAILURE() << "cannot replace " << tocFile() << ": error " << GetLastError();
}
std::string logFile() { return zvtest::testDir() + "\\cdsim-log.txt"; }

void registerDriver() {
  static std::once_flag once;
  std::call_once(once, [] {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dll = exe;
    dll = dll.substr(0, dll.rfind('\\')) + "\\cdsim.dll";
    zv::UniqueRegKey key;
    // Only this test program uses MCI in the shared prefix, so taking the
    // device type over is harmless; winmm reads it at every open.
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI", 0, nullptr, 0,
                    KEY_SET_VALUE, nullptr, key.put(), nullptr);
    RegSetValueExA(key.get(), "cdaudio", 0, REG_SZ, reinterpret_cast<const BYTE*>(dll.c_str()),
                   DWORD(dll.size() + 1));
    SetEnvironmentVariableA("ZV_CDSIM_TOC", tocFile().c_str());
    SetEnvironmentVariableA("ZV_CDSIM_LOG", logFile().c_str());
  });
}

}  // namespace

std::string cddbFolder() {
  std::string dir = zvtest::rootDir() + "\\cddb";
  static std::once_flag once;
  std::call_once(once, [&] {
    // Every run starts from an empty database.
    CreateDirectoryA(dir.c_str(), nullptr);
    WIN32_FIND_DATAA data;
    zv::UniqueFind find(FindFirstFileA((dir + "\\*").c_str(), &data));
    if (!find) return;
    do {
      std::string path = dir + "\\" + data.cFileName;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    } while (FindNextFileA(find.get(), &data));
  });
  return dir;
}

std::string discFile(uint32_t discId) {
  char name[16];
  wsprintfA(name, "\\%08X.cdb", discId);
  return cddbFolder() + name;
}

void writeDiscFile(uint32_t discId, const std::string& text) {
  std::string path = discFile(discId);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  zvtest::writeFile(path, text.data(), text.size());
}

std::string readDiscFile(uint32_t discId) {
  auto bytes = zvtest::readFile(discFile(discId));
  return std::string(bytes.begin(), bytes.end());
}

char audioCdDrive() {
  DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    char root[4] = {char('A' + i), ':', '\\', 0};
    char label[MAX_PATH] = {};
    if (GetDriveTypeA(root) == DRIVE_CDROM &&
        GetVolumeInformationA(root, label, sizeof(label), nullptr, nullptr, nullptr, nullptr, 0) &&
        lstrcmpiA(label, "Audio CD") == 0)
      return char('A' + i);
  }
  return 0;
}

std::string titleArchive() {
  static std::string folder;
  static std::once_flag once;
  std::call_once(once, [] {
    folder = zvtest::freshDir("archive");
    std::string ini = zvtest::rootDir() + "\\bin\\zvwcd.ini";
    WritePrivateProfileStringA("archive", "folder", folder.c_str(), ini.c_str());
  });
  return folder;
}

MessageCatcher::MessageCatcher(std::vector<uint32_t> codes) : codes_(std::move(codes)) {
  MSG msg;
  PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  for (uint32_t code : codes_) addBroadcastFilter(GetCurrentThreadId(), int32_t(code));
}

MessageCatcher::~MessageCatcher() {
  for (uint32_t code : codes_) delBroadcastFilter(GetCurrentThreadId(), int32_t(code));
}

std::vector<std::string> MessageCatcher::take(uint32_t code, int ms) {
  ULONGLONG end = GetTickCount64() + ULONGLONG(ms);
  MSG msg;
  while (GetTickCount64() < end) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      Sleep(5);
      continue;
    }
    if (msg.hwnd) {
      DispatchMessageA(&msg);  // the engine's own windows on this thread
      continue;
    }
    if (msg.lParam && std::find(codes_.begin(), codes_.end(), msg.message) != codes_.end()) {
      std::vector<char> block(size_t(_mgetsize(reinterpret_cast<void*>(msg.lParam))), 0);
      getMsgPrm(&msg, block.data());
      kept_.emplace_back(msg.message, std::string(block.begin(), block.end()));
    }
    finishMsg(&msg);
  }
  std::vector<std::string> out;
  for (auto it = kept_.begin(); it != kept_.end();) {
    if (it->first != code) {
      ++it;
      continue;
    }
    out.push_back(std::move(it->second));
    it = kept_.erase(it);
  }
  return out;
}

void ensurePlugins() {
  static std::once_flag once;
  std::call_once(once, [] { initPlugins(); });
}

void insertDisc(const SimDisc& disc) {
  registerDriver();
  std::string text = "identity=" + disc.identity + "\nstarts=";
  for (size_t i = 0; i < disc.starts.size(); ++i) text += (i ? "," : "") + std::to_string(disc.starts[i]);
  text += "\nleadout=" + std::to_string(disc.leadOut) + "\nspeed=" + std::to_string(disc.speed) + "\n";
  writeToc(text);
  DeleteFileA(logFile().c_str());
}

void ejectDisc() {
  registerDriver();
  writeToc("nodisc\n");
  DeleteFileA(logFile().c_str());
}

std::string simLog() {
  auto bytes = zvtest::readFile(logFile());
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace cdtest
