// The quickest description of a location: its file name without the
// extension, with no lookups at all.
#pragma once
#include <string>
#include <string_view>

#include "foundation/text_util.h"

namespace zv {

// The part behind the last '\' (the whole path when that part is empty),
// without the extension: the part from the last '.' behind the last '\' or ':'.
inline std::string fastDescText(std::string_view path) {
  size_t sep = lastSeparator(path);
  std::string_view name = sep == std::string_view::npos ? path : path.substr(sep + 1);
  if (name.empty()) name = path;
  size_t dot = std::string_view::npos;
  for (size_t i = 0; i < name.size(); i += charSizeAt(name, i)) {
    if (name[i] == '\\' || name[i] == ':') dot = std::string_view::npos;
    if (name[i] == '.') dot = i;
  }
  return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

}  // namespace zv
