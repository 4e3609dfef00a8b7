// Language files (lookupTranslation): the translation found is the rest of
// the key's own line, never more. The first byte is the key's length, the
// key follows, then the file's bytes.
#include <string>
#include <string_view>

#include "foundation/language_lookup.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t keyLength = std::min<size_t>(data[0], rest.size());
  std::string_view key = rest.substr(0, keyLength);
  std::string buffer = "\n" + std::string(rest.substr(keyLength));
  std::optional<std::string> found = zv::lookupTranslation(buffer, key);
  if (!found) {
    ZV_FUZZ_CHECK(buffer.find("\n" + std::string(key) + "=") == std::string::npos);
    return 0;
  }
  ZV_FUZZ_CHECK(found->find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
  ZV_FUZZ_CHECK(buffer.find("\n" + std::string(key) + "=" + *found) != std::string::npos);
  return 0;
}
