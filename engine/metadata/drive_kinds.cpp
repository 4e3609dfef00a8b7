#include "metadata/drive_kinds.h"

#include <mutex>

namespace zv {
namespace {

constexpr DWORD kRememberMs = 5000;

struct Known {
  UINT type = DRIVE_UNKNOWN;
  DWORD askedAt = 0;
  bool valid = false;
};

std::mutex g_lock;
Known g_known[26];

UINT rememberedDriveType(const char* root) {
  char letter = char(root[0] & ~0x20);
  if (letter < 'A' || letter > 'Z') return GetDriveTypeA(root);
  DWORD now = GetTickCount();
  {
    std::lock_guard<std::mutex> hold(g_lock);
    const Known& k = g_known[letter - 'A'];
    if (k.valid && now - k.askedAt < kRememberMs) return k.type;
  }
  UINT type = GetDriveTypeA(root);
  std::lock_guard<std::mutex> hold(g_lock);
  g_known[letter - 'A'] = Known{type, now, true};
  return type;
}

}  // namespace

const DriveQueries& metadataDriveQueries() {
  static const DriveQueries queries = {rememberedDriveType, systemDriveQueries().volumeSerial};
  return queries;
}

}  // namespace zv
