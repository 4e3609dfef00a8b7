// Which playlist a medium asks to be opened with instead of its listing:
// the "Playlist" key of the "Zorvak" section of its "autorun.inf", or on a
// CD-ROM drive root the first existing name of the setting "cdAutoOpen".
// Header-only with the drive queries passed in, so tests can answer for a
// CD drive the machine lacks.
#pragma once
#include <windows.h>

#include <string>

#include "discs/cd_drive.h"
#include "foundation/file_io.h"
#include "foundation/legacy_text.h"
#include "foundation/profile_text.h"
#include "foundation/text_util.h"
#include "playlist/autorun_text.h"
#include "win32/owners.h"
#include "zv_config.h"

namespace zv {

// The bytes of a small file (an autorun.inf is a few lines); false when it
// cannot be read or is larger than any such file.
inline bool readSmallFile(const std::string& path, std::string& out) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size = {};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > (64 << 10)) return false;
  out.resize(static_cast<size_t>(size.QuadPart));
  return readExact(file.get(), out.data(), size.QuadPart);
}

// `dir` ends with '\'. Returns the name relative to it, or "".
inline std::string mediumPlaylistName(const std::string& dir, const DriveQueries& queries) {
  std::string autorun = dir + "autorun.inf";
  DWORD attributes = GetFileAttributesA(autorun.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    // Read here rather than by the system's profile reader, which under the
    // UTF-8 code page would take a disc's legacy-code-page name as UTF-8.
    // A UTF-16 file, or one too large, is still left to the system.
    std::string text;
    if (readSmallFile(autorun, text) && !isWideProfileText(text))
      return autorunPlaylistName(fileTextToActive(text).text);
    char name[MAX_PATH + 1] = {};
    GetPrivateProfileStringA("Zorvak", "Playlist", "", name, sizeof(name), autorun.c_str());
    return name;
  }
  bool driveRoot = dir.size() == 3 && dir[1] == ':';
  if (!driveRoot || !isOnCdDrive(dir, queries)) return {};
  char setting[260] = {};
  configString("cdAutoOpen", setting, "playlist.m3u|cd.m3u");
  for (const std::string& name : splitText(setting, '|')) {
    if (name.empty()) continue;
    if (GetFileAttributesA((dir + name).c_str()) != INVALID_FILE_ATTRIBUTES) return name;
  }
  return {};
}

}  // namespace zv
