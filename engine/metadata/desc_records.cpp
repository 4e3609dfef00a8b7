#include "metadata/desc_records.h"

#include <windows.h>

#include <cstring>

#include "metadata/drive_kinds.h"
#include "metadata/fast_desc.h"
#include "metadata/info_cache.h"

namespace zv {
namespace {

uint64_t fileTime(const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

// The text of a record's tail: up to its first zero (a record from disk may
// lack one).
std::string tailText(const std::string& bytes, size_t from) {
  const char* p = bytes.data() + from;
  return std::string(p, strnlen(p, bytes.size() - from));
}

}  // namespace

FileFacts fileFacts(const char* path) {
  FileFacts facts;
  // The attribute query gives what a directory search of the path gives
  // (at a tenth of its cost under Wine), and no wildcard can turn it into a
  // search for another file.
  if (!path || !*path || std::strpbrk(path, "*?")) return facts;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return facts;
  facts.found = true;
  facts.lastWrite = fileTime(data.ftLastWriteTime);
  facts.size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return facts;
}

int32_t sizeInKib(const FileFacts& facts) {
  if (!facts.found) return -1;
  uint64_t kib = facts.size / 1024, rest = facts.size % 1024;
  if (rest > 512 || (rest == 512 && (kib & 1))) ++kib;
  return kib > INT32_MAX ? INT32_MAX : int32_t(kib);
}

uint64_t freshStamp(const char* path) {
  if (path && isOnCdDrive(path, metadataDriveQueries())) return kStampForever;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return fileTime(now);
}

bool readDescRecord(const char* path, const FileFacts& facts, std::string* text) {
  std::string bytes;
  if (!getCacheRecord(path, "DESC", &bytes) || bytes.size() < 9) return false;
  uint64_t stamp;
  std::memcpy(&stamp, bytes.data(), 8);
  if (!stampValid(stamp, facts)) return false;
  *text = tailText(bytes, 8);
  return true;
}

void writeDescRecord(const char* path, const std::string& text) {
  if (text.empty()) {
    deleteCacheRecord(path, "DESC");
    return;
  }
  uint64_t stamp = freshStamp(path);
  std::string bytes(reinterpret_cast<const char*>(&stamp), 8);
  bytes += text;
  bytes += '\0';
  putCacheRecord(path, "DESC", bytes.data(), int32_t(bytes.size()));
}

bool descIsFileNameStandIn(const char* path, const std::string& text) {
  return path && text == fastDescText(path);
}

bool infoTextIsDisplayStandIn(const std::string& text) {
  std::string_view first = std::string_view(text).substr(0, text.find('\n'));
  return !first.empty() && first.find('=') == std::string_view::npos;
}

bool readInfoRecord(const char* path, const FileFacts& facts, InfoRecord* info) {
  std::string bytes;
  if (!getCacheRecord(path, "INFO", &bytes) || bytes.size() < 17) return false;
  uint64_t stamp;
  std::memcpy(&info->sizeKb, bytes.data(), 4);
  std::memcpy(&info->lengthMs, bytes.data() + 4, 4);
  std::memcpy(&stamp, bytes.data() + 8, 8);
  if (!stampValid(stamp, facts)) return false;
  info->text = tailText(bytes, 16);
  return true;
}

void writeInfoRecord(const char* path, const InfoRecord& info) {
  uint64_t stamp = freshStamp(path);
  std::string bytes(16, '\0');
  std::memcpy(bytes.data(), &info.sizeKb, 4);
  std::memcpy(bytes.data() + 4, &info.lengthMs, 4);
  std::memcpy(bytes.data() + 8, &stamp, 8);
  bytes += info.text;
  bytes += '\0';
  putCacheRecord(path, "INFO", bytes.data(), int32_t(bytes.size()));
}

}  // namespace zv
