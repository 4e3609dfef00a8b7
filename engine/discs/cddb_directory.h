// Where the CD database keeps its files. The database, the CD kind and the
// playlist's directory cache (whose files live there too) all ask, so it
// lives with the drives, below all three.
#pragma once
#include <string>

namespace zv {

// The CD database folder: "cddbDir", by default <base>\cddb.
std::string cddbDirectory();

}  // namespace zv
