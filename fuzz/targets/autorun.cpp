// A medium's "autorun.inf" (autorunPlaylistName, after the text is taken to
// the active code page as the engine reads it): any text gives a name that
// fits MAX_PATH and holds no line break or NUL; a text without the section
// names nothing.
#include <string>

#include "foundation/legacy_text.h"
#include "foundation/profile_text.h"
#include "fuzz_check.h"
#include "playlist/autorun_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (zv::isWideProfileText(bytes)) return 0;  // left to the system's reader
  const std::string text = zv::fileTextToActive(bytes).text;
  const std::string name = zv::autorunPlaylistName(text);
  ZV_FUZZ_CHECK(name.size() < zv::kAutorunNameBuffer);
  ZV_FUZZ_CHECK(name.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
  if (!name.empty()) ZV_FUZZ_CHECK(zv::profileValue(text, "zorvak", "PLAYLIST").has_value());
  return 0;
}
