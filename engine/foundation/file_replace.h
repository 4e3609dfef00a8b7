// Replacing a whole file so that it is either the old or the new content,
// never a truncated mix: settings records and language files are rewritten
// whole, and a crash or a full disk must not cost the user the old one.
#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

namespace zv {

// Writes `size` bytes to a temporary file beside `path` and moves it over
// `path` once it is complete (a read-only target is replaced too). On any
// failure the old file is left as it was, the temporary file is removed and
// false is returned.
bool replaceFileContent(const std::string& path, const void* data, size_t size);

// The same with the content produced by `write`, which gets the temporary
// file's handle (positioned at 0) and returns false on any failure.
bool replaceFileWith(const std::string& path, const std::function<bool(HANDLE)>& write);

// The temporary name used beside `path` (tests check none is left behind).
std::string replacementTempName(const std::string& path);

}  // namespace zv
