// configRec as the engine answers it: the stored bytes only when they are
// exactly the size asked for, else 0 with the buffer untouched. Writes are
// dropped.
#include "config_record.h"

#include <cstring>

#include "zv_config.h"

namespace {
const uint8_t* g_data = nullptr;
size_t g_size = 0;
}  // namespace

namespace zv::host {
void setStoredRecord(const uint8_t* data, size_t size) {
  g_data = data;
  g_size = size;
}
}  // namespace zv::host

ZvBool ZVAPI configRec(const char*, void* buffer, int32_t length) {
  if (!g_data || length < 0 || size_t(length) != g_size) return ZV_FALSE;
  std::memcpy(buffer, g_data, g_size);
  return ZV_TRUE;
}

void ZVAPI setConfigRec(const char*, const void*, int32_t) {}
