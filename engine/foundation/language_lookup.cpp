#include "foundation/language_lookup.h"

namespace zv {

std::optional<std::string> lookupTranslation(std::string_view buffer, std::string_view key) {
  // A key matches only at the start of a line and directly before "=".
  std::string probe = "\n";
  probe.append(key).append("=");
  size_t found = buffer.find(probe);
  if (found == std::string_view::npos) return std::nullopt;
  size_t start = found + probe.size();
  size_t end = buffer.find_first_of(std::string_view("\r\n\0", 3), start);
  return std::string(buffer.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

}  // namespace zv
