// Whether many locations exist, answered from one listing per distinct
// folder instead of one file-system query per location: a playlist of
// 100 000 lines in 1 000 folders costs 1 000 listings. Where a listing
// cannot tell for sure what GetFileAttributesA would say (unusual path
// shapes, names that only a case rule outside Latin-1 could match, a folder
// that cannot be listed), the answer is "unknown" and the caller asks the
// file system for that location itself, so the result is always the same.
//
// A listing is taken when its folder is first asked about and kept for the
// life of the object: callers keep one for one batch (one playlist load).
//
// Header-only, on Win32 alone, so tests compare it with GetFileAttributesA
// directly.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "win32/owners.h"

namespace zv {

// What a location is, as far as existence goes.
enum class Presence { missing, file, directory, unknown };

namespace listing {

// The case rule of file names for the characters where it is certain (ASCII,
// Latin-1 and the letters code page 1252 adds); 0 for a character whose rule
// this does not model, so a name holding one is never matched by folding.
inline wchar_t foldedChar(wchar_t c) {
  if (c < 0x80) return (c >= L'a' && c <= L'z') ? wchar_t(c - 0x20) : c;
  if (c < 0x100) {
    if (c == 0xB5) return 0;  // MICRO SIGN: its upper case is Greek
    if (c == 0xFF) return 0x178;
    if (c >= 0xE0 && c != 0xF7) return wchar_t(c - 0x20);
    return c;
  }
  switch (c) {
    case 0x153: return 0x152;
    case 0x161: return 0x160;
    case 0x17E: return 0x17D;
    case 0x152: case 0x160: case 0x17D: case 0x178:
    case 0x2C6: case 0x2DC: case 0x2013: case 0x2014: case 0x2018: case 0x2019: case 0x201A:
    case 0x201C: case 0x201D: case 0x201E: case 0x2020: case 0x2021: case 0x2022: case 0x2026:
    case 0x2030: case 0x2039: case 0x203A: case 0x20AC: case 0x2122:
      return c;
    default: return 0;
  }
}

// `name` folded; false if a character has no modelled case rule.
inline bool foldName(std::wstring_view name, std::wstring& out) {
  out.resize(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    wchar_t f = foldedChar(name[i]);
    if (!f) return false;
    out[i] = f;
  }
  return true;
}

inline bool toWide(std::string_view text, std::wstring& out) {
  out.clear();
  if (text.empty()) return true;
  int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), nullptr, 0);
  if (n <= 0) return false;
  out.resize(size_t(n));
  return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), out.data(), n) == n;
}

// Whether the active code page has one byte per character (no trail byte
// can be a '\\').
inline bool singleByteCodePage() {
  CPINFO info = {};
  return GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
}

// Whether `name` is a device name ("CON", "nul.txt", "COM1"): the system
// turns such a name into the device wherever it stands.
inline bool isDeviceName(std::string_view name) {
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  if (name.size() != 3 && name.size() != 4 && name.size() != 6 && name.size() != 7) return false;
  std::string upper(name);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = char(c - 0x20);
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL" || upper == "CONIN$" || upper == "CONOUT$")
    return true;
  return upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
         upper[3] >= '0' && upper[3] <= '9';
}

// Splits "X:\folder\name" into folder ("X:\folder", or "X:\" at the root)
// and name when the shape is one that a listing answers exactly like the
// file system: a drive letter, no empty, "." or ".." component, no
// component ending in '.' or ' ' (the system strips those), no character a
// file name cannot hold, not a device name, shorter than MAX_PATH. Else
// false.
inline bool splitPlainPath(std::string_view path, bool singleByte, std::string_view& folder,
                           std::string_view& name) {
  if (path.size() < 4 || path.size() >= MAX_PATH || path[1] != ':' || path[2] != '\\') return false;
  char drive = char(path[0] | 0x20);
  if (drive < 'a' || drive > 'z') return false;
  size_t componentStart = 3, lastSep = 2;
  for (size_t i = 3; i <= path.size(); ++i) {
    unsigned char c = i < path.size() ? static_cast<unsigned char>(path[i]) : '\\';
    if (c == '\\') {
      if (i == componentStart) return false;  // empty component or trailing '\'
      char last = path[i - 1];
      if (last == '.' || last == ' ') return false;
      if (i < path.size()) lastSep = i;
      componentStart = i + 1;
      continue;
    }
    if (c < 0x20 || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|')
      return false;
    if (c >= 0x80 && !singleByte) return false;
  }
  folder = path.substr(0, lastSep == 2 ? 3 : lastSep);
  name = path.substr(lastSep + 1);
  return !isDeviceName(name);
}

// Listing a folder on an empty removable drive must not bring up the
// system's "insert a disk" box.
struct QuietErrorMode {
  UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  ~QuietErrorMode() { SetErrorMode(old); }
  QuietErrorMode() = default;
  QuietErrorMode(const QuietErrorMode&) = delete;
  QuietErrorMode& operator=(const QuietErrorMode&) = delete;
};

}  // namespace listing

