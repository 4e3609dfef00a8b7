// The configuration file's text (withProfileValue, profileValue): setting a
// key to a value on any file text reads back as that value, leaves every
// other key of the file reading as before, and never adds a section twice.
#include <string>
#include <string_view>

#include "foundation/profile_text.h"
#include "fuzz_check.h"

namespace {

std::string_view blanksTrimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

// Input: section, key, value and the file text, separated by NUL bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  std::string_view parts[3];
  for (auto& part : parts) {
    size_t cut = in.find('\0');
    if (cut == std::string_view::npos) return 0;
    part = in.substr(0, cut);
    in.remove_prefix(cut + 1);
  }
  std::string_view section = parts[0], key = parts[1], value = parts[2], text = in;
  std::string after = zv::withProfileValue(text, section, key, value);
  std::string_view k = blanksTrimmed(key);
  bool editable = blanksTrimmed(section).find_first_of("]\r\n") == std::string_view::npos && !k.empty() &&
                  k.find_first_of("=\r\n") == std::string_view::npos && k.front() != '[';
  if (!editable) {
    ZV_FUZZ_CHECK(after == text);
    return 0;
  }
  std::string_view expected = blanksTrimmed(value.substr(0, value.find_first_of("\r\n")));
  auto back = zv::profileValue(after, section, key);
  ZV_FUZZ_CHECK(back && *back == expected);
  // Setting it again changes nothing more.
  ZV_FUZZ_CHECK(zv::withProfileValue(after, section, key, value) == after);
  // Another key of the same section keeps its value.
  if (auto other = zv::profileValue(text, section, "other"); other && !zv::profileValue(text, section, key) &&
                                                              blanksTrimmed(key) != "other") {
    ZV_FUZZ_CHECK(zv::profileValue(after, section, "other") == other);
  }
  return 0;
}
