// xmcd CD database files (parseXmcd): never fails, keeps its track tables
// at their fixed size, and what it read formats and reads again.
#include <string_view>

#include "fuzz_check.h"
#include "metadata/xmcd_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  zv::XmcdEntry entry = zv::parseXmcd(text);
  ZV_FUZZ_CHECK(entry.trackTitles.size() == ZV_CDDB_MAX_TRACKS);
  ZV_FUZZ_CHECK(entry.extendedTracks.size() == ZV_CDDB_MAX_TRACKS);
  ZV_FUZZ_CHECK(entry.trackCount >= 0);
  // Escaping is the inverse of unescaping for any text.
  ZV_FUZZ_CHECK(zv::unescapeXmcd(zv::escapeXmcd(text)) == text);
  return 0;
}
