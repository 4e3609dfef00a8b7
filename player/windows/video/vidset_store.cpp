#include "vidset_store.h"

#include "video_settings.h"
#include "zv_infocache.h"
#include "zv_memory.h"

namespace zvplayer {

std::optional<PictureZoom> loadVidset(const std::string& file) {
  if (file.empty()) return std::nullopt;
  void* buffer = nullptr;
  int32_t length = 0;
  cacheRecBuf(file.c_str(), kVidsetName, &buffer, &length);
  if (!buffer) return std::nullopt;
  std::optional<PictureZoom> zoom = decodeVidset(static_cast<const uint8_t*>(buffer), length > 0 ? size_t(length) : 0);
  _mfree(buffer);
  return zoom;
}

void storeVidset(const std::string& file, const PictureZoom& zoom) {
  if (file.empty()) return;
  if (isDefaultZoom(zoom)) {
    delCacheRec(file.c_str(), kVidsetName);
    return;
  }
  const std::vector<uint8_t> record = encodeVidset(zoom);
  setCacheRecBuf(file.c_str(), kVidsetName, record.data(), int32_t(record.size()));
}

}  // namespace zvplayer
