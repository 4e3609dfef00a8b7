// Which playlist a medium asks to be opened with instead of its listing:
// the "Playlist" key of the "Zorvak" section of its "autorun.inf", or on a
// CD-ROM drive root the first existing name of the setting "cdAutoOpen".
// Header-only with the drive queries passed in, so tests can answer for a
// CD drive the machine lacks.
#pragma once
#include <windows.h>

#include <string>

#include "discs/cd_drive.h"
#include "foundation/text_util.h"
#include "zv_config.h"

namespace zv {

// `dir` ends with '\'. Returns the name relative to it, or "".
inline std::string mediumPlaylistName(const std::string& dir, const DriveQueries& queries) {
  std::string autorun = dir + "autorun.inf";
  DWORD attributes = GetFileAttributesA(autorun.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
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
