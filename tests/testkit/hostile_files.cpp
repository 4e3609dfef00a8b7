#include "hostile_files.h"

#include <psapi.h>
#include <winioctl.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "testkit.h"
#include "win32/owners.h"

namespace zvtest {

bool makeSparseFile(const std::string& path, int64_t size) {
  zv::UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return false;
  DWORD ignored = 0;
  DeviceIoControl(f.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
  LARGE_INTEGER at;
  at.QuadPart = size;
  return SetFilePointerEx(f.get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(f.get());
}

std::vector<std::string> truncationsOf(const std::string& good, size_t step) {
  std::vector<std::string> out;
  for (size_t cut = 0; cut < good.size(); cut += std::max<size_t>(step, 1)) out.push_back(good.substr(0, cut));
  return out;
}

std::vector<std::string> bitFlipsOf(const std::string& good, size_t count) {
  std::vector<std::string> out;
  if (good.empty()) return out;
  for (size_t i = 0; i < count; ++i) {
    std::string bad = good;
    const size_t bit = (i * 7919) % (bad.size() * 8);
    bad[bit / 8] = static_cast<char>(bad[bit / 8] ^ (1 << (bit % 8)));
    out.push_back(std::move(bad));
  }
  return out;
}

std::string withInt32At(std::string good, size_t offset, int32_t value) {
  if (offset + 4 <= good.size()) std::memcpy(&good[offset], &value, 4);
  return good;
}

std::string enormousPls() {
  return "[playlist]\r\nNumberOfEntries=2147483647\r\nFile2147483646=a.mp3\r\nFile-5=b.mp3\r\n";
}

std::string enormousZ3u() { return "2147483647:a.mp3\r\n-2147483648:b.mp3\r\n0:>x\r\n99999999999999999999:c.mp3\r\n"; }

std::string deepZ3u(int levels, const std::string& leaf) {
  std::string text;
  for (int level = 0; level < levels; ++level) text += std::to_string(level) + ":>level " + std::to_string(level) + "\r\n";
  return text + std::to_string(levels) + ":" + leaf + "\r\n";
}

namespace {

// The file lines of a text playlist in the format its extension names.
std::string playlistText(const std::string& ext, const std::vector<std::string>& entries) {
  std::string text;
  const bool sections = ext == ".pls" || ext == ".aap";
  if (sections) text += "[playlist]\r\n";
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    if (ext == ".pls")
      text += "File" + n + "=" + entries[i] + "\r\n";
    else if (ext == ".aap")
      text += "Entry" + n + "=" + entries[i] + "\r\n";
    else if (ext == ".z3u")
      text += "0:" + entries[i] + "\r\n";
    else
      text += entries[i] + "\r\n";
  }
  if (ext == ".pls") text += "NumberOfEntries=" + std::to_string(entries.size()) + "\r\n";
  return text;
}

void writeText(const std::string& path, const std::string& text) { writeFile(path, text.data(), text.size()); }

}  // namespace

std::string writeSelfListingPlaylists(const std::string& dir, const std::string& ext, const std::string& member) {
  const std::string self = "self" + ext, ping = "ping" + ext, pong = "pong" + ext;
  // Every spelling of itself that names the same file: a reader that keys
  // the files being expanded by their text would follow each order of them.
  const std::string leaf = dir.substr(dir.find_last_of('\\') + 1);
  std::string upper = self;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  std::string slashed = dir + "/" + self;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  const std::vector<std::string> spellings = {
      self, dir + "\\" + self, ".\\" + self, ".\\.\\" + self, "..\\" + leaf + "\\" + self, upper, slashed,
      dir + "\\.\\" + self, dir + "\\..\\" + leaf + "\\" + self, ".\\..\\" + leaf + "\\" + self,
      "..\\" + leaf + "\\.\\" + self, dir + "\\.\\.\\" + self};
  std::vector<std::string> entries = spellings;
  entries.push_back(ping);
  entries.push_back(member);
  writeText(dir + "\\" + self, playlistText(ext, entries));
  writeText(dir + "\\" + ping, playlistText(ext, {pong}));
  writeText(dir + "\\" + pong, playlistText(ext, {ping, self}));
  return dir + "\\" + self;
}

std::string writeDoublingChain(const std::string& dir, const std::string& ext, int depth, const std::string& member) {
  for (int level = 0; level < depth; ++level) {
    const std::string next = "chain" + std::to_string(level + 1) + ext;
    writeText(dir + "\\chain" + std::to_string(level) + ext, playlistText(ext, {next, next}));
  }
  writeText(dir + "\\chain" + std::to_string(depth) + ext, playlistText(ext, {member}));
  return dir + "\\chain0" + ext;
}

namespace {

// The handles `pid` holds, from the system's handle table; 0 when the table
// cannot be read.
DWORD handlesFromSystemTable(DWORD pid) {
  struct Entry {
    ULONG ownerPid;
    BYTE objectType, flags;
    USHORT value;
    PVOID object;
    ULONG access;
  };
  struct Table {
    ULONG count;
    Entry entries[1];
  };
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return 0;
  std::vector<uint8_t> buffer(1 << 20);
  for (int attempt = 0; attempt < 8; ++attempt) {
    ULONG needed = 0;
    const LONG status = query(16 /* SystemHandleInformation */, buffer.data(), ULONG(buffer.size()), &needed);
    if (status == 0) {
      const auto* table = reinterpret_cast<const Table*>(buffer.data());
      DWORD count = 0;
      for (ULONG i = 0; i < table->count; ++i)
        if (table->entries[i].ownerPid == pid) ++count;
      return count;
    }
    buffer.resize(std::max<size_t>(buffer.size() * 2, needed));
  }
  return 0;
}

}  // namespace

ProcessUsage processUsage(DWORD pid, HANDLE process) {
  ProcessUsage u;
  u.handles = handlesFromSystemTable(pid);
  if (u.handles == 0) GetProcessHandleCount(process, &u.handles);
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  if (GetProcessMemoryInfo(process, &counters, sizeof(counters))) u.privateBytes = counters.PagefileUsage;
  return u;
}

}  // namespace zvtest
