// The video window's "VIDSET" record (decodeVidset), as it comes from a
// folder's information cache: only 64-byte records count, every control
// ends inside its slider's range, the record writes back to what it read,
// and the picture rectangle made with the zoom is well formed for any
// window size and any picture size a stream may claim.
#include <cstring>

#include "fuzz_check.h"
#include "video_layout.h"
#include "video_settings.h"

using namespace zvplayer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The record, then (when longer) sizes for the layout: client and picture.
  const size_t recordSize = size >= kVidsetSize + 16 ? kVidsetSize : size;
  std::optional<PictureZoom> zoom = decodeVidset(data, recordSize);
  ZV_FUZZ_CHECK(zoom.has_value() == (recordSize == kVidsetSize));
  if (!zoom) return 0;
  const int32_t values[4] = {zoom->hSize, zoom->vSize, zoom->hPos, zoom->vPos};
  for (int i = 0; i < 4; ++i) {
    ControlRange range = controlRange(i);
    ZV_FUZZ_CHECK(values[i] >= range.low && values[i] <= range.high);
  }
  std::vector<uint8_t> record = encodeVidset(*zoom);
  ZV_FUZZ_CHECK(record.size() == kVidsetSize);
  std::optional<PictureZoom> again = decodeVidset(record.data(), record.size());
  ZV_FUZZ_CHECK(again && std::memcmp(&*again, &*zoom, sizeof *zoom) == 0);
  if (isDefaultZoom(*zoom)) ZV_FUZZ_CHECK(std::memcmp(record.data(), encodeVidset(PictureZoom{}).data(), kVidsetSize) == 0);

  if (size < kVidsetSize + 16) return 0;
  // A client area is a window's (16 bits a side); the picture's sides come
  // from the stream and may be anything.
  int16_t client[2];
  int32_t sides[4];
  std::memcpy(client, data + kVidsetSize, sizeof client);
  std::memcpy(sides + 2, data + kVidsetSize + 8, 8);
  sides[0] = client[0];
  sides[1] = client[1];
  std::optional<RECT> r = pictureRect(sides[0], sides[1], sides[2], sides[3], *zoom);
  if (sides[0] <= 0 || sides[1] <= 0 || sides[2] <= 0 || sides[3] <= 0) ZV_FUZZ_CHECK(!r);
  if (r) ZV_FUZZ_CHECK(r->right >= r->left && r->bottom >= r->top);
  return 0;
}
