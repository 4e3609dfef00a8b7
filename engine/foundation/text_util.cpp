#include "foundation/text_util.h"

#include <windows.h>

namespace zv {

std::vector<std::string> splitText(std::string_view text, char separator) {
  std::vector<std::string> items;
  size_t start = 0;
  for (;;) {
    size_t at = text.find(separator, start);
    if (at == std::string_view::npos) {
      items.emplace_back(text.substr(start));
      return items;
    }
    items.emplace_back(text.substr(start, at - start));
    start = at + 1;
  }
}

std::string fileNamePart(std::string_view path) {
  size_t sep = lastSeparator(path);
  return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string extensionPart(std::string_view path) {
  std::string name = fileNamePart(path);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string directoryPart(std::string_view path) {
  size_t sep = lastSeparator(path);
  return sep == std::string_view::npos ? std::string() : std::string(path.substr(0, sep + 1));
}

std::string windowsDirectory() {
  char dir[MAX_PATH] = {};
  UINT n = GetWindowsDirectoryA(dir, 256);
  if (n == 0 || n >= 256) return std::string();
  std::string out(dir, n);
  if (out.size() > 3 && out.back() == '\\') out.pop_back();
  return out;
}

std::string asciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool sameAsciiIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x + 32);
    if (y >= 'A' && y <= 'Z') y = char(y + 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace zv
