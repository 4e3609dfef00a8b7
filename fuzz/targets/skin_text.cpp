// Skin files as the skin file language reads them: the input is up to eight
// files separated by NUL bytes, "f0.skn" to "f7.skn" in one skin folder,
// served from memory to the reader; "f0.skn" is read first and may include
// the others (and itself). The lines stay within the language's limits, and
// every word of them goes through the number, colour and attribute readers.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "skin_text.h"

using namespace zv::ui;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> files;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (files.size() < 8) {
    size_t nul = rest.find('\0');
    files.emplace_back(rest.substr(0, nul));
    if (nul == std::string_view::npos) break;
    rest.remove_prefix(nul + 1);
  }
  int reads = 0;
  SkinFileReader reader = [&](const std::string& path) -> std::optional<std::string> {
    ++reads;
    std::string key = toLowerAscii(path);
    for (size_t i = 0; i < files.size(); ++i)
      if (key == "skin\\f" + std::to_string(i) + ".skn") return files[i];
    return std::nullopt;
  };
  SkinLines lines = readSkinLines("skin\\f0.skn", reader);
  ZV_FUZZ_CHECK(lines.fileRead);
  ZV_FUZZ_CHECK(lines.lines.size() <= kSkinLineLimit);
  ZV_FUZZ_CHECK(reads <= int(kSkinLineLimit) + 1);
  for (const std::string& line : lines.lines) {
    ZV_FUZZ_CHECK(line.size() <= kSkinLogicalLineLimit);
    ZV_FUZZ_CHECK(trimSkin(line) == line);
    std::string key, value;
    if (splitSkinAttribute(line, key, value)) ZV_FUZZ_CHECK(trimSkin(key) == key && trimSkin(value) == value);
    for (const std::string& word : splitSkinWords(line)) {
      SkinNumber n = parseSkinNumber(word);
      ZV_FUZZ_CHECK(n.value >= -kSkinCoordLimit && n.value <= kSkinCoordLimit);
      ZV_FUZZ_CHECK((parseSkinColor(word) & 0xff000000u) == 0);
    }
  }
  return 0;
}
