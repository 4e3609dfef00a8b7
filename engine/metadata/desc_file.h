// Description files ("descript.ion", "files.bbs", "0index", "00index"): one
// line per file, the file's name (in double quotes when it holds blanks)
// and its description.
#pragma once
#include <string>
#include <string_view>

#include "foundation/text_util.h"

namespace zv {

// The description of `fileName` in the content of a description file: the
// first line whose name equals it (case-insensitive). A line without a
// separator behind its name has no name and never matches.
bool descriptionFromListing(std::string_view content, std::string_view fileName, std::string* out);

// Looks in the folder of `path` for the description files in their order;
// false when none describes the file.
bool descriptionFromFiles(const char* path, std::string* out);

}  // namespace zv
