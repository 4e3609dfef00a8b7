#include "text_convert.h"

#include <windows.h>

#include <vector>

namespace deckit {

namespace {
std::string toAnsi(std::string_view text, UINT from) {
  if (text.empty()) return "";
  int wide = MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (wide <= 0) return "";
  std::vector<wchar_t> w(static_cast<size_t>(wide));
  MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), w.data(), wide);
  int bytes = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return "";
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), wide, out.data(), bytes, nullptr, nullptr);
  return out;
}
}  // namespace

std::string utf8ToAnsi(std::string_view utf8) { return toAnsi(utf8, CP_UTF8); }
std::string latin1ToAnsi(std::string_view latin1) { return toAnsi(latin1, 28591); }

std::string lowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

}  // namespace deckit
