// Drive questions while one call expands a tree of folders: plAddFile loads
// every folder below the location it is given, and each load asks the
// folder's drive type (is it a CD, whose listings are cached?) twice, at
// about 0.2-0.3 ms per question under Wine. Within one expansion the type
// of a drive letter is asked once and remembered until the expansion ends;
// the volume serial is always asked afresh. Outside an expansion the
// system is asked every time.
#pragma once
#include "discs/cd_drive.h"

namespace zv {

// Marks the calling thread as expanding while it lives; nests.
class ExpansionDrives {
 public:
  ExpansionDrives();
  ~ExpansionDrives();
  ExpansionDrives(const ExpansionDrives&) = delete;
  ExpansionDrives& operator=(const ExpansionDrives&) = delete;
};

// The queries the playlist file units use.
const DriveQueries& playlistDriveQueries();

}  // namespace zv