class FolderListings {
 public:
  // What GetFileAttributesA(location) would say about `location` existing
  // and being a directory, or Presence::unknown.
  Presence presence(std::string_view location) {
    std::string_view folder, name;
    if (!listing::splitPlainPath(location, singleByte_, folder, name)) return Presence::unknown;
    const Listing& l = listingOf(folder);
    if (l.state == Listing::missing) return Presence::missing;
    if (l.state == Listing::unreadable || !listing::toWide(name, wideName_)) return Presence::unknown;
    auto exact = l.exact.find(wideName_);
    if (exact != l.exact.end()) return exact->second;
    // No entry of this exact spelling: the system matches names ignoring
    // case, long or short (8.3). Every entry that matches must agree.
    if (l.unmodelled || !listing::foldName(wideName_, foldedName_)) return Presence::unknown;
    auto folded = l.folded.find(foldedName_);
    return folded == l.folded.end() ? Presence::missing : folded->second;
  }

  // Number of folders listed so far (for tests and figures).
  size_t folderCount() const { return folders_.size(); }

 private:
  struct Listing {
    enum State { listed, missing, unreadable } state = listed;
    bool unmodelled = false;  // an entry has a character without a modelled case rule
    std::unordered_map<std::wstring, Presence> exact;   // long names as listed
    std::unordered_map<std::wstring, Presence> folded;  // long and short names folded
  };

  static Presence kindOf(const WIN32_FIND_DATAW& found) {
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Presence::directory : Presence::file;
  }

  static void addFolded(Listing& l, std::wstring_view name, Presence kind) {
    std::wstring key;
    if (!listing::foldName(name, key)) {
      l.unmodelled = true;
      return;
    }
    auto [at, added] = l.folded.emplace(std::move(key), kind);
    // Two entries that one spelling can name: the system would pick one of
    // them; unless they agree, only the system can say which.
    if (!added && at->second != kind) at->second = Presence::unknown;
  }

  static Listing take(std::string_view folder) {
    Listing l;
    std::wstring pattern;
    if (!listing::toWide(folder, pattern)) {
      l.state = Listing::unreadable;
      return l;
    }
    if (pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found;
    listing::QuietErrorMode quiet;
    UniqueFind find(FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &found, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
      DWORD error = GetLastError();
      // An empty root gives "file not found"; a folder that is not there (or
      // a file in its place) "path not found" or "directory name invalid".
      // Anything else (a drive not ready, access refused) the system answers
      // per location.
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY)
        l.state = error == ERROR_FILE_NOT_FOUND ? Listing::listed : Listing::missing;
      else
        l.state = Listing::unreadable;
      return l;
    }
    do {
      std::wstring_view name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      Presence kind = kindOf(found);
      l.exact.emplace(name, kind);
      addFolded(l, name, kind);
      if (found.cAlternateFileName[0]) addFolded(l, found.cAlternateFileName, kind);
    } while (FindNextFileW(find.get(), &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) l.state = Listing::unreadable;
    return l;
  }

  const Listing& listingOf(std::string_view folder) {
    if (last_ && lastFolder_ == folder) return *last_;
    std::string key(folder);
    auto at = folders_.find(key);
    if (at == folders_.end()) at = folders_.emplace(key, take(folder)).first;
    lastFolder_ = std::move(key);
    last_ = &at->second;
    return *last_;
  }

  bool singleByte_ = listing::singleByteCodePage();
  std::unordered_map<std::string, Listing> folders_;
  std::string lastFolder_;
  const Listing* last_ = nullptr;
  std::wstring wideName_, foldedName_;
};

}  // namespace zv
