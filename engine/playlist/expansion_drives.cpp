#include "playlist/expansion_drives.h"

#include <windows.h>

namespace zv {
namespace {

thread_local int t_depth = 0;
thread_local bool t_known[26] = {};
thread_local UINT t_type[26] = {};

UINT expansionDriveType(const char* root) {
  char letter = char(root[0] & ~0x20);
  if (t_depth == 0 || letter < 'A' || letter > 'Z' || root[1] != ':' || root[2] != '\\' || root[3] != 0)
    return GetDriveTypeA(root);
  int i = letter - 'A';
  if (!t_known[i]) {
    t_type[i] = GetDriveTypeA(root);
    t_known[i] = true;
  }
  return t_type[i];
}

}  // namespace

ExpansionDrives::ExpansionDrives() {
  // A new outermost expansion starts with nothing remembered.
  if (t_depth++ == 0)
    for (bool& known : t_known) known = false;
}

ExpansionDrives::~ExpansionDrives() { --t_depth; }

const DriveQueries& playlistDriveQueries() {
  static const DriveQueries queries = {expansionDriveType, systemDriveQueries().volumeSerial};
  return queries;
}

}  // namespace zv
