#include "video_settings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace zvplayer {
namespace {

void put32(uint8_t* at, int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(u >> (8 * i));
}

int32_t get32(const uint8_t* at) {
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= uint32_t(at[i]) << (8 * i);
  return static_cast<int32_t>(u);
}

}  // namespace

ControlRange controlRange(int index) { return index == 0 || index == 1 ? ControlRange{500, 2000} : ControlRange{-1000, 1000}; }

int32_t clampControl(int index, int32_t value) {
  const ControlRange r = controlRange(index);
  return std::clamp(value, r.low, r.high);
}

std::string controlLabel(int32_t value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%5.1f%%", value / 10.0);
  return text;
}

bool isDefaultZoom(const PictureZoom& z) { return z.hSize == 1000 && z.vSize == 1000 && z.hPos == 0 && z.vPos == 0; }

std::vector<uint8_t> encodeVidset(const PictureZoom& zoom) {
  std::vector<uint8_t> record(kVidsetSize, 0);
  put32(&record[0], zoom.hSize);
  put32(&record[4], zoom.vSize);
  put32(&record[8], zoom.hPos);
  put32(&record[12], zoom.vPos);
  return record;
}

std::optional<PictureZoom> decodeVidset(const uint8_t* data, size_t size) {
  if (!data || size != kVidsetSize) return std::nullopt;
  PictureZoom z;
  z.hSize = clampControl(0, get32(data));
  z.vSize = clampControl(1, get32(data + 4));
  z.hPos = clampControl(2, get32(data + 8));
  z.vPos = clampControl(3, get32(data + 12));
  return z;
}

std::string statisticsLine(int width, int height, int32_t rate9, int32_t rate7, int32_t dropped, int32_t syncMs,
                           int32_t kbps) {
  char text[160];
  std::snprintf(text, sizeof(text), "%dx%d  FPS: %0.2f/%0.2f  Drop: %d%%  SyncOfs: %dms  Bitrate: %dkb/s  ", width,
                height, rate9 / 100.0, rate7 / 100.0, int(dropped), int(syncMs), int(kbps));
  return text;
}

}  // namespace zvplayer
