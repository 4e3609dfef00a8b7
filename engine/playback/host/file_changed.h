// The file-changed broadcast that the units which rewrite or re-identify a
// location send (the CD database, the CD kind, the drive list).
#pragma once

namespace zv {

// Broadcasts msgFileChanged with `path`.
void broadcastFileChanged(const char* path);

}  // namespace zv
