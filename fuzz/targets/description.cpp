// "descript.ion"-style description files (descriptionFromListing). The
// first byte says how long the looked-for name is (it is taken from the
// input's tail, so names that occur in the listing get looked for); the
// description found is a trimmed piece of one line.
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "metadata/desc_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t nameLength = std::min<size_t>(data[0], rest.size());
  std::string_view name = rest.substr(rest.size() - nameLength);
  std::string_view content = rest.substr(0, rest.size() - nameLength);
  std::string found;
  if (zv::descriptionFromListing(content, name, &found)) {
    ZV_FUZZ_CHECK(found.size() <= content.size());
    ZV_FUZZ_CHECK(found.empty() || (static_cast<unsigned char>(found.front()) > ' ' &&
                                    static_cast<unsigned char>(found.back()) > ' '));
    ZV_FUZZ_CHECK(found.find('\n') == std::string::npos);
  }
  return 0;
}
