// The description format language of formatDesc (see zvid3.h).
#pragma once
#include <string>
#include <string_view>

namespace zvid3 {

struct DescValues {
  std::string artist, title, album, year, track, name, extension, path;
};

// Expands `format` with `values`. Never fails: malformed parts are text.
std::string expandFormat(std::string_view format, const DescValues& values);

}  // namespace zvid3
